// The update check against a local update service: the weekly rule, the
// questions, the file swaps, the remembered decline and refused offers.
#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <map>
#include <string>

#include "framework/core/UpdateSettings.h"
#include "framework/win/AutoUpdate.h"
#include "tests/support/core/ZipBuilder.h"
#include "tests/support/win/BoxAnswerer.h"
#include "tests/support/win/HttpTestServer.h"

namespace {

const char kCaption[] = "Quenvale Update Test";

// The program's settings store, in memory.
class C_MemorySettings : public I_UpdateSettings {
public:
    uint64_t GetInt(const char* pszName, uint64_t ullDefault) override
    {
        const auto it = ints.find(pszName);
        return it != ints.end() ? it->second : ullDefault;
    }
    bool SetInt(const char* pszName, uint64_t ullValue) override
    {
        ints[pszName] = ullValue;
        return true;
    }
    bool GetString(const char* pszName, std::string& strText) override
    {
        const auto it = texts.find(pszName);
        if (it == texts.end())
            return false;
        strText = it->second;
        return true;
    }
    bool SetString(const char* pszName, const char* pszText) override
    {
        texts[pszName] = pszText;
        return true;
    }

    std::map<std::string, uint64_t> ints;
    std::map<std::string, std::string> texts;
};

uint64_t Now()
{
    return static_cast<uint64_t>(std::time(nullptr));
}

class AutoUpdateTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!C_HttpTestServer::IsAvailable())
            GTEST_SKIP() << "python3 cannot be started from here";
        ASSERT_TRUE(server.Start());
        hNotify = ::CreateWindowExA(0, "STATIC", "notify", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hNotify, nullptr);
        update.SetProgramFolder(program.Path());
        ASSERT_TRUE(WriteWholeFile(program / "Tool.exe", "old tool"));
        ASSERT_TRUE(server.Serve("Tool.exe", "new tool, version 2.7"));
    }
    void TearDown() override
    {
        update.Stop();
        if (hNotify != nullptr)
            ::DestroyWindow(hNotify);
    }

    // The reply of the service, offering a version with files.
    void Offer(const std::string& strVersion, const std::string& strFiles, const std::string& strRestart = "")
    {
        ASSERT_TRUE(server.Serve("update.php",
                                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><update><application>" +
                                     std::string(kCaption) + "</application><info><en>Install version " + strVersion +
                                     "?</en></info><version>" + strVersion + "</version><files>" + strFiles +
                                     "</files>" + strRestart + "</update>"));
    }
    std::string Address() const { return server.Url("/update.php?p=quenvale"); }
    std::string FileUrl(const std::string& strName) const
    {
        return "<url name=\"" + strName + "\">" + server.Url("/" + strName) + "</url>";
    }
    // Runs the check on its worker and waits for it, answering its
    // questions on this thread meanwhile.
    bool RunWeekly(uint32_t ulFlags = 0)
    {
        const bool bStarted = update.Start(Address().c_str(), hNotify, &settings, "LastCheck", ulFlags, nullptr, "1");
        update.WaitForCheck();
        return bStarted;
    }
    // Prepares a check that the test runs itself, without questions.
    void Prepare(uint32_t ulFlags = 0)
    {
        ASSERT_TRUE(update.Start(Address().c_str(), nullptr, nullptr, nullptr, C_AutoUpdate::UPDATE_NO_THREAD | ulFlags,
                                 "", "1"));
    }
    size_t Queries() const
    {
        size_t n = 0;
        for (const std::string& strLine : server.Requests())
            n += strLine.rfind("GET /update.php", 0) == 0;
        return n;
    }

    C_HttpTestServer server;
    C_TempFolder program;
    C_MemorySettings settings;
    C_AutoUpdate update;
    HWND hNotify = nullptr;
};

} // namespace

TEST_F(AutoUpdateTest, WeeklyRuleOnTheLastCheck)
{
    Offer("1.0", "");
    settings.ints["LastCheck"] = Now() - 6 * 86400;
    EXPECT_FALSE(RunWeekly());
    EXPECT_EQ(Queries(), 0u);
    EXPECT_EQ(settings.ints["LastCheck"], Now() - 6 * 86400);

    settings.ints["LastCheck"] = Now() - 8 * 86400;
    EXPECT_TRUE(RunWeekly());
    EXPECT_EQ(Queries(), 1u);
    EXPECT_NEAR(static_cast<double>(settings.ints["LastCheck"]), static_cast<double>(Now()), 5.0);
    EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::UpToDate);

    // Recent, but forced.
    EXPECT_TRUE(RunWeekly(C_AutoUpdate::UPDATE_FORCE));
    EXPECT_EQ(Queries(), 2u);

    // -1 only becomes 0; the check after it runs.
    settings.ints["LastCheck"] = ~0ull;
    EXPECT_FALSE(RunWeekly(C_AutoUpdate::UPDATE_FORCE));
    EXPECT_EQ(settings.ints["LastCheck"], 0u);
    EXPECT_EQ(Queries(), 2u);
    EXPECT_TRUE(RunWeekly());
    EXPECT_EQ(Queries(), 3u);

    // The query names the program, its version and the machine.
    const std::string strQuery = server.Requests().back();
    EXPECT_EQ(strQuery.rfind("GET /update.php?p=quenvale&v=1.0&id=", 0), 0u) << strQuery;
    EXPECT_EQ(strQuery.size(), std::string("GET /update.php?p=quenvale&v=1.0&id=").size() + 19) << strQuery;
}

TEST_F(AutoUpdateTest, NewerVersionInstalledWithOldFilesKept)
{
    C_ZipBuilder zip;
    zip.Add("readme.txt", "notes of 2.7");
    zip.Add("docs/guide.txt", "guide of 2.7");
    ASSERT_TRUE(server.Serve("extras.zip", zip.Finish()));
    ASSERT_TRUE(WriteWholeFile(program / "readme.txt", "notes of 1.0"));
    Offer("2.7",
          FileUrl("Tool.exe") + "<url zip=\"extras.zip\">" + server.Url("/extras.zip") + "</url>",
          "<restart><en>Restart now?</en></restart>");

    C_BoxAnswerer answerer(kCaption, {IDYES, IDNO});
    EXPECT_TRUE(RunWeekly());
    EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::Installed) << update.GetErrorText();
    EXPECT_EQ(answerer.Texts(), (std::vector<std::string>{"Install version 2.7?", "Restart now?"}));

    EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "new tool, version 2.7");
    EXPECT_EQ(ReadWholeFile(program / "Tool_old.exe"), "old tool");
    EXPECT_FALSE(PathExists(program / "Tool_new.exe"));
    EXPECT_EQ(ReadWholeFile(program / "readme.txt"), "notes of 2.7");
    EXPECT_EQ(ReadWholeFile(program / "readme_old.txt"), "notes of 1.0");
    EXPECT_EQ(ReadWholeFile(program / "docs\\guide.txt"), "guide of 2.7");
    EXPECT_FALSE(PathExists(program / "extras_new.zip"));
    // Restart declined: the window was not told to close.
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, hNotify, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(AutoUpdateTest, EncryptedArchiveAsksForItsPasswordOnTheWindowsThread)
{
    C_ZipBuilder zip;
    C_ZipBuilder::S_Options secret;
    secret.strPassword = "pass";
    zip.Add("secret.txt", "unlocked", secret);
    ASSERT_TRUE(server.Serve("locked.zip", zip.Finish()));
    Offer("2.7", "<url zip=\"locked.zip\">" + server.Url("/locked.zip") + "</url>");

    // Any dialog of the process: the question, then the password prompt.
    C_BoxAnswerer answerer("", {IDYES, IDOK}, "pass");
    EXPECT_TRUE(RunWeekly());
    EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::Installed) << update.GetErrorText();
    EXPECT_EQ(answerer.Texts(), (std::vector<std::string>{"Install version 2.7?", "Enter password for: secret.txt"}));
    EXPECT_EQ(ReadWholeFile(program / "secret.txt"), "unlocked");

    // Without anyone to ask (the console), the entry is refused.
    ASSERT_TRUE(update.Start(Address().c_str(), nullptr, nullptr, nullptr, C_AutoUpdate::UPDATE_NO_THREAD, "", "1"));
    ASSERT_TRUE(update.Check("1.0", nullptr, nullptr));
    EXPECT_FALSE(update.InstallOffered());
    EXPECT_NE(update.GetErrorText().find("password"), std::string::npos) << update.GetErrorText();
}

TEST_F(AutoUpdateTest, DeclinedVersionIsRememberedAndNotOfferedAgain)
{
    Offer("2.7", FileUrl("Tool.exe"));
    {
        C_BoxAnswerer answerer(kCaption, {IDNO});
        EXPECT_TRUE(RunWeekly());
        EXPECT_EQ(answerer.Texts().size(), 1u) << update.GetErrorText();
    }
    EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::Declined);
    EXPECT_EQ(settings.texts["LastCheckVersion"], "2.7");
    EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "old tool");

    // The next weekly check that offers 2.7 again stays silent.
    settings.ints["LastCheck"] = Now() - 8 * 86400;
    {
        C_BoxAnswerer answerer(kCaption, {IDYES});
        EXPECT_TRUE(RunWeekly());
        EXPECT_TRUE(answerer.Texts().empty());
    }
    EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::Declined);
    EXPECT_EQ(Queries(), 2u);
    for (const std::string& strLine : server.Requests())
        EXPECT_EQ(strLine.find("Tool.exe"), std::string::npos) << strLine;

    // A newer one is offered again.
    Offer("2.8", FileUrl("Tool.exe"));
    C_BoxAnswerer answerer(kCaption, {IDNO});
    EXPECT_TRUE(RunWeekly(C_AutoUpdate::UPDATE_FORCE));
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Install version 2.8?"});
    EXPECT_EQ(settings.texts["LastCheckVersion"], "2.8");
}

TEST_F(AutoUpdateTest, EqualVersionAndMissingInfoOfferNothing)
{
    Offer("2.7", FileUrl("Tool.exe"));
    Prepare();
    EXPECT_FALSE(update.Check("2.7", nullptr, nullptr));
    EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::UpToDate);
    EXPECT_FALSE(update.Check("3.0", nullptr, nullptr));
    ASSERT_TRUE(server.Serve("update.php", "<update><version>9.9</version><files/></update>"));
    EXPECT_FALSE(update.Check("1.0", nullptr, nullptr));
    EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::UpToDate);
}

TEST_F(AutoUpdateTest, HostileArchiveIsRefusedWithNothingWritten)
{
    ASSERT_TRUE(WriteWholeFile(program / "readme.txt", "notes of 1.0"));
    for (const char* pszEvil : {"../escaped.txt", "C:\\escaped.txt", "/escaped.txt", "sub/../../escaped.txt"}) {
        SCOPED_TRACE(pszEvil);
        C_ZipBuilder zip;
        zip.Add("readme.txt", "notes of 2.7");
        zip.Add(pszEvil, "escaped");
        ASSERT_TRUE(server.Serve("evil.zip", zip.Finish()));
        Offer("2.7", FileUrl("Tool.exe") + "<url zip=\"evil.zip\">" + server.Url("/evil.zip") + "</url>");
        Prepare();
        std::vector<std::string> vAddresses;
        ASSERT_TRUE(update.Check("1.0", &vAddresses, nullptr));
        EXPECT_FALSE(update.InstallOffered());
        EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::Failed);
        EXPECT_NE(update.GetErrorText().find("refused"), std::string::npos) << update.GetErrorText();
        // The archive is refused before any file is moved.
        EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "old tool");
        EXPECT_FALSE(PathExists(program / "Tool_old.exe"));
        EXPECT_EQ(ReadWholeFile(program / "readme.txt"), "notes of 1.0");
        EXPECT_FALSE(PathExists(program / "evil_new.zip"));
        EXPECT_FALSE(PathExists(program.Path() + "..\\escaped.txt"));
        EXPECT_FALSE(PathExists("C:\\escaped.txt"));
        EXPECT_FALSE(PathExists("\\escaped.txt"));
    }
}

TEST_F(AutoUpdateTest, OffersThatLeaveTheServiceOrTheFolderAreRefused)
{
    const struct {
        const char* pszWhat;
        std::string strFiles;
    } cases[] = {
        {"another host", "<url name=\"Tool.exe\">http://localhost:" + std::to_string(server.Port()) +
                             "/Tool.exe</url>"},
        {"plain http elsewhere", "<url name=\"Tool.exe\">http://www.ternwick.example/Tool.exe</url>"},
        {"a name with a folder above", "<url name=\"..\\Tool.exe\">" + server.Url("/Tool.exe") + "</url>"},
        {"an absolute name", "<url name=\"C:\\Windows\\Tool.exe\">" + server.Url("/Tool.exe") + "</url>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        Offer("2.7", c.strFiles);
        Prepare();
        ASSERT_TRUE(update.Check("1.0", nullptr, nullptr));
        EXPECT_FALSE(update.InstallOffered());
        EXPECT_EQ(update.GetResult(), C_AutoUpdate::E_Result::Failed);
        EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "old tool");
        EXPECT_FALSE(PathExists(program / "Tool_new.exe"));
    }
    // Refused before anything was fetched.
    for (const std::string& strLine : server.Requests())
        EXPECT_EQ(strLine.find("Tool.exe"), std::string::npos) << strLine;

    // A redirect to another host is followed by the system, but what it
    // answers is not taken.
    Offer("2.7", "<url name=\"Tool.exe\">" +
                     server.Url("/x?redirect=http://localhost:" + std::to_string(server.Port()) + "/Tool.exe") +
                     "</url>");
    Prepare();
    ASSERT_TRUE(update.Check("1.0", nullptr, nullptr));
    EXPECT_FALSE(update.InstallOffered());
    EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "old tool");
    EXPECT_FALSE(PathExists(program / "Tool_new.exe"));

    // The service itself must be TLS unless it is on this machine; such an
    // address is refused before anything is sent.
    ASSERT_TRUE(update.Start("http://www.ternwick.example/common/update.php?p=quenvale", nullptr, nullptr, nullptr,
                             C_AutoUpdate::UPDATE_NO_THREAD, nullptr, "1"));
    EXPECT_FALSE(update.Check("1.0", nullptr, nullptr));
    EXPECT_NE(update.GetErrorText().find("https"), std::string::npos);
}

TEST_F(AutoUpdateTest, OversizedReplyIsRefusedAndInventoryFormIsRead)
{
    ASSERT_TRUE(server.Serve("update.php", "<update>" + std::string(C_AutoUpdate::kMaxReply, ' ') + "</update>"));
    Prepare();
    EXPECT_FALSE(update.Check("1.0", nullptr, nullptr));
    EXPECT_NE(update.GetErrorText().find("larger"), std::string::npos) << update.GetErrorText();

    ASSERT_TRUE(server.Serve("update.php", "<Ashwend><Updates><xml><update><application>A</application><info><en>"
                                           "Take 3.1?</en></info><version>3.1</version><files>" +
                                               FileUrl("Tool.exe") + "</files></update></xml></Updates></Ashwend>"));
    Prepare(C_AutoUpdate::UPDATE_INVENTORY);
    std::vector<std::string> vAddresses, vNames;
    ASSERT_TRUE(update.Check("1.0", &vAddresses, &vNames)) << update.GetErrorText();
    EXPECT_EQ(update.GetOffer().strVersion, "3.1");
    EXPECT_EQ(vAddresses, std::vector<std::string>{server.Url("/Tool.exe")});
    EXPECT_EQ(vNames, std::vector<std::string>{"Tool.exe"});
    const std::string strQuery = server.Requests().back();
    EXPECT_NE(strQuery.find("&a=updates&d=0&f=16&l="), std::string::npos) << strQuery;
    EXPECT_NE(strQuery.find("&i=%3CAshwend%3E%3CInventory%3E%3CItem%20Type%3D%22%22%20Name%3D%221%22%20Version%3D%221.0"
                            "%22%20%2F%3E%3C%2FInventory%3E%3C%2FAshwend%3E"),
              std::string::npos)
        << strQuery;
    // Collected only: nothing was fetched or changed.
    EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "old tool");
}
