// The main of the start-up tests: the application object is the editor's own, so
// that its InitInstance runs as in the program. CTest runs each test in a process
// of its own, so every test starts the editor afresh, with a settings folder of its
// own: the window's layout is read from and saved to there, never the user's.

#include "app/CVerdaxApp.h"
#include "tests/support/TempDir.h"

#include <QSettings>

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    // Asked before GoogleTest takes its own flags out of the arguments.
    bool listOnly = false;
    for (int i = 1; i < argc; ++i)
        listOnly = listOnly || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    testing::InitGoogleTest(&argc, argv);
    if (listOnly)
        return RUN_ALL_TESTS();

    const testsupport::TempDir settings;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QString::fromStdString(settings.Path().string()));
    setenv("XDG_CONFIG_HOME", settings.Path().c_str(), 1);
    // The editor keeps recovery copies in the user's state folder: never the
    // user's own while testing. A test run as another test's child (an editor to be
    // killed) keeps the folder its parent gave it.
    const testsupport::TempDir state;
    if (!std::getenv("VERDAX_TEST_CHILD"))
        setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
    auto app = std::make_unique<CVerdaxApp>(argc, argv);
    const int result = RUN_ALL_TESTS();
    app->ExitInstance(0);
    app.reset();
    return result;
}
