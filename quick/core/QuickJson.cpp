#include "quick/core/QuickJson.h"

namespace {

const char* Bool(bool b)
{
    return b ? "true" : "false";
}

const char* const kPassKeys[4] = {"sequential_write", "sequential_read", "qd32_write", "qd32_read"};

} // namespace

std::string QuickRunJson(const S_QuickRunRecord& record, const T_TextToUtf8& toUtf8)
{
    const auto text = [&](const std::string& strText) {
        return JsonString(toUtf8 ? toUtf8(strText) : Cp1252ToUtf8(strText));
    };
    std::string strJson = "{\n";
    strJson += "  \"file_size\": " + JsonNumber(record.ullFileSize) + ",\n";
    strJson += "  \"block_size\": " + JsonNumber(record.ulBlockSize) + ",\n";
    strJson += std::string("  \"skip_random\": ") + Bool(record.bSkipRandom) + ",\n";
    strJson += std::string("  \"stopped\": ") + Bool(record.bStopped) + ",\n";
    strJson += "  \"summary\": " + text(record.strSummary) + ",\n";
    strJson += "  \"drives\": [";
    for (size_t nDrive = 0; nDrive < record.vDrives.size(); ++nDrive) {
        const S_QuickDriveReport& drive = record.vDrives[nDrive];
        strJson += nDrive == 0 ? "\n" : ",\n";
        strJson += "    {\n";
        strJson += "      \"letter\": " + text(drive.cLetter != 0 ? std::string(1, drive.cLetter) : "") + ",\n";
        strJson += "      \"root\": " + text(drive.strRoot) + ",\n";
        strJson += "      \"name\": " + text(drive.strName) + ",\n";
        strJson += "      \"description\": " + text(drive.strDescription) + ",\n";
        strJson += "      \"bus_bits\": " + JsonNumber(drive.ulBusBits) + ",\n";
        strJson += "      \"usb_speed_code\": " + std::to_string(drive.nUsbCode) + ",\n";
        strJson += "      \"usb_text\": " + text(drive.strUsbText) + ",\n";
        strJson += std::string("      \"success\": ") + Bool(drive.bSuccess) + ",\n";
        strJson += "      \"passes\": {";
        for (size_t nPass = 0; nPass < 4; ++nPass) {
            const S_QuickPassFigures& figures = drive.aFigures[nPass];
            strJson += nPass == 0 ? "\n" : ",\n";
            strJson += std::string("        \"") + kPassKeys[nPass] + "\": {\n";
            strJson += std::string("          \"ran\": ") + Bool(figures.bRan) + ",\n";
            strJson += std::string("          \"success\": ") + Bool(figures.bSuccess) + ",\n";
            strJson += "          \"result\": " + text(drive.aResults[nPass]) + ",\n";
            strJson += "          \"warning\": " + text(drive.aWarnings[nPass]) + ",\n";
            strJson += "          \"bytes\": " + JsonNumber(figures.ullBytes) + ",\n";
            strJson += "          \"bytes_moved\": " + JsonNumber(figures.ullBytesMoved) + ",\n";
            strJson += "          \"transfers\": " + JsonNumber(figures.ullTransfers) + ",\n";
            strJson += "          \"microseconds\": " + JsonNumber(figures.ullMicroseconds) + ",\n";
            strJson += "          \"bytes_per_second\": " + JsonDecimal(figures.dBytesPerSecond, 1) + ",\n";
            strJson += "          \"iops\": " + JsonDecimal(figures.dIops, 1) + ",\n";
            strJson += "          \"mean_ms\": " + JsonDecimal(figures.dMeanMs, 4) + ",\n";
            strJson += "          \"error\": " + JsonNumber(figures.ulError);
            if (figures.bHasLatency) {
                const S_LatencyFigures& latency = figures.latency;
                strJson += ",\n          \"latency_ms\": {\"samples\": " + JsonNumber(latency.ullSamples) +
                           ", \"mean\": " + JsonDecimal(latency.dMeanMs, 4) +
                           ", \"median\": " + JsonDecimal(latency.dMedianMs, 4) +
                           ", \"p99\": " + JsonDecimal(latency.dP99Ms, 4) +
                           ", \"max\": " + JsonDecimal(latency.dMaxMs, 4) + "}";
            }
            strJson += "\n        }";
        }
        strJson += "\n      }\n    }";
    }
    strJson += record.vDrives.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return strJson;
}
