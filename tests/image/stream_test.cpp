// MemStream's growth and seek rules, and FileStream over real files.
#include <gtest/gtest.h>

#include <cstring>

#include "image/file_stream.h"
#include "image/mem_stream.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

TEST(MemStream, GrowsInPagesAndReadsBackWhatWasWritten) {
    MemStream s;
    EXPECT_EQ(s.Capacity(), 1u);
    EXPECT_EQ(s.Write("abc", 1, 3), 3u);
    EXPECT_EQ(s.Capacity(), 4096u);  // (0 + 3) rounded down to 4096, plus 4096
    std::vector<uint8_t> big(5000, 7);
    EXPECT_EQ(s.Write(big.data(), 1000, 5), 5u);
    EXPECT_EQ(s.Capacity(), 8192u);  // 5003 -> 4096 + 4096
    EXPECT_EQ(s.Size(), 5003);
    EXPECT_TRUE(s.Seek(-5003, kSeekEnd));
    char head[3];
    EXPECT_EQ(s.Read(head, 1, 3), 3u);
    EXPECT_EQ(std::memcmp(head, "abc", 3), 0);
    EXPECT_TRUE(s.PutC('z'));
    EXPECT_TRUE(s.Seek(3, kSeekSet));
    EXPECT_EQ(s.GetC(), 'z');
}

TEST(MemStream, SeekClampsAndAcceptsPositionsPastTheEnd) {
    const uint8_t bytes[4] = {1, 2, 3, 4};
    MemStream s(bytes, 4);
    EXPECT_TRUE(s.Seek(-10, kSeekCur));
    EXPECT_EQ(s.Tell(), 0);
    EXPECT_TRUE(s.Seek(10, kSeekSet));
    EXPECT_TRUE(s.Eof());
    EXPECT_TRUE(s.Error());
    EXPECT_EQ(s.GetC(), -1);
    uint32_t item;
    EXPECT_TRUE(s.Seek(1, kSeekSet));
    EXPECT_EQ(s.Read(&item, 4, 1), 0u);  // whole items only; 3 bytes copied
    EXPECT_EQ(s.Tell(), 4);
    EXPECT_EQ(s.Write("x", 1, 1), 0u);  // the caller's bytes are never written
}

TEST(MemStream, GapLeftBySeekingPastTheEndReadsAsZeros) {
    MemStream s;
    s.Write("ab", 1, 2);
    s.Seek(6, kSeekSet);
    s.Write("c", 1, 1);
    const int64_t size = s.Size();
    uint8_t* buffer = s.GetBuffer();
    ASSERT_EQ(size, 7);
    EXPECT_EQ(std::memcmp(buffer, "ab\0\0\0\0c", 7), 0);
    EXPECT_EQ(s.Tell(), -1);  // detached
    FreeMemory(buffer);
}

TEST(FileStream, WritesReadsAndSeeksAcrossItsBuffer) {
    const std::string path = test::ScratchDir() + "/stream.bin";
    std::vector<uint8_t> data(200000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 31);
    {
        FileStream out(test::ApiPath(path).c_str(), true);
        ASSERT_TRUE(out.IsOpen());
        EXPECT_EQ(out.Write(data.data(), 1, 10), 10u);
        EXPECT_EQ(out.Write(data.data() + 10, 1, data.size() - 10), data.size() - 10);
        EXPECT_EQ(out.Size(), int64_t(data.size()));
    }
    EXPECT_EQ(test::ReadFileBytes(path), data);

    FileStream in(test::ApiPath(path).c_str(), false);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Size(), int64_t(data.size()));
    uint8_t b[100];
    EXPECT_EQ(in.Read(b, 1, 100), 100u);
    EXPECT_TRUE(in.Seek(150000, kSeekSet));
    EXPECT_EQ(in.GetC(), data[150000]);
    EXPECT_TRUE(in.Seek(-1, kSeekEnd));
    EXPECT_EQ(in.GetC(), data.back());
    EXPECT_EQ(in.GetC(), -1);
    EXPECT_TRUE(in.Eof());
    EXPECT_FALSE(in.Seek(-1, kSeekSet));
    EXPECT_FALSE(FileStream(test::ApiPath(path + ".missing").c_str(), false).IsOpen());
}

}  // namespace
}  // namespace ruvelto::image
