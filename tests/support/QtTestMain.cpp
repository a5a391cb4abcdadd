// The main of the widget tests: the QApplication exists before any test runs, as
// widgets need it. Without a display the tests use Qt's offscreen platform; listing
// the tests (as CTest's discovery does at build time) needs no application at all.

#include <QApplication>

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

bool ListsTestsOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    // Asked before GoogleTest takes its own flags out of the arguments.
    const bool listOnly = ListsTestsOnly(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    if (listOnly)
        return RUN_ALL_TESTS();

    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The editor keeps recovery copies in the user's state folder: never the
    // user's own while testing.
    const testsupport::TempDir state;
    setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
    auto app = std::make_unique<QApplication>(argc, argv);
    const int result = RUN_ALL_TESTS();
    app.reset();
    return result;
}
