#include "blockaccess/core/BlockJson.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(BlockJson, RunRecord)
{
    S_BlockRunRecord record;
    record.strName = "Virtual Disk 1.0";
    record.strPath = "\\\\.\\E:";
    record.strLetters = "E";
    record.ulBlockSize = 512;
    record.ullBlockCount = 131072;
    record.params.ullEnd = 131072;
    record.params.ullBlocks = 2048;
    record.ullLoopMax = 64;
    record.ulBufferBytes = 1048576;
    record.strBufferSize = "1024 kBytes";
    record.strDataFile = "out \xBB" "1\xAB.bin";
    record.bSuccess = true;
    record.strSpeed = "1.5 GByte/sec - 0 msec";
    record.bCrc = true;
    record.strCrc = "0x92F3";
    C_BlockRateGroups groups(3, 2, 1048576);
    groups.AccessDone();
    groups.AccessDone();
    groups.CloseGroup(1, 2000);
    record.summary = groups.Summary();
    record.vGraphValues = groups.GraphValues();
    const std::string strJson = BlockRunJson(record);

    for (const char* pszPart : {"\"path\": \"\\\\\\\\.\\\\E:\"", "\"block_count\": 131072", "\"direction\": \"read\"",
                                "\"mode\": \"linear\"", "\"blocks\": 2048", "\"buffer_size\": \"1024 kBytes\"",
                                "\"data_file\": \"out \\u00BB1\\u00AB.bin\"", "\"problem\": \"none\"",
                                "\"accesses\": 2", "\"bytes\": 2097152", "\"microseconds\": 2000",
                                "\"bytes_per_second\": 1048576000.0", "\"groups\": 1, \"too_fast\": 0",
                                "\"median\": 1048576000.0", "\"crc\": \"0x92F3\"", "\"graph_step\": 1",
                                "\"graph_mbytes_per_second\": [0.000, 1000.000, null]\n}"}) {
        EXPECT_NE(strJson.find(pszPart), std::string::npos) << pszPart << "\n" << strJson;
    }
    // Without a computed CRC the field is null.
    record.strCrc.clear();
    EXPECT_NE(BlockRunJson(record).find("\"crc\": null"), std::string::npos);
    // Every brace and bracket is closed, and nothing but ASCII is written.
    int nDepth = 0;
    for (const char c : strJson) {
        nDepth += (c == '{' || c == '[') - (c == '}' || c == ']');
        ASSERT_GE(nDepth, 0);
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    }
    EXPECT_EQ(nDepth, 0);
}

} // namespace
