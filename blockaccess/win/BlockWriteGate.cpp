#include "blockaccess/win/BlockWriteGate.h"

#include <windows.h>

#include "blockaccess/win/BlockTextIds.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/RudvaneDevice.h"
#include "device/win/RudvaneVerify.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"

std::string BlockDeviceIdentity(const C_RudvaneDevice& device)
{
    return device.strVendor + " " + device.strProduct + " " + device.strRevision + " " + device.strSerial + " " +
           device.strInfo + " " + device.strLetters;
}

E_BlockGate C_BlockWriteGate::Admit(const C_RudvaneDevice& device, bool bWrite)
{
    if ((device.ulCaps.load() & (bWrite ? RUDVANE_CAP_WRITE : RUDVANE_CAP_READ)) == 0) {
        S_BlockMessage message;
        message.nTextId = bWrite ? BLOCK_TEXT_NO_WRITE : BLOCK_TEXT_NO_READ;
        message.strText = Texts().FormatText(message.nTextId, device.strInfo.c_str());
        events.ShowMessage(message);
        return E_BlockGate::Refused;
    }
    if (!bWrite)
        return E_BlockGate::Admitted;
    const E_BlockGate confirmed = Confirm(device);
    if (confirmed != E_BlockGate::Admitted)
        return confirmed;
    if (RudvaneVerifyIdentity(device) == 0) {
        Refuse(device, ::GetLastError());
        return E_BlockGate::Refused;
    }
    return E_BlockGate::Admitted;
}

E_BlockGate C_BlockWriteGate::Open(C_RudvaneDevice& device, bool bWrite, C_BlockDeviceHold& holdOut)
{
    holdOut.Release();
    const int nOpened = bWrite ? device.OpenForWriting() : device.Open();
    if (nOpened != 0) {
        holdOut.Adopt(device);
        return E_BlockGate::Admitted;
    }
    const DWORD dwError = ::GetLastError();
    if (bWrite && (dwError == RUDVANE_ERROR_SYSTEM_DEVICE || device.IsWriteRefused())) {
        Refuse(device, RUDVANE_ERROR_SYSTEM_DEVICE);
        return E_BlockGate::Refused;
    }
    return E_BlockGate::Admitted;
}

E_BlockGate C_BlockWriteGate::Confirm(const C_RudvaneDevice& device)
{
    const std::string strIdentity = BlockDeviceIdentity(device);
    if (confirmations.IsConfirmed(strIdentity))
        return E_BlockGate::Admitted;
    S_BlockMessage question;
    question.nTextId = BLOCK_TEXT_CONFIRM_WRITE;
    question.uStyle = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    question.strText = Texts().FormatText(BLOCK_TEXT_CONFIRM_WRITE, device.strInfo.c_str());
    if (!events.AskQuestion(question))
        return E_BlockGate::Declined;
    confirmations.Remember(strIdentity);
    return E_BlockGate::Admitted;
}

void C_BlockWriteGate::Refuse(const C_RudvaneDevice& device, DWORD dwError)
{
    char szError[kErrorTextBuffer];
    S_BlockMessage message;
    message.dwError = dwError;
    if (GetErrorText(dwError, szError) != nullptr)
        message.strText = szError;
    else
        message.strText = "Win32Error: " + std::to_string(dwError);
    message.strText += "\n\n" + device.strInfo;
    events.ShowMessage(message);
}
