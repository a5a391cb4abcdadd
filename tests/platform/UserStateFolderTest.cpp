#include "platform/UserStateFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using platform::UserStateFolder;

namespace {

TEST(UserStateFolder, AnAbsoluteXdgStateHomeWinsAndAnyOtherFallsBackToHome)
{
    EXPECT_EQ(UserStateFolder("/srv/state", "/home/ann"), std::filesystem::path("/srv/state"));
    EXPECT_EQ(UserStateFolder(nullptr, "/home/ann"), std::filesystem::path("/home/ann/.local/state"));
    EXPECT_EQ(UserStateFolder("", "/home/ann"), std::filesystem::path("/home/ann/.local/state"));
    // A relative path is invalid under the XDG rules and is ignored.
    EXPECT_EQ(UserStateFolder("state", "/home/ann"), std::filesystem::path("/home/ann/.local/state"));
    EXPECT_EQ(UserStateFolder("./state", nullptr), std::nullopt);
    EXPECT_EQ(UserStateFolder(nullptr, "home/ann"), std::nullopt);
}

TEST(UserStateFolder, FollowsTheEnvironment)
{
    const char* saved = std::getenv("XDG_STATE_HOME");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
    setenv("XDG_STATE_HOME", "/tmp/verdax-state-test", 1);
    EXPECT_EQ(UserStateFolder(), std::filesystem::path("/tmp/verdax-state-test"));
    setenv("XDG_STATE_HOME", "relative", 1);
    const auto fallback = UserStateFolder();
    ASSERT_TRUE(fallback);
    EXPECT_TRUE(fallback->is_absolute());
    EXPECT_EQ(fallback->filename(), "state");
    if (previous)
        setenv("XDG_STATE_HOME", previous->c_str(), 1);
    else
        unsetenv("XDG_STATE_HOME");
}

}  // namespace
