// Whole files read with one read: what is refused before reading, and the identity
// that tells a file's versions apart.

#include "model/FileBytes.h"

#include "core/CVerdaxException.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

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
