// The machine identifier's bytes and text.
#include <gtest/gtest.h>

#include "framework/core/MachineId.h"

namespace {

S_MachineSources SomeMachine()
{
    S_MachineSources sources;
    sources.strAdapters = "001122334455;A0B1C2D3E4F5;";
    sources.ulMajor = 10;
    sources.ulMinor = 0;
    sources.strProductId = "00330-80000-00000-AA123";
    sources.strDisk = "5A3C1F09";
    sources.strMachine = "6e1b2c3d-0000-4a5b-8c9d-112233445566";
    return sources;
}

} // namespace

TEST(MachineId, LayoutCheckByteAndPurpose)
{
    const MachineIdBytes id = MakeMachineId(SomeMachine(), MACHINE_ID_UPDATE);
    EXPECT_EQ(id[0], 16);
    EXPECT_EQ(id[2], 0xA0);   // Windows 10.0
    EXPECT_EQ(id[6], MACHINE_ID_UPDATE);
    uint8_t bCheck = 0;
    for (int i = 0; i < 7; ++i)
        bCheck ^= static_cast<uint8_t>(~id[i]);
    EXPECT_EQ(id[7], bCheck);

    // Only the purpose byte and the check byte differ between purposes.
    const MachineIdBytes report = MakeMachineId(SomeMachine(), MACHINE_ID_REPORT);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(report[i], id[i]) << i;
    EXPECT_EQ(report[6], MACHINE_ID_REPORT);
    EXPECT_EQ(report[7], id[7] ^ MACHINE_ID_UPDATE ^ MACHINE_ID_REPORT);
}

TEST(MachineId, StableForTheSameSourcesAndChangedByEach)
{
    const MachineIdBytes id = MakeMachineId(SomeMachine(), MACHINE_ID_UPDATE);
    EXPECT_EQ(MakeMachineId(SomeMachine(), MACHINE_ID_UPDATE), id);

    S_MachineSources other = SomeMachine();
    other.strDisk = "5A3C1F0A";
    EXPECT_NE(MakeMachineId(other, MACHINE_ID_UPDATE)[4], id[4]);
    other = SomeMachine();
    other.strAdapters = "001122334456;A0B1C2D3E4F5;";
    EXPECT_NE(MakeMachineId(other, MACHINE_ID_UPDATE)[1], id[1]);
    EXPECT_EQ(MachineIdByteOf(""), 0);
}

TEST(MachineId, SystemByteKeepsTheSpecialValuesForTheirEnvironments)
{
    EXPECT_EQ(MachineIdSystemByte(MACHINE_ENV_WINE, 10, 0), 1);
    EXPECT_EQ(MachineIdSystemByte(MACHINE_ENV_REACTOS, 5, 2), 2);
    EXPECT_EQ(MachineIdSystemByte(MACHINE_ENV_SANDBOX, 10, 0), 3);
    EXPECT_EQ(MachineIdSystemByte(MACHINE_ENV_WINDOWS, 6, 1), 0x61);
    EXPECT_EQ(MachineIdSystemByte(MACHINE_ENV_WINDOWS, 5, 1), 0x51);
    // An unreadable version (0.x) never reads as a special environment.
    for (uint32_t ulMinor = 0; ulMinor < 4; ++ulMinor)
        EXPECT_GT(MachineIdSystemByte(MACHINE_ENV_WINDOWS, 0, ulMinor), 3) << ulMinor;
}

TEST(MachineId, TextIsFourLittleEndianWords)
{
    const MachineIdBytes id = {0x10, 0xAB, 0x01, 0x02, 0xFE, 0x7F, 0x04, 0x99};
    EXPECT_EQ(MachineIdText(id), "AB10-0201-7FFE-9904");
}
