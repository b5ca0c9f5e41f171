#include "fileaccess/win/FileEngine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "fileaccess/core/FileRules.h"
#include "fileaccess/core/FileTextIds.h"
#include "fileaccess/win/BiggestFileSearch.h"
#include "fileaccess/win/FastestFileSearch.h"
#include "fileaccess/win/FileVolume.h"
#include "framework/core/SizeText.h"
#include "framework/core/TransferRate.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"
#include "framework/win/Thread.h"
#include "framework/win/TransferBuffer.h"

namespace {

constexpr UINT kExclamation = MB_OK | MB_ICONEXCLAMATION;

std::string ErrorTextOf(DWORD dwError)
{
    char szText[kErrorTextBuffer];
    const char* pszText = GetErrorText(dwError, szText);
    return pszText != nullptr ? pszText : "";
}

// Bytes that no drive can compress, for a write pass without the
// system's cryptographic generator.
void FillPattern(uint8_t* pData, size_t nBytes)
{
    uint64_t ullState = static_cast<uint64_t>(std::time(nullptr)) * 0x9E3779B97F4A7C15ull | 1;
    for (size_t i = 0; i < nBytes; ++i) {
        ullState ^= ullState << 13;
        ullState ^= ullState >> 7;
        ullState ^= ullState << 17;
        pData[i] = static_cast<uint8_t>(ullState >> 32);
    }
}

} // namespace

C_FileEngine::C_FileEngine(I_TransferFile& fileIn, I_TransferFile& readDataFileIn, I_FileVolume& volumeIn,
                           I_FileEvents& eventsIn, C_DeviceIo& ioIn)
    : file(fileIn), readDataFile(readDataFileIn), volume(volumeIn), events(eventsIn), io(ioIn)
{
}

void C_FileEngine::SetOptions(const S_FileRunOptions& options)
{
    strPath = options.strPath;
    ullFileSize.store(options.ullFileSize);
    ulBlockSize = options.ulBlockSize;
    ullPreReadSize = options.ullPreReadSize;
    ulFlags = options.ulFlags;
    bSizeGiven = options.bSizeGiven;
}

bool C_FileEngine::IsStopRequested() const
{
    const C_Thread* pThread = pStopThread.load();
    return bStopRequested.load() || (pThread != nullptr && pThread->IsStopRequested());
}

int C_FileEngine::ProgressPercent() const
{
    return FileProgressPercent(ullBytesDone.load(), ullPassSize.load());
}

const S_FilePassFigures& C_FileEngine::GetFigures(int nPass) const
{
    return nPass == FILE_PASS_WRITE ? writeFigures : readFigures;
}

bool C_FileEngine::Run(const S_FileRunOptions& options)
{
    SetOptions(options);
    bStopRequested.store(false);
    readFigures = S_FilePassFigures();
    writeFigures = S_FilePassFigures();
    events.RunStarting();

    bool bGoOn = true;
    bool bLastOk = false;
    if (!(ulFlags & FILE_OPT_WRITE)) {
        if (ulFlags & FILE_OPT_BIGGEST_FILE)
            bGoOn = BiggestFileSearch() != 0;
        if (bGoOn && (ulFlags & FILE_OPT_FASTEST_FILE))
            bGoOn = FastestFileSearch() != 0;
    }
    if (bGoOn) {
        ullBytesDone.store(0);
        events.ProgressStarting();
        if (ulFlags & FILE_OPT_WRITE)
            bGoOn = bLastOk = WorkerTestFunction(FILE_PASS_WRITE) != 0;
    }
    if (bGoOn && (ulFlags & FILE_OPT_READ)) {
        ullBytesDone.store(0);
        if ((ulFlags & FILE_OPT_SPIN_UP) && !strPath.empty() &&
            volume.DriveType((std::string(1, strPath[0]) + ":\\").c_str()) == DRIVE_CDROM)
            bGoOn = WorkerTestFunction(FILE_PASS_PREREAD) != 0;
        ullBytesDone.store(0);
        bLastOk = bGoOn && WorkerTestFunction(FILE_PASS_READ) != 0;
    }
    ullBytesDone.store(0);
    ullPassSize.store(0);
    events.RunEnded();
    return bLastOk;
}

int C_FileEngine::WorkerTestFunction(int nPass)
{
    S_FilePassFigures figures;
    figures.bRan = true;
    events.PassStarting(nPass);
    const int nComplete = RunPass(nPass, figures);
    file.Close();
    readDataFile.Close();
    figures.bComplete = nComplete != 0;
    if (nPass == FILE_PASS_WRITE)
        writeFigures = figures;
    else if (nPass == FILE_PASS_READ)
        readFigures = figures;
    events.PassEnded(nPass, nComplete != 0);
    return nComplete;
}

int C_FileEngine::RunPass(int nPass, S_FilePassFigures& figures)
{
    const bool bWrite = nPass == FILE_PASS_WRITE;
    const bool bPreRead = nPass == FILE_PASS_PREREAD;
    events.ResultChanged(std::string());

    uint64_t ullAvailable = 0;
    uint64_t ullTotalFree = 0;
    E_OpticalMedium eMedium = E_OpticalMedium::None;
    if (bWrite) {
        eMedium = QueryDrive(ullAvailable, ullTotalFree);
        if (!PrepareWrite(ullAvailable, ullTotalFree))
            return 0;
    } else {
        // The file dialog may choose a file on another drive, so the drive
        // is asked about once the file is known.
        if (!PrepareRead())
            return 0;
        if (!bPreRead)
            eMedium = QueryDrive(ullAvailable, ullTotalFree);
    }
    if (ulBlockSize == 0) {
        // Nothing would ever move; refused like a handle that cannot be had.
        TellFileError(FILE_TEXT_CANT_OPEN, strPath, ERROR_INVALID_PARAMETER);
        return 0;
    }

    DWORD dwFlags = FILE_FLAG_SEQUENTIAL_SCAN;
    if (ulFlags & FILE_OPT_NO_BUFFERING) {
        dwFlags |= FILE_FLAG_NO_BUFFERING;
        if (!RoundBlockSize())
            return 0;
    }
    if (bWrite && (ulFlags & FILE_OPT_WRITE_THROUGH))
        dwFlags |= FILE_FLAG_WRITE_THROUGH;
    if (!OpenTestFile(bWrite ? 1 : 0, dwFlags, figures))
        return 0;

    uint64_t ullSize = 0;
    if (!SizeFile(nPass, ullSize))
        return 0;
    if (nPass == FILE_PASS_READ && (ulFlags & FILE_OPT_SAVE_READ_DATA) && !OpenReadDataFile())
        return 0;
    file.DisableLocalBuffering();   // once more; the answer does not matter

    C_TransferBuffer buffer;
    if (!buffer.Allocate(ulBlockSize)) {
        Tell(0, kExclamation, ErrorTextOf(::GetLastError()));
        return 0;
    }
    if (nPass == FILE_PASS_READ)
        std::memset(buffer.Data(), 0x2A, buffer.Size());
    else if (bWrite && !FillRandom(buffer.Data(), buffer.Size()))
        FillPattern(buffer.Data(), buffer.Size());
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    figures.strPath = strPath;
    figures.ulBlockSize = ulBlockSize;
    figures.ullFileSize = ullSize;
    figures.eMedium = eMedium;
    stopwatch.Start();
    bool bComplete = Transfer(nPass, ullSize, buffer.Data(), figures);
    if (bComplete && bWrite && !file.Flush()) {
        Tell(FILE_TEXT_CANT_FLUSH, kExclamation, Texts().LoadText(FILE_TEXT_CANT_FLUSH));
        bComplete = false;
    }
    CloseTestFile();

    if (bComplete && !bPreRead) {
        const uint64_t ullMicroseconds = stopwatch.Stop();
        figures.ullMicroseconds = ullMicroseconds;
        if (IsTooFast(ullMicroseconds)) {
            figures.strResult = Texts().LoadText(FILE_TEXT_TOO_FAST);
        } else {
            figures.fKiBPerSecond = FileRateKiB(ullSize, ullMicroseconds);
            figures.fFactor = OpticalFactor(figures.fKiBPerSecond, eMedium);
            figures.strResult = FileRateText(figures.fKiBPerSecond, eMedium);
        }
        events.ResultChanged(figures.strResult);
    }
    readDataFile.Close();
    if (bWrite) {
        events.WriteEnded(strPath);
        RefreshTestFile();
    }
    return bComplete ? 1 : 0;
}

E_OpticalMedium C_FileEngine::QueryDrive(uint64_t& ullAvailable, uint64_t& ullTotalFree)
{
    const std::string strRoot = DriveRootOf(strPath);
    uint64_t ullTotal = 0;
    if (!volume.FreeSpace(strRoot.c_str(), &ullAvailable, &ullTotal, &ullTotalFree)) {
        ullTotalFree = 0;
        return E_OpticalMedium::None;
    }
    return volume.DriveType(strRoot.c_str()) == DRIVE_CDROM ? OpticalMediumOf(ullTotal) : E_OpticalMedium::None;
}

bool C_FileEngine::PrepareWrite(uint64_t ullAvailable, uint64_t ullTotalFree)
{
    const S_WriteName name = WriteNameOf(strPath, PathIsFolder(strPath));
    if (name.eRule == E_WriteName::AskUnderline &&
        !Ask(FILE_TEXT_UNDERLINE, Texts().FormatText(FILE_TEXT_UNDERLINE, name.strName.c_str())))
        return false;
    if (name.eRule != E_WriteName::Keep) {
        strPath = name.strNewPath;
        RefreshTestFile();
    }
    const uint64_t ullSize = ullFileSize.load();
    if (ullSize == 0) {
        Tell(FILE_TEXT_NO_SIZE, kExclamation, Texts().LoadText(FILE_TEXT_NO_SIZE));
        return false;
    }
    if (ullTotalFree > 0 && ullSize > ullAvailable &&
        !Ask(FILE_TEXT_LOW_FREE_SPACE,
             Texts().FormatText(FILE_TEXT_LOW_FREE_SPACE, ullAvailable / kFileMByte, ullSize / kFileMByte)))
        return false;
    if (ullTotalFree == 0 && strPath.size() >= 2 && strPath[1] == ':' &&
        !Ask(FILE_TEXT_NO_FREE_SPACE, Texts().LoadText(FILE_TEXT_NO_FREE_SPACE)))
        return false;
    return true;
}

bool C_FileEngine::PrepareRead()
{
    if (PathIsFile(strPath))
        return true;
    S_FileDialogRequest request;
    request.strTitle = Texts().FormatText(FILE_TEXT_MISSING_FILE, strPath.c_str());
    request.strFilter = Texts().LoadText(FILE_TEXT_ALL_FILES);
    request.strFolder = strPath;
    request.strName = PathIsFolder(strPath) ? std::string() : strPath;
    std::string strChosen;
    if (!events.ChooseTestFile(request, strChosen))
        return false;
    strPath = strChosen;
    RefreshTestFile();
    return true;
}

bool C_FileEngine::RoundBlockSize()
{
    uint32_t ulSectorSize = 0;
    if (!volume.SectorSize(DriveRootOf(strPath).c_str(), &ulSectorSize) || ulSectorSize == 0)
        ulSectorSize = 2048;
    const uint32_t ulProposal = SectorRoundedBlockSize(ulBlockSize, ulSectorSize);
    if (ulProposal == ulBlockSize)
        return true;
    if (!Ask(FILE_TEXT_SECTOR_ROUNDING,
             Texts().FormatText(FILE_TEXT_SECTOR_ROUNDING, ulBlockSize, ulSectorSize, ulProposal)))
        return false;
    ulBlockSize = ulProposal;
    events.BlockSizeChanged(ulBlockSize);
    return true;
}

bool C_FileEngine::OpenTestFile(int nDirection, DWORD dwFlags, S_FilePassFigures& figures)
{
    // A network redirector takes the request to keep no local copies and
    // keeps this handle; a local file system refuses it, and the file is
    // opened again as asked (outside Expert Mode always unbuffered).
    DWORD dwOpenFlags = dwFlags & ~static_cast<DWORD>(FILE_FLAG_NO_BUFFERING);
    bool bOpen = file.Open(strPath.c_str(), nDirection, dwOpenFlags);
    if (bOpen && IsNtError(file.DisableLocalBuffering())) {
        file.Close();
        dwOpenFlags = dwFlags | ((ulFlags & FILE_OPT_EXPERT) ? 0 : FILE_FLAG_NO_BUFFERING);
        bOpen = file.Open(strPath.c_str(), nDirection, dwOpenFlags);
    }
    if (!bOpen) {
        TellFileError(FILE_TEXT_CANT_OPEN, strPath, ::GetLastError());
        return false;
    }
    figures.ulOpenFlags = dwOpenFlags;
    return true;
}

bool C_FileEngine::SizeFile(int nPass, uint64_t& ullSize)
{
    const uint64_t ullBoxSize = ullFileSize.load();
    if (nPass == FILE_PASS_WRITE) {
        ullSize = ullBoxSize;
        if (!file.Seek(ullSize)) {
            Tell(FILE_TEXT_CANT_SEEK_END, MB_OK, Texts().FormatText(FILE_TEXT_CANT_SEEK_END, ullSize / kFileMByte));
            return false;
        }
        if (!file.SetEnd())
            Tell(FILE_TEXT_CANT_SET_END, MB_OK, Texts().FormatText(FILE_TEXT_CANT_SET_END, ullSize / kFileMByte));
        if (!file.Seek(0)) {
            Tell(FILE_TEXT_CANT_SEEK_START, MB_OK, Texts().LoadText(FILE_TEXT_CANT_SEEK_START));
            return false;
        }
    } else {
        if (!file.GetSize(&ullSize) || ullSize == 0)
            ullSize = ullBoxSize;
        if (nPass == FILE_PASS_PREREAD) {
            if (ullSize > ullPreReadSize)
                ullSize = ullPreReadSize;
        } else {
            ullFileSize.store(ullSize);
            events.TestFileChanged(strPath, ullSize);
            if (ullSize < kFileMByte &&
                !Ask(FILE_TEXT_SMALL_FILE,
                     Texts().FormatText(FILE_TEXT_SMALL_FILE, FormatSize(ullSize, 0, 1).c_str())))
                return false;
        }
    }
    // A pre-read of less than one block reads that one block.
    const bool bShortPreRead = nPass == FILE_PASS_PREREAD && ullSize == ullPreReadSize;
    if (ullSize < ulBlockSize && !bShortPreRead) {
        Tell(FILE_TEXT_TOO_SMALL, kExclamation, Texts().LoadText(FILE_TEXT_TOO_SMALL));
        return false;
    }
    return true;
}

bool C_FileEngine::OpenReadDataFile()
{
    S_FileDialogRequest request;
    request.strTitle = Texts().LoadText(FILE_TEXT_READ_DATA_TITLE);
    request.strFilter = Texts().LoadText(FILE_TEXT_ALL_FILES);
    request.strName = kReadDataFileName;
    std::string strChosen;
    if (!events.ChooseReadDataFile(request, strChosen))
        return false;
    if (!readDataFile.Open(strChosen.c_str(), 1, FILE_FLAG_SEQUENTIAL_SCAN)) {
        TellFileError(FILE_TEXT_CANT_OPEN_READ_DATA, strChosen, ::GetLastError());
        return false;
    }
    return true;
}

bool C_FileEngine::Transfer(int nPass, uint64_t ullSize, uint8_t* pBuffer, S_FilePassFigures& figures)
{
    const bool bWrite = nPass == FILE_PASS_WRITE;
    const bool bRandom = (ulFlags & FILE_OPT_RANDOM) != 0;
    const bool bSaveData = readDataFile.IsOpen();
    uint64_t ullDone = 0;
    uint64_t ullTransfers = 0;
    bool bComplete = false;
    ullPassSize.store(ullSize);
    ullBytesDone.store(0);
    for (;;) {
        if (bRandom) {
            const uint32_t ulRandom = static_cast<uint32_t>(std::rand()) % (kRandomNumberMax + 1);
            if (!file.Seek(RandomBlockPosition(ulRandom, ullSize, ulBlockSize)))
                break;
        }
        if (!(bWrite ? file.Write(pBuffer, ulBlockSize) : file.Read(pBuffer, ulBlockSize))) {
            TellFileError(bWrite ? FILE_TEXT_CANT_WRITE : FILE_TEXT_CANT_READ, strPath, ::GetLastError(), ullDone,
                          ullSize);
            break;
        }
        if (bSaveData)
            readDataFile.Write(pBuffer, ulBlockSize);
        ullDone += ulBlockSize;
        ++ullTransfers;
        ullBytesDone.store(ullDone);
        if (ullDone + ulBlockSize > ullSize) {
            bComplete = true;
            break;
        }
        if (IsStopRequested())
            break;
    }
    figures.ullBytes = ullDone;
    figures.ullTransfers = ullTransfers;
    return bComplete;
}

void C_FileEngine::CloseTestFile()
{
    file.Close();
    const DWORD dwError = ::GetLastError();
    char szTrace[kErrorTextBuffer + 96];
    std::snprintf(szTrace, sizeof(szTrace), "C_FileAccess::WorkerTestFunction: CloseHandle() done. LastError: %u - %s\n",
                  static_cast<unsigned>(dwError), ErrorTextOf(dwError).c_str());
    ::OutputDebugStringA(szTrace);
}

void C_FileEngine::RefreshTestFile()
{
    uint64_t ullSize = 0;
    if (!bSizeGiven && QueryFileSize(strPath, &ullSize))
        ullFileSize.store(ullSize);
    else
        bSizeGiven = false;
    events.TestFileChanged(strPath, ullFileSize.load());
}

int C_FileEngine::BiggestFileSearch()
{
    ullFileSize.store(0);
    std::string strBase;
    if (PathIsFile(strPath)) {
        const size_t nSlash = strPath.find_last_of('\\');
        if (nSlash == std::string::npos) {
            Tell(FILE_TEXT_BASE_PATH, kExclamation, Texts().LoadText(FILE_TEXT_BASE_PATH));
            return 0;
        }
        strBase = strPath.substr(0, nSlash + 1);
    } else {
        strBase = strPath;
        if (strBase.empty() || strBase.back() != '\\')
            strBase += '\\';
    }
    uint64_t ullBest = 0;
    std::string strBest;
    FindBiggestFile(
        strBase, ullBest, strBest, [this] { return IsStopRequested(); },
        [&] {
            strPath = strBest;
            ullFileSize.store(ullBest);
            events.TestFileChanged(strPath, ullBest);
        });
    return 1;
}

int C_FileEngine::FastestFileSearch()
{
    C_FastestFileSearch search(io, volume);
    S_CdfsFile found;
    S_FileMessage failure;
    const char cDrive = strPath.empty() ? '?' : strPath[0];
    const int nFound = search.CDFSSearch(cDrive, static_cast<uint32_t>(ullFileSize.load()), found, failure);
    // The search starts from an empty path: a search that finds nothing
    // leaves none.
    strPath = found.strPath;
    if (!nFound) {
        events.ShowMessage(failure);
        return 0;
    }
    RefreshTestFile();
    return 1;
}

bool C_FileEngine::Ask(int nTextId, const std::string& strText)
{
    S_FileMessage message;
    message.nTextId = nTextId;
    message.uStyle = MB_YESNO | MB_ICONEXCLAMATION;
    message.strText = strText;
    return events.AskQuestion(message);
}

void C_FileEngine::Tell(int nTextId, UINT uStyle, const std::string& strText)
{
    S_FileMessage message;
    message.nTextId = nTextId;
    message.uStyle = uStyle;
    message.strText = strText;
    events.ShowMessage(message);
}

void C_FileEngine::TellFileError(int nTextId, const std::string& strFile, DWORD dwError, uint64_t ullPosition,
                                 uint64_t ullSize)
{
    const std::string strError = ErrorTextOf(dwError);
    const unsigned uError = static_cast<unsigned>(dwError);
    const std::string strText =
        nTextId == FILE_TEXT_CANT_READ || nTextId == FILE_TEXT_CANT_WRITE
            ? Texts().FormatText(nTextId, strFile.c_str(), uError, strError.c_str(), ulBlockSize, ullPosition, ullSize)
            : Texts().FormatText(nTextId, strFile.c_str(), uError, strError.c_str());
    Tell(nTextId, kExclamation, strText);
}
