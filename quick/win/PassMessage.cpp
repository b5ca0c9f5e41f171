#include "quick/win/PassMessage.h"

#include "framework/win/Texts.h"
#include "quick/core/QuickTextIds.h"

std::string PassMessageText(const S_PassMessage& message)
{
    // Each entry gets its inserts in the width its text names.
    switch (message.nMessageId) {
    case TEXT_CANT_OPEN:
        return Texts().FormatText(message.nMessageId, message.strPath.c_str(), message.dwError,
                                  message.strErrorText.c_str());
    case TEXT_CANT_SEEK_END:
    case TEXT_CANT_SET_END:
        return Texts().FormatText(message.nMessageId, message.ullMBytes);
    case TEXT_CANT_WRITE:
    case TEXT_CANT_READ:
        return Texts().FormatText(message.nMessageId, message.strPath.c_str(), message.dwError,
                                  message.strErrorText.c_str(), message.ulBlockSize, message.ullPosition,
                                  message.ullFileSize);
    default:
        return Texts().LoadText(message.nMessageId);
    }
}
