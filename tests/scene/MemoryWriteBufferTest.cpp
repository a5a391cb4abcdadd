// The in-memory output of a save: bytes in order across growth, sizes patched in
// place as chunk writing does, and positions it must refuse.

#include "scene/CMemoryWriteBuffer.h"

#include <gtest/gtest.h>

#include <istream>
#include <string>

namespace {

class MemoryWrite : public testing::Test {
protected:
    std::streampos Tell() { return buffer_.pubseekoff(0, std::ios::cur, std::ios::out); }

    CMemoryWriteBuffer buffer_;
    std::iostream stream_{&buffer_};
};

TEST_F(MemoryWrite, BytesStayInOrderWhileTheBlockGrows)
{
    buffer_.Reset(3);
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string piece = std::to_string(i) + ",";
        stream_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        stream_.put(static_cast<char>('a' + i % 26));
        expected += piece + static_cast<char>('a' + i % 26);
    }
    EXPECT_TRUE(stream_.good());
    EXPECT_EQ(buffer_.View(), expected);
    EXPECT_EQ(Tell(), std::streampos(static_cast<std::streamoff>(expected.size())));
}

// As a chunk's size is written once its content is: back to the placeholder, then on
// from the end.
TEST_F(MemoryWrite, PatchedBytesKeepTheEndWhereItWas)
{
    buffer_.Reset(0);
    stream_.write("abcdef", 6);
    EXPECT_EQ(buffer_.pubseekpos(2, std::ios::out), std::streampos(2));
    stream_.write("XY", 2);
    EXPECT_EQ(buffer_.View(), "abXYef");
    EXPECT_EQ(buffer_.pubseekoff(0, std::ios::end, std::ios::out), std::streampos(6));
    stream_.write("g", 1);
    EXPECT_EQ(buffer_.View(), "abXYefg");
}

// Writing from a position before the end past the block's end must keep every byte
// written beyond that position, not only those before it.
TEST_F(MemoryWrite, GrowingWhileBackFromTheEndKeepsTheTail)
{
    buffer_.Reset(8);
    stream_.write("01234567", 8);
    buffer_.pubseekpos(6, std::ios::out);
    const std::string longer(5000, 'z');
    stream_.write(longer.data(), static_cast<std::streamsize>(longer.size()));
    EXPECT_EQ(buffer_.View(), "012345" + longer);

    buffer_.pubseekpos(1, std::ios::out);
    stream_.write("!", 1);
    EXPECT_EQ(buffer_.View().size(), 5006u);
    EXPECT_EQ(buffer_.View().substr(0, 3), "0!2");
}

TEST_F(MemoryWrite, PositionsOutsideTheWrittenBytesOrForReadingAreRefused)
{
    buffer_.Reset(16);
    stream_.write("abc", 3);
    const std::streampos refused(std::streamoff(-1));
    EXPECT_EQ(buffer_.pubseekpos(4, std::ios::out), refused);
    EXPECT_EQ(buffer_.pubseekoff(-4, std::ios::cur, std::ios::out), refused);
    EXPECT_EQ(buffer_.pubseekoff(0, std::ios::cur, std::ios::in), refused);
    EXPECT_EQ(buffer_.pubseekoff(0, std::ios::cur), refused);
    EXPECT_EQ(Tell(), std::streampos(3));
    EXPECT_EQ(buffer_.pubseekoff(-3, std::ios::end, std::ios::out), std::streampos(0));
    EXPECT_EQ(buffer_.View(), "abc");
}

TEST_F(MemoryWrite, ReleaseEmptiesAndTheBufferCanBeUsedAgain)
{
    buffer_.Reset(64);
    stream_.write("abc", 3);
    buffer_.Release();
    EXPECT_TRUE(buffer_.View().empty());
    EXPECT_EQ(Tell(), std::streampos(0));
    stream_.write("de", 2);
    EXPECT_EQ(buffer_.View(), "de");
    buffer_.Reset(4);
    EXPECT_TRUE(buffer_.View().empty());
}

TEST_F(MemoryWrite, ResetInTheMemoryItHoldsStartsEmptyWithoutTheOldBytes)
{
    buffer_.Reset(16);
    stream_.write("0123456789", 10);
    const char* block = buffer_.View().data();
    buffer_.Reset(8);
    EXPECT_TRUE(buffer_.View().empty());
    EXPECT_EQ(Tell(), std::streampos(0));
    stream_.write("ab", 2);
    EXPECT_EQ(buffer_.View(), "ab");
    EXPECT_EQ(buffer_.View().data(), block);  // no fresh memory for a file written again
}

}  // namespace
