#include "blockaccess/core/UdmaCrc.h"

#include <array>
#include <cstdio>

// Both forms keep the register bit-reversed: a word's bits enter least
// significant bit first, so in reversed form the register shifts right, the
// polynomial reads 0x8408, the start value 0x4ABA reads 0x5D52, and the
// words become plain bytes in memory order. The 16 result bits are reversed
// back at the end.

#if defined(__x86_64__) || defined(_M_X64)
// Only in 64-bit builds: there every Windows saves the SSE registers, and
// the stack is 16-byte aligned.
#define QV_UDMA_CRC_CLMUL 1
#include <immintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#define QV_TARGET_CLMUL
#define QV_TARGET_WIDE
#define QV_TARGET_XSAVE
#else
#include <cpuid.h>
#define QV_TARGET_CLMUL __attribute__((target("pclmul,sse2")))
#define QV_TARGET_WIDE __attribute__((target("vpclmulqdq,avx2,pclmul")))
#define QV_TARGET_XSAVE __attribute__((target("xsave")))
#endif
#endif

namespace {

constexpr uint16_t kReflectedPolynomial = 0x8408;
constexpr uint16_t kPolynomial = 0x1021;

constexpr uint16_t Reverse16(uint16_t w)
{
    uint16_t wOut = 0;
    for (int i = 0; i < 16; ++i)
        if (w & (1u << i))
            wOut = static_cast<uint16_t>(wOut | (0x8000u >> i));
    return wOut;
}

constexpr uint16_t kReflectedStart = Reverse16(kUdmaCrcStart);

using T_Tables = std::array<std::array<uint16_t, 256>, 8>;

// aTables[k][b]: the register change of byte b followed by k zero bytes.
constexpr T_Tables MakeTables()
{
    T_Tables aTables{};
    for (uint32_t b = 0; b < 256; ++b) {
        uint32_t ulCrc = b;
        for (int i = 0; i < 8; ++i)
            ulCrc = (ulCrc >> 1) ^ ((ulCrc & 1) ? kReflectedPolynomial : 0);
        aTables[0][b] = static_cast<uint16_t>(ulCrc);
    }
    for (size_t k = 1; k < 8; ++k)
        for (size_t b = 0; b < 256; ++b) {
            const uint16_t wPrevious = aTables[k - 1][b];
            aTables[k][b] = static_cast<uint16_t>((wPrevious >> 8) ^ aTables[0][wPrevious & 0xFF]);
        }
    return aTables;
}

constexpr T_Tables kTables = MakeTables();

// Runs the reversed register over nBytes bytes.
uint16_t TableUpdate(uint16_t wCrc, const uint8_t* p, size_t nBytes)
{
    while (nBytes >= 8) {
        wCrc = static_cast<uint16_t>(kTables[7][(wCrc ^ p[0]) & 0xFF] ^ kTables[6][((wCrc >> 8) ^ p[1]) & 0xFF] ^
                                     kTables[5][p[2]] ^ kTables[4][p[3]] ^ kTables[3][p[4]] ^
                                     kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]]);
        p += 8;
        nBytes -= 8;
    }
    while (nBytes-- > 0)
        wCrc = static_cast<uint16_t>((wCrc >> 8) ^ kTables[0][(wCrc ^ *p++) & 0xFF]);
    return wCrc;
}

#ifdef QV_UDMA_CRC_CLMUL

// x^n mod P in plain (not reversed) bit order.
constexpr uint16_t PowerModP(unsigned n)
{
    uint32_t ulValue = 1;
    for (unsigned i = 0; i < n; ++i) {
        ulValue <<= 1;
        if (ulValue & 0x10000)
            ulValue ^= 0x10000u | kPolynomial;
    }
    return static_cast<uint16_t>(ulValue);
}

// A 128-bit lane loaded from memory holds 16 bytes of the stream with the
// first bit at bit 0: the reversed form of a polynomial of degree < 128
// whose low quadword is the reversed upper half. Moving the lane D bits
// further from the end multiplies the upper half by x^(64+D) and the lower
// half by x^D (mod P); a carry-less product of reversed factors comes out
// one bit short, so the constants carry one power of x less. The constant
// for the upper half sits in the low quadword, as the lane's upper half does.
constexpr uint64_t FoldFactor(unsigned nPower)
{
    return static_cast<uint64_t>(Reverse16(PowerModP(nPower))) << 48;
}

QV_TARGET_CLMUL inline __m128i FoldConstants(unsigned nDistance)
{
    return _mm_set_epi64x(static_cast<long long>(FoldFactor(nDistance - 1)),
                          static_cast<long long>(FoldFactor(nDistance + 63)));
}

QV_TARGET_CLMUL inline __m128i Fold(__m128i lane, __m128i constants)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(lane, constants, 0x00), _mm_clmulepi64_si128(lane, constants, 0x11));
}

// nLanes lanes, the oldest first, folded into one; its CRC from a zero register is
// the register after all of them (the start register was folded in with
// the first lane).
QV_TARGET_CLMUL uint16_t FinishLanes(const __m128i* pLanes, int nLanes)
{
    __m128i folded = pLanes[nLanes - 1];
    for (int i = 0; i < nLanes - 1; ++i)
        folded = _mm_xor_si128(folded, Fold(pLanes[i], FoldConstants(128 * static_cast<unsigned>(nLanes - 1 - i))));
    uint8_t aLane[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(aLane), folded);
    return TableUpdate(0, aLane, sizeof(aLane));
}

// Folds four lanes over whole 64-byte blocks (nBytes >= 64) and returns the
// reversed register after them; nDone receives the bytes taken.
QV_TARGET_CLMUL uint16_t Clmul128Update(uint16_t wCrc, const uint8_t* p, size_t nBytes, size_t& nDone)
{
    const __m128i* pBlocks = reinterpret_cast<const __m128i*>(p);
    __m128i aLanes[4] = {_mm_xor_si128(_mm_loadu_si128(pBlocks), _mm_cvtsi32_si128(wCrc)),
                         _mm_loadu_si128(pBlocks + 1), _mm_loadu_si128(pBlocks + 2), _mm_loadu_si128(pBlocks + 3)};
    const size_t nBlocks = nBytes / 64;
    const __m128i by512 = FoldConstants(512);
    for (size_t nBlock = 1; nBlock < nBlocks; ++nBlock) {
        pBlocks += 4;
        aLanes[0] = _mm_xor_si128(Fold(aLanes[0], by512), _mm_loadu_si128(pBlocks));
        aLanes[1] = _mm_xor_si128(Fold(aLanes[1], by512), _mm_loadu_si128(pBlocks + 1));
        aLanes[2] = _mm_xor_si128(Fold(aLanes[2], by512), _mm_loadu_si128(pBlocks + 2));
        aLanes[3] = _mm_xor_si128(Fold(aLanes[3], by512), _mm_loadu_si128(pBlocks + 3));
    }
    nDone = nBlocks * 64;
    return FinishLanes(aLanes, 4);
}

// The same with four 256-bit registers of two lanes each over whole
// 128-byte blocks (nBytes >= 128). Everything stays in registers: MinGW
// does not align the stack for 256-bit spills.
QV_TARGET_WIDE inline __m256i Fold256(__m256i lanes, __m256i constants, const __m256i* pNext)
{
    return _mm256_xor_si256(_mm256_xor_si256(_mm256_clmulepi64_epi128(lanes, constants, 0x00),
                                             _mm256_clmulepi64_epi128(lanes, constants, 0x11)),
                            _mm256_loadu_si256(pNext));
}

QV_TARGET_WIDE uint16_t Clmul256Update(uint16_t wCrc, const uint8_t* p, size_t nBytes, size_t& nDone)
{
    const __m256i* pBlocks = reinterpret_cast<const __m256i*>(p);
    __m256i y0 = _mm256_xor_si256(_mm256_loadu_si256(pBlocks), _mm256_set_epi64x(0, 0, 0, wCrc));
    __m256i y1 = _mm256_loadu_si256(pBlocks + 1);
    __m256i y2 = _mm256_loadu_si256(pBlocks + 2);
    __m256i y3 = _mm256_loadu_si256(pBlocks + 3);
    const long long llLow = static_cast<long long>(FoldFactor(1024 - 1));
    const long long llHigh = static_cast<long long>(FoldFactor(1024 + 63));
    const __m256i by1024 = _mm256_set_epi64x(llLow, llHigh, llLow, llHigh);
    const size_t nBlocks = nBytes / 128;
    for (size_t nBlock = 1; nBlock < nBlocks; ++nBlock) {
        pBlocks += 4;
        y0 = Fold256(y0, by1024, pBlocks);
        y1 = Fold256(y1, by1024, pBlocks + 1);
        y2 = Fold256(y2, by1024, pBlocks + 2);
        y3 = Fold256(y3, by1024, pBlocks + 3);
    }
    const __m128i aLanes[8] = {_mm256_castsi256_si128(y0), _mm256_extracti128_si256(y0, 1),
                               _mm256_castsi256_si128(y1), _mm256_extracti128_si256(y1, 1),
                               _mm256_castsi256_si128(y2), _mm256_extracti128_si256(y2, 1),
                               _mm256_castsi256_si128(y3), _mm256_extracti128_si256(y3, 1)};
    nDone = nBlocks * 128;
    return FinishLanes(aLanes, 8);
}

void CpuId(unsigned nLeaf, unsigned aRegisters[4])
{
#if defined(_MSC_VER) && !defined(__clang__)
    int aInfo[4] = {};
    __cpuidex(aInfo, static_cast<int>(nLeaf), 0);
    for (int i = 0; i < 4; ++i)
        aRegisters[i] = static_cast<unsigned>(aInfo[i]);
#else
    aRegisters[0] = aRegisters[1] = aRegisters[2] = aRegisters[3] = 0;
    __get_cpuid_count(nLeaf, 0, &aRegisters[0], &aRegisters[1], &aRegisters[2], &aRegisters[3]);
#endif
}

// Whether the system saves the 256-bit registers (XCR0 bits 1 and 2).
QV_TARGET_XSAVE bool SystemSavesYmm()
{
    return (_xgetbv(0) & 0x6) == 0x6;
}

E_UdmaCrcForm FindBestForm()
{
    unsigned aLeaf1[4];
    CpuId(1, aLeaf1);
    if ((aLeaf1[2] & (1u << 1)) == 0)          // PCLMULQDQ
        return E_UdmaCrcForm::Table;
    const bool bAvx = (aLeaf1[2] & (1u << 27)) != 0 && (aLeaf1[2] & (1u << 28)) != 0;  // OSXSAVE, AVX
    if (bAvx && SystemSavesYmm()) {
        unsigned aLeaf0[4];
        CpuId(0, aLeaf0);
        unsigned aLeaf7[4] = {};
        if (aLeaf0[0] >= 7)
            CpuId(7, aLeaf7);
        if ((aLeaf7[1] & (1u << 5)) != 0 && (aLeaf7[2] & (1u << 10)) != 0)   // AVX2, VPCLMULQDQ
            return E_UdmaCrcForm::Clmul256;
    }
    return E_UdmaCrcForm::Clmul128;
}

#endif

uint16_t Finish(uint16_t wReflected)
{
    return Reverse16(wReflected);
}

} // namespace

E_UdmaCrcForm UdmaCrcBestForm()
{
#ifdef QV_UDMA_CRC_CLMUL
    static const E_UdmaCrcForm bestForm = FindBestForm();
    return bestForm;
#else
    return E_UdmaCrcForm::Table;
#endif
}

bool UdmaCrcFormSupported(E_UdmaCrcForm form)
{
    switch (form) {
    case E_UdmaCrcForm::Clmul128:
        return UdmaCrcBestForm() != E_UdmaCrcForm::Table;
    case E_UdmaCrcForm::Clmul256:
        return UdmaCrcBestForm() == E_UdmaCrcForm::Clmul256;
    default:
        return true;
    }
}

uint16_t UdmaCrcInForm(E_UdmaCrcForm form, const void* pData, size_t nBytes)
{
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    const size_t nEven = nBytes & ~size_t{1};
    uint16_t wCrc = kReflectedStart;
    size_t nDone = 0;
#ifdef QV_UDMA_CRC_CLMUL
    // Below a few blocks the table form is as fast.
    if (nEven >= 256 && form != E_UdmaCrcForm::Table && UdmaCrcFormSupported(form))
        wCrc = form == E_UdmaCrcForm::Clmul256 ? Clmul256Update(wCrc, p, nEven, nDone)
                                               : Clmul128Update(wCrc, p, nEven, nDone);
#else
    (void)form;
#endif
    return Finish(TableUpdate(wCrc, p + nDone, nEven - nDone));
}

uint16_t UdmaCrc(const void* pData, size_t nBytes)
{
    return UdmaCrcInForm(UdmaCrcBestForm(), pData, nBytes);
}

const char* UdmaCrcFormName(E_UdmaCrcForm form)
{
    switch (form) {
    case E_UdmaCrcForm::Clmul128:
        return "clmul128";
    case E_UdmaCrcForm::Clmul256:
        return "clmul256";
    default:
        return "table";
    }
}

std::string UdmaCrcText(uint16_t wCrc)
{
    char szText[8];
    std::snprintf(szText, sizeof(szText), "0x%04X", static_cast<unsigned>(wCrc));
    return szText;
}
