// The search of every mission of the large benchmark game (verdax-tool find, the
// editor's "Найти во всех миссиях") beside reading the same scene files into memory
// (their objects, as the search reads them, and their raw bytes), in the same run.
// Processor time counts every thread of the process: the search reads and matches
// on a worker of its own.
//
// usage: verdax_bench_find [--prefix DIR] [--fresh N] [benchmark options]
//   --prefix DIR  keep the generated game in DIR (reused by later runs; the same
//                 game as verdax_bench_mission's)
//   --fresh N     instead of the benchmarks: N rounds of fresh processes, each doing
//                 one of the raw read, the read into objects and one search once;
//                 prints the median (least to most) of each and the searches' ratios
//                 to the read into objects and to the raw read
// The modes that --fresh runs, each in a process of its own: --raw-once,
// --read-once, --find-once QUERY (plain, regex or case).

#include "bench/mission/BenchGame.h"
#include "bench/support/BenchArguments.h"
#include "bench/support/BenchPrefix.h"
#include "bench/support/FreshRuns.h"
#include "game/CMission.h"
#include "game/CMissionFileSource.h"
#include "game/CMissionSearch.h"
#include "model/FileBytes.h"
#include "platform/CodePage.h"
#include "scene/ISceneFileOwner.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>

namespace {

namespace fs = std::filesystem;

CBenchGame* g_game = nullptr;

struct Query {
    const char* name;
    const char* pattern;
    CTextMatcher::Options options;
};

// A name, as a user looks for one thing (a dozen matches); a word of the scripts
// found in about one text of ten; the same as a regular expression; and one that
// the case rules out.
const Query kQueries[] = {
    {"name", "THING_471", {false, false}},
    {"broad", "STEP_4", {false, false}},
    {"regex", "step_4\\d", {true, false}},
    {"case", "STEP_4", {false, true}},
};

std::vector<fs::path> SceneFiles()
{
    std::vector<fs::path> files;
    for (const auto& mission : CMissionSearch::MissionsOf(g_game->Root()))
        files.push_back(static_cast<const CMissionFileSource&>(*mission).GetSceneFilePath());
    return files;
}

// Every scene file's bytes in fresh memory, as many as a search reads.
void RawReadOnce(const std::vector<fs::path>& files)
{
    for (const fs::path& file : files)
        benchmark::DoNotOptimize(ReadResolvedFileBytes(file).data.get());
}

// Every mission's objects read from its scene file, one mission after the other, as
// the search reads them.
std::size_t ReadObjectsOnce()
{
    std::size_t objects = 0;
    for (const auto& mission : CMissionSearch::MissionsOf(g_game->Root())) {
        const ISceneFileOwner& read = mission->GetObjects();
        objects += read.GetThings().size() + read.GetThingData().size() + read.GetMissionScripts().size();
        mission->Release();
    }
    return objects;
}

std::size_t FindOnce(const Query& query)
{
    CMissionSearch search(CMissionSearch::MissionsOf(g_game->Root()),
                          CTextMatcher(query.pattern, query.options, platform::AnsiCodePage()), {});
    std::size_t matches = 0;
    for (;;) {
        search.Wait();
        const CMissionSearch::Progress progress = search.Take();
        for (const MissionSearchOutcome& outcome : progress.outcomes)
            matches += outcome.read ? outcome.matches.size() : 0;
        if (progress.finished)
            return matches;
    }
}

void BM_RawReadSceneFiles(benchmark::State& state)
{
    const auto files = SceneFiles();
    bench::TimedWithFaults(state, [&] { RawReadOnce(files); });
}

void BM_ReadSceneObjects(benchmark::State& state)
{
    std::size_t objects = 0;
    bench::TimedWithFaults(state, [&] { objects = ReadObjectsOnce(); });
    state.counters["objects"] = static_cast<double>(objects);
}

void BM_Find(benchmark::State& state)
{
    const Query& query = kQueries[state.range(0)];
    state.SetLabel(query.name);
    std::size_t matches = 0;
    bench::TimedWithFaults(state, [&] { matches = FindOnce(query); });
    state.counters["matches"] = static_cast<double>(matches);
}

BENCHMARK(BM_RawReadSceneFiles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ReadSceneObjects)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_Find)->DenseRange(0, std::size(kQueries) - 1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The usual table, then each search as a multiple of reading the same files, in
// processor time (all threads).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
                cpuTimes_[run.run_name.function_name +
                          (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] = run.GetAdjustedCPUTime();
        }
    }

    void PrintRatios() const
    {
        for (const Query& query : kQueries) {
            const std::string find = "BM_Find/" + std::to_string(&query - kQueries);
            Ratio(std::string("find (") + query.name + ") / read into objects", find, "BM_ReadSceneObjects");
            Ratio(std::string("find (") + query.name + ") / raw read", find, "BM_RawReadSceneFiles");
        }
    }

private:
    void Ratio(const std::string& label, const std::string& measured, const std::string& baseline) const
    {
        const auto m = cpuTimes_.find(measured);
        const auto b = cpuTimes_.find(baseline);
        if (m != cpuTimes_.end() && b != cpuTimes_.end() && b->second > 0)
            std::cout << label << ": " << m->second / b->second << '\n';
    }

    std::map<std::string, double> cpuTimes_;
};

int RunFreshRounds(const fs::path& prefix, int rounds)
{
    std::vector<std::vector<std::string>> modes;
    for (const char* mode : {"--raw-once", "--read-once"})
        modes.push_back({"--prefix", prefix.string(), mode});
    for (const Query& query : kQueries)
        modes.push_back({"--prefix", prefix.string(), "--find-once", query.name});
    std::vector<bench::FreshRatio> ratios;
    for (const Query& query : kQueries) {
        const std::string find = std::string("find ") + query.name;
        ratios.push_back({find + " / read into objects", find, "read into objects"});
        ratios.push_back({find + " / raw read", find, "raw read"});
    }
    return bench::RunFresh(rounds, modes, ratios);
}

int RunOnce(const std::string& mode, const std::string& queryName)
{
    if (mode == "--raw-once") {
        const auto files = SceneFiles();
        bench::MeasureAndPrint("raw read", [&] { RawReadOnce(files); });
    } else if (mode == "--read-once") {
        bench::MeasureAndPrint("read into objects", [] { ReadObjectsOnce(); });
    } else {
        for (const Query& query : kQueries) {
            if (query.name == queryName)
                bench::MeasureAndPrint(std::string("find ") + query.name, [&] { FindOnce(query); });
        }
    }
    return 0;
}

struct Options {
    std::string once;
    std::string query;  // of --find-once
    int freshRounds = 0;
};

// Takes this program's own options out of argv, leaving Google Benchmark's.
Options TakeOptions(int& argc, char** argv)
{
    Options options;
    options.freshRounds = bench::TakeNumber(argc, argv, "--fresh");
    for (const char* mode : {"--raw-once", "--read-once"}) {
        if (bench::TakeFlag(argc, argv, mode))
            options.once = mode;
    }
    if (auto query = bench::TakeOption(argc, argv, "--find-once")) {
        options.once = "--find-once";
        options.query = *query;
    }
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::FixAllocatorThresholds();
    const bench::CBenchPrefix prefix(argc, argv, "find");
    const Options options = TakeOptions(argc, argv);
    int status = 0;
    {
        CBenchGame game(prefix.Path());
        g_game = &game;
        game.Root().ListMissions();
        if (!options.once.empty()) {
            status = RunOnce(options.once, options.query);
        } else if (options.freshRounds > 0) {
            status = RunFreshRounds(prefix.Path(), options.freshRounds);
        } else {
            ReadObjectsOnce();  // the page cache holds the files for every benchmark
            benchmark::Initialize(&argc, argv);
            RatioReporter reporter;
            benchmark::RunSpecifiedBenchmarks(&reporter);
            reporter.PrintRatios();
            benchmark::Shutdown();
        }
        g_game = nullptr;
    }
    return status;
}
