#include "tests/support/win/FaultyQuickFile.h"

#include <cstring>

#include "framework/win/WholeFileTransfer.h"

namespace {

std::string ParentOf(const std::string& strPath)
{
    const size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
}

bool IsRoot(const std::string& strFolder)
{
    return strFolder.size() <= 3 && strFolder.size() >= 2 && strFolder[1] == ':';
}

} // namespace

bool C_FaultyQuickFile::Fails(S_Fault& fault, uint32_t nCall)
{
    if (fault.nAt != 0 && fault.nAt == nCall) {
        ::SetLastError(fault.dwError);
        return true;
    }
    return false;
}

bool C_FaultyQuickFile::Open(const char* pszPath, int nDirectionIn, DWORD dwFlagsIn)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (bOpen)
        Close();
    vTrace.push_back("open");
    vOpens.push_back({pszPath, nDirectionIn, dwFlagsIn});
    if (Fails(openFault, ++nOpenCalls))
        return false;
    const std::string strParent = ParentOf(pszPath);
    if (!IsRoot(strParent) && folders.count(strParent) == 0) {
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (nDirectionIn == 1) {
        vData.clear();
        bExists = true;
    } else if (!bExists || strFilePath != pszPath) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    strFilePath = pszPath;
    bOpen = true;
    ++nOpenFiles;
    nDirection = nDirectionIn;
    dwFlags = dwFlagsIn;
    ullPosition = 0;
    return true;
}

void C_FaultyQuickFile::Close()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (!bOpen)
        return;
    vTrace.push_back("close");
    bOpen = false;
    --nOpenFiles;
}

bool C_FaultyQuickFile::IsOpen() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return bOpen;
}

LONG C_FaultyQuickFile::DisableLocalBuffering()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    vTrace.push_back("fsctl");
    return lFsControlStatus;
}

bool C_FaultyQuickFile::Aligned(const uint8_t* pBuffer, uint32_t ulBytes, uint64_t ullOffset, DWORD dwFlagsOf)
{
    if (!(dwFlagsOf & FILE_FLAG_NO_BUFFERING))
        return true;
    if (reinterpret_cast<uintptr_t>(pBuffer) % ulSectorSize == 0 && ulBytes % ulSectorSize == 0 &&
        ullOffset % ulSectorSize == 0)
        return true;
    ++nAlignmentFaults;
    return false;
}

uint32_t C_FaultyQuickFile::RawTransfer(bool bWrite, uint8_t* pBuffer, uint32_t ulBytes, uint64_t ullOffset,
                                        uint32_t* pulDone, int nDirectionOf, DWORD dwFlagsOf)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (bWrite ? nDirectionOf != 1 : nDirectionOf != 0)
        return ERROR_ACCESS_DENIED;
    if (!Aligned(pBuffer, ulBytes, ullOffset, dwFlagsOf))
        return ERROR_INVALID_PARAMETER;
    if (bWrite) {
        const uint32_t nCall = ++nWriteCalls;
        if (Fails(writeFault, nCall))
            return writeFault.dwError;
        if (nNoResourcesAt == nCall)
            return kErrorNoSystemResources;
        const uint32_t ulMoved = nShortWriteAt == nCall ? ulBytes / 2 : ulBytes;
        if (vData.size() < ullOffset + ulMoved)
            vData.resize(static_cast<size_t>(ullOffset + ulMoved));
        std::memcpy(vData.data() + ullOffset, pBuffer, ulMoved);
        *pulDone = ulMoved;
    } else {
        if (Fails(readFault, ++nReadCalls))
            return readFault.dwError;
        const uint64_t ullAvailable = ullOffset < vData.size() ? vData.size() - ullOffset : 0;
        const uint32_t ulMoved = ullAvailable < ulBytes ? static_cast<uint32_t>(ullAvailable) : ulBytes;
        if (ulMoved != 0)
            std::memcpy(pBuffer, vData.data() + ullOffset, ulMoved);
        *pulDone = ulMoved;
    }
    return 0;
}

bool C_FaultyQuickFile::Transfer(bool bWrite, uint8_t* pBuffer, DWORD dwBytes)
{
    uint64_t ullCount = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        vTrace.push_back((bWrite ? "write " : "read ") + std::to_string(dwBytes));
        if (!bOpen) {
            ::SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        // The piece offsets of the whole-transfer rule follow the position.
        if (!TransferWholeFile(bWrite, pBuffer, dwBytes, ullPosition,
                               [&](uint8_t* pPiece, uint32_t ulPiece, uint64_t ullPieceOffset, uint32_t* pulDone) {
                                   const uint32_t ulResult = RawTransfer(bWrite, pPiece, ulPiece, ullPieceOffset,
                                                                         pulDone, nDirection, dwFlags);
                                   if (ulResult == 0)
                                       ullPosition = ullPieceOffset + *pulDone;
                                   return ulResult;
                               }))
            return false;
        ullCount = ++ullTransfers;
    }
    if (onTransfer)
        onTransfer(ullCount);
    return true;
}

bool C_FaultyQuickFile::AccessorTransfer(bool bWrite, uint64_t ullOffset, uint8_t* pBuffer, DWORD dwBytes,
                                         int nDirectionOf, DWORD dwFlagsOf)
{
    if (onAccess)
        onAccess();
    uint64_t ullCount = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(lock);
        const DWORD dwThread = ::GetCurrentThreadId();
        if (dwFailedThread != 0) {
            if (dwThread == dwFailedThread)
                ++ullAccessesAfterFailureSameThread;
            else
                ++ullAccessesAfterFailureOtherThreads;
        }
        ++accessPositions[ullOffset];
        ++accessesPerThread[dwThread];
        ++ullAccesses;
        if (!TransferWholeFile(bWrite, pBuffer, dwBytes, ullOffset,
                               [&](uint8_t* pPiece, uint32_t ulPiece, uint64_t ullPieceOffset, uint32_t* pulDone) {
                                   return RawTransfer(bWrite, pPiece, ulPiece, ullPieceOffset, pulDone,
                                                      nDirectionOf, dwFlagsOf);
                               })) {
            if (dwFailedThread == 0)
                dwFailedThread = dwThread;
            return false;
        }
        ullCount = ++ullTransfers;
    }
    if (onTransfer)
        onTransfer(ullCount);
    return true;
}

void C_FaultyQuickFile::AccessorReleased()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    --nOpenAccessors;
}

LONG C_FaultyQuickFile::AccessorFsControl()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    ++nAccessorFsControls;
    return lFsControlStatus;
}

namespace {

// An accessor of the stand-in: its transfers go to the stand-in's file,
// under the rules of the open it was made from.
class C_FaultyQuickAccessor : public I_TransferAccessor {
public:
    C_FaultyQuickAccessor(C_FaultyQuickFile& fileIn, int nDirectionIn, DWORD dwFlagsIn)
        : file(fileIn), nDirection(nDirectionIn), dwFlags(dwFlagsIn)
    {
    }
    ~C_FaultyQuickAccessor() override { file.AccessorReleased(); }
    bool ReadAt(uint64_t ullOffset, void* pBuffer, DWORD dwBytes) override
    {
        return file.AccessorTransfer(false, ullOffset, static_cast<uint8_t*>(pBuffer), dwBytes, nDirection, dwFlags);
    }
    bool WriteAt(uint64_t ullOffset, const void* pBuffer, DWORD dwBytes) override
    {
        return file.AccessorTransfer(true, ullOffset, static_cast<uint8_t*>(const_cast<void*>(pBuffer)), dwBytes,
                                     nDirection, dwFlags);
    }
    LONG DisableLocalBuffering() override { return file.AccessorFsControl(); }

private:
    C_FaultyQuickFile& file;
    int nDirection;
    DWORD dwFlags;
};

} // namespace

std::unique_ptr<I_TransferAccessor> C_FaultyQuickFile::OpenAccessor()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (Fails(accessorFault, ++nAccessorCalls))
        return nullptr;
    if (!bOpen) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    ++nAccessorOpens;
    ++nOpenAccessors;
    dwAccessorFlags = dwFlags;
    return std::make_unique<C_FaultyQuickAccessor>(*this, nDirection, dwFlags);
}

bool C_FaultyQuickFile::Read(void* pBuffer, DWORD dwBytes)
{
    return Transfer(false, static_cast<uint8_t*>(pBuffer), dwBytes);
}

bool C_FaultyQuickFile::Write(const void* pBuffer, DWORD dwBytes)
{
    return Transfer(true, static_cast<uint8_t*>(const_cast<void*>(pBuffer)), dwBytes);
}

bool C_FaultyQuickFile::Seek(uint64_t ullOffset)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    vTrace.push_back("seek " + std::to_string(ullOffset));
    if (Fails(seekFault, ++nSeekCalls))
        return false;
    ullPosition = ullOffset;
    return true;
}

bool C_FaultyQuickFile::SetEnd()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    vTrace.push_back("setend");
    if (Fails(setEndFault, ++nSetEndCalls))
        return false;
    if (!bOpen || nDirection != 1) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    vData.resize(static_cast<size_t>(ullPosition));
    return true;
}

bool C_FaultyQuickFile::Flush()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    vTrace.push_back("flush");
    return !Fails(flushFault, ++nFlushCalls);
}

bool C_FaultyQuickFile::CreateFolder(const char* pszPath)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    vTrace.push_back("mkdir");
    if (folders.count(pszPath) != 0) {
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    folders.insert(pszPath);
    return true;
}

bool C_FaultyQuickFile::RemoveFolder(const char* pszPath)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    vTrace.push_back("rmdir");
    if (bExists && ParentOf(strFilePath) == pszPath) {
        ::SetLastError(ERROR_DIR_NOT_EMPTY);
        return false;
    }
    if (folders.erase(pszPath) == 0) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    return true;
}

bool C_FaultyQuickFile::RemoveFile(const char* pszPath)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    vTrace.push_back("delete");
    if (nOpenAccessors != 0 && bExists && strFilePath == pszPath) {
        ++nRemovalsWhileOpen;
        ::SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    }
    if (!bExists || strFilePath != pszPath) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    bExists = false;
    vData.clear();
    return true;
}

std::string C_FaultyQuickFile::TraceText() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    std::string strText;
    for (const std::string& strEntry : vTrace)
        strText += (strText.empty() ? "" : ", ") + strEntry;
    return strText;
}

void C_FaultyQuickFile::Reset()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    openFault = seekFault = setEndFault = flushFault = writeFault = readFault = accessorFault = S_Fault();
    nShortWriteAt = 0;
    nNoResourcesAt = 0;
    lFsControlStatus = static_cast<LONG>(0xC00000BB);
    ulSectorSize = 4096;
    onTransfer = nullptr;
    onAccess = nullptr;
    vOpens.clear();
    vTrace.clear();
    vData.clear();
    bExists = false;
    folders.clear();
    nAlignmentFaults = 0;
    nOpenFiles = 0;
    nAccessorOpens = 0;
    nOpenAccessors = 0;
    nAccessorFsControls = 0;
    dwAccessorFlags = 0;
    nRemovalsWhileOpen = 0;
    accessPositions.clear();
    accessesPerThread.clear();
    ullAccesses = 0;
    dwFailedThread = 0;
    ullAccessesAfterFailureSameThread = 0;
    ullAccessesAfterFailureOtherThreads = 0;
    bOpen = false;
    nDirection = 0;
    dwFlags = 0;
    ullPosition = 0;
    strFilePath.clear();
    nOpenCalls = nSeekCalls = nSetEndCalls = nFlushCalls = nWriteCalls = nReadCalls = nAccessorCalls = 0;
    ullTransfers = 0;
}

void C_FaultyQuickFile::PlaceFile(const char* pszPath, size_t nBytes, uint8_t bFill)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    folders.insert(ParentOf(pszPath));
    strFilePath = pszPath;
    bExists = true;
    vData.assign(nBytes, bFill);
}
