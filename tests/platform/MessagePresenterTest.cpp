// Which presenter a message reaches: the one installed for the calling thread, else
// the process's.

#include "platform/MessagePresenter.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

using platform::RecordingPresenter;

TEST(MessagePresenter, AThreadsOwnPresenterTakesItsMessagesAndNoOtherThreads)
{
    RecordingPresenter process;
    const platform::ScopedPresenter processScope(process);
    RecordingPresenter worker;
    std::promise<void> installed;
    std::promise<void> shownHere;
    std::thread thread([&] {
        const platform::ScopedThreadPresenter scope(worker);
        installed.set_value();
        shownHere.get_future().wait();
        platform::Presenter().ShowText("from the worker");
    });
    installed.get_future().wait();
    platform::Presenter().ShowText("from the interface");
    shownHere.set_value();
    thread.join();

    EXPECT_EQ(process.entries, (std::vector<RecordingPresenter::Entry>{{0, "from the interface"}}));
    EXPECT_EQ(worker.entries, (std::vector<RecordingPresenter::Entry>{{0, "from the worker"}}));
}

TEST(MessagePresenter, AThreadPresenterEndsWithItsScope)
{
    RecordingPresenter process;
    const platform::ScopedPresenter processScope(process);
    platform::SilentPresenter silent;
    {
        const platform::ScopedThreadPresenter scope(silent);
        platform::Presenter().ShowText("dropped");
    }
    platform::Presenter().ShowText("shown");
    EXPECT_EQ(process.entries, (std::vector<RecordingPresenter::Entry>{{0, "shown"}}));
}

}  // namespace
