// quenvale-cli block as its own process on the image-backed scratch drives
// R: and S:, checked through the image files. Every image is put back as
// it was, and the confirmations the tests store are removed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/core/StoredValues.h"
#include "app/win/Settings.h"
#include "blockaccess/core/UdmaCrc.h"
#include "blockaccess/win/BlockTextIds.h"
#include "blockaccess/win/BlockWriteGate.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumIo.h"
#include "device/win/EnumPasses.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandleDevice.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"
#include "tests/support/core/JsonMember.h"
#include "tests/support/core/NoiseBytes.h"
#include "tests/support/win/CliProcess.h"
#include "tests/support/win/ScratchImage.h"
#include "tests/win/blockaccess/BlockTestParts.h"

namespace {

constexpr uint32_t kBlock = 512;

// The first line of a message, which the console prints on one line.
std::string FirstLine(const std::string& strText)
{
    return strText.substr(0, strText.find_first_of("\r\n"));
}

std::string ErrorTextOf(DWORD dwError)
{
    char szText[kErrorTextBuffer];
    return GetErrorText(dwError, szText) != nullptr ? szText : "?";
}

class BlockCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        strImageR = ScratchImagePath('R');
        strImageS = ScratchImagePath('S');
        if (strImageR.empty() || strImageS.empty())
            GTEST_SKIP() << "no disk images behind R: and S: (QV_DRIVES not set)";
        savedS = ReadScratchImage(strImageS);
        ASSERT_EQ(savedS.size(), 16u << 20);
        ForgetConfirmations();
        RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_BLOCK_ACCESS);   // also names the layer's error texts
    }

    void TearDown() override
    {
        if (strImageS.empty())
            return;
        WriteScratchImage(strImageS, 0, savedS);
        for (const auto& saved : vSavedR)
            WriteScratchImage(strImageR, saved.first, saved.second);
        ForgetConfirmations();
        RudvaneExit();
    }

    static std::string ProgramFolderOfCli()
    {
        const std::string strPath = CliProgramPath();
        return strPath.substr(0, strPath.find_last_of('\\') + 1);
    }

    void ForgetConfirmations()
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + kSettingWriteSection).c_str());
        ::DeleteFileA((ProgramFolderOfCli() + "portable.dat").c_str());
        ::DeleteFileA((ProgramFolderOfCli() + "Quenvale.ini").c_str());
    }

    // Overwrites part of R:'s image for one test.
    void PutOnR(uint64_t ullOffset, const std::vector<uint8_t>& vData)
    {
        vSavedR.emplace_back(ullOffset, ReadScratchImage(strImageR, ullOffset, vData.size()));
        ASSERT_TRUE(WriteScratchImage(strImageR, ullOffset, vData));
    }

    // The identity the page confirms for S:'s volume, as the list makes it.
    static std::string IdentityOfS()
    {
        std::unique_ptr<C_RudvaneHandleDevice> pVolume = RudvaneProbeVolume(C_EnumIo::System(), 'S');
        return pVolume != nullptr ? BlockDeviceIdentity(*pVolume) : std::string();
    }

    C_TempFolder folder;
    std::string strImageR;
    std::string strImageS;
    std::vector<uint8_t> savedS;
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> vSavedR;
};

TEST_F(BlockCli, ALinearReadCapturesTheWholeImageAndItsLastBufferCrc)
{
    const uint64_t ullSize = ReadScratchImage(strImageR).size();
    ASSERT_EQ(ullSize, 64u << 20);
    PutOnR(0, NoiseBytes(65536, 1));
    PutOnR(ullSize - 65536, NoiseBytes(65536, 2));

    const std::string strData = folder / "out.bin";
    const S_CliRun run = RunCli("block R: --read --data \"" + strData + "\" --crc --json", folder);
    ASSERT_EQ(run.dwExitCode, 0u) << run.strErr;
    const std::vector<uint8_t> image = ReadScratchImage(strImageR);
    const std::string strCaptured = ReadWholeFile(strData);
    ASSERT_EQ(strCaptured.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), reinterpret_cast<const uint8_t*>(strCaptured.data())));

    // The volume moves one block per access, as its record allows.
    const std::vector<uint8_t> last(image.end() - kBlock, image.end());
    EXPECT_EQ(JsonMemberText(run.strOut, "crc"), "\"" + UdmaCrcText(BitwiseUdmaCrc(last.data(), last.size())) + "\"");
    EXPECT_EQ(JsonMemberText(run.strOut, "accesses"), "131072");
    EXPECT_EQ(JsonMemberText(run.strOut, "bytes"), std::to_string(ullSize));
    EXPECT_EQ(JsonMemberText(run.strOut, "block_count"), "131072");
    EXPECT_EQ(JsonMemberText(run.strOut, "success"), "true");
    // One rate per graph point: 131072 accesses in steps of 26.
    EXPECT_EQ(JsonMemberText(run.strOut, "graph_step"), "26");
    const size_t nFrom = run.strOut.find('[', run.strOut.find("\"graph_mbytes_per_second\""));
    const std::string strPoints = run.strOut.substr(nFrom, run.strOut.find(']', nFrom) - nFrom);
    EXPECT_EQ(std::count(strPoints.begin(), strPoints.end(), ',') + 1, 131072 / 26);
}

TEST_F(BlockCli, AWriteNeedsAStoredConfirmationOrYesAndLandsWhereItsAddressesSay)
{
    const std::string strSource = folder / "source.bin";
    const std::vector<uint8_t> source = NoiseBytes(3 * 8 * kBlock, 3);
    ASSERT_TRUE(WriteWholeFile(strSource, std::string(source.begin(), source.end())));
    const std::string strWrite = "block S: --write --start 8 --end 40 --blocks 8 --skip 8 --data \"" + strSource + "\"";
    // Blocks 8..15 and 24..31 get the file's first buffer; nothing else changes.
    std::vector<uint8_t> expected = savedS;
    for (const uint64_t ullLba : {8u, 24u})
        std::copy(source.begin(), source.begin() + 8 * kBlock, expected.begin() + ullLba * kBlock);

    const S_CliRun asked = RunCli(strWrite, folder);
    EXPECT_EQ(asked.dwExitCode, 2u);
    EXPECT_NE(asked.strErr.find(FirstLine(Texts().FormatText(BLOCK_TEXT_CONFIRM_WRITE, "\\\\.\\S:"))), std::string::npos)
        << asked.strErr;
    EXPECT_TRUE(ReadScratchImage(strImageS) == savedS);

    const S_CliRun yes = RunCli(strWrite + " --yes", folder);
    ASSERT_EQ(yes.dwExitCode, 0u) << yes.strErr;
    EXPECT_TRUE(ReadScratchImage(strImageS) == expected);
    const std::string strIdentity = IdentityOfS();
    ASSERT_FALSE(strIdentity.empty());
    C_Settings registry;
    ASSERT_TRUE(registry.Open(SETTINGS_REGISTRY, HKEY_CURRENT_USER, kSettingsKey, nullptr));
    EXPECT_EQ(registry.GetInt(strIdentity.c_str(), 0, kSettingWriteSection), 0u);  // --yes keeps nothing

    // What the page stored is honoured: in the registry, or in portable
    // mode in the settings file beside the program.
    ASSERT_TRUE(registry.SetInt(strIdentity.c_str(), 1, kSettingWriteSection));
    ASSERT_TRUE(WriteScratchImage(strImageS, 0, savedS));
    const S_CliRun stored = RunCli(strWrite, folder);
    EXPECT_EQ(stored.dwExitCode, 0u) << stored.strErr;
    EXPECT_TRUE(ReadScratchImage(strImageS) == expected);

    ForgetConfirmations();
    ASSERT_TRUE(WriteScratchImage(strImageS, 0, savedS));
    ASSERT_TRUE(WriteWholeFile(ProgramFolderOfCli() + "portable.dat", ""));
    EXPECT_EQ(RunCli(strWrite, folder).dwExitCode, 2u);  // the registry is not asked in portable mode
    ASSERT_TRUE(registry.SetInt(strIdentity.c_str(), 1, kSettingWriteSection));
    EXPECT_EQ(RunCli(strWrite, folder).dwExitCode, 2u);
    C_Settings portable;
    ASSERT_TRUE(portable.Open(SETTINGS_INI, nullptr, nullptr, (ProgramFolderOfCli() + "Quenvale.ini").c_str()));
    ASSERT_TRUE(portable.SetInt(strIdentity.c_str(), 1, kSettingWriteSection));
    const S_CliRun fromIni = RunCli(strWrite, folder);
    EXPECT_EQ(fromIni.dwExitCode, 0u) << fromIni.strErr;
    EXPECT_TRUE(ReadScratchImage(strImageS) == expected);
}

TEST_F(BlockCli, RefusalsAndFailuresEndWithTheirExitCodes)
{
    struct Case {
        const char* pszName;
        std::string strArguments;
        DWORD dwExitCode;
        std::string strError;   // part of stderr
    };
    const std::vector<Case> cases = {
        {"the system volume", "block C: --write --yes --start 10 --end 20", 2,
         ErrorTextOf(RUDVANE_ERROR_SYSTEM_DEVICE)},
        {"a seek range smaller than one access", "block S: --read --mode seek --start 0 --end 4 --blocks 8", 2,
         FirstLine(Texts().FormatText(BLOCK_TEXT_CANT_ACCESS, 8ull, 0ull, static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND),
                                    ErrorTextOf(ERROR_SECTOR_NOT_FOUND).c_str(), ""))},
        {"no such drive", "block Y: --read", 2, "no device \"Y:\""},
        {"bad arguments", "block S: --read --mode zigzag", 2, "usage: quenvale-cli block"},
        // A device path as the list names it; here its reads fail.
        {"a failed access", "block \\\\.\\PhysicalDrive0 --read --end 4", 1,
         Texts().FormatText(BLOCK_TEXT_CANT_ACCESS, 1ull, 0ull, 0u, "", "").substr(0, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const S_CliRun run = RunCli(c.strArguments, folder);
        EXPECT_EQ(run.dwExitCode, c.dwExitCode) << run.strErr;
        EXPECT_NE(run.strErr.find(c.strError), std::string::npos) << run.strErr;
    }
    EXPECT_TRUE(ReadScratchImage(strImageS) == savedS);
}

} // namespace
