#ifndef QUENVALE_TESTS_FILETESTPARTS_H
#define QUENVALE_TESTS_FILETESTPARTS_H

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "fileaccess/win/FileEvents.h"
#include "fileaccess/win/FileVolume.h"
#include "tests/support/win/FaultyQuickFile.h"
#include "tests/support/win/QuickTestFiles.h"

// Records what a File Access run reports and answers what it asks: the
// questions from vAnswers in order (then bDefaultAnswer), the open-file
// dialog with strChosenFile (empty = Cancel), the save dialog with
// strReadDataFile (empty = Cancel).
class C_FileTestEvents : public I_FileEvents {
public:
    void ShowMessage(const S_FileMessage& message) override
    {
        vMessages.push_back(message);
        vCalls.push_back("message " + std::to_string(message.nTextId));
    }
    bool AskQuestion(const S_FileMessage& message) override
    {
        vQuestions.push_back(message);
        vCalls.push_back("question " + std::to_string(message.nTextId));
        if (vAnswers.empty())
            return bDefaultAnswer;
        const bool bAnswer = vAnswers.front();
        vAnswers.pop_front();
        return bAnswer;
    }
    bool ChooseTestFile(const S_FileDialogRequest& request, std::string& strChosen) override
    {
        vOpenDialogs.push_back(request);
        strChosen = strChosenFile;
        return !strChosen.empty();
    }
    bool ChooseReadDataFile(const S_FileDialogRequest& request, std::string& strChosen) override
    {
        vSaveDialogs.push_back(request);
        strChosen = strReadDataFile;
        return !strChosen.empty();
    }
    void TestFileChanged(const std::string& strPath, uint64_t ullFileSize) override
    {
        vCalls.push_back("file " + strPath + " " + std::to_string(ullFileSize));
    }
    void BlockSizeChanged(uint32_t ulBlockSize) override { vCalls.push_back("block " + std::to_string(ulBlockSize)); }
    void ResultChanged(const std::string& strText) override { vResults.push_back(strText); }
    void PassStarting(int nPass) override
    {
        vCalls.push_back("pass " + std::to_string(nPass));
        if (onPassStarting)
            onPassStarting(nPass);
    }
    void PassEnded(int nPass, bool bComplete) override
    {
        vCalls.push_back("end " + std::to_string(nPass) + (bComplete ? " complete" : ""));
        if (onPassEnded)
            onPassEnded(nPass);
    }
    void WriteEnded(const std::string& strPath) override { vCalls.push_back("written " + strPath); }

    // The passes that began, in order.
    std::vector<int> Passes() const
    {
        std::vector<int> vPasses;
        for (const std::string& strCall : vCalls) {
            if (strCall.compare(0, 5, "pass ") == 0)
                vPasses.push_back(std::stoi(strCall.substr(5)));
        }
        return vPasses;
    }

    std::deque<bool> vAnswers;
    bool bDefaultAnswer = true;
    std::string strChosenFile;
    std::string strReadDataFile;
    std::function<void(int)> onPassStarting;
    std::function<void(int)> onPassEnded;

    std::vector<S_FileMessage> vMessages;
    std::vector<S_FileMessage> vQuestions;
    std::vector<S_FileDialogRequest> vOpenDialogs;
    std::vector<S_FileDialogRequest> vSaveDialogs;
    std::vector<std::string> vResults;
    std::vector<std::string> vCalls;
};

// The system's answers, except where a test sets its own: the drive type,
// the free space and the sector size.
class C_FileTestVolume : public I_FileVolume {
public:
    UINT DriveType(const char* pszRoot) override
    {
        return uDriveType != 0 ? uDriveType : system.DriveType(pszRoot);
    }
    bool FreeSpace(const char* pszRoot, uint64_t* pullAvailable, uint64_t* pullTotal, uint64_t* pullTotalFree) override
    {
        if (!bFreeSpaceGiven)
            return system.FreeSpace(pszRoot, pullAvailable, pullTotal, pullTotalFree);
        *pullAvailable = ullAvailable;
        *pullTotal = ullTotal;
        *pullTotalFree = ullTotalFree;
        return true;
    }
    bool SectorSize(const char* pszRoot, uint32_t* pulBytes) override
    {
        if (ulSectorSize == 0)
            return system.SectorSize(pszRoot, pulBytes);
        *pulBytes = ulSectorSize;
        return true;
    }
    // A CD-ROM drive whose medium holds ullTotalIn bytes.
    void MakeOptical(uint64_t ullTotalIn)
    {
        uDriveType = DRIVE_CDROM;
        bFreeSpaceGiven = true;
        ullAvailable = 0;
        ullTotal = ullTotalIn;
        ullTotalFree = 0;
    }

    UINT uDriveType = 0;
    bool bFreeSpaceGiven = false;
    uint64_t ullAvailable = 0;
    uint64_t ullTotal = 0;
    uint64_t ullTotalFree = 0;
    uint32_t ulSectorSize = 0;

private:
    C_SystemFileVolume system;
};

// The in-memory test file with the size query the File Access passes use.
class C_FaultyFileAccessFile : public C_FaultyQuickFile {
public:
    bool GetSize(uint64_t* pullSize) override
    {
        *pullSize = vData.size();
        return true;
    }
};

// A folder of its own on the scratch drive Q:, removed with what is in it.
class C_ScratchFolder {
public:
    C_ScratchFolder()
    {
        static int nCount = 0;
        strPath = "Q:\\fa-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++nCount) + "\\";
        ::CreateDirectoryA(strPath.c_str(), nullptr);
    }
    ~C_ScratchFolder() { C_TempFolder::RemoveTree(strPath); }
    C_ScratchFolder(const C_ScratchFolder&) = delete;
    C_ScratchFolder& operator=(const C_ScratchFolder&) = delete;

    const std::string& Path() const { return strPath; }
    std::string operator/(const std::string& strName) const { return strPath + strName; }

private:
    std::string strPath;
};

// A file of nBytes bytes (0x5A) made outside the engine.
inline bool MakeFile(const std::string& strPath, size_t nBytes)
{
    return WriteWholeFile(strPath, std::string(nBytes, 'Z'));
}

inline uint64_t SizeOnDisk(const std::string& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data))
        return UINT64_MAX;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

#endif
