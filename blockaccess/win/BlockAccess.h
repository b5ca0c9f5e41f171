#ifndef QUENVALE_BLOCKACCESS_BLOCKACCESS_H
#define QUENVALE_BLOCKACCESS_BLOCKACCESS_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "blockaccess/core/BlockParameters.h"
#include "blockaccess/win/BlockDeviceList.h"
#include "blockaccess/win/BlockEngine.h"
#include "blockaccess/win/BlockEvents.h"
#include "blockaccess/win/BlockGraph.h"
#include "blockaccess/win/BlockWriteConfirmations.h"
#include "blockaccess/win/GraphWindow.h"
#include "framework/win/Page.h"
#include "framework/win/TestFile.h"
#include "framework/win/Thread.h"
#include "framework/win/UILink.h"
#include "framework/win/UIText.h"
#include "framework/win/WindowPlacement.h"

class C_RudvaneDevice;

// The Block Access page (dialog 103): the devices the device layer can move
// blocks of, the access pattern, the block parameters, Read, Write and Stop,
// the data file, the speed graph and the help page. Its worker runs the
// Block Access engine on the selected record; the page turns the engine's
// reports into message boxes and control updates, and feeds the graph
// window that it owns.
//
// What the page needs of the program beyond I_PageHost comes through its
// constructor: where write confirmations are kept (the settings store) and
// where the graph window keeps its placement (nothing in portable mode).
//
// Threads: the page, its timer, the device list and the graph window live
// on the user-interface thread. The engine reports on the worker's thread:
// message boxes are shown there (owned by the page), the speed line is a
// drawn text that guards itself, and everything else goes to the page
// window by SendMessage. While a run feeds the graph, the user-interface
// thread must keep dispatching messages (the page's own waits do).
class C_BlockAccess : public C_Page, private I_BlockEvents, private I_BlockGraph {
public:
    C_BlockAccess(I_PageHost& hostIn, std::unique_ptr<I_BlockWriteConfirmations> pConfirmationsIn,
                  std::unique_ptr<I_WindowPlacement> pGraphPlacementIn);
    ~C_BlockAccess() override;

    int GetFirstControlId() const override { return 1028; }

    int _Handle_Init() override;
    bool CanClose(int nCode) override;
    int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam) override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The device layer's notification: a row for each record added that can
    // be read or written, none for a record about to be deleted. Runs on
    // the thread that refreshes the list, with the layer's list locked.
    static void RudvaneNotify(int nEvent, C_RudvaneDevice* pDevice, uintptr_t reserved, void* pPage);

    // The Block Access refresh of the layer, with the wait cursor; the
    // selected record stays selected when it is still listed. Nothing while
    // a run goes on.
    void RefreshDeviceList();
    // The boxes read and clamped to the selected device, the corrections
    // and the buffer size shown (only the buffer size emptied without a
    // device).
    void ReadAndCheckValues();
    // 1 idle, 0 running. Idle, Read and Write follow the selected record's
    // capabilities (both enabled with none selected, so that a press asks
    // for a device).
    void EnableControls(int nState);
    // Read (false) or Write (true) as its button does: nothing while a run
    // goes on; "Please select a test drive." without a selected device.
    void StartRun(bool bWrite);
    // Closes the graph window, keeping its placement (the exit sequence).
    void CloseGraphWindow() { graphWindow.Close(0); }

    bool IsRunning() const { return worker.IsRunning(); }
    // Waits for the run to end while dispatching messages; true when it has.
    bool WaitForRun(DWORD dwMilliseconds) { return worker.WaitForEnd(dwMilliseconds); }
    C_BlockDeviceList& GetDeviceList() { return deviceList; }
    C_GraphWindow& GetGraphWindow() { return graphWindow; }
    C_BlockEngine& GetEngine() { return engine; }
    // The transfer speed line (control 1040).
    C_UIText& GetSpeedLine() { return speedLine; }
    // The parameters as the last check left them.
    const S_BlockParameters& GetParameters() const { return params; }
    // What the last run came to (user-interface thread, once it has ended).
    const S_BlockRunResult& GetLastResult() const { return lastResult; }

private:
    using C_Page::ShowMessage;

    // I_BlockEvents, on the worker's thread.
    void ShowMessage(const S_BlockMessage& message) override;
    bool AskQuestion(const S_BlockMessage& message) override;
    void SpeedChanged(const std::string& strSpeed) override;
    void CrcChanged(const std::string& strCrc) override;
    void RunStarting() override;
    void ValuesChecked(const S_BlockCheckResult& check) override;
    void ProgressStarting() override;
    void RunEnded(const S_BlockRunResult& result) override;

    // I_BlockGraph on the graph window, on the worker's thread.
    void Start(uint32_t ulPoints) override;
    void Add(uint32_t ulIndex, float fMBytesPerSecond) override;
    void CloseAfterFailedRun() override;

    static DWORD RunWorker(void* pPage, uint32_t ulUnused);
    void SetTexts();
    void LoadSettings();
    void SaveSettings();
    void DeviceSelected(const C_RudvaneDevice* pDevice);
    void ShowCheck(const S_BlockCheckResult& check);
    S_BlockBoxTexts ReadBoxes() const;
    void SelectMode(uint32_t ulModeBit);
    void BrowseDataFile();
    void OnRunEnded(const S_BlockRunResult& result);
    INT_PTR OnNotify(const NMHDR& header);
    std::string BoxText(int nId) const;
    void SetBoxText(int nId, const std::string& strText);
    void Release();

    std::unique_ptr<I_BlockWriteConfirmations> pConfirmations;
    std::unique_ptr<I_WindowPlacement> pGraphPlacement;
    C_GraphWindow graphWindow;
    C_TestFile dataFile;
    C_BlockEngine engine;
    C_Thread worker;

    // The page's values: unparsable boxes keep them (user-interface thread).
    S_BlockParameters params;
    // The run's record and options: written before the worker starts, then
    // read by the worker alone until it ends.
    C_RudvaneDevice* pRunDevice = nullptr;
    S_BlockRunOptions runOptions;
    S_BlockRunResult lastResult;

    C_BlockDeviceList deviceList;
    C_UIText speedLine;
    C_UILink helpButton;
    // The page writes boxes itself: their change notifications are not the user's.
    bool bQuiet = false;
    bool bLayerStarted = false;
};

#endif
