// The disc walk over images that the mastering programs make at test time
// (genisoimage and xorriso, read through the image file reader).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "fileaccess/core/CdfsWalker.h"
#include "fileaccess/core/ImageSectorReader.h"

namespace {

namespace fs = std::filesystem;

// A folder of files of given sizes, mastered into an image; removed after.
class C_DiscImage {
public:
    // strTool: "genisoimage" or "xorriso"; strOptions: further mastering
    // options ("-J" for Joliet names); vSort: files and their sort weights
    // (a higher weight lies nearer to the disc's start).
    bool Make(const std::string& strTool, const std::string& strOptions,
              const std::vector<std::pair<std::string, size_t>>& vFiles,
              const std::vector<std::pair<std::string, int>>& vSort = {})
    {
#ifdef _WIN32
        return false;   // the mastering programs are Linux programs
#else
        static int nCount = 0;
        folder = fs::temp_directory_path() / ("qv-iso-" + std::to_string(::getpid()) + "-" + std::to_string(++nCount));
        fs::remove_all(folder);
        fs::create_directories(folder / "src");
        for (const auto& file : vFiles) {
            const fs::path path = folder / "src" / file.first;
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << std::string(file.second, 'x');
        }
        // genisoimage reads "disk path, weight" lines, xorriso "weight, path
        // in the image" lines.
        const bool bXorriso = strTool == "xorriso";
        std::string strSort;
        if (!vSort.empty()) {
            std::ofstream sortFile(folder / "sort.txt");
            for (const auto& entry : vSort) {
                if (bXorriso)
                    sortFile << entry.second << " /" << entry.first << "\n";
                else
                    sortFile << (folder / "src" / entry.first).string() << " " << entry.second << "\n";
            }
            strSort = std::string(bXorriso ? " --sort-weight-list '" : " -sort '") + (folder / "sort.txt").string() + "'";
        }
        const std::string strProgram = bXorriso ? "xorriso -as mkisofs" : strTool;
        strImage = (folder / "disc.iso").string();
        const std::string strCommand = strProgram + " -quiet -no-pad " + strOptions + strSort + " -o '" + strImage +
                                       "' '" + (folder / "src").string() + "' >/dev/null 2>&1";
        return std::system(strCommand.c_str()) == 0;
#endif
    }
    ~C_DiscImage()
    {
        if (!folder.empty())
            fs::remove_all(folder);
    }

    S_CdfsFile Fastest(uint32_t ulMinSize) const
    {
        C_ImageSectorReader reader;
        EXPECT_TRUE(reader.Open(strImage));
        C_CdfsWalker walker(reader, ulMinSize);
        walker.ProcessDescriptors(0, "E:\\");
        return walker.Best();
    }

private:
    fs::path folder;
    std::string strImage;
};

constexpr const char* kNoTools = "no mastering program (tools/deps.sh installs them)";

TEST(CdfsImage, JolietLongNamesInNestedFolders)
{
    for (const char* pszTool : {"genisoimage", "xorriso"}) {
        SCOPED_TRACE(pszTool);
        C_DiscImage image;
        if (!image.Make(pszTool, "-J",
                     {{"README.TXT", 10},
                      {"Music/Live recordings/a rather long file name.flac", 9000},
                      {"Music/short.txt", 3}},
                     {{"README.TXT", 3}, {"Music/short.txt", 2}, {"Music/Live recordings/a rather long file name.flac", 1}}))
        GTEST_SKIP() << kNoTools;
        const S_CdfsFile found = image.Fastest(0);
        EXPECT_EQ(found.strPath, "E:\\Music\\Live recordings\\a rather long file name.flac");
        EXPECT_EQ(found.ulDataLength, 9000u);
        EXPECT_GT(found.ulStartSector, 20u);
    }
}

TEST(CdfsImage, PrimaryNamesLoseTheirVersion)
{
    C_DiscImage readme;
    if (!readme.Make("genisoimage", "", {{"README.TXT", 100}}))
        GTEST_SKIP() << kNoTools;
    EXPECT_EQ(readme.Fastest(0).strPath, "E:\\README.TXT");
    C_DiscImage name;
    if (!name.Make("genisoimage", "", {{"NAME", 100}}))
        GTEST_SKIP() << kNoTools;
    EXPECT_EQ(name.Fastest(0).strPath, "E:\\NAME");
}

TEST(CdfsImage, HigherStartSectorWinsWhateverTheSizes)
{
    const std::vector<std::pair<std::string, size_t>> vFiles = {{"big.bin", 300000}, {"A/B/small.bin", 5000}};
    // small.bin lies behind big.bin.
    C_DiscImage smallLast;
    if (!smallLast.Make("genisoimage", "-J", vFiles, {{"big.bin", 2}, {"A/B/small.bin", 1}}))
        GTEST_SKIP() << kNoTools;
    EXPECT_EQ(smallLast.Fastest(0).strPath, "E:\\A\\B\\small.bin");
    EXPECT_EQ(smallLast.Fastest(5000).strPath, "E:\\A\\B\\small.bin");
    EXPECT_EQ(smallLast.Fastest(5001).strPath, "E:\\big.bin");
    EXPECT_EQ(smallLast.Fastest(300001).strPath, "");
    // big.bin lies behind small.bin.
    C_DiscImage bigLast;
    if (!bigLast.Make("genisoimage", "-J", vFiles, {{"big.bin", 1}, {"A/B/small.bin", 2}}))
        GTEST_SKIP() << kNoTools;
    const S_CdfsFile found = bigLast.Fastest(0);
    EXPECT_EQ(found.strPath, "E:\\big.bin");
    EXPECT_EQ(found.ulDataLength, 300000u);
}

TEST(CdfsImage, NotAnImage)
{
    C_ImageSectorReader reader;
    EXPECT_FALSE(reader.Open("/nonexistent/disc.iso"));
    uint8_t sector[2048];
    EXPECT_FALSE(reader.ReadSector(16, sector));
}

} // namespace
