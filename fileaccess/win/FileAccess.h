#ifndef QUENVALE_FILEACCESS_FILEACCESS_H
#define QUENVALE_FILEACCESS_FILEACCESS_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "fileaccess/core/FileAccessValues.h"
#include "fileaccess/core/FileOptions.h"
#include "fileaccess/win/FileContextMenu.h"
#include "fileaccess/win/FileEngine.h"
#include "fileaccess/win/FileEvents.h"
#include "fileaccess/win/FileVolume.h"
#include "fileaccess/win/ShellBrowser.h"
#include "framework/win/Page.h"
#include "framework/win/TestFile.h"
#include "framework/win/Thread.h"
#include "framework/win/UIText.h"

// The File Access page (dialog 102): the folder tree and file list, the
// test file path, the file size and, in Expert Mode, the block size and the
// transfer options; Read, Write and Stop, the result line and the file
// list's context menu. Its worker runs the File Access engine; the page
// turns the engine's reports into message boxes, file dialogs and control
// updates.
//
// Threads: the page, its controls and its timer live on the user-interface
// thread. The engine reports on the worker's thread: message boxes and the
// file dialogs are shown there (owned by the page), everything that changes
// a control is handed to the page window by SendMessage.
class C_FileAccess : public C_Page, private I_FileEvents {
public:
    // valuesIn: the test parameters as the command line and the settings
    // gave them; the page keeps them up to date (the program saves them at
    // exit). pVolumeIn: what the page and its engine ask about drives; null
    // for the system's.
    C_FileAccess(I_PageHost& hostIn, S_FileAccessValues& valuesIn, I_FileVolume* pVolumeIn = nullptr);
    ~C_FileAccess() override;

    int GetFirstControlId() const override { return 1005; }
    // Starts the worker with the requests of the option word (FLAG_FA_READ,
    // FLAG_FA_WRITE); nothing while a run goes on.
    void StartTest() override;
    // Sets a request bit and starts; nothing while a run goes on.
    void Request(uint32_t ulRequest);

    int _Handle_Init() override;
    bool CanClose(int nCode) override;
    int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam) override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Expert Mode's options as the simple mode uses them.
    void SetDefaults();
    // Idle (true): what the user may change, by Expert Mode, with the size
    // box fixed for a file on a CD-ROM drive unless the fastest file is
    // searched; running: only Stop.
    void EnableControls(bool bIdle);
    // Shows the test file path and, from the file when it exists, its size
    // (a size from the command line survives the first refresh; at start a
    // network path is not touched).
    void RefreshDisplay(bool bAtStart);

    bool IsRunning() const { return bRunning || worker.IsRunning(); }
    // Waits for the worker while dispatching messages; true when it ended.
    bool WaitForRun(DWORD dwMilliseconds) { return worker.WaitForEnd(dwMilliseconds); }
    C_FileEngine& GetEngine() { return engine; }
    ShellBrowser& GetBrowser() { return browser; }
    C_FileContextMenu& GetContextMenu() { return contextMenu; }
    C_UIText& GetResultLine() { return resultLine; }
    // Read (1014), Write (1015) or Stop (1016).
    C_UIText& GetButton(int nId);

private:
    // I_FileEvents, on the worker's thread.
    void ShowMessage(const S_FileMessage& message) override;
    bool AskQuestion(const S_FileMessage& message) override;
    bool ChooseTestFile(const S_FileDialogRequest& request, std::string& strChosen) override;
    bool ChooseReadDataFile(const S_FileDialogRequest& request, std::string& strChosen) override;
    void ProgressStarting() override;
    void TestFileChanged(const std::string& strPath, uint64_t ullFileSize) override;
    void BlockSizeChanged(uint32_t ulBlockSize) override;
    void ResultChanged(const std::string& strText) override;
    void PassStarting(int nPass) override;
    void WriteEnded(const std::string& strPath) override;
    void RunEnded() override;

    // Runs fn on the page's thread (at once when called there).
    void OnPageThread(const std::function<void()>& fn);
    static DWORD RunWorker(void* pPage, uint32_t ulUnused);
    void RunFinished();
    void ReadRunOptions();
    void SetText(int nId, const std::string& strText);
    std::string GetText(int nId) const;
    // Writes the path and size boxes with the quiet-update bit set.
    void ShowTestFile(const std::string& strPath, uint64_t ullFileSize);
    void SetChecks();
    void OnCheckBox(int nId);
    void DeleteSelectedFile();
    bool OnNotify(const NMHDR* pHeader);
    static void OnFolderSelected(void* pPage);
    static void OnFileSelected(void* pPage);
    static void OnFileActivated(void* pPage);
    void Release();

    S_FileAccessValues& values;
    C_SystemFileVolume systemVolume;
    I_FileVolume& volume;
    C_TestFile file;
    C_TestFile readDataFile;
    C_FileEngine engine;
    C_Thread worker;
    // Written before the worker starts, then read by the worker alone.
    S_FileRunOptions runOptions;
    // From the start of a run until its end is handled (user-interface thread).
    bool bRunning = false;

    ShellBrowser browser;
    C_FileContextMenu contextMenu;
    C_UIText resultLine;
    C_UIText buttonRead;
    C_UIText buttonWrite;
    C_UIText buttonStop;
};

#endif
