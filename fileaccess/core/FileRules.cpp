#include "fileaccess/core/FileRules.h"

#include "fileaccess/core/FileTextIds.h"

std::string FileNameOf(const std::string& strPath)
{
    const size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

std::string DriveRootOf(const std::string& strPath)
{
    if (strPath.size() >= 2 && strPath[1] == ':')
        return std::string(1, strPath[0]) + ":\\";
    return strPath;
}

S_WriteName WriteNameOf(const std::string& strPath, bool bIsFolder)
{
    S_WriteName rule;
    rule.strName = FileNameOf(strPath);
    if (!rule.strName.empty() && !bIsFolder) {
        if (rule.strName[0] == '_')
            return rule;
        rule.eRule = E_WriteName::AskUnderline;
        // A bare name stays where it is, relative to the current folder.
        const size_t nSlash = strPath.find_last_of('\\');
        rule.strNewPath = nSlash == std::string::npos ? "_" + rule.strName
                                                      : strPath.substr(0, nSlash + 1) + "_" + rule.strName;
        return rule;
    }
    rule.eRule = E_WriteName::AppendDefault;
    rule.strNewPath = strPath;
    if (rule.strNewPath.empty() || rule.strNewPath.back() != '\\')
        rule.strNewPath += '\\';
    rule.strNewPath += kDefaultTestFileName;
    return rule;
}

uint32_t SectorRoundedBlockSize(uint32_t ulBlockSize, uint32_t ulSectorSize)
{
    const uint64_t ullSector = ulSectorSize != 0 ? ulSectorSize : 2048;
    if (ulBlockSize % ullSector == 0)
        return ulBlockSize;
    const uint64_t ullUp = (ulBlockSize / ullSector + 1) * ullSector;
    if (ullUp <= UINT32_MAX)
        return static_cast<uint32_t>(ullUp);
    return static_cast<uint32_t>(ulBlockSize / ullSector * ullSector);
}

uint64_t RandomBlockPosition(uint32_t ulRandom, uint64_t ullFileSize, uint32_t ulBlockSize)
{
    if (ulBlockSize == 0)
        return 0;
    const uint64_t ullBlocks = ullFileSize / ulBlockSize;
    if (ullBlocks == 0)
        return 0;
    return static_cast<uint64_t>(ulRandom) * (ullBlocks - 1) / kRandomNumberMax * ulBlockSize;
}

int FileProgressPercent(uint64_t ullBytesDone, uint64_t ullFileSize)
{
    const uint64_t ullStep = ullFileSize / 100;
    if (ullStep == 0)
        return 0;
    const uint64_t ullPercent = ullBytesDone / ullStep;
    return ullPercent > 100 ? 100 : static_cast<int>(ullPercent);
}
