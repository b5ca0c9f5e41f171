#include "device/win/EnumNodes.h"

#include <vector>

#include "device/core/EnumRules.h"
#include "device/core/IdentityText.h"
#include "device/core/MountedDevices.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/UsbSpeed.h"
#include "device/win/EnumIo.h"
#include "device/win/QuietErrorMode.h"
#include "device/win/RudvanePnpDevice.h"

namespace {

void AddIdAndRelations(C_EnumIo& io, const std::string& strId, std::vector<std::string>& vIds)
{
    if (strId.empty())
        return;
    vIds.push_back(strId);
    std::vector<std::string> vRelations;
    if (io.RemovalRelations(strId, vRelations))
        vIds.insert(vIds.end(), vRelations.begin(), vRelations.end());
}

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

std::string InstanceIdOf(C_EnumIo& io, uint32_t ulNode)
{
    std::string strId;
    io.NodeInstanceId(ulNode, strId);
    return strId;
}

} // namespace

std::string LettersOfNodeVolumes(C_EnumIo& io, uint32_t ulNode, uint32_t ulOptions)
{
    std::vector<std::string> vIds;
    AddIdAndRelations(io, InstanceIdOf(io, ulNode), vIds);
    uint32_t ulChild = 0, ulGrandchild = 0;
    const bool bChild = io.NodeChild(ulNode, ulChild);
    const bool bGrandchild = bChild && io.NodeChild(ulChild, ulGrandchild);
    if (bChild)
        AddIdAndRelations(io, InstanceIdOf(io, ulChild), vIds);
    if (bGrandchild) {
        const std::string strId = InstanceIdOf(io, ulGrandchild);
        if (!strId.empty())
            vIds.push_back(strId);
    }

    std::string strLetters;
    std::vector<std::string> vVolumeNames;
    for (const std::string& strId : vIds) {
        std::string strName;
        const int nFound = io.VolumeName(VolumePathOfInstanceId(strId), strName);
        if (nFound < 0) {
            // A system without volume names keeps the letters in the registry.
            std::string strAssigned;
            const uint32_t ulKeyNode = bGrandchild ? ulGrandchild : ulNode;
            if (io.HardwareKeyText(InstanceIdOf(io, ulKeyNode), "CurrentDriveLetterAssignment",
                                   strAssigned))
                AddLetters(strLetters, strAssigned);
            return strLetters;
        }
        if (nFound > 0)
            vVolumeNames.push_back(strName);
    }
    if (vVolumeNames.empty())
        return strLetters;
    C_QuietErrorMode quiet;
    for (char cLetter : EnumLetters(io.LogicalDrives(), ulOptions)) {
        std::string strName;
        if (io.VolumeName(std::string(1, cLetter) + ":\\", strName) <= 0)
            continue;
        for (const std::string& strVolume : vVolumeNames) {
            if (EqualsNoCase(strName, strVolume))
                AddLetters(strLetters, std::string(1, cLetter));
        }
    }
    return strLetters;
}

int RudvaneFindUsbPort(C_RudvanePnpDevice& device, C_EnumIo& io)
{
    S_UsbNodes nodes;
    if (device.bWholeDevice || !device.bFromInterface) {
        uint32_t ulHub = 0;
        if (!io.NodeParent(device.ulDeviceNode, nodes.ulUsbNode) ||
            !io.NodeParent(nodes.ulUsbNode, ulHub))
            return 0;
        io.InterfacePath(InstanceIdOf(io, ulHub), kUsbHubInterface, nodes.strHubPath);
        nodes.bController = io.NodeParent(ulHub, nodes.ulController);
        return SearchPort(device, io, nodes);
    }

    // A volume: the disk whose removal relations list it.
    std::vector<S_ClassDevice> vDisks;
    if (device.strInstanceId.empty() || !io.ListClass(kDiskInterface, true, vDisks))
        return 0;
    for (const S_ClassDevice& disk : vDisks) {
        std::vector<std::string> vRelations;
        if (!io.RemovalRelations(InstanceIdOf(io, disk.ulNode), vRelations))
            continue;
        bool bHolds = false;
        for (const std::string& strId : vRelations)
            bHolds = bHolds || EqualsNoCase(strId, device.strInstanceId);
        if (!bHolds || !io.NodeParent(disk.ulNode, nodes.ulUsbNode))
            continue;
        if (!io.InterfacePath(InstanceIdOf(io, nodes.ulUsbNode), kUsbHubInterface,
                              nodes.strHubPath)) {
            uint32_t ulHub = 0;
            if (io.NodeParent(nodes.ulUsbNode, ulHub)) {
                io.InterfacePath(InstanceIdOf(io, ulHub), kUsbHubInterface, nodes.strHubPath);
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
