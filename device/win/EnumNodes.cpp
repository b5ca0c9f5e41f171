#include "device/win/EnumNodes.h"

#include <vector>

#include "device/core/EnumRules.h"
#include "device/core/IdentityText.h"
#include "device/core/MountedDevices.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/UsbSpeed.h"
#include "device/win/EnumIo.h"
#include "device/win/RudvanePnpDevice.h"

namespace {

// The USB device node's ids, location and hub, then the port search.
struct S_UsbNodes {
    uint32_t ulUsbNode = 0;
    std::string strHubPath;
    bool bController = false;
    uint32_t ulController = 0;
};

int SearchPort(C_RudvanePnpDevice& device, C_EnumIo& io, const S_UsbNodes& nodes)
{
    std::string strUsbId;
    uint32_t ulVendor = 0, ulProduct = 0;
    std::string strSerial;
    if (!io.NodeInstanceId(nodes.ulUsbNode, strUsbId) ||
        !ParseUsbDeviceId(strUsbId, ulVendor, ulProduct, strSerial))
        return 0;
    std::string strLocation;
    if (io.NodeText(nodes.ulUsbNode, NODE_TEXT_LOCATION, strLocation))
        device.strLocation = strLocation;
    if (nodes.bController) {
        std::string strText, strHardwareId;
        if (io.NodeText(nodes.ulController, NODE_TEXT_DESCRIPTION, strText))
            device.strUsbController = strText;
        if (io.NodeText(nodes.ulController, NODE_TEXT_HARDWARE_ID, strHardwareId) &&
            IsThunderboltController(strHardwareId))
            device.ulBusFlags = (device.ulBusFlags & ~RUDVANE_BUS_OTHER) | RUDVANE_BUS_THUNDERBOLT;
    }
    if (!ShouldSearchUsbPort(ulVendor, ulProduct) || nodes.strHubPath.empty())
        return 0;
    device.pUsbPort = device.usbTree.FindPort(ulVendor, ulProduct, strSerial, nodes.strHubPath);
    if (device.pUsbPort == nullptr)
        return 0;
    if (!device.pUsbPort->strProduct.empty())
        device.strLocation = device.pUsbPort->strProduct;
    return 1;
}

} // namespace

int RudvaneFindUsbPort(C_RudvanePnpDevice& device, C_EnumIo& io)
{
    S_UsbNodes nodes;
    if (device.bWholeDevice || !device.bFromInterface) {
        uint32_t ulHub = 0;
        if (!io.NodeParent(device.ulDeviceNode, nodes.ulUsbNode) ||
            !io.NodeParent(nodes.ulUsbNode, ulHub))
            return 0;
        io.InterfacePath(io.InstanceIdOf(ulHub), kUsbHubInterface, nodes.strHubPath);
        nodes.bController = io.NodeParent(ulHub, nodes.ulController);
        return SearchPort(device, io, nodes);
    }

    // A volume: the disk whose removal relations list it.
    std::vector<S_ClassDevice> vDisks;
    if (device.strInstanceId.empty() || !io.ListClass(kDiskInterface, true, vDisks))
        return 0;
    for (const S_ClassDevice& disk : vDisks) {
        std::vector<std::string> vRelations;
        if (!io.RemovalRelations(io.InstanceIdOf(disk.ulNode), vRelations))
            continue;
        bool bHolds = false;
        for (const std::string& strId : vRelations)
            bHolds = bHolds || EqualsNoCase(strId, device.strInstanceId);
        if (!bHolds || !io.NodeParent(disk.ulNode, nodes.ulUsbNode))
            continue;
        if (!io.InterfacePath(io.InstanceIdOf(nodes.ulUsbNode), kUsbHubInterface,
                              nodes.strHubPath)) {
            uint32_t ulHub = 0;
            if (io.NodeParent(nodes.ulUsbNode, ulHub)) {
                io.InterfacePath(io.InstanceIdOf(ulHub), kUsbHubInterface, nodes.strHubPath);
                nodes.bController = io.NodeParent(ulHub, nodes.ulController);
            }
        }
        return SearchPort(device, io, nodes);
    }
    return 0;
}

char RegistryLetterOfVolume(C_EnumIo& io, const std::string& strInstanceId,
                            std::string& strVolumePath)
{
    const S_VolumeKey key = VolumeKeyFromInstanceId(strInstanceId);
    std::vector<std::pair<std::string, std::vector<uint8_t>>> vValues;
    if (strInstanceId.empty() || !io.MountedDevices(vValues))
        return 0;
    char cLetter = 0;
    for (const auto& value : vValues) {
        if (!MountedDataMatches(value.second.data(), value.second.size(), key))
            continue;
        if (cLetter == 0)
            cLetter = LetterFromMountedName(value.first);
        if (strVolumePath.empty())
            strVolumePath = VolumePathFromMountedName(value.first);
    }
    return cLetter;
}
