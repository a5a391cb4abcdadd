// The changes panel on the large benchmark mission (10,000 things): what one
// refresh costs after an edit (the mission compared with its game file, the rows
// made and the list filled), and the first refresh of a new panel, which also
// reads the game file. Runs on Qt's offscreen platform unless another is set.
//
// usage: verdax_bench_changes_panel [--prefix DIR] [benchmark options]
//   --prefix DIR  keep the generated game in DIR (the mission benchmark's game)

#include "bench/mission/BenchGame.h"
#include "bench/support/FreshRuns.h"
#include "game/CMission.h"
#include "model/FileBytes.h"
#include "ui/CChangesPanel.h"
#include "ui/CItemTreeView.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

CBenchGame* g_game = nullptr;

// The mission's objects as the editor holds them; its world model plays no part.
std::unique_ptr<CMission> LoadMission()
{
    auto mission = std::make_unique<CMission>(demo::kScaledMission, &g_game->Root());
    const FileBytes file = ReadFileBytes(g_game->MissionFolder() + "scene2.bin");
    std::stringstream stream(std::string(reinterpret_cast<const char*>(file.data.get()), file.size),
                             std::ios::in | std::ios::out | std::ios::binary);
    mission->LoadFrom(stream);
    return mission;
}

// The mission selected in a tree, as the panel finds it.
struct Editor {
    Editor() : mission(LoadMission())
    {
        tree.setCurrentItem(tree.AddMissionItem(mission.get()));
    }
    std::unique_ptr<CMission> mission;  // outlives the tree's items
    ui::CItemTreeView tree;
};

Editor* g_editor = nullptr;

Editor& TheEditor()
{
    return *g_editor;
}

void EditOneThing(CMission& mission, std::int64_t step)
{
    CSceneObjectThing& thing = *mission.GetThings()[static_cast<std::size_t>(step) % mission.GetThings().size()];
    Vector3 at = thing.GetTranslation();
    at.x += step % 2 ? 1.0f : -1.0f;
    thing.SetTranslation(at);
}

void BM_PanelRefreshAfterEdit(benchmark::State& state)
{
    Editor& editor = TheEditor();
    ui::CChangesPanel panel(&editor.tree);
    panel.resize(400, 800);
    panel.show();
    panel.Refresh();
    std::int64_t step = 0;
    for (auto _ : state) {
        EditOneThing(*editor.mission, ++step);
        panel.Refresh();
        QApplication::processEvents();  // the list's repaint
    }
    state.counters["rows"] = static_cast<double>(panel.Rows().size());
}

void BM_PanelFirstRefresh(benchmark::State& state)
{
    Editor& editor = TheEditor();
    for (auto _ : state) {
        ui::CChangesPanel panel(&editor.tree);
        panel.Refresh();
        benchmark::DoNotOptimize(panel.Rows().data());
    }
}

template <class Benchmark>
void WithRange(Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->Repetitions(9)
        ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

BENCHMARK(BM_PanelRefreshAfterEdit)->Apply([](auto* b) { WithRange(b); });
BENCHMARK(BM_PanelFirstRefresh)->Apply([](auto* b) { WithRange(b); });

// Takes --prefix DIR out of argv, leaving Google Benchmark's options.
fs::path TakePrefix(int& argc, char** argv)
{
    fs::path prefix;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--prefix") == 0 && i + 1 < argc)
            prefix = argv[++i];
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return prefix;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    bench::FixAllocatorThresholds();
    QApplication app(argc, argv);
    fs::path prefix = TakePrefix(argc, argv);
    const bool temporary = prefix.empty();
    if (temporary)
        prefix = fs::temp_directory_path() / ("verdax-bench-panel-" + std::to_string(::getpid()));
    {
        CBenchGame game(prefix);
        g_game = &game;
        {
            Editor editor;
            g_editor = &editor;
            benchmark::Initialize(&argc, argv);
            benchmark::RunSpecifiedBenchmarks();
            benchmark::Shutdown();
            g_editor = nullptr;
        }
        g_game = nullptr;
    }
    if (temporary)
        fs::remove_all(prefix);
    return 0;
}
