// quenvale-cli verify as its own process on the image-backed scratch
// drives R: (64 MiB) and S: (16 MiB), checked through the image files from
// the Linux side. Both images are put back as they were.
#include <gtest/gtest.h>

#include "tests/support/core/JsonMember.h"
#include "tests/support/core/NoiseBytes.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/core/StoredValues.h"
#include "blockaccess/core/VerifyStamp.h"
#include "blockaccess/win/BlockTextIds.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/Rudvane.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"
#include "tests/support/win/CliProcess.h"
#include "tests/support/win/ScratchImage.h"

namespace {

// The address a block of the image names, or ~0 when it holds no stamp.
uint64_t NamedAddress(const std::vector<uint8_t>& image, uint64_t ullLba)
{
    const uint8_t* pBlock = image.data() + ullLba * 512;
    if (std::memcmp(pBlock, "QVSTAMP", 7) != 0)
        return ~0ull;
    uint64_t ullAddress = 0;
    for (int i = 0; i < 8; ++i)
        ullAddress |= static_cast<uint64_t>(pBlock[8 + i]) << (8 * i);
    return ullAddress;
}

class VerifyCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        strImageR = ScratchImagePath('R');
        strImageS = ScratchImagePath('S');
        if (strImageR.empty() || strImageS.empty())
            GTEST_SKIP() << "no disk images behind R: and S: (QV_DRIVES not set)";
        savedR = ReadScratchImage(strImageR);
        savedS = ReadScratchImage(strImageS);
        ASSERT_EQ(savedR.size(), 64u << 20);
        ASSERT_EQ(savedS.size(), 16u << 20);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + kSettingWriteSection).c_str());
        RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_BLOCK_ACCESS);   // names the layer's error texts
    }

    void TearDown() override
    {
        if (strImageR.empty())
            return;
        WriteScratchImage(strImageR, 0, savedR);
        WriteScratchImage(strImageS, 0, savedS);
        RudvaneExit();
    }

    C_TempFolder folder;
    std::string strImageR;
    std::string strImageS;
    std::vector<uint8_t> savedR;
    std::vector<uint8_t> savedS;
};

TEST_F(VerifyCli, AQuickCheckWithRestoreSaysTheCapacityHoldsAndLeavesTheImageAsItWas)
{
    const std::vector<uint8_t> before = NoiseBytes(64u << 20, 7);
    ASSERT_TRUE(WriteScratchImage(strImageR, 0, before));
    const S_CliRun run = RunCli("verify R: --quick --yes --restore --json", folder);
    ASSERT_EQ(run.dwExitCode, 0u) << run.strErr;
    EXPECT_EQ(JsonMemberText(run.strOut, "verdict"), "\"capacity holds\"");
    EXPECT_EQ(JsonMemberText(run.strOut, "claimed_bytes"), "67108864");
    EXPECT_EQ(JsonMemberText(run.strOut, "good_bytes"), "67108864");
    EXPECT_EQ(JsonMemberText(run.strOut, "first_bad_block"), "null");
    EXPECT_EQ(JsonMemberText(run.strOut, "bad_blocks"), "0");
    EXPECT_EQ(JsonMemberText(run.strOut, "probed_blocks"), "131072");   // 64 MiB: every block is a probe
    EXPECT_EQ(JsonMemberText(run.strOut, "restored"), "true");
    EXPECT_NE(JsonMemberText(run.strOut, "write_rate"), "null");
    EXPECT_TRUE(ReadScratchImage(strImageR) == before) << "the image changed";

    // In text, without --restore: the stamps stay, each naming its block.
    const S_CliRun text = RunCli("verify R: --yes", folder);
    ASSERT_EQ(text.dwExitCode, 0u) << text.strErr;
    EXPECT_NE(text.strOut.find("verdict      capacity holds"), std::string::npos) << text.strOut;
    const std::vector<uint8_t> after = ReadScratchImage(strImageR);
    for (const uint64_t ullLba : {0ull, 1ull, 65535ull, 131071ull})
        EXPECT_EQ(NamedAddress(after, ullLba), ullLba);
}

TEST_F(VerifyCli, AFullCheckStampsEveryBlockAndGivesTheRates)
{
    const S_CliRun run = RunCli("verify S: --full --yes --json", folder);
    ASSERT_EQ(run.dwExitCode, 0u) << run.strErr;
    EXPECT_EQ(JsonMemberText(run.strOut, "mode"), "\"full\"");
    EXPECT_EQ(JsonMemberText(run.strOut, "verdict"), "\"capacity holds\"");
    EXPECT_EQ(JsonMemberText(run.strOut, "write_bytes"), "16777216");
    EXPECT_EQ(JsonMemberText(run.strOut, "read_bytes"), "16777216");
    EXPECT_NE(JsonMemberText(run.strOut, "read_rate"), "null");
    const std::vector<uint8_t> image = ReadScratchImage(strImageS);
    size_t nWrong = 0;
    for (uint64_t ullLba = 0; ullLba < 32768; ++ullLba)
        nWrong += NamedAddress(image, ullLba) != ullLba;
    EXPECT_EQ(nWrong, 0u);
}

TEST_F(VerifyCli, RefusalsAndBadArgumentsEndWithTwoAndWriteNothing)
{
    char szSystemError[kErrorTextBuffer] = {};
    GetErrorText(RUDVANE_ERROR_SYSTEM_DEVICE, szSystemError);
    struct Case {
        const char* pszName;
        std::string strArguments;
        std::string strError;   // part of stderr
    };
    const std::vector<Case> cases = {
        {"no confirmation", "verify S:", "(--yes answers Yes for this run)"},
        {"the system volume", "verify C: --yes", szSystemError},
        {"no such drive", "verify Y: --yes", "no device \"Y:\""},
        {"restore in full mode", "verify S: --full --restore --yes", "--restore works with --quick only"},
        {"two modes", "verify S: --quick --full", "usage: quenvale-cli verify"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const S_CliRun run = RunCli(c.strArguments, folder);
        EXPECT_EQ(run.dwExitCode, 2u) << run.strErr;
        EXPECT_NE(run.strErr.find(c.strError), std::string::npos) << run.strErr;
        EXPECT_TRUE(run.strOut.empty()) << run.strOut;
    }
    EXPECT_TRUE(ReadScratchImage(strImageS) == savedS);

    // The usage, with its warning, is part of the program's usage text.
    const S_CliRun help = RunCli("--help", folder);
    EXPECT_EQ(help.dwExitCode, 0u);
    EXPECT_NE(help.strOut.find("verify writes to the raw device and DESTROYS the data on it"), std::string::npos);
}

} // namespace
