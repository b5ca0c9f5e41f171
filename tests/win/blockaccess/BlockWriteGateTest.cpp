// The checks before a raw run: what the record offers, the write question
// kept per device identity in the program's settings store, the device
// behind the record still being the one listed, and the device of the
// running Windows never opened for writing.
#include "blockaccess/win/BlockWriteGate.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "app/core/StoredValues.h"
#include "app/win/DeviceWriteConfirmations.h"
#include "app/win/Settings.h"
#include "blockaccess/win/BlockTextIds.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumPasses.h"
#include "device/win/Rudvane.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"
#include "tests/support/win/TestDevice.h"
#include "tests/win/blockaccess/BlockTestParts.h"

namespace {

constexpr const char* kTestKey = "Software\\Ternwick\\QuenvaleBlockGateTest";

std::string ErrorTextOf(DWORD dwError)
{
    char szText[kErrorTextBuffer];
    return GetErrorText(dwError, szText) != nullptr ? szText : "?";
}

class BlockWriteGate : public C_DeviceLayerTest {
protected:
    void SetUp() override
    {
        C_DeviceLayerTest::SetUp();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        ASSERT_TRUE(settings.Open(SETTINGS_REGISTRY, HKEY_CURRENT_USER, kTestKey, nullptr));
    }
    void TearDown() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        C_DeviceLayerTest::TearDown();
    }

    // A disk as the enumeration makes it, so that the identity check finds
    // it again.
    static std::unique_ptr<C_RudvaneHandleDevice> Probe(S_SimulatedDisk& disk, uint32_t ulNumber)
    {
        return RudvaneProbePhysicalDrive(disk.io, "\\\\.\\PhysicalDrive" + std::to_string(ulNumber), ulNumber);
    }

    uint64_t Stored(const C_RudvaneDevice& device) const
    {
        return settings.GetInt(BlockDeviceIdentity(device).c_str(), 0, kSettingWriteSection);
    }

    C_Settings settings;
    C_RecordingGateEvents events;
};

TEST_F(BlockWriteGate, ADirectionTheRecordLacksIsRefusedBeforeAnyQuestion)
{
    C_MemoryConfirmations confirmations;
    C_BlockWriteGate gate(events, confirmations);
    struct Case {
        uint32_t ulCaps;
        bool bWrite;
        int nTextId;
    };
    for (const Case& c : {Case{RUDVANE_CAP_BLOCKS | RUDVANE_CAP_READ, true, BLOCK_TEXT_NO_WRITE},
                          Case{RUDVANE_CAP_BLOCKS | RUDVANE_CAP_WRITE, false, BLOCK_TEXT_NO_READ}}) {
        SCOPED_TRACE(c.nTextId);
        events.vMessages.clear();
        C_TestDevice device;
        device.ulCaps = c.ulCaps;
        EXPECT_EQ(gate.Admit(device, c.bWrite), E_BlockGate::Refused);
        ASSERT_EQ(events.vMessages.size(), 1u);
        EXPECT_EQ(events.vMessages[0].nTextId, c.nTextId);
        EXPECT_EQ(events.vMessages[0].strText, Texts().FormatText(c.nTextId, device.strInfo.c_str()));
        EXPECT_EQ(events.vMessages[0].uStyle, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_TRUE(events.vQuestions.empty());
        EXPECT_TRUE(device.io.vOpened.empty());
    }
}

TEST_F(BlockWriteGate, TheWriteQuestionIsAskedOncePerIdentityAndAYesIsStored)
{
    S_SimulatedDisk disk(4096);
    std::unique_ptr<C_RudvaneHandleDevice> pDevice = Probe(disk, 5);
    ASSERT_NE(pDevice, nullptr);
    // The page's settings name the value as the program always has.
    EXPECT_EQ(BlockDeviceIdentity(*pDevice),
              DeviceWriteValueName(pDevice->strVendor, pDevice->strProduct, pDevice->strRevision, pDevice->strSerial,
                                   pDevice->strInfo, pDevice->strLetters));

    C_DeviceWriteConfirmations confirmations(settings, true);
    C_BlockWriteGate gate(events, confirmations);
    events.bAnswerYes = false;
    EXPECT_EQ(gate.Admit(*pDevice, true), E_BlockGate::Declined);
    ASSERT_EQ(events.vQuestions.size(), 1u);
    EXPECT_EQ(events.vQuestions[0].strText, Texts().FormatText(BLOCK_TEXT_CONFIRM_WRITE, pDevice->strInfo.c_str()));
    EXPECT_EQ(events.vQuestions[0].uStyle, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(Stored(*pDevice), 0u);
    EXPECT_TRUE(events.vMessages.empty());  // No ends the run quietly

    events.bAnswerYes = true;
    EXPECT_EQ(gate.Admit(*pDevice, true), E_BlockGate::Admitted);
    EXPECT_EQ(events.vQuestions.size(), 2u);
    EXPECT_EQ(Stored(*pDevice), 1u);
    EXPECT_EQ(gate.Admit(*pDevice, true), E_BlockGate::Admitted);
    EXPECT_EQ(gate.Admit(*pDevice, false), E_BlockGate::Admitted);
    EXPECT_EQ(events.vQuestions.size(), 2u);

    // Another device with another serial number is asked about again; a Yes
    // for this run only keeps nothing.
    S_SimulatedDisk other(4096);
    other.target.strAtaSerial = "SIM-0002";
    std::unique_ptr<C_RudvaneHandleDevice> pOther = Probe(other, 6);
    ASSERT_NE(pOther, nullptr);
    ASSERT_EQ(pOther->strSerial, "SIM-0002");
    ASSERT_NE(BlockDeviceIdentity(*pOther), BlockDeviceIdentity(*pDevice));
    C_DeviceWriteConfirmations thisRunOnly(settings, false);
    C_BlockWriteGate consoleGate(events, thisRunOnly);
    EXPECT_EQ(consoleGate.Admit(*pDevice, true), E_BlockGate::Admitted);  // stored before: honoured
    EXPECT_EQ(events.vQuestions.size(), 2u);
    EXPECT_EQ(consoleGate.Admit(*pOther, true), E_BlockGate::Admitted);
    EXPECT_EQ(events.vQuestions.size(), 3u);
    EXPECT_EQ(Stored(*pOther), 0u);
    EXPECT_EQ(consoleGate.Admit(*pOther, true), E_BlockGate::Admitted);
    EXPECT_EQ(events.vQuestions.size(), 4u);
}

TEST_F(BlockWriteGate, ADeviceSwappedSinceTheListWasMadeIsRefusedThoughConfirmed)
{
    S_SimulatedDisk disk(4096);
    std::unique_ptr<C_RudvaneHandleDevice> pDevice = Probe(disk, 5);
    ASSERT_NE(pDevice, nullptr);
    C_MemoryConfirmations confirmations;
    confirmations.Remember(BlockDeviceIdentity(*pDevice));
    C_BlockWriteGate gate(events, confirmations);
    ASSERT_EQ(gate.Admit(*pDevice, true), E_BlockGate::Admitted);

    disk.target.Swap("Other Stick", 4096);
    EXPECT_EQ(gate.Admit(*pDevice, true), E_BlockGate::Refused);
    ASSERT_EQ(events.vMessages.size(), 1u);
    const S_BlockMessage& refusal = events.vMessages[0];
    EXPECT_EQ(refusal.dwError, static_cast<DWORD>(RUDVANE_ERROR_DEVICE_CHANGED));
    EXPECT_EQ(refusal.strText, ErrorTextOf(RUDVANE_ERROR_DEVICE_CHANGED) + "\n\n" + pDevice->strInfo);
    EXPECT_TRUE(events.vQuestions.empty());
    // Reading is not checked: the record still reads what it reaches.
    EXPECT_EQ(gate.Admit(*pDevice, false), E_BlockGate::Admitted);

    disk.io.dwOpenError = ERROR_FILE_NOT_FOUND;  // gone: cannot be checked, so not written
    EXPECT_EQ(gate.Admit(*pDevice, true), E_BlockGate::Refused);
    EXPECT_EQ(events.vMessages.back().dwError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(disk.target.WrittenBlocks(), 0u);
}

TEST_F(BlockWriteGate, TheSystemDeviceIsNeverOpenedForWritingAndEveryOpenIsClosedOnce)
{
    C_MemoryConfirmations confirmations;
    C_BlockWriteGate gate(events, confirmations);
    const char cSystem = RudvaneGetSystemLetter();
    ASSERT_NE(cSystem, '\0');
    C_TestDevice system(4096, 512, std::string("\\\\.\\") + cSystem + ":");
    system.strLetters.assign(1, cSystem);

    C_BlockDeviceHold hold;
    EXPECT_EQ(gate.Open(system, true, hold), E_BlockGate::Refused);
    EXPECT_FALSE(hold.IsHeld());
    EXPECT_EQ(system.GetOpenCount(), 0);
    EXPECT_TRUE(system.io.vOpened.empty());
    ASSERT_EQ(events.vMessages.size(), 1u);
    EXPECT_EQ(events.vMessages[0].dwError, static_cast<DWORD>(RUDVANE_ERROR_SYSTEM_DEVICE));
    EXPECT_EQ(events.vMessages[0].strText, ErrorTextOf(RUDVANE_ERROR_SYSTEM_DEVICE) + "\n\n" + system.strInfo);

    // Reading it is allowed; the hold keeps one Open until it goes.
    EXPECT_EQ(gate.Open(system, false, hold), E_BlockGate::Admitted);
    EXPECT_TRUE(hold.IsHeld());
    EXPECT_EQ(system.GetOpenCount(), 1);
    C_BlockDeviceHold moved = std::move(hold);
    EXPECT_EQ(system.GetOpenCount(), 1);
    moved.Release();
    moved.Release();
    EXPECT_EQ(system.GetOpenCount(), 0);
    EXPECT_EQ(system.io.OpenHandles(), 0);

    C_TestDevice stick(4096, 512, "\\\\.\\PhysicalDrive6");
    stick.strLetters = "X";
    {
        C_BlockDeviceHold writeHold;
        EXPECT_EQ(gate.Open(stick, true, writeHold), E_BlockGate::Admitted);
        EXPECT_EQ(stick.GetOpenCount(), 1);
    }
    EXPECT_EQ(stick.GetOpenCount(), 0);
    EXPECT_EQ(events.vMessages.size(), 1u);
}

} // namespace
