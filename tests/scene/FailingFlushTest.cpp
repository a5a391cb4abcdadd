// The save's order against a flush that fails: the new file must be on disk before
// it takes the old output's place, so a failing flush leaves the old output whole.
//
// This program's own fsync and fdatasync stand in for the C library's (the
// executable's definitions come first when symbols are bound) and fail while armed.

#include "core/CVerdaxException.h"
#include "platform/MessagePresenter.h"
#include "scene/CScene2File.h"
#include "tests/scene/SceneOwner.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

using testsupport::FolderNames;

bool g_flushFails = false;
int g_failedFlushes = 0;

int Flush(long call, int fd)
{
    if (g_flushFails) {
        ++g_failedFlushes;
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(call, fd));
}

}  // namespace

extern "C" int fsync(int fd)
{
    return Flush(SYS_fsync, fd);
}

extern "C" int fdatasync(int fd)
{
    return Flush(SYS_fdatasync, fd);
}

TEST(Scene2FileSave, AFlushThatFailsLeavesThePreviousOutputWhole)
{
    testsupport::TempDir dir;
    const auto previous = dir.Write("scene2.bin.Verdax", "previous output");
    TestSceneOwner owner(dir.Path());
    owner.things.push_back(std::make_unique<CSceneObjectThing>());
    CScene2File file;
    file.SetOwner(&owner);
    platform::RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);

    g_flushFails = true;
    EXPECT_THROW(file.Write(), CVerdaxException);
    g_flushFails = false;
    EXPECT_GT(g_failedFlushes, 0) << "the save never flushed its file";
    EXPECT_EQ(testsupport::ReadFile(previous), "previous output");
    EXPECT_EQ(FolderNames(dir.Path()), std::set<std::string>{"scene2.bin.Verdax"});

    file.Write();
    EXPECT_NE(testsupport::ReadFile(previous), "previous output");
}
