// Comparing the large benchmark mission (10,000 things) with its game file, as the
// changes panel does after every edit: the mission written to memory, read back
// and compared with the game file read once before. Beside it, its parts, and the
// first comparison, which also reads the game file and what a save makes of it.
//
// usage: verdax_bench_changes [--prefix DIR] [--fresh N] [benchmark options]
//   --prefix DIR  keep the generated game in DIR (reused by later runs; the mission
//                 benchmark's game)
//   --fresh N     instead of the benchmarks: N fresh processes, each loading the
//                 mission and then timing its first comparison and a comparison after
//                 an edit; prints the least, median and most of each
// The mode that --fresh runs in each process: --compare-once.

#include "bench/mission/BenchGame.h"
#include "bench/support/FreshRuns.h"
#include "game/CMission.h"
#include "game/CMissionChanges.h"
#include "model/FileBytes.h"
#include "scene/CSceneSnapshot.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

CBenchGame* g_game = nullptr;

// The mission's objects as the editor holds them; its world model plays no part in
// a comparison and is left out.
std::unique_ptr<CMission> LoadMission()
{
    auto mission = std::make_unique<CMission>(demo::kScaledMission, &g_game->Root());
    const FileBytes file = ReadFileBytes(g_game->MissionFolder() + "scene2.bin");
    std::stringstream stream(std::string(reinterpret_cast<const char*>(file.data.get()), file.size),
                             std::ios::in | std::ios::out | std::ios::binary);
    mission->LoadFrom(stream);
    return mission;
}

CMission& Mission()
{
    static const std::unique_ptr<CMission> mission = LoadMission();
    return *mission;
}

// One thing moved back and forth, as a drag leaves it.
void EditOneThing(CMission& mission, std::int64_t step)
{
    CSceneObjectThing& thing = *mission.GetThings()[static_cast<std::size_t>(step) % mission.GetThings().size()];
    Vector3 at = thing.GetTranslation();
    at.x += step % 2 ? 1.0f : -1.0f;
    thing.SetTranslation(at);
}

void Check(benchmark::State& state, const SceneComparison& comparison)
{
    if (Mission().GetThings().size() != std::size_t(demo::MissionScale{}.things))
        state.SkipWithError("the generated mission did not load whole");
    state.counters["changes"] = static_cast<double>(comparison.changes.size());
    state.counters["by_save"] = static_cast<double>(CountChangesBySave(comparison));
}

// What the panel pays after each edit.
void BM_CompareAfterEdit(benchmark::State& state)
{
    CMissionChanges changes;
    changes.Compare(Mission());
    std::int64_t step = 0;
    for (auto _ : state) {
        EditOneThing(Mission(), ++step);
        benchmark::DoNotOptimize(changes.Compare(Mission()).changes.data());
    }
    Check(state, changes.Compare(Mission()));
}

// The first comparison of a mission: the game file read, and written and read again.
void BM_FirstCompare(benchmark::State& state)
{
    for (auto _ : state) {
        CMissionChanges changes;
        benchmark::DoNotOptimize(changes.Compare(Mission()).changes.data());
    }
}

// The parts of a comparison after an edit, one by one.
struct Parts {
    Parts()
    {
        const FileBytes file = ReadFileBytes(g_game->MissionFolder() + "scene2.bin");
        before.Read(std::string_view(reinterpret_cast<const char*>(file.data.get()), file.size));
        resaved.Read(before.Write());
        after.Read(before.Write(Mission()));
    }
    CSceneSnapshot before;
    CSceneSnapshot resaved;
    CSceneSnapshot after;
};

Parts& SharedParts()
{
    static Parts parts;
    return parts;
}

void BM_WriteMissionToMemory(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SharedParts().before.Write(Mission()).data());
}

void BM_ReadWrittenMissionBack(benchmark::State& state)
{
    Parts& parts = SharedParts();
    const std::string written(parts.before.Write(Mission()));
    for (auto _ : state)
        parts.after.Read(written);
    state.SetBytesProcessed(static_cast<std::int64_t>(written.size()) * state.iterations());
}

void BM_CompareSnapshots(benchmark::State& state)
{
    Parts& parts = SharedParts();
    parts.after.Read(parts.before.Write(Mission()));
    for (auto _ : state)
        benchmark::DoNotOptimize(CompareScenes(parts.before, parts.resaved, parts.after).changes.data());
}

// Least, median and most of the repetitions, beside the mean.
template <class Benchmark>
void WithRange(Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->Repetitions(9)
        ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

BENCHMARK(BM_CompareAfterEdit)->Apply([](auto* b) { WithRange(b); });
BENCHMARK(BM_FirstCompare)->Apply([](auto* b) { WithRange(b); });
BENCHMARK(BM_WriteMissionToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWrittenMissionBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareSnapshots)->Unit(benchmark::kMillisecond);

int CompareOnce()
{
    CMission& mission = Mission();
    CMissionChanges changes;
    bench::MeasureAndPrint("first comparison", [&] { changes.Compare(mission); });
    EditOneThing(mission, 1);
    bench::MeasureAndPrint("comparison after an edit", [&] { changes.Compare(mission); });
    return 0;
}

struct Options {
    fs::path prefix;
    bool once = false;
    int freshRounds = 0;
};

// Takes this program's own options out of argv, leaving Google Benchmark's.
Options TakeOptions(int& argc, char** argv)
{
    Options options;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--prefix") == 0 && i + 1 < argc)
            options.prefix = argv[++i];
        else if (std::strcmp(argv[i], "--fresh") == 0 && i + 1 < argc)
            options.freshRounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--compare-once") == 0)
            options.once = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::FixAllocatorThresholds();
    Options options = TakeOptions(argc, argv);
    const bool temporary = options.prefix.empty();
    if (temporary)
        options.prefix = fs::temp_directory_path() / ("verdax-bench-changes-" + std::to_string(::getpid()));
    int status = 0;
    {
        CBenchGame game(options.prefix);
        g_game = &game;
        if (options.once) {
            status = CompareOnce();
        } else if (options.freshRounds > 0) {
            status = bench::RunFresh(options.freshRounds, {{"--prefix", options.prefix.string(), "--compare-once"}}, {});
        } else {
            benchmark::Initialize(&argc, argv);
            benchmark::RunSpecifiedBenchmarks();
            benchmark::Shutdown();
        }
        g_game = nullptr;
    }
    if (temporary)
        fs::remove_all(options.prefix);
    return status;
}
