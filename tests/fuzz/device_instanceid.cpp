// Device instance ids and mount manager names come from the system and from
// devices' own descriptors: any text must parse safely and keep the rules'
// promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/core/InstanceId.h"
#include "device/core/MountedDevices.h"

namespace {

bool EndsInSpace(const std::string& s)
{
    return !s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strId(reinterpret_cast<const char*>(pData), nSize);
    for (bool bWindows7 : {false, true}) {
        S_InstanceIdentity id;
        ApplyInstanceId(strId, bWindows7, id);
        if (id.bLunFound && id.ulLun > 9)
            std::abort();
        if (id.ulUsbVendorId > 0xFFFF || id.ulUsbProductId > 0xFFFF)
            std::abort();
        if (EndsInSpace(id.strUsbSerial) || EndsInSpace(id.str1394Vendor) ||
            EndsInSpace(id.str1394Model) || EndsInSpace(id.str1394UniqueId))
            std::abort();
        // Applying an id twice lists it once.
        const std::string strIds = id.strHardwareIds;
        ApplyInstanceId(strId, bWindows7, id);
        if (id.strHardwareIds != strIds)
            std::abort();
    }
    std::string strVendor, strProduct, strRevision;
    ParseStorageIds(strId, strVendor, strProduct, strRevision);
    if (EndsInSpace(strVendor) || EndsInSpace(strProduct) || EndsInSpace(strRevision))
        std::abort();

    const S_VolumeKey key = VolumeKeyFromInstanceId(strId);
    MountedDataMatches(pData, nSize, key);
    const char cLetter = LetterFromMountedName(strId);
    if (cLetter != 0 && (cLetter < 'A' || cLetter > 'Z'))
        std::abort();
    const std::string strPath = VolumePathFromMountedName(strId);
    if (!strPath.empty() && strPath.back() != '\\')
        std::abort();
    return 0;
}
