#include "blockaccess/core/VerifyReport.h"

#include <cinttypes>
#include <cstdio>

#include "framework/core/SizeText.h"
#include "framework/core/TransferRate.h"

namespace {

const char* Bool(bool b)
{
    return b ? "true" : "false";
}

std::string Number(uint64_t ull)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "%" PRIu64, ull);
    return sz;
}

std::string SizeOf(uint64_t ullBytes)
{
    return FormatSize(ullBytes, 0, 1);
}

std::string RateJson(uint64_t ullBytes, uint64_t ullMicroseconds)
{
    return ullMicroseconds == 0 || ullBytes == 0 ? std::string("null")
                                                 : JsonDecimal(VerifyRate(ullBytes, ullMicroseconds), 1);
}

std::string RateLine(uint64_t ullBytes, uint64_t ullMicroseconds)
{
    if (ullBytes == 0)
        return "-";
    if (IsTooFast(ullMicroseconds))
        return "[Too Fast]";
    return RateText(TransferRate(ullBytes, ullMicroseconds)) + " (" + SizeOf(ullBytes) + ")";
}

} // namespace

std::string VerifyRunVerdict(const S_VerifyRunRecord& record)
{
    return record.bFinished ? VerifyVerdictText(record.findings) : std::string();
}

double VerifyRate(uint64_t ullBytes, uint64_t ullMicroseconds)
{
    if (ullMicroseconds == 0)
        return 0.0;
    return static_cast<double>(ullBytes) * 1e6 / static_cast<double>(ullMicroseconds);
}

std::string VerifyRunJson(const S_VerifyRunRecord& record, const T_TextToUtf8& toUtf8)
{
    const auto text = [&](const std::string& strText) {
        return JsonString(toUtf8 ? toUtf8(strText) : Cp1252ToUtf8(strText));
    };
    const S_VerifyFindings& f = record.findings;
    const std::string strVerdict = VerifyRunVerdict(record);
    std::string strJson = "{\n";
    strJson += "  \"device\": {\n";
    strJson += "    \"name\": " + text(record.strName) + ",\n";
    strJson += "    \"path\": " + text(record.strPath) + ",\n";
    strJson += "    \"letters\": " + text(record.strLetters) + ",\n";
    strJson += "    \"block_size\": " + JsonNumber(f.area.ulBlockSize) + ",\n";
    strJson += "    \"first_block\": " + JsonNumber(f.area.ullFirstBlock) + "\n";
    strJson += "  },\n";
    strJson += std::string("  \"mode\": \"") + (record.bFull ? "full" : "quick") + "\",\n";
    strJson += "  \"claimed_bytes\": " + JsonNumber(f.ClaimedBytes()) + ",\n";
    strJson += "  \"good_bytes\": " + JsonNumber(f.GoodBytes()) + ",\n";
    strJson += "  \"first_bad_block\": " + (f.bAnyBad ? JsonNumber(f.ullFirstBad) : std::string("null")) + ",\n";
    strJson += "  \"bad_blocks\": " + JsonNumber(f.counts.ullBad) + ",\n";
    strJson += "  \"wrapped_blocks\": " + JsonNumber(f.counts.ullWrapped) + ",\n";
    strJson += "  \"unreadable_blocks\": " + JsonNumber(f.counts.ullUnreadable) + ",\n";
    strJson += "  \"stale_blocks\": " + JsonNumber(f.counts.ullStale) + ",\n";
    strJson += "  \"unwritable_blocks\": " + JsonNumber(f.counts.ullUnwritten) + ",\n";
    strJson += "  \"probed_blocks\": " + JsonNumber(f.counts.ullProbed) + ",\n";
    strJson += "  \"resolved\": " + std::string(Bool(f.bResolved)) + ",\n";
    strJson += "  \"rounds\": " + JsonNumber(record.ulRounds) + ",\n";
    strJson += "  \"verdict\": " + (strVerdict.empty() ? std::string("null") : text(strVerdict)) + ",\n";
    strJson += "  \"write_bytes\": " + JsonNumber(record.ullWrittenBytes) + ",\n";
    strJson += "  \"write_microseconds\": " + JsonNumber(record.ullWriteMicroseconds) + ",\n";
    strJson += "  \"write_rate\": " + RateJson(record.ullWrittenBytes, record.ullWriteMicroseconds) + ",\n";
    strJson += "  \"read_bytes\": " + JsonNumber(record.ullReadBytes) + ",\n";
    strJson += "  \"read_microseconds\": " + JsonNumber(record.ullReadMicroseconds) + ",\n";
    strJson += "  \"read_rate\": " + RateJson(record.ullReadBytes, record.ullReadMicroseconds) + ",\n";
    strJson += "  \"restore\": " + std::string(Bool(record.bRestore)) + ",\n";
    strJson += "  \"restored\": " + std::string(Bool(record.bRestored)) + ",\n";
    strJson += "  \"unrestored_blocks\": " + JsonNumber(record.ullUnrestoredBlocks) + ",\n";
    strJson += "  \"finished\": " + std::string(Bool(record.bFinished)) + ",\n";
    strJson += "  \"stopped\": " + std::string(Bool(record.bStopped)) + ",\n";
    strJson += "  \"error\": " + JsonNumber(record.ulError) + ",\n";
    strJson += "  \"error_text\": " + text(record.strError) + "\n";
    strJson += "}\n";
    return strJson;
}

std::string VerifyRunText(const S_VerifyRunRecord& record)
{
    const S_VerifyFindings& f = record.findings;
    std::string strText = record.strPath;
    if (!record.strName.empty())
        strText += "  " + record.strName;
    strText += "\n";
    const auto line = [&strText](const char* pszLabel, const std::string& strValue) {
        std::string strLabel = pszLabel;
        strText += "  " + strLabel + std::string(strLabel.size() < 13 ? 13 - strLabel.size() : 1, ' ') +
                   strValue + "\n";
    };
    line("claimed", SizeOf(f.ClaimedBytes()) + " (" + Number(f.area.ullBlocks) + " blocks of " +
                        Number(f.area.ulBlockSize) + " bytes)");
    line("holds", SizeOf(f.GoodBytes()) + " (" + Number(f.ullGoodBlocks) + " blocks)");
    line("first bad", f.bAnyBad ? "block " + Number(f.ullFirstBad) : std::string("none"));
    line("bad blocks", Number(f.counts.ullBad) + " of " + Number(f.counts.ullProbed) + " probed: " +
                           Number(f.counts.ullWrapped) + " wrapped, " + Number(f.counts.ullUnreadable) +
                           " unreadable, " + Number(f.counts.ullStale) + " stale, " +
                           Number(f.counts.ullUnwritten) + " unwritable");
    line("write rate", RateLine(record.ullWrittenBytes, record.ullWriteMicroseconds));
    line("read rate", RateLine(record.ullReadBytes, record.ullReadMicroseconds));
    if (record.bRestore)
        line("restore", record.bRestored ? std::string("every probed region written back")
                                         : Number(record.ullUnrestoredBlocks) + " blocks NOT written back");
    if (!record.strError.empty())
        line("ended", record.strError);
    const std::string strVerdict = VerifyRunVerdict(record);
    line("verdict", !strVerdict.empty() ? strVerdict : record.bStopped ? "stopped" : "none: the check did not finish");
    return strText;
}

uint64_t VerifySecondsLeft(uint64_t ullDone, uint64_t ullTotal, uint64_t ullMicroseconds)
{
    if (ullDone == 0)
        return UINT64_MAX;
    if (ullDone >= ullTotal)
        return 0;
    const double dSeconds = static_cast<double>(ullMicroseconds) / 1e6 *
                            static_cast<double>(ullTotal - ullDone) / static_cast<double>(ullDone);
    return dSeconds >= 1.8e19 ? UINT64_MAX : static_cast<uint64_t>(dSeconds + 0.5);
}
