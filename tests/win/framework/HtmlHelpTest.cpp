#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "framework/win/HtmlHelp.h"

namespace {

HINSTANCE Self()
{
    return ::GetModuleHandleA(nullptr);
}

// The resource of that name and type 23 (RT_HTML) in exactly that language.
std::string HtmlResource(const char* pszName, WORD wLanguage)
{
    HRSRC hResource = ::FindResourceExA(Self(), MAKEINTRESOURCEA(23), pszName, wLanguage);
    if (hResource == nullptr)
        return std::string();
    const char* p = static_cast<const char*>(::LockResource(::LoadResource(Self(), hResource)));
    return p != nullptr ? std::string(p, ::SizeofResource(Self(), hResource)) : std::string();
}

TEST(HtmlHelp, HelpPageAndPictureInTheirLanguages)
{
    const WORD wEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);
    const WORD wItalian = MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN);
    const WORD wFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    for (const WORD wLanguage : {wEnglish, wItalian}) {
        SCOPED_TRACE(wLanguage);
        const std::string strPage = HtmlResource("IDR_BLOCK_ACCESS", wLanguage);
        ASSERT_FALSE(strPage.empty());
        EXPECT_NE(strPage.find("<title>Block Access Information</title>"), std::string::npos);
        EXPECT_NE(strPage.find("src=\"IDR_BLOCK_ACCESS_JPG\""), std::string::npos);
    }
    EXPECT_NE(HtmlResource("IDR_BLOCK_ACCESS", wItalian).find("lang=\"it\""), std::string::npos);
    // No French page: French users get the English one, with a French picture.
    EXPECT_TRUE(HtmlResource("IDR_BLOCK_ACCESS", wFrench).empty());
    for (const WORD wLanguage : {wEnglish, wItalian, wFrench}) {
        SCOPED_TRACE(wLanguage);
        const std::string strPicture = HtmlResource("IDR_BLOCK_ACCESS_JPG", wLanguage);
        ASSERT_GT(strPicture.size(), 1000u);
        EXPECT_EQ(strPicture.compare(0, 3, "\xFF\xD8\xFF"), 0);
    }
    EXPECT_NE(HtmlResource("IDR_BLOCK_ACCESS_JPG", wFrench), HtmlResource("IDR_BLOCK_ACCESS_JPG", wEnglish));
}

TEST(HtmlHelp, WithoutAnHtmlEngineNothingIsShown)
{
    {
        HMODULE hEngine = ::LoadLibraryA("mshtml.dll");
        if (hEngine != nullptr) {
            ::FreeLibrary(hEngine);
            GTEST_SKIP() << "this system has an HTML engine; the dialog would wait for a user";
        }
    }
    std::string strResult = "untouched";
    const DWORD dwStart = ::GetTickCount();
    EXPECT_FALSE(ShowHtmlDialog(Self(), "IDR_BLOCK_ACCESS", nullptr, "argument", kHelpDialogOptions, &strResult));
    EXPECT_FALSE(ShowHtmlDialog(Self(), MAKEINTRESOURCEA(0x1234), nullptr, nullptr, nullptr, &strResult));
    EXPECT_FALSE(ShowHtmlDialog(Self(), "res://nowhere.dll/PAGE", nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(strResult, "untouched");
    ShowHelpPage(Self(), "IDR_BLOCK_ACCESS", nullptr);
    EXPECT_LT(::GetTickCount() - dwStart, 5000u);
    // COM is left as it was found: the thread can still choose its model.
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
    if (SUCCEEDED(hr))
        ::CoUninitialize();
}

} // namespace
