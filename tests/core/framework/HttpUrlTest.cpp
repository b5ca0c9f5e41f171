// Addresses: parsing, loopback hosts, trusted transports and query values.
#include <gtest/gtest.h>

#include "framework/core/HttpUrl.h"

TEST(HttpUrl, ParsesSchemeHostPortAndPath)
{
    const struct {
        const char* pszUrl;
        bool bSecure;
        const char* pszHost;
        int nPort;
        const char* pszPath;
    } cases[] = {
        {"https://www.ternwick.example/common/update.php?p=quenvale", true, "www.ternwick.example", 443,
         "/common/update.php?p=quenvale"},
        {"http://127.0.0.1:8080/common/update.php", false, "127.0.0.1", 8080, "/common/update.php"},
        {"HTTP://Host.Example", false, "host.example", 80, "/"},
        {"http://host?x=1", false, "host", 80, "/?x=1"},
        {"http://[::1]:65535/a#frag", false, "::1", 65535, "/a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszUrl);
        S_HttpUrl url;
        ASSERT_TRUE(ParseHttpUrl(c.pszUrl, url));
        EXPECT_EQ(url.bSecure, c.bSecure);
        EXPECT_EQ(url.strHost, c.pszHost);
        EXPECT_EQ(url.wPort, c.nPort);
        EXPECT_EQ(url.strPath, c.pszPath);
    }
}

TEST(HttpUrl, RefusesWhatIsNoPlainHttpAddress)
{
    for (const char* pszUrl : {"ftp://host/x", "file:///C:/x", "http://", "http://:80/", "http://host:0/",
                               "http://host:65536/", "http://host:80x/", "http://user@evil.example/",
                               "https://good.example@evil.example/", "http://ho st/", "http://[::1/",
                               "http://host:/", "C:\\x", ""}) {
        SCOPED_TRACE(pszUrl);
        S_HttpUrl url;
        url.strHost = "untouched";
        EXPECT_FALSE(ParseHttpUrl(pszUrl, url));
        EXPECT_EQ(url.strHost, "untouched");
    }
}

TEST(HttpUrl, PlainHttpIsTrustedOnlyOnLoopback)
{
    const struct {
        const char* pszUrl;
        bool bTrusted;
    } cases[] = {{"https://www.ternwick.example/", true}, {"http://www.ternwick.example/", false},
                 {"http://127.0.0.1:8080/", true},         {"http://127.255.1.9/", true},
                 {"http://localhost/", true},              {"http://[::1]/", true},
                 {"http://127.0.0.1.evil.example/", false}, {"http://127.0.0.256/", false},
                 {"http://10.0.0.1/", false},              {"http://128.0.0.1/", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszUrl);
        S_HttpUrl url;
        ASSERT_TRUE(ParseHttpUrl(c.pszUrl, url));
        EXPECT_EQ(IsTrustedTransport(url), c.bTrusted);
    }
}

TEST(HttpUrl, PercentEncodingKeepsOnlyUnreservedCharacters)
{
    EXPECT_EQ(PercentEncode("1.00"), "1.00");
    EXPECT_EQ(PercentEncode("AB10-0201-7FFE-9904"), "AB10-0201-7FFE-9904");
    EXPECT_EQ(PercentEncode("a b&c=d?e#f/g%"), "a%20b%26c%3Dd%3Fe%23f%2Fg%25");
    EXPECT_EQ(PercentEncode("<Item Type=\"x\"/>"), "%3CItem%20Type%3D%22x%22%2F%3E");
    EXPECT_EQ(PercentEncode("\xE9~_"), "%E9~_");
}
