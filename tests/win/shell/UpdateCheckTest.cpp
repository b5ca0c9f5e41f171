// The main window's update check against a local update service, and the
// information page's update box.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <ctime>
#include <string>

#include "app/shell/Quenvale.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"
#include "tests/support/win/BoxAnswerer.h"
#include "tests/support/win/HttpTestServer.h"

namespace {

const char kKey[] = "Software\\Ternwick\\Quenvale";
const char kCaption[] = "Quenvale Update Test";

// No test of this program may reach the real update service: unless a test
// names its own, the service is a closed port on this machine.
const bool bLocalService = [] {
    char szUrl[8] = {};
    if (::GetEnvironmentVariableA("QUENVALE_UPDATE_URL", szUrl, sizeof(szUrl)) == 0)
        ::SetEnvironmentVariableA("QUENVALE_UPDATE_URL", "http://127.0.0.1:1/common/update.php");
    return true;
}();

uint64_t Now()
{
    return static_cast<uint64_t>(std::time(nullptr));
}

void SetQword(const char* pszName, uint64_t ullValue)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr), 0);
    ::RegSetValueExA(hKey, pszName, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&ullValue), sizeof(ullValue));
    ::RegCloseKey(hKey);
}

uint64_t GetQword(const char* pszName)
{
    uint64_t ullValue = 0;
    DWORD dwSize = sizeof(ullValue);
    ::RegGetValueA(HKEY_CURRENT_USER, kKey, pszName, RRF_RT_QWORD | RRF_RT_DWORD, nullptr, &ullValue, &dwSize);
    return ullValue;
}

std::string GetText(const char* pszName)
{
    char szText[256] = {};
    DWORD dwSize = sizeof(szText);
    if (::RegGetValueA(HKEY_CURRENT_USER, kKey, pszName, RRF_RT_REG_SZ, nullptr, szText, &dwSize) != ERROR_SUCCESS)
        return "<missing>";
    return szText;
}

class UpdateCheckTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
        if (!C_HttpTestServer::IsAvailable())
            GTEST_SKIP() << "python3 cannot be started from here";
        ASSERT_TRUE(server.Start());
        ASSERT_TRUE(server.Serve("update.php", std::string("<update><application>") + kCaption +
                                                   "</application><info><en>Install version 2.7?</en></info>"
                                                   "<version>2.7</version><files><url name=\"Tool.exe\">" +
                                                   server.Url("/Tool.exe") + "</url></files></update>"));
        ::SetEnvironmentVariableA("QUENVALE_UPDATE_URL", server.Url("/update.php").c_str());
    }
    void TearDown() override
    {
        if (pApp) {
            pApp->Close(0);
            pApp.reset();
        }
        ::SetEnvironmentVariableA("QUENVALE_UPDATE_URL", "http://127.0.0.1:1/common/update.php");
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }

    C_Quenvale& Start()
    {
        pApp = std::make_unique<C_Quenvale>();
        pApp->SetCommandLine("");
        pApp->SetProgramFolder(program.Path().c_str());
        pApp->SetShowSplash(false);
        EXPECT_NE(pApp->Create(::GetModuleHandleA(nullptr), IDD_MAIN, 0, nullptr), nullptr);
        return *pApp;
    }
    size_t Queries() const
    {
        size_t n = 0;
        for (const std::string& strLine : server.Requests())
            n += strLine.rfind("GET /update.php?p=quenvale&v=1.0&id=", 0) == 0;
        return n;
    }
    std::string UpdateBoxText()
    {
        pApp->ShowPage(C_Quenvale::PAGE_INFO);
        char szText[512] = {};
        ::GetDlgItemTextA(pApp->GetPage(C_Quenvale::PAGE_INFO)->GetHandle(), 1094, szText, sizeof(szText));
        return szText;
    }

    C_HttpTestServer server;
    C_TempFolder program;
    std::unique_ptr<C_Quenvale> pApp;
};

} // namespace

TEST_F(UpdateCheckTest, WeeklyCheckAtStartAsksAndRemembersTheDecline)
{
    SetQword("LastCheck", Now() - 8 * 86400);
    C_BoxAnswerer answerer(kCaption, {IDNO});
    C_Quenvale& app = Start();
    app.GetAutoUpdate().WaitForCheck();

    EXPECT_EQ(Queries(), 1u);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Install version 2.7?"});
    EXPECT_EQ(GetText("LastCheckVersion"), "2.7");
    EXPECT_NEAR(static_cast<double>(GetQword("LastCheck")), static_cast<double>(Now()), 5.0);
    EXPECT_FALSE(PathExists(program / "Tool_new.exe"));

    // The information page shows when that was.
    const std::string strWhen = app.GetLastCheckText();
    ASSERT_FALSE(strWhen.empty());
    EXPECT_EQ(UpdateBoxText(), Texts().LoadText(33) + " [" + Texts().LoadText(84) + ": " + strWhen + "]");
}

TEST_F(UpdateCheckTest, RecentCheckOrTheBoxClearedMeansNoQuery)
{
    const uint64_t ullSixDays = Now() - 6 * 86400;
    SetQword("LastCheck", ullSixDays);
    Start().GetAutoUpdate().WaitForCheck();
    EXPECT_EQ(Queries(), 0u);
    EXPECT_EQ(GetQword("LastCheck"), ullSixDays);
    pApp->Close(0);
    pApp.reset();

    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    SetQword("AutoUpdate", 0);
    C_Quenvale& app = Start();
    app.GetAutoUpdate().WaitForCheck();
    EXPECT_EQ(Queries(), 0u);
    // Never checked: the box has no time.
    EXPECT_EQ(UpdateBoxText(), Texts().LoadText(33));
}

TEST_F(UpdateCheckTest, TickingTheBoxChecksAtOnceWithoutTheWeeklyRule)
{
    const uint64_t ullYesterday = Now() - 86400;
    SetQword("LastCheck", ullYesterday);
    C_Quenvale& app = Start();
    app.GetAutoUpdate().WaitForCheck();
    EXPECT_EQ(Queries(), 0u);

    app.ShowPage(C_Quenvale::PAGE_INFO);
    HWND hBox = ::GetDlgItem(app.GetPage(C_Quenvale::PAGE_INFO)->GetHandle(), 1094);
    ASSERT_NE(hBox, nullptr);
    ASSERT_EQ(::SendMessageA(hBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    // Clearing the box only changes the box.
    ::SendMessageA(hBox, BM_CLICK, 0, 0);
    app.GetAutoUpdate().WaitForCheck();
    EXPECT_EQ(Queries(), 0u);

    C_BoxAnswerer answerer(kCaption, {IDNO});
    ::SendMessageA(hBox, BM_CLICK, 0, 0);
    app.GetAutoUpdate().WaitForCheck();
    EXPECT_EQ(Queries(), 1u);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Install version 2.7?"});
    // That check keeps nothing: no decline and the last check as it was.
    EXPECT_EQ(GetText("LastCheckVersion"), "<missing>");
    EXPECT_EQ(GetQword("LastCheck"), ullYesterday);
}
