// The main of the start-up tests: the application object is the editor's own, so
// that its InitInstance runs as in the program. CTest runs each test in a process
// of its own, so every test starts the editor afresh.

#include "app/CVerdaxApp.h"

#include <gtest/gtest.h>

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

    auto app = std::make_unique<CVerdaxApp>(argc, argv);
    const int result = RUN_ALL_TESTS();
    app->ExitInstance(0);
    app.reset();
    return result;
}
