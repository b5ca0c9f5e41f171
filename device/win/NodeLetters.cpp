#include "device/win/NodeLetters.h"

#include <vector>

#include "device/core/EnumRules.h"
#include "device/core/IdentityText.h"
#include "device/win/EnumIo.h"
#include "device/win/QuietErrorMode.h"

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

} // namespace

std::string LettersOfNodeVolumes(C_EnumIo& io, uint32_t ulNode, uint32_t ulOptions)
{
    std::vector<std::string> vIds;
    AddIdAndRelations(io, io.InstanceIdOf(ulNode), vIds);
    uint32_t ulChild = 0, ulGrandchild = 0;
    const bool bChild = io.NodeChild(ulNode, ulChild);
    const bool bGrandchild = bChild && io.NodeChild(ulChild, ulGrandchild);
    if (bChild)
        AddIdAndRelations(io, io.InstanceIdOf(ulChild), vIds);
    if (bGrandchild) {
        const std::string strId = io.InstanceIdOf(ulGrandchild);
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
            if (io.HardwareKeyText(io.InstanceIdOf(ulKeyNode), "CurrentDriveLetterAssignment",
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
