// Answers of devices and bridges: storage descriptors, INQUIRY and IDENTIFY
// data, chip replies and driver answers. Any bytes must parse without
// reading outside them, and texts come out cut of trailing blanks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/core/AtaIdentify.h"
#include "device/core/ChipProtocol.h"
#include "device/core/Inquiry.h"
#include "device/core/MediaNames.h"
#include "device/core/StorageDescriptor.h"
#include "device/core/TorvaneRequest.h"

namespace {

void CheckTexts(const S_IdentityTexts& t)
{
    for (const std::string* p : {&t.strVendor, &t.strProduct, &t.strRevision, &t.strSerial}) {
        if (!p->empty() && (p->back() == ' ' || p->back() == '\t'))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    // An exact copy, so that the sanitizer sees any read past the answer.
    const std::vector<uint8_t> v(pData, pData + nSize);
    const uint8_t* p = v.data();

    for (uint32_t ulBus : {0x1u, 0x2u, 0x4u, 0x8u}) {
        S_StorageDescriptor d;
        if (ParseStorageDescriptor(p, nSize, ulBus, d))
            CheckTexts(d.texts);
    }
    S_IdentityTexts texts;
    if (ParseInquiryTexts(p, nSize, texts))
        CheckTexts(texts);
    if (nSize >= kAtaIdentifyLength && ParseAtaIdentify(p, texts)) {
        CheckTexts(texts);
        if (!texts.strProduct.empty() && texts.strProduct[0] == ' ')
            std::abort();
    }
    std::string strSerial;
    DecodeDescriptorSerial(std::string(v.begin(), v.end()), strSerial);

    for (int nProbe = PROBE_JMICRON_ID; nProbe <= PROBE_INITIO_IS8X; ++nProbe) {
        for (E_BridgeFamily family : {BRIDGE_VU3A, BRIDGE_INITIO, BRIDGE_JMICRON}) {
            const S_ChipReply reply = ParseChipReply(static_cast<E_ChipProbe>(nProbe), family, p, nSize);
            if (!reply.bRecognised && !reply.strFirmware.empty())
                std::abort();
        }
    }
    S_TorvaneIdentity identity;
    ParseTorvaneIdentity(p, nSize, identity);
    uint8_t bStatus = 0;
    uint32_t ulMoved = 0;
    if (ParseTorvaneAnswer(p, nSize, bStatus, ulMoved) && ulMoved > kTorvaneDataSize)
        std::abort();
    uint16_t wProfile = 0;
    if (ParseCurrentProfile(p, nSize, wProfile))
        OpticalMediaName(wProfile);
    return 0;
}
