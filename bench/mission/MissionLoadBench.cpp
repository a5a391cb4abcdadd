// The whole mission as the editor loads it (world model with its textures uploaded
// into a headless GL context, the scene file, the links, every thing's model) and
// saves it, at the scale of the game's largest missions, each beside a raw read or
// write of the same files' bytes in the same run.
//
// usage: verdax_bench_mission [--prefix DIR] [--fresh N] [benchmark options]
//   --prefix DIR  keep the generated game in DIR (reused by later runs)
//   --things N    a mission of N things (10,000 without it; the rest as always)
//   --fresh N     instead of the benchmarks: N rounds of fresh processes, each doing
//                 one of the raw read of the distinct files into fresh memory, the
//                 first load of the mission, and its phases one by one; prints the
//                 medians with page faults, and the load's ratio to the raw read
//   --repeat N    instead of the benchmarks: N loads one after the other in this
//                 process, each replacing the last, with the memory held after each
// The modes that --fresh runs, each in a process of its own: --raw-once, --load-once
// (which also prints the process's peak memory), --phases.

#include "bench/mission/BenchGame.h"
#include "bench/support/BenchArguments.h"
#include "bench/support/BenchPrefix.h"
#include "bench/support/FreshRuns.h"
#include "game/CMission.h"
#include "model/C4dsModel.h"
#include "model/CTextureManager.h"
#include "model/FileBytes.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <map>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

CBenchGame* g_game = nullptr;

// A load as the user meets it: a fresh mission, and textures not yet in the cache.
// Nor is any model's geometry: clearing the texture cache retires it, and the models
// of the previous iteration's mission, which held it, are gone.
std::unique_ptr<CMission> LoadMission()
{
    CTextureManager::Instance().Clear();
    auto mission = std::make_unique<CMission>(demo::kScaledMission, &g_game->Root());
    mission->Load();
    return mission;
}

void CheckScale(benchmark::State& state, const CMission& mission)
{
    const demo::MissionScale& scale = g_game->Scale();
    if (mission.GetThings().size() != std::size_t(scale.things) ||
        mission.GetThingData().size() != std::size_t(scale.thingData) ||
        mission.GetWorldModel().GetFrames().size() != std::size_t(scale.worldFrames))
        state.SkipWithError("the generated mission did not load whole");
}

void BM_MissionLoad(benchmark::State& state)
{
    // One load first, untimed: every repetition then starts from the heap a load
    // leaves behind, where the first would otherwise pay for thousands of pages
    // that the later ones reuse. The first load proper is --fresh's to measure.
    LoadMission().reset();
    std::int64_t faults = 0;
    for (auto _ : state) {
        const std::int64_t before = bench::MinorFaults();
        auto mission = LoadMission();
        faults += bench::MinorFaults() - before;
        state.PauseTiming();  // the editor frees a mission only at exit
        CheckScale(state, *mission);
        mission.reset();
        state.ResumeTiming();
    }
    state.counters["faults"] = benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
    state.counters["textures"] = static_cast<double>(CTextureManager::Instance().GetCount());
    state.SetBytesProcessed(static_cast<std::int64_t>(g_game->Bytes(g_game->DistinctFiles())) * state.iterations());
}

// Every file's bytes in memory of its own, all held until the last is read: as much
// fresh memory as the files hold, which is what a load must at least touch.
void ReadAllOnce(const std::vector<std::string>& files)
{
    std::vector<FileBytes> held;
    held.reserve(files.size());
    for (const std::string& file : files)
        held.push_back(ReadFileBytes(file));
    benchmark::DoNotOptimize(held.data());
}

void ReadAll(benchmark::State& state, const std::vector<std::string>& files)
{
    bench::TimedWithFaults(state, [&] { ReadAllOnce(files); });
    state.counters["files"] = static_cast<double>(files.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(g_game->Bytes(files)) * state.iterations());
}

// The files the load reads, each once: what is on disk.
void BM_RawReadDistinctFiles(benchmark::State& state)
{
    ReadAll(state, g_game->DistinctFiles());
}

// The files as often as a load without shared geometry would read them: each thing
// its model file. The load reads each model file once; the things that name it share
// what was read, and only look up the file's identity.
void BM_RawReadAsLoaded(benchmark::State& state)
{
    ReadAll(state, g_game->FilesAsLoaded());
}

CMission& LoadedMission()
{
    static const std::unique_ptr<CMission> mission = LoadMission();
    return *mission;
}

fs::path OutputPath()
{
    return platform::FileSystem().Resolve(g_game->MissionFolder() + "scene2.bin.Verdax");
}

void BM_MissionSave(benchmark::State& state)
{
    CMission& mission = LoadedMission();
    for (auto _ : state)
        mission.Save();
    state.SetBytesProcessed(static_cast<std::int64_t>(fs::file_size(OutputPath())) * state.iterations());
}

// The saved file's bytes written at once to a new file, with and without making
// them durable as the save does (flush to disk, rename, flush the folder).
void RawWrite(benchmark::State& state, bool durable)
{
    const std::string bytes = [] {
        LoadedMission().Save();
        std::ifstream in(OutputPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    const fs::path target = OutputPath().parent_path() / "raw-write.bin";
    for (auto _ : state) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            state.SkipWithError("raw write failed");
        if (durable)
            ::fsync(fd);
        ::close(fd);
    }
    fs::remove(target);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size()) * state.iterations());
}

void BM_RawWrite(benchmark::State& state)
{
    RawWrite(state, false);
}

void BM_RawWriteDurable(benchmark::State& state)
{
    RawWrite(state, true);
}

BENCHMARK(BM_RawReadDistinctFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawReadAsLoaded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MissionLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteDurable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MissionSave)->Unit(benchmark::kMillisecond);

// The usual table, then each mission operation as a multiple of its raw baseline:
// loads in processor time, which other work on the machine does not sway; saves in
// elapsed time, since waiting for the disk is their cost.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")) {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuTimes_[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
    }

    void PrintRatios() const
    {
        Ratio("load / raw read of the files (processor time)", "BM_MissionLoad", "BM_RawReadDistinctFiles", cpuTimes_);
        Ratio("load / raw read of each thing's model file (processor time)", "BM_MissionLoad", "BM_RawReadAsLoaded",
              cpuTimes_);
        Ratio("save / raw write", "BM_MissionSave", "BM_RawWrite", times_);
        Ratio("save / raw durable write", "BM_MissionSave", "BM_RawWriteDurable", times_);
    }

private:
    static void Ratio(const char* label, const char* measured, const char* baseline,
                      const std::map<std::string, double>& times)
    {
        const auto m = times.find(measured);
        const auto b = times.find(baseline);
        if (m != times.end() && b != times.end() && b->second > 0)
            std::cout << label << ": " << m->second / b->second << '\n';
    }

    std::map<std::string, double> times_;
    std::map<std::string, double> cpuTimes_;
};

double PeakMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

int LoadOnce()
{
    const double before = PeakMiB();
    std::unique_ptr<CMission> mission;
    bench::MeasureAndPrint("mission load", [&] { mission = LoadMission(); });
    std::cout << mission->GetThings().size() << " things, " << CTextureManager::Instance().GetCount()
              << " textures; peak RSS before the load: " << before << " MiB, after: " << PeakMiB() << " MiB\n";
    return 0;
}

int RawReadOnce()
{
    bench::MeasureAndPrint("raw read", [] { ReadAllOnce(g_game->DistinctFiles()); });
    return 0;
}

// The load's parts one after the other, each on what the one before left: the
// textures, the world model's geometry (its textures now cached), then the scene
// file and the things' models (the world's geometry now shared).
int PhasesOnce()
{
    CTextureManager::Instance().Clear();
    bench::MeasureAndPrint("phase 1: textures", [] {
        for (const std::string& name : g_game->TextureNames())
            CTextureManager::Instance().GetTexture(name);
    });
    C4dsModel world;
    bench::MeasureAndPrint("phase 2: world model", [&] { world.Load(g_game->MissionFolder() + "scene.4ds", true); });
    auto mission = std::make_unique<CMission>(demo::kScaledMission, &g_game->Root());
    bench::MeasureAndPrint("phase 3: scene file and thing models", [&] { mission->Load(); });
    return 0;
}

double CurrentMiB()
{
    std::ifstream statm("/proc/self/statm");
    double pages = 0;
    double resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The same mission loaded again and again, each load's mission freed before the next:
// what one load leaves behind (its textures' GL objects, once) shows as growth.
int RepeatLoads(int count)
{
    std::unique_ptr<CMission> mission;
    for (int i = 1; i <= count; ++i) {
        mission.reset();
        mission = LoadMission();
        std::cout << "load " << i << ": resident " << CurrentMiB() << " MiB\n";
    }
    return 0;
}

int RunFreshRounds(const fs::path& prefix, int rounds)
{
    g_game->DistinctFiles();  // listed before the children look for the list
    const std::vector<std::string> base = {"--prefix", prefix.string(), "--things",
                                           std::to_string(g_game->Scale().things)};
    auto with = [&](const char* mode) {
        auto arguments = base;
        arguments.emplace_back(mode);
        return arguments;
    };
    return bench::RunFresh(rounds, {with("--raw-once"), with("--load-once"), with("--phases")},
                           {{"mission load / raw read into fresh memory", "mission load", "raw read"}});
}

// Takes this program's own options out of argv, leaving Google Benchmark's.
struct Options {
    std::string once;  // the mode of a child process, or empty
    int freshRounds = 0;
    int repeat = 0;
};

Options TakeOptions(int& argc, char** argv)
{
    Options options;
    options.repeat = bench::TakeNumber(argc, argv, "--repeat");
    options.freshRounds = bench::TakeNumber(argc, argv, "--fresh");
    for (const char* mode : {"--load-once", "--raw-once", "--phases"}) {
        if (bench::TakeFlag(argc, argv, mode))
            options.once = mode;
    }
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::FixAllocatorThresholds();
    const demo::MissionScale scale = bench::TakeScale(argc, argv);
    const bench::CBenchPrefix prefix(argc, argv, "mission");
    const Options options = TakeOptions(argc, argv);
    int status = 0;
    {
        CBenchGame game(prefix.Path(), scale);
        g_game = &game;
        if (!game.HasGl())
            std::cerr << "no headless GL context (" << game.GlFailure() << "): textures are not uploaded\n";
        if (options.once == "--load-once") {
            status = LoadOnce();
        } else if (options.once == "--raw-once") {
            status = RawReadOnce();
        } else if (options.once == "--phases") {
            status = PhasesOnce();
        } else if (options.repeat > 0) {
            status = RepeatLoads(options.repeat);
        } else if (options.freshRounds > 0) {
            status = RunFreshRounds(prefix.Path(), options.freshRounds);
        } else {
            game.DistinctFiles();  // a first load warms the page cache for every benchmark
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
