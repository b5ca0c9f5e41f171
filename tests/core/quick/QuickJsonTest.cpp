#include "quick/core/QuickJson.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(QuickJson, StringsAreEscapedToAscii)
{
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c\r\n\t"), "\"a\\\"b\\\\c\\u000D\\u000A\\u0009\"");
    EXPECT_EQ(JsonString("\xC3\xA9"), "\"\\u00E9\"");                  // é
    EXPECT_EQ(JsonString("\xF0\x9F\x98\x80"), "\"\\uD83D\\uDE00\"");    // beyond the basic plane
    EXPECT_EQ(JsonString("\xFF\xC3"), "\"\\uFFFD\\uFFFD\"");            // malformed bytes
    EXPECT_EQ(JsonString("\xE0\x80\x80"), "\"\\uFFFD\\uFFFD\\uFFFD\"");  // overlong
    EXPECT_EQ(Cp1252ToUtf8("\x80\xBB\x81"), "\xE2\x82\xAC\xC2\xBB\xC2\x81");
}

TEST(QuickJson, RunRecord)
{
    S_QuickRunRecord record;
    record.ullFileSize = 1048576;
    record.ulBlockSize = 65536;
    record.strSummary = "Q: : 1.0 GByte/sec read, \xBB" "fast\xAB write";
    S_QuickDriveReport drive;
    drive.cLetter = 'Q';
    drive.strRoot = "Q:\\";
    drive.strName = "Q:";
    drive.bSuccess = true;
    drive.aResults[0] = "1.0 GByte/sec";
    drive.aFigures[0].bRan = true;
    drive.aFigures[0].bSuccess = true;
    drive.aFigures[0].ullBytes = 1048576;
    drive.aFigures[0].ullMicroseconds = 977;
    drive.aFigures[0].dBytesPerSecond = 1073245900.5;
    drive.aFigures[3].bHasLatency = true;
    drive.aFigures[3].latency.ullSamples = 5;
    drive.aFigures[3].latency.dP99Ms = 1.25;
    record.vDrives.push_back(drive);

    const std::string strJson = QuickRunJson(record);
    for (const char* pszPart : {"\"file_size\": 1048576,", "\"block_size\": 65536,", "\"stopped\": false,",
                                "\"summary\": \"Q: : 1.0 GByte/sec read, \\u00BBfast\\u00AB write\"",
                                "\"root\": \"Q:\\\\\"", "\"usb_speed_code\": -1,",
                                "\"sequential_write\": {", "\"result\": \"1.0 GByte/sec\"",
                                "\"microseconds\": 977,", "\"bytes_per_second\": 1073245900.5,",
                                "\"latency_ms\": {\"samples\": 5,", "\"p99\": 1.2500"}) {
        SCOPED_TRACE(pszPart);
        EXPECT_NE(strJson.find(pszPart), std::string::npos) << strJson;
    }
    // Only the pass that measured latencies has them.
    EXPECT_EQ(strJson.find("latency_ms"), strJson.rfind("latency_ms"));
    // Brackets balance (no text holds one here).
    int nDepth = 0;
    for (const char c : strJson) {
        nDepth += (c == '{' || c == '[') - (c == '}' || c == ']');
        ASSERT_GE(nDepth, 0);
    }
    EXPECT_EQ(nDepth, 0);

    EXPECT_NE(QuickRunJson(S_QuickRunRecord()).find("\"drives\": []"), std::string::npos);
}

} // namespace
