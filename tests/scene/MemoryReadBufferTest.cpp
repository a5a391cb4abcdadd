// The in-memory input of a read: bytes handed out only while enough remain, and
// positions kept inside the bytes as a string stream keeps them.

#include "scene/CMemoryReadBuffer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <istream>
#include <string>
#include <unistd.h>

namespace {

std::streampos Tell(CMemoryReadBuffer& buffer)
{
    return buffer.pubseekoff(0, std::ios::cur, std::ios::in);
}

TEST(MemoryRead, BytesAreTakenOnlyWhileEnoughRemain)
{
    const std::string bytes = "abcdef";
    CMemoryReadBuffer buffer;
    buffer.Reset(bytes);
    const char* at = buffer.Take(4);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::string(at, 4), "abcd");
    EXPECT_EQ(buffer.Remaining(), 2u);
    EXPECT_EQ(buffer.Take(3), nullptr);
    EXPECT_EQ(Tell(buffer), 4);  // a refused take leaves the position
    EXPECT_NE(buffer.Take(2), nullptr);
    EXPECT_EQ(buffer.Remaining(), 0u);

    // The stream interface reads the same bytes, and stops at their end.
    buffer.Reset(bytes);
    std::iostream stream(&buffer);
    char read[8] = {};
    EXPECT_EQ(buffer.sgetn(read, 8), 6);
    EXPECT_EQ(std::string(read), "abcdef");
    EXPECT_EQ(Tell(buffer), 6);
}

TEST(MemoryRead, PositionsStayInsideTheBytes)
{
    const std::string bytes = "0123456789";
    CMemoryReadBuffer buffer;
    buffer.Reset(bytes);
    EXPECT_EQ(buffer.pubseekoff(0, std::ios::end, std::ios::in), 10);
    EXPECT_EQ(buffer.pubseekpos(3, std::ios::in), 3);
    EXPECT_EQ(buffer.pubseekoff(2, std::ios::cur, std::ios::in), 5);
    EXPECT_EQ(buffer.Remaining(), 5u);
    const std::streampos refused(std::streamoff(-1));
    EXPECT_EQ(buffer.pubseekoff(6, std::ios::cur, std::ios::in), refused);
    EXPECT_EQ(buffer.pubseekoff(-1, std::ios::beg, std::ios::in), refused);
    EXPECT_EQ(buffer.pubseekpos(0, std::ios::out), refused);  // nothing is written here
    EXPECT_EQ(Tell(buffer), 5);

    buffer.Reset({});
    EXPECT_EQ(Tell(buffer), 0);
    EXPECT_EQ(buffer.Take(1), nullptr);
}

// An open file read through a window much smaller than the file: the same bytes
// and positions as from memory, counted from where the file was handed over.
TEST(MemoryRead, AFileIsReadThroughItsWindowAsFromMemory)
{
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += static_cast<char>('0' + i % 64);
    testsupport::TempDir dir;
    const int fd = ::open(dir.Write("file", bytes).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 10, SEEK_SET), 10);
    CMemoryReadBuffer buffer;
    buffer.ResetFromFile(fd, 80, 16);
    EXPECT_EQ(buffer.Remaining(), 80u);
    const char* at = buffer.Take(10);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::string(at, 10), bytes.substr(10, 10));
    at = buffer.Take(20);  // beyond the window: it grows
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::string(at, 20), bytes.substr(20, 20));
    EXPECT_EQ(Tell(buffer), 30);
    EXPECT_EQ(buffer.Take(51), nullptr);
    EXPECT_EQ(Tell(buffer), 30);
    EXPECT_EQ(buffer.Remaining(), 50u);

    // Back before the window, then through the stream interface to the end.
    EXPECT_EQ(buffer.pubseekpos(5, std::ios::in), 5);
    at = buffer.Take(3);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::string(at, 3), bytes.substr(15, 3));
    std::string rest(80, '\0');
    EXPECT_EQ(buffer.sgetn(rest.data(), 80), 72);
    EXPECT_EQ(rest.substr(0, 72), bytes.substr(18, 72));
    EXPECT_EQ(buffer.pubseekoff(0, std::ios::end, std::ios::in), 80);

    // A file shorter than it was said to be ends where it stops.
    ASSERT_EQ(::lseek(fd, 90, SEEK_SET), 90);
    buffer.ResetFromFile(fd, 50, 16);
    EXPECT_EQ(buffer.Take(11), nullptr);
    EXPECT_EQ(buffer.Remaining(), 10u);
    at = buffer.Take(10);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::string(at, 10), bytes.substr(90, 10));
    ::close(fd);
}

}  // namespace
