// Whole files read with one read: what is refused before reading, and the identity
// that tells a file's versions apart.

#include "model/FileBytes.h"

#include "model/CByteCursor.h"

#include "core/CVerdaxException.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

int ReadError(const fs::path& path)
{
    try {
        ReadFileBytes(path.string());
    } catch (const CVerdaxException& e) {
        return e.GetCode();
    }
    return 0;
}

TEST(FileBytes, WholeFileComesWithTheIdentityOfWhatWasRead)
{
    testsupport::TempDir dir;
    const auto path = dir.Write("data.bin", std::string("\x00\x01\xFFxyz", 6));
    const FileBytes file = ReadFileBytes(path.string());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data.get()), file.size), std::string("\x00\x01\xFFxyz", 6));
    EXPECT_EQ(file.identity.size, 6u);
    EXPECT_EQ(IdentifyFile(path), file.identity);

    const FileBytes empty = ReadFileBytes(dir.Write("empty.bin", "").string());
    EXPECT_EQ(empty.size, 0u);
}

// Neither a folder nor a pipe is a file to read; a pipe without a writer must not
// hold the reader.
TEST(FileBytes, OnlyRegularFilesAreRead)
{
    testsupport::TempDir dir;
    EXPECT_EQ(ReadError(dir.Path()), VERDAX_ERR_OPEN_READ);
    EXPECT_EQ(ReadError(dir.Path() / "absent.bin"), VERDAX_ERR_OPEN_READ);
    const fs::path pipe = dir.Path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReadError(pipe), VERDAX_ERR_OPEN_READ);
    EXPECT_EQ(IdentifyFile(pipe), std::nullopt);
    EXPECT_EQ(IdentifyFile(dir.Path()), std::nullopt);
    EXPECT_EQ(IdentifyFile(dir.Path() / "absent.bin"), std::nullopt);
}

TEST(FileBytes, IdentityChangesWithSizeTimeOrReplacement)
{
    testsupport::TempDir dir;
    const auto path = dir.Write("data.bin", "abc");
    const auto first = IdentifyFile(path);
    ASSERT_TRUE(first);

    dir.Write("data.bin", "abcd");
    const auto resized = IdentifyFile(path);
    EXPECT_NE(resized, first);

    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
    EXPECT_NE(IdentifyFile(path), resized);

    const auto retouched = IdentifyFile(path);
    const auto other = dir.Write("other.bin", "abcd");
    fs::last_write_time(other, fs::last_write_time(path));
    fs::rename(other, path);
    EXPECT_NE(IdentifyFile(path), retouched);
}

}  // namespace

namespace {

// A file whose byte at offset i is i mod 251, read through a window of 7 bytes.
TEST(ByteCursorOverAFile, ReadsAcrossWindowsAndLargerThanOneAsFromMemory)
{
    testsupport::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        bytes.push_back(static_cast<char>(i % 251));
    const COpenedFile file(dir.Write("pattern.bin", bytes));
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    CByteCursor windowed(file.Descriptor(), bytes.size(), 7);
    CByteCursor whole(std::span<const std::uint8_t>(data, bytes.size()));
    for (CByteCursor* in : {&windowed, &whole}) {
        EXPECT_EQ(in->U8(), 0);
        EXPECT_EQ(in->U32(), 0x04030201u);  // crosses the first window's end
        const auto block = in->Bytes(300);  // larger than the window
        EXPECT_TRUE(std::equal(block.begin(), block.end(), data + 5));
        EXPECT_EQ(in->Position(), 305u);
        EXPECT_EQ(in->Remaining(), 695u);
        in->Skip(694);
        EXPECT_EQ(in->U8(), 999 % 251);
        EXPECT_TRUE(in->AtEnd());
        try {
            in->U8();
            ADD_FAILURE();
        } catch (const CVerdaxException& e) {
            EXPECT_EQ(e.GetCode(), VERDAX_ERR_READ);
        }
    }
}

// A count beyond what is left allocates nothing and runs out, as from memory; a file
// that delivers fewer bytes than its size said (it shrank while read) ends where it
// stops, as a shorter file would.
TEST(ByteCursorOverAFile, EndsWhereTheFileStops)
{
    testsupport::TempDir dir;
    const auto path = dir.Write("short.bin", std::string(10, 'x'));
    const COpenedFile hostile(path);
    CByteCursor counted(hostile.Descriptor(), 10, 4);
    EXPECT_THROW(counted.Bytes(1ull << 40), CVerdaxException);
    EXPECT_TRUE(counted.AtEnd());

    const COpenedFile file(path);
    CByteCursor in(file.Descriptor(), 100, 4);
    in.Skip(8);
    EXPECT_THROW(in.Bytes(5), CVerdaxException);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_THROW(in.U8(), CVerdaxException);
}

}  // namespace
