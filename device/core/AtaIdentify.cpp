#include "device/core/AtaIdentify.h"

#include "device/core/IdentityText.h"

namespace {

// The characters of words nFirst.. (nWords of them) in reading order.
std::string AtaString(const uint8_t* pData, size_t nFirst, size_t nWords)
{
    std::string strText;
    for (size_t w = nFirst; w < nFirst + nWords; ++w) {
        const uint8_t bHigh = pData[w * 2 + 1];
        const uint8_t bLow = pData[w * 2];
        if (bHigh == 0)
            break;
        strText += static_cast<char>(bHigh);
        if (bLow == 0)
            break;
        strText += static_cast<char>(bLow);
    }
    return strText;
}

} // namespace

bool ParseAtaIdentify(const uint8_t* pData512, S_IdentityTexts& texts)
{
    if (pData512 == nullptr)
        return false;
    bool bAnswered = false;
    for (size_t i = 0; i < kAtaIdentifyLength && !bAnswered; ++i)
        bAnswered = pData512[i] != 0;
    if (!bAnswered)
        return false;
    texts.strSerial = AtaString(pData512, 10, 10);
    texts.strRevision = AtaString(pData512, 23, 4);
    const std::string strModel = AtaString(pData512, 27, 20);
    texts.strVendor = strModel.substr(0, 8);
    texts.strProduct = strModel.size() > 8 ? strModel.substr(8) : std::string();
    TrimRight(texts.strSerial);
    TrimRight(texts.strRevision);
    TrimRight(texts.strVendor);
    TrimLeft(texts.strProduct);
    TrimRight(texts.strProduct);
    return true;
}

S_AtaTaskFile BuildIdentifyTaskFile(bool bPacket, unsigned nPosition)
{
    S_AtaTaskFile regs;
    regs.bSectorCount = 1;
    regs.bLbaLow = 1;
    regs.bDevice = (nPosition & 1) != 0 ? 0xB0 : 0xA0;
    regs.bCommand = bPacket ? ATA_IDENTIFY_PACKET_DEVICE : ATA_IDENTIFY_DEVICE;
    return regs;
}
