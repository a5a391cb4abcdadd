// The in-memory input of a read: bytes handed out only while enough remain, and
// positions kept inside the bytes as a string stream keeps them.

#include "scene/CMemoryReadBuffer.h"

#include <gtest/gtest.h>

#include <istream>
#include <string>

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

}  // namespace
