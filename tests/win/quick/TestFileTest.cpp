#include "framework/win/TestFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "quick/win/ProcessorQuery.h"
#include "quick/win/ResultsFile.h"
#include "framework/win/TransferBuffer.h"
#include "tests/support/win/QuickTestFiles.h"

namespace {

TEST(TestFile, SequentialTransfersAndFileEnd)
{
    C_TempFolder folder;
    const std::string strPath = folder / "t.bin";
    C_TransferBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(65536));
    ASSERT_TRUE(FillRandom(buffer.Data(), buffer.Size()));

    C_TestFile file;
    ASSERT_FALSE(file.Open(strPath.c_str(), 0, 0));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    ASSERT_TRUE(file.Open(strPath.c_str(), 1, FILE_FLAG_SEQUENTIAL_SCAN));
    EXPECT_TRUE(IsNtError(file.DisableLocalBuffering()));   // a local file system refuses the control
    ASSERT_TRUE(file.Seek(262144));
    ASSERT_TRUE(file.SetEnd());
    ASSERT_TRUE(file.Seek(0));
    ASSERT_TRUE(file.Write(buffer.Data(), 65536));
    ASSERT_TRUE(file.Write(buffer.Data(), 65536));
    ASSERT_TRUE(file.Flush());
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadWholeFile(strPath).size(), 262144u);

    // All bytes or nothing: a read past the end fails with end of file.
    ASSERT_TRUE(file.Open(strPath.c_str(), 0, FILE_FLAG_SEQUENTIAL_SCAN));
    std::vector<uint8_t> vRead(65536);
    ASSERT_TRUE(file.Read(vRead.data(), 65536));
    EXPECT_EQ(std::memcmp(vRead.data(), buffer.Data(), 65536), 0);
    ASSERT_TRUE(file.Seek(262144 - 4096));
    EXPECT_FALSE(file.Read(vRead.data(), 8192));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_HANDLE_EOF));
    file.Close();

    // A read-only test file is removed all the same.
    ASSERT_TRUE(::SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(file.RemoveFile(strPath.c_str()));
    EXPECT_FALSE(PathExists(strPath));
    EXPECT_FALSE(file.RemoveFile(strPath.c_str()));
}

TEST(TestFile, AccessorsOfManyThreadsLandInPlace)
{
    C_TempFolder folder;
    const std::string strPath = folder / "p.bin";
    constexpr uint32_t kThreads = 32;
    constexpr uint32_t kBlocksEach = 16;
    C_TestFile file;
    EXPECT_EQ(file.OpenAccessor(), nullptr);   // nothing open
    ASSERT_TRUE(file.Open(strPath.c_str(), 1, FILE_FLAG_NO_BUFFERING));
    ASSERT_TRUE(file.Seek(kThreads * kBlocksEach * 4096));
    ASSERT_TRUE(file.SetEnd());

    // Thread t writes its own byte into blocks t, t + 32, t + 64, ...
    std::vector<C_TransferBuffer> buffers(kThreads);
    std::vector<std::unique_ptr<I_TransferAccessor>> accessors(kThreads);
    for (uint32_t t = 0; t < kThreads; ++t) {
        ASSERT_TRUE(buffers[t].Allocate(4096));
        std::memset(buffers[t].Data(), static_cast<int>(t + 1), 4096);
        accessors[t] = file.OpenAccessor();
        ASSERT_NE(accessors[t], nullptr) << ::GetLastError();
    }
    std::vector<int> vFailures(kThreads, 0);
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t]() {
            for (uint32_t i = 0; i < kBlocksEach; ++i)
                vFailures[t] += !accessors[t]->WriteAt((i * kThreads + t) * 4096ull, buffers[t].Data(), 4096);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    accessors.clear();
    file.Close();
    for (uint32_t t = 0; t < kThreads; ++t)
        EXPECT_EQ(vFailures[t], 0) << t;

    const std::string strData = ReadWholeFile(strPath);
    ASSERT_EQ(strData.size(), kThreads * kBlocksEach * 4096u);
    for (uint32_t nBlock = 0; nBlock < kThreads * kBlocksEach; ++nBlock) {
        const char cExpected = static_cast<char>(nBlock % kThreads + 1);
        ASSERT_EQ(strData[nBlock * 4096], cExpected) << nBlock;
        ASSERT_EQ(strData[nBlock * 4096 + 4095], cExpected) << nBlock;
    }

    // Reading back at positions; past the end is end of file.
    ASSERT_TRUE(file.Open(strPath.c_str(), 0, 0));
    std::unique_ptr<I_TransferAccessor> reader = file.OpenAccessor();
    ASSERT_NE(reader, nullptr);
    C_TransferBuffer readBuffer;
    ASSERT_TRUE(readBuffer.Allocate(8192));
    ASSERT_TRUE(reader->ReadAt(33 * 4096, readBuffer.Data(), 4096));
    EXPECT_EQ(readBuffer.Data()[0], 2);
    EXPECT_FALSE(reader->ReadAt(kThreads * kBlocksEach * 4096ull - 4096, readBuffer.Data(), 8192));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_HANDLE_EOF));
    EXPECT_FALSE(reader->WriteAt(0, readBuffer.Data(), 4096));   // opened for reading
    reader.reset();
    file.Close();
}

TEST(TestFile, BufferIsAlignedAfterTheAllocationStart)
{
    for (const uint32_t ulBlock : {4096u, 65536u, 1048576u, 12288u}) {
        SCOPED_TRACE(ulBlock);
        C_TransferBuffer buffer;
        ASSERT_TRUE(buffer.Allocate(ulBlock));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer.Data()) % 4096, 0u);
        EXPECT_EQ(buffer.Size(), ulBlock);
        buffer.Data()[ulBlock - 1] = 1;   // the whole block lies inside the allocation
    }
}

TEST(ResultsFile, AppendsToTheFile)
{
    C_TempFolder folder;
    ASSERT_TRUE(SaveResultsFile("first\r\n", folder.Path().c_str()));
    ASSERT_TRUE(SaveResultsFile("second \xBB\r\n", folder.Path().c_str()));
    EXPECT_EQ(ReadWholeFile(folder / "Quenvale.txt"), "first\r\nsecond \xBB\r\n");
    EXPECT_FALSE(SaveResultsFile("x", (folder / "missing\\").c_str()));
    const std::string strDesktop = DesktopFolder();
    ASSERT_FALSE(strDesktop.empty());
    EXPECT_EQ(strDesktop.back(), '\\');
}

TEST(ProcessorQuery, NamesTheProcessor)
{
    std::string strName = "untouched";
    uint32_t ulClock = 12345;
    ASSERT_TRUE(QueryProcessor(strName, ulClock));
    EXPECT_NE(strName, "untouched");
    EXPECT_FALSE(QueryProcessorText().empty());
}

} // namespace
