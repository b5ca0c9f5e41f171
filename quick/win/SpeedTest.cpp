#include "quick/win/SpeedTest.h"

#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"
#include "quick/core/QuickRate.h"
#include "quick/core/QuickTextIds.h"
#include "quick/core/UsbRating.h"

namespace {

std::string ErrorTextOf(DWORD dwError)
{
    char szText[kErrorTextBuffer];
    const char* pszText = GetErrorText(dwError, szText);
    return pszText != nullptr ? pszText : "";
}

void Report(const S_QuickPassContext& context, S_PassMessage message)
{
    context.events.PassMessage(message);
}

S_PassMessage Message(int nId, UINT uStyle)
{
    S_PassMessage message;
    message.nMessageId = nId;
    message.uStyle = uStyle;
    return message;
}

} // namespace

int WorkerDoSpeedtest(const S_QuickPassContext& context, int nDirection, const char* pszPath, uint8_t* pBuffer,
                      uint32_t ulBlockSizeIn, std::string& strResult, int nUsbCode, std::string& strWarning,
                      uint32_t& ulMBytesPerSecond, S_QuickPassFigures* pFigures)
{
    C_QuickState& state = context.state;
    I_TransferFile& file = context.file;
    const bool bWrite = nDirection == 1;
    const uint64_t ullFileSize = state.ullFileSize.load();
    // A block longer than the file would move more than the file and be
    // rated as the file: such a file is one block.
    const uint32_t ulBlockSize = ullFileSize != 0 && ullFileSize < ulBlockSizeIn
                                     ? static_cast<uint32_t>(ullFileSize)
                                     : ulBlockSizeIn;
    S_QuickPassFigures figures;
    figures.bRan = true;
    ulMBytesPerSecond = 0;
    strResult.clear();

    bool bOpen = file.Open(pszPath, nDirection, FILE_FLAG_SEQUENTIAL_SCAN);
    if (bOpen && IsNtError(file.DisableLocalBuffering())) {
        // A local file system refuses the control: bypass its cache.
        file.Close();
        bOpen = file.Open(pszPath, nDirection, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_NO_BUFFERING);
    }
    if (!bOpen) {
        const DWORD dwError = ::GetLastError();
        S_PassMessage message = Message(TEXT_CANT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        message.strPath = pszPath;
        message.dwError = dwError;
        message.strErrorText = ErrorTextOf(dwError);
        figures.ulError = dwError;
        Report(context, message);
        if (pFigures != nullptr)
            *pFigures = figures;
        return 0;
    }

    bool bPrepared = true;
    if (bWrite) {
        // Give the file its full length before the timing starts.
        S_PassMessage message = Message(0, MB_OK);
        message.ullMBytes = ullFileSize / kMByte;
        if (!file.Seek(ullFileSize)) {
            figures.ulError = ::GetLastError();
            message.nMessageId = TEXT_CANT_SEEK_END;
            Report(context, message);
            bPrepared = false;
        } else {
            if (!file.SetEnd()) {
                message.nMessageId = TEXT_CANT_SET_END;
                Report(context, message);
            }
            if (!file.Seek(0)) {
                figures.ulError = ::GetLastError();
                Report(context, Message(TEXT_CANT_SEEK_START, MB_OK));
                bPrepared = false;
            }
        }
    }

    bool bDone = false;
    uint64_t ullDone = 0;
    if (bPrepared) {
        state.ullBytesDone.store(0);
        state.stopwatch.Start();
        for (;;) {
            const bool bOk = bWrite ? file.Write(pBuffer, ulBlockSize) : file.Read(pBuffer, ulBlockSize);
            if (!bOk) {
                const DWORD dwError = ::GetLastError();
                S_PassMessage message =
                    Message(bWrite ? TEXT_CANT_WRITE : TEXT_CANT_READ, MB_OK | MB_ICONEXCLAMATION);
                message.strPath = pszPath;
                message.dwError = dwError;
                message.strErrorText = ErrorTextOf(dwError);
                message.ulBlockSize = ulBlockSize;
                message.ullPosition = ullDone;
                message.ullFileSize = ullFileSize;
                figures.ulError = dwError;
                Report(context, message);
                break;
            }
            ullDone += ulBlockSize;
            state.ullBytesDone.store(ullDone);
            if (ullDone + ulBlockSize > ullFileSize) {
                bDone = true;
                break;
            }
            if (state.IsStopRequested())
                break;
        }
        if (bWrite && bDone && !file.Flush()) {
            figures.ulError = ::GetLastError();
            Report(context, Message(TEXT_CANT_FLUSH, MB_OK | MB_ICONEXCLAMATION));
            bDone = false;
        }
    }
    if (bWrite && !bDone) {
        // A write pass that did not finish leaves an empty file behind.
        if (file.Seek(0))
            file.SetEnd();
    }
    file.Close();

    figures.ullBytesMoved = ullDone;
    figures.ullTransfers = ulBlockSize != 0 ? ullDone / ulBlockSize : 0;
    if (!bDone) {
        if (pFigures != nullptr)
            *pFigures = figures;
        return 0;
    }

    const uint64_t ullMicroseconds = state.stopwatch.Stop();
    figures.bSuccess = true;
    figures.ullBytes = ullFileSize;
    figures.ullMicroseconds = ullMicroseconds;
    if (IsTooFast(ullMicroseconds)) {
        strResult = Texts().LoadText(TEXT_TOO_FAST);
    } else {
        const float fSpeed = TransferRate(ullFileSize, ullMicroseconds);
        ulMBytesPerSecond = WholeMBytesPerSecond(fSpeed);
        strResult = RateText(fSpeed);
        RateUsbSpeed(fSpeed, nDirection, nUsbCode, strWarning, [](int nId) { return Texts().LoadText(nId); });
        figures.dBytesPerSecond = fSpeed;
        figures.dIops = static_cast<double>(figures.ullTransfers) * 1e6 / static_cast<double>(ullMicroseconds);
        if (figures.ullTransfers != 0)
            figures.dMeanMs = static_cast<double>(ullMicroseconds) / 1000.0 / static_cast<double>(figures.ullTransfers);
    }
    if (pFigures != nullptr)
        *pFigures = figures;
    return 1;
}
