#ifndef QUENVALE_QUICK_SIMPLE_H
#define QUENVALE_QUICK_SIMPLE_H

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "framework/win/Library.h"
#include "framework/win/Page.h"
#include "framework/win/TestFile.h"
#include "framework/win/Thread.h"
#include "framework/win/UILink.h"
#include "framework/win/UIText.h"
#include "quick/core/DriveEntries.h"
#include "quick/core/QuickAccessValues.h"
#include "quick/win/DeviceLayerInfo.h"
#include "quick/win/DriveList.h"
#include "quick/win/QuickEngine.h"
#include "quick/win/QuickEvents.h"

// The Quick Access page (dialog 155): the drive list, the file size and
// block size boxes, Start and Stop, the four results with their ratings,
// and the two links that copy the summary and open the comparison page.
// Its worker runs the Quick Access engine over the selected drives; the
// page turns the engine's reports into message boxes and control updates.
//
// Threads: the page and its timers live on the user-interface thread. The
// engine reports on the worker's thread; those reports set the drawn
// result fields directly (they guard their own text) and hand everything
// else to the page window by SendMessage.
class C_Simple : public C_Page, private I_QuickEvents {
public:
    // valuesIn: what the command line gave the page; kept by reference.
    C_Simple(I_PageHost& hostIn, const S_QuickAccessValues& valuesIn);
    ~C_Simple() override;

    int GetFirstControlId() const override { return 1084; }
    // Reads Shift and Ctrl (either one skips the random passes) and starts
    // the worker on the selected drives; nothing while a run goes on.
    void StartTest() override;

    int _Handle_Init() override;
    bool CanClose(int nCode) override;
    int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam) override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Refreshes the device layer and fills the list again, selecting the
    // preselected drive (or the first); nothing while a run goes on.
    void UpdateDriveList();
    // Idle: the list, both boxes and Start enabled, Stop disabled, and the
    // two links enabled when the last run measured both rates; running:
    // the other way round, links disabled.
    void SetIdle(bool bIdle);
    // The summary line of the last tested drive, put on the clipboard.
    std::string MakeSummary();

    bool IsRunning() const { return worker.IsRunning(); }
    // Waits for the run to end while dispatching messages; true when it has.
    bool WaitForRun(DWORD dwMilliseconds) { return worker.WaitForEnd(dwMilliseconds); }
    // The engine, for its results once no run goes on; tests may shorten
    // its random passes through State().
    C_QuickEngine& GetEngine() { return engine; }
    const std::vector<S_DriveEntry>& GetDriveEntries() const { return vEntries; }
    C_DriveList& GetDriveList() { return driveList; }
    // The drawn result field of a pass (controls 1085, 1081, 1090, 1091).
    C_UIText& GetResultField(E_QuickPass ePass) { return aResults[PassIndex(ePass)]; }
    // The Start (true) and Stop buttons.
    C_UIText& GetButton(bool bStart) { return bStart ? buttonStart : buttonStop; }

private:
    // I_QuickEvents, on the worker's thread.
    void PassMessage(const S_PassMessage& message) override;
    void DriveStarting(const S_QuickDrive& drive) override;
    void PassEnded(const S_QuickDrive& drive, E_QuickPass ePass, const std::string& strResult,
                   const std::string& strWarning, bool bSuccess) override;
    void SummaryMade(const std::string& strLine) override;
    void ResultsFileSaved(const std::string& strPath) override;

    static DWORD RunWorker(void* pPage, uint32_t ulSkipRandom);
    void RunEnded();
    void ShowProgress();
    void ShowLiveRate();
    void FillBoxes();
    void ReadRunOptions(bool bSkipRandom);
    void RegisterDeviceEvents();
    void UnregisterDeviceEvents();
    void OnDeviceChange(WPARAM wParam, LPARAM lParam);
    int TileHeight() const;
    void Release();

    const S_QuickAccessValues& values;
    C_TestFile file;
    C_DeviceLayerInfo devices{false};     // the page runs the layer itself
    C_QuickEngine engine;
    C_Thread worker;

    // The drive entries shown (user-interface thread).
    std::vector<S_DriveEntry> vEntries;
    // The run's drives and options: written before the worker starts, then
    // read by the worker alone until it ends.
    std::vector<S_QuickDrive> vRunDrives;
    S_QuickRunOptions runOptions;

    // Orders the live rate of the timer against the final result of a pass,
    // so a tick that saw the pass running cannot overwrite its result.
    std::mutex displayLock;

    C_DriveList driveList;
    C_UIText aResults[4];                 // by PassIndex
    C_UIText buttonStart;
    C_UIText buttonStop;
    C_UILink linkCopy;
    C_UILink linkCompare;
    C_Library user32;
    void* hDeviceNotify = nullptr;        // HDEVNOTIFY
    bool bLayerStarted = false;
};

#endif
