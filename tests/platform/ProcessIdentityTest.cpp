#include "platform/ProcessIdentity.h"

#include "tests/support/NamedChild.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using platform::IdentityOf;
using platform::IsRunningProgram;
using platform::ProcessIdentity;
using testsupport::NamedChild;

namespace {

TEST(ProcessIdentity, ThisProcessIsKnownByIdStartAndBoot)
{
    const ProcessIdentity& self = platform::CurrentProcess();
    EXPECT_EQ(self.pid, ::getpid());
    EXPECT_GT(self.startTicks, 0u);
    EXPECT_EQ(self.bootId.size(), 36u) << self.bootId;
    EXPECT_EQ(IdentityOf(::getpid()), self);
}

// A child that has become the program "verdax" runs as it until it is killed; its
// id with another start time (the id given to a later process) is not it.
TEST(ProcessIdentity, ARunningProgramIsToldByNameUntilItIsGone)
{
    testsupport::TempDir dir;
    NamedChild child(dir.Path(), "verdax");
    const auto identity = IdentityOf(child.Pid());
    ASSERT_TRUE(identity);
    EXPECT_EQ(platform::ProgramName(child.Pid()), "verdax");
    EXPECT_TRUE(IsRunningProgram(*identity, "verdax"));
    EXPECT_FALSE(IsRunningProgram(*identity, "sleep"));

    ProcessIdentity recycled = *identity;
    recycled.startTicks += 1;
    EXPECT_FALSE(IsRunningProgram(recycled, "verdax"));
    ProcessIdentity otherBoot = *identity;
    otherBoot.bootId = "00000000-0000-0000-0000-000000000000";
    EXPECT_FALSE(IsRunningProgram(otherBoot, "verdax"));

    // Killed and not yet reaped: a zombie runs nothing.
    child.KillWithoutReaping();
    for (int i = 0; i < 200 && IdentityOf(child.Pid()); ++i)
        ::usleep(5000);
    EXPECT_EQ(IdentityOf(child.Pid()), std::nullopt);
    EXPECT_FALSE(IsRunningProgram(*identity, "verdax"));
    const pid_t pid = child.Pid();
    child.Kill();
    EXPECT_FALSE(IsRunningProgram(*identity, "verdax"));
    EXPECT_EQ(platform::ProgramName(pid), std::nullopt);
}

// A program replaced on disk while it runs (an update) is still that program.
TEST(ProcessIdentity, AProgramDeletedSinceItStartedKeepsItsName)
{
    testsupport::TempDir dir;
    NamedChild child(dir.Path(), "verdax");
    std::filesystem::remove(child.Program());
    EXPECT_EQ(platform::ProgramName(child.Pid()), "verdax");
}

}  // namespace
