#include "framework/win/Texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr WORD kEnglishUk = 2057;

struct S_Table {
    WORD wLanguage;
    const char* pszFile;
};

const S_Table kTables[] = {
    {kEnglishUk, "strings_en.rc"}, {1031, "strings_de.rc"}, {1032, "strings_el.rc"},
    {1036, "strings_fr.rc"},       {1040, "strings_it.rc"}, {1049, "strings_ru.rc"},
};

// The program's folder of string tables, reached from this source file's
// path (a Unix path is Wine's drive Z:).
std::string StringsFolder()
{
    std::string strPath = __FILE__;
    const size_t nAt = strPath.find("tests");
    if (nAt == std::string::npos)
        return std::string();
    strPath = strPath.substr(0, nAt) + "resources/strings/";
    if (!strPath.empty() && strPath[0] == '/')
        strPath = "Z:" + strPath;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

std::string Utf8ToAnsi(const std::string& strUtf8)
{
    if (strUtf8.empty())
        return std::string();
    std::wstring strWide(strUtf8.size(), L'\0');
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(),
                                            static_cast<int>(strUtf8.size()), &strWide[0],
                                            static_cast<int>(strWide.size()));
    std::string strAnsi(static_cast<size_t>(nWide) * 2 + 1, '\0');
    const int nAnsi = ::WideCharToMultiByte(CP_ACP, 0, strWide.data(), nWide, &strAnsi[0],
                                            static_cast<int>(strAnsi.size()), nullptr, nullptr);
    strAnsi.resize(static_cast<size_t>(nAnsi));
    return strAnsi;
}

// The entries of one string-table source, read independently of the
// resource compiler: lines of the form  <id> "<text>"  with the escapes
// \n \t \\ \" and "" inside the text. Empty map when the file is unreadable.
std::map<int, std::string> ReadTableSource(const std::string& strFile)
{
    std::map<int, std::string> entries;
    std::ifstream in(strFile, std::ios::binary);
    std::string strLine;
    const std::regex entry(R"re(^\s*(\d+)\s*,?\s*"(.*)"\s*\r?$)re");
    while (std::getline(in, strLine)) {
        std::smatch match;
        if (!std::regex_match(strLine, match, entry))
            continue;
        const std::string strRaw = match[2].str();
        std::string strText;
        for (size_t i = 0; i < strRaw.size(); ++i) {
            if (strRaw[i] == '\\' && i + 1 < strRaw.size()) {
                const char c = strRaw[++i];
                strText += c == 'n' ? '\n' : (c == 't' ? '\t' : c);
            } else if (strRaw[i] == '"' && i + 1 < strRaw.size() && strRaw[i + 1] == '"') {
                strText += '"';
                ++i;
            } else {
                strText += strRaw[i];
            }
        }
        entries[std::stoi(match[1].str())] = Utf8ToAnsi(strText);
    }
    return entries;
}

TEST(Texts, EachLanguageReadsItsOwnTable)
{
    const std::string strFolder = StringsFolder();
    const std::map<int, std::string> english = ReadTableSource(strFolder + "strings_en.rc");
    if (english.empty())
        GTEST_SKIP() << "string-table sources not readable at " << strFolder;
    for (const S_Table& table : kTables) {
        SCOPED_TRACE(table.pszFile);
        const std::map<int, std::string> entries = ReadTableSource(strFolder + table.pszFile);
        ASSERT_EQ(entries.size(), english.size());
        const C_Texts texts(table.wLanguage, nullptr);
        for (const auto& entry : entries) {
            SCOPED_TRACE(entry.first);
            EXPECT_EQ(texts.LoadText(entry.first), entry.second);
        }
    }
}

TEST(Texts, MissingEntriesReadAsQuestionMark)
{
    for (const S_Table& table : kTables) {
        SCOPED_TRACE(table.pszFile);
        const C_Texts texts(table.wLanguage, nullptr);
        for (int nId : {15, 9999, 0, -1, 0x10000, 104}) {
            SCOPED_TRACE(nId);
            EXPECT_EQ(texts.LoadText(nId), "?");
            EXPECT_EQ(texts.FormatText(nId, "x"), "?");
        }
    }
    // A module without string tables.
    const C_Texts none(0, ::GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(none.LoadText(1), "?");
}

TEST(Texts, FormatTextFillsInserts)
{
    const C_Texts texts(kEnglishUk, nullptr);
    EXPECT_EQ(texts.FormatText(55, 12345678901ull, 0x1FFFFFFFFull, 5u, "Access denied", "\n"),
              "Can't access 12345678901 blocks starting at 0x1FFFFFFFF. Win32Error: 5 - "
              "Access denied\n");
    EXPECT_EQ(texts.FormatText(49, "\\\\.\\PhysicalDrive1"),
              Utf8ToAnsi("The device \xC2\xBB\\\\.\\PhysicalDrive1\xC2\xAB doesn't support 'write'"));
    EXPECT_EQ(texts.FormatText(70, 0xFFFFFFFFFFFFFFFFull),
              "Can't seek to new file end at 18446744073709551615 MBytes.");
    // Line breaks of the text come out as CR LF, those of inserts as given.
    EXPECT_EQ(texts.FormatText(81, 'E'),
              "Fastest File Search failed on drive E:\\.\r\n\r\nThis function is only working on "
              "CD-ROM drives.");
    // The same inserts in every language.
    const C_Texts german(1031, nullptr);
    const std::string strGerman = german.FormatText(52, "C:\\x.bin");
    EXPECT_NE(strGerman.find("C:\\x.bin"), std::string::npos) << strGerman;

    // Long results are cut to the buffer.
    const std::string strLong(2000, 'a');
    const std::string strCut = texts.FormatText(61, strLong.c_str());
    EXPECT_EQ(strCut.size(), static_cast<size_t>(C_Texts::kTextBuffer - 1));
    EXPECT_EQ(strCut.compare(0, 15, "The test file \xBB"), 0) << strCut.substr(0, 20);

    // The caller's buffer form.
    char szText[C_Texts::kTextBuffer];
    EXPECT_EQ(texts.LoadText(57, szText), szText);
    EXPECT_STREQ(szText, "[Too Fast]");
    EXPECT_STREQ(texts.LoadText(15, szText), "?");
}

TEST(Texts, LanguagesWithoutTableFallBack)
{
    const C_Texts english(kEnglishUk, nullptr);
    struct S_Fallback {
        WORD wLanguage;
        WORD wReadsAs;
    };
    const S_Fallback cases[] = {
        {0x0C0A, kEnglishUk},   // Spanish: the first English table that exists
        {1033, kEnglishUk},     // English (United States)
        {0x0009, kEnglishUk},   // neutral English
        {0x0807, 1031},         // German (Switzerland): primary language, default sublanguage
        {0x0C0C, 1036},         // French (Canada)
        {0x0810, 1040},         // Italian (Switzerland)
        {0x0007, 1031},         // neutral German
    };
    for (const S_Fallback& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.wLanguage);
        const C_Texts texts(c.wLanguage, nullptr);
        const C_Texts expected(c.wReadsAs, nullptr);
        for (int nId : {1, 58, 103}) {
            EXPECT_EQ(texts.LoadText(nId), expected.LoadText(nId));
            EXPECT_NE(texts.LoadText(nId), "?");
        }
    }

    DWORD dwSpanish = 0;
    DWORD dwUk = 0;
    const void* pSpanish = LoadResourceByLanguage(nullptr, MAKEINTRESOURCEA(6),
                                                  MAKEINTRESOURCEA(1), 0x0C0A, &dwSpanish);
    const void* pUk = LoadResourceByLanguage(nullptr, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(1),
                                             kEnglishUk, &dwUk);
    ASSERT_NE(pUk, nullptr);
    EXPECT_EQ(pSpanish, pUk);
    EXPECT_EQ(dwSpanish, dwUk);
    EXPECT_EQ(LoadResourceByLanguage(nullptr, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(4000), 0,
                                     nullptr),
              nullptr);
}

TEST(Texts, LanguageWordsOfTheSystemAndUser)
{
    for (WORD wWord : {TEXT_LANGUAGE_UI, TEXT_LANGUAGE_USER, TEXT_LANGUAGE_SYSTEM}) {
        SCOPED_TRACE(wWord);
        const WORD wId = ResolveLanguageWord(wWord);
        EXPECT_NE(wId, 0);
        EXPECT_NE(wId, TEXT_LANGUAGE_USER);
        EXPECT_NE(wId, TEXT_LANGUAGE_SYSTEM);
        const C_Texts texts(wWord, nullptr);
        EXPECT_NE(texts.LoadText(1), "?");
        EXPECT_EQ(texts.LoadText(1), C_Texts(wId, nullptr).LoadText(1));
    }
    EXPECT_EQ(ResolveLanguageWord(0x0C0A), 0x0C0A);
    EXPECT_EQ(Texts().GetLanguageWord(), TEXT_LANGUAGE_UI);
    EXPECT_EQ(Texts().GetModule(), nullptr);
}

TEST(Texts, ThreadsFormatWithoutSharingAResult)
{
    const C_Texts& texts = Texts();
    std::atomic<int> nWrong{0};
    auto work = [&](const char* pszName, unsigned long long ullBlocks) {
        const std::string strExpected = texts.FormatText(55, ullBlocks, 0x10ull, 0u, pszName, "");
        for (int i = 0; i < 2000; ++i) {
            if (texts.FormatText(55, ullBlocks, 0x10ull, 0u, pszName, "") != strExpected)
                ++nWrong;
            if (texts.LoadText(i % 2 == 0 ? 57 : 58) == "?")
                ++nWrong;
        }
    };
    std::thread first(work, "first", 1ull);
    std::thread second(work, "second", 2ull);
    first.join();
    second.join();
    EXPECT_EQ(nWrong.load(), 0);
}

} // namespace
