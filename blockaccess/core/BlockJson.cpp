#include "blockaccess/core/BlockJson.h"

#include "blockaccess/core/BlockCommand.h"

namespace {

const char* Bool(bool b)
{
    return b ? "true" : "false";
}

std::string GraphArray(const std::vector<float>& vValues)
{
    std::string strArray = "[";
    for (size_t i = 0; i < vValues.size(); ++i) {
        if (i != 0)
            strArray += i % 10 == 0 ? ",\n    " : ", ";
        strArray += vValues[i] < 0.0f ? std::string("null") : JsonDecimal(vValues[i], 3);
    }
    return strArray + "]";
}

} // namespace

std::string BlockRunJson(const S_BlockRunRecord& record, const T_TextToUtf8& toUtf8)
{
    const auto text = [&](const std::string& strText) {
        return JsonString(toUtf8 ? toUtf8(strText) : Cp1252ToUtf8(strText));
    };
    const S_BlockParameters& params = record.params;
    const S_BlockRateSummary& summary = record.summary;
    std::string strJson = "{\n";
    strJson += "  \"device\": {\n";
    strJson += "    \"name\": " + text(record.strName) + ",\n";
    strJson += "    \"path\": " + text(record.strPath) + ",\n";
    strJson += "    \"letters\": " + text(record.strLetters) + ",\n";
    strJson += "    \"block_size\": " + JsonNumber(record.ulBlockSize) + ",\n";
    strJson += "    \"block_count\": " + JsonNumber(record.ullBlockCount) + ",\n";
    strJson += "    \"first_block\": " + JsonNumber(record.ullFirstBlock) + "\n";
    strJson += "  },\n";
    strJson += std::string("  \"direction\": \"") + (record.bWrite ? "write" : "read") + "\",\n";
    strJson += std::string("  \"mode\": \"") + BlockModeName(record.mode) + "\",\n";
    strJson += "  \"parameters\": {\n";
    strJson += "    \"start\": " + JsonNumber(params.ullStart) + ",\n";
    strJson += "    \"end\": " + JsonNumber(params.ullEnd) + ",\n";
    strJson += "    \"blocks\": " + JsonNumber(params.ullBlocks) + ",\n";
    strJson += "    \"skip\": " + JsonNumber(params.ullSkip) + ",\n";
    strJson += "    \"calc_every\": " + JsonNumber(params.ulCalcEvery) + ",\n";
    strJson += "    \"repeats\": " + JsonNumber(params.ullRepeats) + ",\n";
    strJson += "    \"loop_max\": " + JsonNumber(record.ullLoopMax) + ",\n";
    strJson += "    \"buffer_bytes\": " + JsonNumber(record.ulBufferBytes) + ",\n";
    strJson += "    \"buffer_size\": " + text(record.strBufferSize) + "\n";
    strJson += "  },\n";
    strJson += "  \"data_file\": " + text(record.strDataFile) + ",\n";
    strJson += std::string("  \"problem\": \"") + BlockRunProblemName(record.problem) + "\",\n";
    strJson += std::string("  \"success\": ") + Bool(record.bSuccess) + ",\n";
    strJson += std::string("  \"stopped\": ") + Bool(record.bStopped) + ",\n";
    strJson += "  \"error\": " + JsonNumber(record.ulError) + ",\n";
    strJson += "  \"failed_block\": " + JsonNumber(record.ullFailedBlock) + ",\n";
    strJson += "  \"accesses\": " + JsonNumber(summary.ullAccesses) + ",\n";
    strJson += "  \"bytes\": " + JsonNumber(summary.ullBytes) + ",\n";
    strJson += "  \"microseconds\": " + JsonNumber(summary.ullMicroseconds) + ",\n";
    strJson += "  \"bytes_per_second\": " + JsonDecimal(summary.dBytesPerSecond, 1) + ",\n";
    strJson += "  \"group_rates\": {\"groups\": " + JsonNumber(summary.ullGroups) +
               ", \"too_fast\": " + JsonNumber(summary.ullTooFastGroups) +
               ", \"min\": " + JsonDecimal(summary.fMinBytesPerSecond, 1) +
               ", \"median\": " + JsonDecimal(summary.fMedianBytesPerSecond, 1) +
               ", \"max\": " + JsonDecimal(summary.fMaxBytesPerSecond, 1) + "},\n";
    strJson += "  \"speed\": " + text(record.strSpeed) + ",\n";
    strJson += "  \"crc\": " + (record.bCrc && !record.strCrc.empty() ? text(record.strCrc) : std::string("null")) +
               ",\n";
    strJson += "  \"graph_step\": " + JsonNumber(record.ullGraphStep) + ",\n";
    strJson += "  \"graph_mbytes_per_second\": " + GraphArray(record.vGraphValues) + "\n";
    strJson += "}\n";
    return strJson;
}
