// The typed primitives of the chunk stream, exercised through a probe that opens
// the protected interface of CSceneObject.

#include "core/CVerdaxException.h"
#include "platform/MessagePresenter.h"
#include "scene/CSceneObject.h"
#include "tests/support/ByteWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sstream>
#include <streambuf>

using testsupport::ByteWriter;
using testsupport::Hex;

namespace {

class Probe : public CSceneObject {
public:
    using CSceneObject::BeginChunk;
    using CSceneObject::BindForReading;
    using CSceneObject::BindForWriting;
    using CSceneObject::EndChunk;
    using CSceneObject::ReadBytes;
    using CSceneObject::ReadChunkData;
    using CSceneObject::ReadChunkKept;
    using CSceneObject::ReadChunkText;
    using CSceneObject::ReadComposite;
    using CSceneObject::ReadString;
    using CSceneObject::ReadU16;
    using CSceneObject::ReadU32;
    using CSceneObject::ReadU8;
    using CSceneObject::SkipChunk;
    using CSceneObject::WriteChunkBytes;
    using CSceneObject::WriteChunkText;
    using CSceneObject::WriteChunkTextUnterminated;
    using CSceneObject::WriteChunkU32;
    using CSceneObject::WriteChunkVector3;
    using CSceneObject::WriteString;
    using CSceneObject::WriteU16;
    using CSceneObject::WriteU32;
};

std::int32_t CodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CVerdaxException& e) {
        return e.GetCode();
    }
    return 0;
}

struct Reading {
    explicit Reading(const std::string& bytes) : stream(bytes) { probe.BindForReading(stream); }
    std::stringstream stream;
    Probe probe;
};

struct Writing {
    Writing() { probe.BindForWriting(stream); }
    std::string Hex() const { return testsupport::Hex(stream.str()); }
    std::stringstream stream;
    Probe probe;
};

// A buffer that accepts `room` bytes and refuses the rest, like a full disk.
class FullBuffer : public std::streambuf {
public:
    explicit FullBuffer(std::size_t room) : room_(room) {}

protected:
    int_type overflow(int_type ch) override
    {
        if (room_ == 0)
            return traits_type::eof();
        --room_;
        return traits_type::not_eof(ch);
    }

private:
    std::size_t room_;
};

}  // namespace

TEST(ChunkPrimitives, FixedChunksCarryTheirSizes)
{
    Writing w;
    EXPECT_EQ(w.probe.WriteChunkU32(0x4011, 9), 10u);
    EXPECT_EQ(w.probe.WriteChunkVector3(0x0020, {1.0f, 2.0f, 3.0f}), 18u);
    EXPECT_EQ(w.probe.WriteChunkText(0x0010, "abc"), 10u);
    EXPECT_EQ(w.probe.WriteChunkText(0x0010, ""), 7u);
    EXPECT_EQ(w.probe.WriteChunkTextUnterminated(0x4090, "ab"), 8u);
    EXPECT_EQ(w.probe.WriteChunkBytes(0x40A0, {}), 6u);
    const std::string expected = ByteWriter()
                                     .Header(0x4011, 10).U32(9)
                                     .Header(0x0020, 18).F32(1.0f).F32(2.0f).F32(3.0f)
                                     .Header(0x0010, 10).Bytes({0x61, 0x62, 0x63, 0x00})
                                     .Header(0x0010, 7).U8(0)
                                     .Header(0x4090, 8).Bytes("ab")
                                     .Header(0x40A0, 6)
                                     .Str();
    EXPECT_EQ(w.Hex(), Hex(expected));
}

TEST(ChunkPrimitives, WriteStringCountsWhatItWrites)
{
    Writing w;
    EXPECT_EQ(w.probe.WriteString("", false), 0u);
    EXPECT_EQ(w.probe.WriteString("", true), 1u);
    EXPECT_EQ(w.probe.WriteString("xy", false), 2u);
    EXPECT_EQ(w.probe.WriteString("xy", true), 3u);
    EXPECT_EQ(w.Hex(), "00 78 79 78 79 00");
}

TEST(ChunkPrimitives, ChunkTextsReadUpToTheirFirstZeroByte)
{
    Reading r(ByteWriter()
                  .U32(10).Bytes("abc").U8(0)       // an ordinary chunk text
                  .U32(7).U8(0)                     // an empty one
                  .U32(9).Bytes({0x61, 0x62, 0x63})  // no terminator: all of it
                  .U32(10).Bytes({0x78, 0x00, 0x79, 0x00})
                  .Str());
    std::string text = "old";
    EXPECT_EQ(r.probe.ReadChunkText(text), 8u);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(r.probe.ReadChunkText(text), 5u);
    EXPECT_EQ(text, "");
    EXPECT_EQ(r.probe.ReadChunkText(text), 7u);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(r.probe.ReadChunkText(text), 8u);
    EXPECT_EQ(text, "x");
    EXPECT_EQ(r.stream.tellg(), std::streampos(r.stream.str().size()));
}

TEST(ChunkPrimitives, ReadStringConsumesAllAskedBytes)
{
    Reading r(ByteWriter().Bytes({0x41, 0x42, 0x00, 0x43, 0x44}).U8(0x7F).Str());
    std::string text = "old";
    EXPECT_EQ(r.probe.ReadString(text, 5), 5u);
    EXPECT_EQ(text, "AB");
    EXPECT_EQ(r.probe.ReadString(text, 0), 0u);
    EXPECT_EQ(text, "");
    std::uint8_t next = 0;
    r.probe.ReadU8(next);
    EXPECT_EQ(next, 0x7F);
}

TEST(ChunkPrimitives, ValuesAreLittleEndian)
{
    Reading r(ByteWriter().U16(0x4C53).U32(0x11223344).Str());
    std::uint16_t id = 0;
    std::uint32_t value = 0;
    EXPECT_EQ(r.probe.ReadU16(id), 2u);
    EXPECT_EQ(r.probe.ReadU32(value), 4u);
    EXPECT_EQ(id, 0x4C53);
    EXPECT_EQ(value, 0x11223344u);
    EXPECT_EQ(Hex(r.stream.str().substr(0, 2)), "53 4C");
}

TEST(ChunkPrimitives, SizePatchingCountsTheWholeChunkAndEndsAtTheEnd)
{
    Writing w;
    const auto outer = w.probe.BeginChunk(0x4020);
    std::uint32_t total = 6;
    total += w.probe.WriteChunkText(0x0010, "s1");
    const auto inner = w.probe.BeginChunk(0x4040);
    std::uint32_t innerTotal = 6 + w.probe.WriteChunkU32(0x4041, 7);
    w.probe.EndChunk(inner, innerTotal);
    total += innerTotal;
    w.probe.EndChunk(outer, total);
    EXPECT_EQ(total, 31u);
    EXPECT_EQ(w.stream.tellp(), std::streampos(31));
    w.probe.WriteU16(0xBEEF);  // goes after the chunk, not over its size
    const std::string expected = ByteWriter()
                                     .Header(0x4020, 31)
                                     .ChunkText(0x0010, "s1")
                                     .Header(0x4040, 16).ChunkU32(0x4041, 7)
                                     .U16(0xBEEF)
                                     .Str();
    EXPECT_EQ(w.Hex(), Hex(expected));
}

TEST(ChunkPrimitives, CompositeLoopStopsAtTheDeclaredSize)
{
    // A composite of size 6 holds nothing: the byte after the size is not read.
    Reading empty(ByteWriter().U32(6).U16(0x0010).Str());
    int calls = 0;
    EXPECT_EQ(empty.probe.ReadComposite([&](std::uint16_t) { return ++calls, 0u; }), 4u);
    EXPECT_EQ(calls, 0);

    // Two inner chunks fill a composite of size 6 + 8 + 8.
    Reading two(ByteWriter().U32(22).ChunkText(0x0010, "a").ChunkText(0x0010, "b").U16(0x9999).Str());
    std::vector<std::string> seen;
    const auto consumed = two.probe.ReadComposite([&](std::uint16_t id) {
        EXPECT_EQ(id, 0x0010);
        std::string text;
        const auto n = two.probe.ReadChunkText(text);
        seen.push_back(text);
        return n;
    });
    EXPECT_EQ(consumed, 20u);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
}

TEST(ChunkPrimitives, KeptContentDropsTheRestAndKeepsShortFieldsTails)
{
    Reading r(ByteWriter().U32(6 + 10).Bytes("0123456789").U32(6 + 2).Bytes("ab").U8(0x55).Str());
    std::array<std::uint8_t, 8> field{};
    EXPECT_EQ(r.probe.ReadChunkKept(field), 14u);
    EXPECT_EQ(std::string(field.begin(), field.end()), "01234567");
    EXPECT_EQ(r.probe.ReadChunkKept(field), 6u);
    EXPECT_EQ(std::string(field.begin(), field.end()), "ab234567");
    std::uint8_t next = 0;
    r.probe.ReadU8(next);
    EXPECT_EQ(next, 0x55);
}

TEST(ChunkPrimitives, ShortReadsFailWith3005AndShowNothing)
{
    platform::RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    {
        Reading r(ByteWriter().U8(1).Str());
        std::uint16_t v = 0;
        EXPECT_EQ(CodeOf([&] { r.probe.ReadU16(v); }), VERDAX_ERR_READ);
    }
    {
        Reading r(ByteWriter().U8(1).U8(2).Str());
        std::array<std::uint8_t, 3> place{};
        EXPECT_EQ(CodeOf([&] { r.probe.ReadBytes(place); }), VERDAX_ERR_READ);
    }
    {
        Reading r("ab");
        std::string text;
        EXPECT_EQ(CodeOf([&] { r.probe.ReadString(text, 3); }), VERDAX_ERR_READ);
    }
    EXPECT_TRUE(shown.entries.empty());
}

TEST(ChunkPrimitives, DeclaredSizesBelowSixOrBeyondTheEndFailBeforeAllocating)
{
    for (const std::uint32_t size : {0u, 5u, 6u + 4u, 0xFFFFFFFFu, 0xFFFFFFF9u}) {
        Reading r(ByteWriter().U32(size).Bytes("abc").Str());
        std::vector<std::uint8_t> data;
        EXPECT_EQ(CodeOf([&] { r.probe.ReadChunkData(data); }), VERDAX_ERR_READ) << size;
        EXPECT_TRUE(data.empty()) << size;
    }
    for (const std::uint32_t size : {3u, 0xFFFFFFFFu}) {
        Reading r(ByteWriter().U32(size).Bytes("abc").Str());
        std::string text;
        EXPECT_EQ(CodeOf([&] { r.probe.ReadChunkText(text); }), VERDAX_ERR_READ) << size;
        Reading s(ByteWriter().U32(size).Bytes("abc").Str());
        EXPECT_EQ(CodeOf([&] { s.probe.SkipChunk(); }), VERDAX_ERR_READ) << size;
    }
    // Exactly what remains is fine.
    Reading exact(ByteWriter().U32(9).Bytes("abc").Str());
    std::vector<std::uint8_t> data;
    EXPECT_EQ(exact.probe.ReadChunkData(data), 7u);
    EXPECT_EQ(data.size(), 3u);
}

TEST(ChunkPrimitives, FailedWritesRaise3006)
{
    platform::RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    FullBuffer full(3);
    std::iostream stream(&full);
    Probe probe;
    probe.BindForWriting(stream);
    EXPECT_EQ(CodeOf([&] { probe.WriteU32(1); }), VERDAX_ERR_WRITE);
    EXPECT_EQ(CodeOf([&] { probe.WriteU16(1); }), VERDAX_ERR_WRITE);  // the stream stays in error
    EXPECT_TRUE(shown.entries.empty());
}

TEST(ChunkPrimitives, FilePositionTextNamesTheStreamPosition)
{
    Reading r(ByteWriter().U32(1).U32(2).Str());
    EXPECT_EQ(r.probe.FilePositionText(), "fFile pos = 0");
    std::uint32_t v = 0;
    r.probe.ReadU32(v);
    EXPECT_EQ(r.probe.FilePositionText(), "fFile pos = 4");

    Writing w;
    w.probe.WriteChunkU32(0x3010, 1);
    EXPECT_EQ(w.probe.FilePositionText(), "fFile pos = 10");

    const Probe unbound;
    EXPECT_EQ(unbound.FilePositionText(), "fFile pos = -1");
}
