// Versions, the query address, file names and allowed addresses of the update check.
#include <gtest/gtest.h>

#include "framework/core/UpdateRules.h"

TEST(UpdateRules, OnlyAGreaterMajorOrMinorIsNewer)
{
    const struct {
        const char* pszOffered;
        const char* pszRunning;
        bool bNewer;
    } cases[] = {{"2.7", "2.6", true},  {"2.7", "2.7", false}, {"2.10", "2.9", true},  {"3.0", "2.99", true},
                 {"1.99", "2.0", false}, {"2.7.1", "2.7", false}, {" 2.8\r\n", "2.7", true}, {"1.01", "1.00", true},
                 {"4294967295.0", "1.0", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszOffered) + " vs " + c.pszRunning);
        S_Version offered, running;
        ASSERT_TRUE(ParseVersionText(c.pszOffered, offered));
        ASSERT_TRUE(ParseVersionText(c.pszRunning, running));
        EXPECT_EQ(IsNewerVersion(offered, running), c.bNewer);
    }
    for (const char* pszBad : {"", "2", "2.", ".7", "v2.7", "2,7", "4294967296.0", "-1.0"}) {
        S_Version version{9, 9};
        EXPECT_FALSE(ParseVersionText(pszBad, version)) << pszBad;
        EXPECT_EQ(version.uMajor, 9u);
    }
}

TEST(UpdateRules, QueryAppendsEncodedKeysToTheAddress)
{
    S_UpdateQuery query;
    query.strVersion = "1.00";
    query.strMachineId = "AB10-0201-7FFE-9904";
    const std::string strAddress = UpdateAddressFor("https://www.ternwick.example/common/update.php", "Quenvale");
    EXPECT_EQ(strAddress, "https://www.ternwick.example/common/update.php?p=quenvale");
    EXPECT_EQ(BuildUpdateQuery(strAddress, query),
              "https://www.ternwick.example/common/update.php?p=quenvale&v=1.00&id=AB10-0201-7FFE-9904");
    EXPECT_EQ(UpdateAddressFor("http://127.0.0.1:8080/u.php?site=a b", "Q"), "http://127.0.0.1:8080/u.php?site=a b&p=q");
    EXPECT_EQ(BuildUpdateQuery("http://h/u.php", query), "http://h/u.php?v=1.00&id=AB10-0201-7FFE-9904");

    // Values that would add keys of their own stay values.
    query.strVersion = "1.0&id=forged";
    EXPECT_EQ(BuildUpdateQuery("http://h/u", query), "http://h/u?v=1.0%26id%3Dforged&id=AB10-0201-7FFE-9904");

    query.strVersion = "1.00";
    query.bInventory = true;
    query.strLanguage = "de";
    query.strItemType = "";
    query.strItemName = "1";
    EXPECT_EQ(BuildUpdateQuery("http://h/u?p=quenvale", query),
              "http://h/u?p=quenvale&a=updates&d=0&f=16&l=de&g=AB10-0201-7FFE-9904&i="
              "%3CAshwend%3E%3CInventory%3E%3CItem%20Type%3D%22%22%20Name%3D%221%22%20Version%3D%221.00%22%20%2F%3E"
              "%3C%2FInventory%3E%3C%2FAshwend%3E");
}

TEST(UpdateRules, NewAndOldNamesGoBeforeShortExtensions)
{
    const struct {
        const char* pszName;
        const char* pszNew;
    } cases[] = {{"Tool.exe", "Tool_new.exe"},         {"C:\\Apps\\Quenvale.exe", "C:\\Apps\\Quenvale_new.exe"},
                 {"extras.zip", "extras_new.zip"},     {"README", "README_new"},
                 {"page.html", "page.html_new"},       {"a.b.c", "a.b_new.c"},
                 {"dir.v2\\README", "dir.v2\\README_new"}, {".cfg", "_new.cfg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(SuffixedFileName(c.pszName, "_new"), c.pszNew);
    }
    EXPECT_EQ(SuffixedFileName("Tool.exe", "_old"), "Tool_old.exe");
}

TEST(UpdateRules, AddressFileNameIsTheLastPartOfThePath)
{
    EXPECT_EQ(AddressFileName("https://h/files/setup.exe?x=1#y"), "setup.exe");
    EXPECT_EQ(AddressFileName("https://h/files/"), "");
    EXPECT_EQ(AddressFileName("https://h"), "");
    EXPECT_EQ(AddressFileName("https://h/a%2Fb"), "a%2Fb");
}

TEST(UpdateRules, DownloadsStayOnTheEndpointsHostAndOnTls)
{
    const std::string strEndpoint = "https://www.ternwick.example/common/update.php?p=quenvale";
    EXPECT_TRUE(IsAllowedUpdateAddress(strEndpoint, "https://www.ternwick.example/files/Quenvale.exe"));
    EXPECT_TRUE(IsAllowedUpdateAddress(strEndpoint, "https://WWW.Ternwick.Example:8443/x.zip"));
    EXPECT_FALSE(IsAllowedUpdateAddress(strEndpoint, "http://www.ternwick.example/files/Quenvale.exe"));
    EXPECT_FALSE(IsAllowedUpdateAddress(strEndpoint, "https://evil.example/Quenvale.exe"));
    EXPECT_FALSE(IsAllowedUpdateAddress(strEndpoint, "https://www.ternwick.example.evil.example/x"));
    EXPECT_FALSE(IsAllowedUpdateAddress(strEndpoint, "https://www.ternwick.example@evil.example/x"));
    EXPECT_FALSE(IsAllowedUpdateAddress(strEndpoint, "file:///C:/Windows/x.exe"));
    EXPECT_FALSE(IsAllowedUpdateAddress(strEndpoint, "\\\\server\\share\\x.exe"));

    const std::string strLocal = "http://127.0.0.1:8080/common/update.php";
    EXPECT_TRUE(IsAllowedUpdateAddress(strLocal, "http://127.0.0.1:8080/files/Tool.exe"));
    EXPECT_TRUE(IsAllowedUpdateAddress(strLocal, "http://127.0.0.1:9090/files/Tool.exe"));
    EXPECT_FALSE(IsAllowedUpdateAddress(strLocal, "http://localhost:8080/files/Tool.exe"));
}
