// Speed of the UDMA CRC on 1 MiB buffers, in every form this processor
// has, and what it costs next to the transfer of the same buffer by a fast
// drive. Built and run by tools/bench-crc; not a test.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "blockaccess/core/UdmaCrc.h"

int main(int argc, char** argv)
{
    const int nRounds = argc > 1 ? std::atoi(argv[1]) : 30;
    const size_t nBytes = 1048576;
    std::vector<uint8_t> vBuffer(nBytes);
    uint32_t ulState = 1;
    for (uint8_t& b : vBuffer) {
        ulState = ulState * 1103515245u + 12345u;
        b = static_cast<uint8_t>(ulState >> 24);
    }
    std::printf("UDMA CRC of 1 MiB buffers, best of %d rounds (best form here: %s)\n", nRounds,
                UdmaCrcFormName(UdmaCrcBestForm()));
    std::printf("%-10s %10s %10s %16s %16s\n", "form", "MiB/s", "us/MiB", "vs 3.5 GB/s", "vs 7 GB/s");
    const uint16_t wExpected = UdmaCrcInForm(E_UdmaCrcForm::Table, vBuffer.data(), nBytes);
    for (const E_UdmaCrcForm form : {E_UdmaCrcForm::Table, E_UdmaCrcForm::Clmul128, E_UdmaCrcForm::Clmul256}) {
        if (!UdmaCrcFormSupported(form))
            continue;
        // Enough buffers per round for about 20 ms at table speed.
        const int nPerRound = form == E_UdmaCrcForm::Table ? 40 : 200;
        double dBest = 1e30;
        for (int nRound = 0; nRound < nRounds; ++nRound) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < nPerRound; ++i)
                if (UdmaCrcInForm(form, vBuffer.data(), nBytes) != wExpected)
                    return 1;
            const double dSeconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / nPerRound;
            if (dSeconds < dBest)
                dBest = dSeconds;
        }
        // The share of a drive's transfer time that the CRC adds.
        const double dShare35 = dBest / (nBytes / 3.5e9);
        const double dShare7 = dBest / (nBytes / 7.0e9);
        std::printf("%-10s %10.0f %10.1f %15.1f%% %15.1f%%\n", UdmaCrcFormName(form), 1.0 / dBest,
                    dBest * 1e6, dShare35 * 100, dShare7 * 100);
    }
    return 0;
}
