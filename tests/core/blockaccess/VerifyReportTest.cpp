#include "blockaccess/core/VerifyReport.h"

#include <gtest/gtest.h>

#include "tests/support/core/JsonMember.h"

#include <cstdint>
#include <string>

namespace {

S_VerifyRunRecord Counterfeit()
{
    S_VerifyRunRecord record;
    record.strName = "QVSIM Stick 1.0";
    record.strPath = "\\\\.\\PhysicalDrive1";
    record.strLetters = "E";
    record.ulRounds = 2;
    record.bFinished = true;
    C_VerifyTally tally(S_VerifyArea{0, 1000, 512});
    tally.BeginRound({{0, 1000}}, 0);
    for (uint64_t ull = 0; ull < 1000; ++ull) {
        S_StampCheck check;
        check.eResult = ull < 600 ? E_StampCheck::Good : E_StampCheck::WrongAddress;
        check.ullNamedAddress = ull < 600 ? ull : ull - 600;
        tally.BlockRead(ull, check);
    }
    tally.EndRound();
    record.findings = tally.Findings();
    record.ullWrittenBytes = 512000;
    record.ullWriteMicroseconds = 1000;
    return record;
}

TEST(VerifyReport, JsonCarriesTheFiguresAndNullWhereThereAreNone)
{
    S_VerifyRunRecord record = Counterfeit();
    std::string strJson = VerifyRunJson(record);
    EXPECT_EQ(JsonMemberText(strJson, "claimed_bytes"), "512000");
    EXPECT_EQ(JsonMemberText(strJson, "good_bytes"), "307200");
    EXPECT_EQ(JsonMemberText(strJson, "first_bad_block"), "600");
    EXPECT_EQ(JsonMemberText(strJson, "bad_blocks"), "400");
    EXPECT_EQ(JsonMemberText(strJson, "wrapped_blocks"), "400");
    EXPECT_EQ(JsonMemberText(strJson, "unreadable_blocks"), "0");
    EXPECT_EQ(JsonMemberText(strJson, "verdict"), "\"only the first 0.0003 GB hold: counterfeit or damaged\"");
    EXPECT_EQ(JsonMemberText(strJson, "write_rate"), "512000000.0");
    EXPECT_EQ(JsonMemberText(strJson, "read_rate"), "null");
    EXPECT_EQ(JsonMemberText(strJson, "path"), "\"\\\\\\\\.\\\\PhysicalDrive1\"");
    EXPECT_NE(VerifyRunText(record).find("verdict      only the first 0.0003 GB hold"), std::string::npos);

    // A run that was stopped has no verdict; one where nothing was bad has
    // no first bad block.
    record.bFinished = false;
    record.bStopped = true;
    strJson = VerifyRunJson(record);
    EXPECT_EQ(JsonMemberText(strJson, "verdict"), "null");
    EXPECT_EQ(JsonMemberText(strJson, "stopped"), "true");
    EXPECT_NE(VerifyRunText(record).find("verdict      stopped"), std::string::npos);
    record.findings = C_VerifyTally(S_VerifyArea{0, 1000, 512}).Findings();
    EXPECT_EQ(JsonMemberText(VerifyRunJson(record), "first_bad_block"), "null");
}

TEST(VerifyReport, TimeLeftAtTheSamePace)
{
    EXPECT_EQ(VerifySecondsLeft(0, 100, 5000000), UINT64_MAX);
    EXPECT_EQ(VerifySecondsLeft(25, 100, 10000000), 30u);
    EXPECT_EQ(VerifySecondsLeft(100, 100, 10000000), 0u);
    EXPECT_EQ(VerifySecondsLeft(1, 1ull << 40, 1000000), (1ull << 40) - 1);
}

} // namespace
