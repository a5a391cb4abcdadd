#include "scene/FileReplacement.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::set<std::string> FolderNames(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A process id that no process has: one of a child that has been waited for.
pid_t GoneProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Whether the folder's file system makes unnamed files; without them a kill while
// writing leaves the named temporary file for the next replacement to remove.
bool MakesUnnamedFiles(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

}  // namespace

// A child replaces the file over and over, alternating two contents, and is killed at
// a random moment: the file holds one of the two whole, never a mixture or nothing.
// A kill while the content is written leaves no file at all (it has no name yet); one
// in the moment between naming and renaming leaves a named temporary file, which the
// next replacement removes.
TEST(FileReplacement, AKilledReplacementLeavesTheOldOrTheNewFileAndNothingElse)
{
    testsupport::TempDir dir;
    const auto target = dir.Path() / "scene2.bin.Verdax";
    const std::string first(1 << 20, 'a');
    const std::string second(1 << 20, 'b');
    ASSERT_EQ(ReplaceFileContent(target, first).result, FileReplacementResult::kDone);
    std::mt19937 random(16);
    int straysAtKill = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (unsigned i = 0;; ++i)
                ReplaceFileContent(target, i % 2 == 0 ? second : first);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const std::string now = testsupport::ReadFile(target);
        EXPECT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " bytes";
        straysAtKill += FolderNames(dir.Path()).size() > 1 ? 1 : 0;
        ASSERT_EQ(ReplaceFileContent(target, first).result, FileReplacementResult::kDone);
        EXPECT_EQ(FolderNames(dir.Path()), std::set<std::string>{"scene2.bin.Verdax"}) << "round " << round;
    }
    // Left by the narrow window between naming and renaming only.
    if (MakesUnnamedFiles(dir.Path())) {
        EXPECT_LE(straysAtKill, 4);
    }
}

TEST(FileReplacement, OnlyStaleTemporaryFilesOfTheSameTargetAreRemoved)
{
    testsupport::TempDir dir;
    const auto target = dir.Path() / "scene2.bin.Verdax";
    const std::string gone = std::to_string(GoneProcess());
    const std::string running = std::to_string(::getppid());
    dir.Write("scene2.bin.Verdax.tmp-" + gone + "-12345", "stale");
    dir.Write("scene2.bin.Verdax.tmp-" + std::to_string(::getpid()) + "-7", "stale, of this process");
    dir.Write("scene2.bin.Verdax.tmp-" + running + "-12345", "another editor's save in progress");
    dir.Write("scene2.bin.Verdax.tmp-" + gone + "-12345.keep", "not our naming");
    dir.Write("scene2.bin.Verdax.tmp-" + gone, "not our naming");
    dir.Write("other.bin.tmp-" + gone + "-1", "another target's");
    ASSERT_EQ(ReplaceFileContent(target, "new").result, FileReplacementResult::kDone);
    EXPECT_EQ(FolderNames(dir.Path()),
              (std::set<std::string>{"scene2.bin.Verdax", "scene2.bin.Verdax.tmp-" + running + "-12345",
                                     "scene2.bin.Verdax.tmp-" + gone + "-12345.keep",
                                     "scene2.bin.Verdax.tmp-" + gone, "other.bin.tmp-" + gone + "-1"}));
    EXPECT_EQ(testsupport::ReadFile(target), "new");
}
