// The machine identifier read from the running system.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/win/MachineIdSource.h"

TEST(MachineIdSource, StableAndMarksWine)
{
    const MachineIdBytes first = GetMachineId(MACHINE_ID_REPORT);
    EXPECT_EQ(GetMachineId(MACHINE_ID_REPORT), first);
    EXPECT_EQ(first[0], 16);
    EXPECT_EQ(first[6], MACHINE_ID_REPORT);
    const S_MachineSources sources = ReadMachineSources();
    if (::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr) {
        EXPECT_EQ(first[2], MACHINE_ENV_WINE);
    }
    EXPECT_GE(sources.ulMajor, 5u);
    EXPECT_FALSE(sources.strDisk.empty());
    EXPECT_FALSE(sources.strMachine.empty());

    const std::string strText = GetMachineIdText(MACHINE_ID_UPDATE);
    ASSERT_EQ(strText.size(), 19u);
    // The first three words are the machine's, the last holds the check
    // byte and then the purpose.
    EXPECT_EQ(strText.substr(0, 15), MachineIdText(first).substr(0, 15));
    EXPECT_EQ(strText.substr(17, 2), "04");
}
