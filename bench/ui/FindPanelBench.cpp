// The search panel ("Найти во всех миссиях") on a large game: how long the
// interface thread is held while every mission is searched, and how soon the first
// results show. The game holds N missions (20 unless told), each as large as the
// scaled benchmark mission (10,000 things, 2,000 thing data with scripts, 200
// mission scripts): their object files only, which is all a search reads.
//
// Every event the interface thread handles while a search runs is timed (the start
// itself is posted as one); the figures are the least, median and most of several
// rounds of:
//   start      the click on "Найти" as the interface thread handles it (the missions
//              loaded in the editor are searched there)
//   first      from the click until the first rows are in the list
//   whole      from the click until the search has ended and the list holds it all
//   longest    the longest single event of the interface thread meanwhile
//   busy       all the interface thread's events meanwhile, summed
//   longest cpu, busy cpu   the same in the interface thread's processor time (on a machine
//              shared with other work, elapsed times count the others' turns too)
//
// usage: verdax_bench_find_panel [--prefix DIR] [--missions N] [--rounds R] [--loaded]
//   --prefix DIR  keep the generated game in DIR (reused by later runs)
//   --loaded      the first mission is loaded in the editor and searched in memory
// Runs on Qt's offscreen platform unless another is set.

#include "core/GameFolders.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "platform/FileSystem.h"
#include "platform/MessagePresenter.h"
#include "platform/Registry.h"
#include "tools/demo/DemoGame.h"
#include "tools/demo/ScaledMission.h"
#include "ui/CMissionSearchPanel.h"
#include "ui/CSearchResultModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Processor time of the calling thread.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Times each event the interface thread handles at the outermost level.
class TimingApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!recording || depth_ > 0 || QThread::currentThread() != thread()) {
            ++depth_;
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        ++depth_;
        const Clock::time_point start = Clock::now();
        const double cpuStart = ThreadCpuMs();
        const bool handled = QApplication::notify(receiver, event);
        const double ms = Ms(Clock::now() - start);
        const double cpuMs = ThreadCpuMs() - cpuStart;
        busyCpu += cpuMs;
        longestCpu = std::max(longestCpu, cpuMs);
        --depth_;
        longest = std::max(longest, ms);
        busy += ms;
        return handled;
    }

    bool recording = false;
    double longest = 0.0;
    double busy = 0.0;
    double busyCpu = 0.0;
    double longestCpu = 0.0;

private:
    int depth_ = 0;
};

struct Round {
    double start = 0.0, first = 0.0, whole = 0.0, longest = 0.0, busy = 0.0, busyCpu = 0.0, longestCpu = 0.0;
    std::size_t rows = 0;
};

Round SearchOnce(TimingApplication& app, ui::CMissionSearchPanel& panel)
{
    Round round;
    Clock::time_point clicked;
    bool started = false;
    bool firstSeen = false;
    const auto connection = QObject::connect(panel.Results(), &QAbstractItemModel::rowsInserted, [&] {
        if (!firstSeen)
            round.first = Ms(Clock::now() - clicked);
        firstSeen = true;
    });
    app.longest = app.busy = app.busyCpu = app.longestCpu = 0.0;
    app.recording = true;
    clicked = Clock::now();
    QMetaObject::invokeMethod(&panel, [&] {
        const Clock::time_point begin = Clock::now();
        panel.StartSearch();
        round.start = Ms(Clock::now() - begin);
        started = true;
    }, Qt::QueuedConnection);
    while (!started || panel.Session().IsRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();  // the list's layout and paint of the last rows
    round.whole = Ms(Clock::now() - clicked);
    app.recording = false;
    round.longest = app.longest;
    round.busy = app.busy;
    round.busyCpu = app.busyCpu;
    round.longestCpu = app.longestCpu;
    round.rows = panel.Session().Rows().size();
    QObject::disconnect(connection);
    return round;
}

void Print(const char* label, std::vector<Round> rounds, double Round::*figure)
{
    std::ranges::sort(rounds, {}, figure);
    std::printf("  %-12s %9.1f %9.1f %9.1f ms\n", label, rounds.front().*figure, rounds[rounds.size() / 2].*figure,
                rounds.back().*figure);
}

void WriteGame(const fs::path& prefix, int missions)
{
    if (fs::exists(prefix / "find-panel-game" ) && fs::exists(prefix / "system.reg"))
        return;
    demo::FileMap files;
    files["system.reg"] = demo::DemoSystemReg(demo::kDemoInstallFolder);
    const std::string scene = demo::ScaledSceneFile({});
    for (int m = 0; m < missions; ++m) {
        char name[16];
        std::snprintf(name, sizeof name, "m%03d", m);
        files[std::string(demo::kDemoInstallPath) + "/Missions/" + name + "/scene2.bin"] = scene;
    }
    files["find-panel-game"] = std::to_string(missions);
    demo::WritePrefix(prefix, files);
}

struct Options {
    fs::path prefix;
    int missions = 20;
    int rounds = 5;
    bool loaded = false;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--prefix") == 0 && i + 1 < argc)
            options.prefix = argv[++i];
        else if (std::strcmp(argv[i], "--missions") == 0 && i + 1 < argc)
            options.missions = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            options.rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--loaded") == 0)
            options.loaded = true;
    }
    return options;
}

// A name found a handful of times, a word of the scripts found in about one line
// of ten, and a word every thing's name holds (a row per thing of every mission).
constexpr const char* kPatterns[] = {"THING_471", "STEP_4", "thing_"};

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Options options = ParseOptions(argc, argv);
    const bool temporary = options.prefix.empty();
    if (temporary)
        options.prefix = fs::temp_directory_path() / ("verdax-bench-find-panel-" + std::to_string(::getpid()));
    WriteGame(options.prefix, options.missions);

    TimingApplication app(argc, argv);
    platform::SilentPresenter silent;  // the loaded mission's models are not there
    platform::ScopedPresenter presenter(silent);
    platform::CWineRegistry registry(options.prefix);
    platform::CWineFileSystem files(options.prefix);
    platform::SetRegistry(&registry);
    platform::SetFileSystem(&files);
    {
        CDravoRoot root;
        SetGameFolders(&root);
        root.SetInstallFolder(CDravoRoot::ReadInstallFolder());
        root.ListMissions();
        if (options.loaded)
            root.GetMissions().front()->Load();
        ui::CMissionSearchPanel panel;
        panel.SetMissionList([&root] { return CMissionSearch::MissionsOf(root); });
        panel.resize(1000, 400);
        panel.show();
        QCoreApplication::processEvents();

        std::printf("%zu missions of 12,200 objects%s; least, median, most of %d rounds\n", root.GetMissions().size(),
                    options.loaded ? ", the first loaded in the editor" : "", options.rounds);
        for (const char* pattern : kPatterns) {
            panel.PatternField()->setText(QString::fromUtf8(pattern));
            std::vector<Round> rounds;
            for (int r = 0; r < options.rounds; ++r)
                rounds.push_back(SearchOnce(app, panel));
            std::printf("\"%s\": %zu rows\n", pattern, rounds.front().rows);
            Print("start", rounds, &Round::start);
            Print("first", rounds, &Round::first);
            Print("whole", rounds, &Round::whole);
            Print("longest", rounds, &Round::longest);
            Print("longest cpu", rounds, &Round::longestCpu);
            Print("busy", rounds, &Round::busy);
            Print("busy cpu", rounds, &Round::busyCpu);
        }
        SetGameFolders(nullptr);
    }
    platform::SetFileSystem(nullptr);
    platform::SetRegistry(nullptr);
    if (temporary)
        fs::remove_all(options.prefix);
    return 0;
}
