#include "bench/support/FreshRuns.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <malloc.h>
#include <map>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace bench {
namespace {

constexpr const char* kFigureMark = "fresh-figure";

std::string Quoted(const std::string& argument)
{
    std::string quoted = "'";
    for (const char c : argument)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The figures one child printed, by name.
std::map<std::string, FreshFigure> RunChild(const std::vector<std::string>& arguments)
{
    std::string command = Quoted("/proc/" + std::to_string(::getpid()) + "/exe");
    for (const std::string& argument : arguments)
        command += " " + Quoted(argument);
    std::map<std::string, FreshFigure> figures;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return figures;
    std::array<char, 512> line{};
    while (std::fgets(line.data(), static_cast<int>(line.size()), pipe)) {
        std::istringstream in(line.data());
        std::string mark;
        std::string name;
        FreshFigure figure;
        if (in >> mark >> figure.ms >> figure.cpuMs >> figure.faults && mark == kFigureMark && std::getline(in >> std::ws, name)) {
            while (!name.empty() && name.back() == '\n')
                name.pop_back();
            figures[name] = figure;
        }
    }
    ::pclose(pipe);
    return figures;
}

}  // namespace

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::ranges::sort(values);
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void FixAllocatorThresholds()
{
    ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 128 * 1024);
}

double CpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

std::int64_t MinorFaults()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void TimedWithFaults(benchmark::State& state, const std::function<void()>& body)
{
    const std::int64_t before = MinorFaults();
    for (auto _ : state)
        body();
    state.counters["faults"] = benchmark::Counter(static_cast<double>(MinorFaults() - before),
                                                  benchmark::Counter::kAvgIterations);
}

void PrintFigure(const std::string& name, const FreshFigure& figure)
{
    std::cout << kFigureMark << ' ' << figure.ms << ' ' << figure.cpuMs << ' ' << figure.faults << ' ' << name
              << std::endl;
}

void MeasureAndPrint(const std::string& name, const std::function<void()>& body)
{
    const std::int64_t faults = MinorFaults();
    const double cpu = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    body();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    PrintFigure(name, {ms, CpuMs() - cpu, MinorFaults() - faults});
}

int RunFresh(int rounds, const std::vector<std::vector<std::string>>& modes, const std::vector<FreshRatio>& ratios)
{
    std::map<std::string, std::vector<FreshFigure>> figures;
    std::map<std::string, std::vector<double>> cpuRatios;
    std::map<std::string, std::vector<double>> elapsedRatios;
    for (int round = 0; round < rounds; ++round) {
        std::map<std::string, FreshFigure> roundFigures;
        for (const auto& mode : modes) {
            for (const auto& [name, figure] : RunChild(mode)) {
                roundFigures[name] = figure;
                figures[name].push_back(figure);
            }
        }
        for (const FreshRatio& ratio : ratios) {
            const auto m = roundFigures.find(ratio.figure);
            const auto b = roundFigures.find(ratio.baseline);
            if (m != roundFigures.end() && b != roundFigures.end() && b->second.cpuMs > 0 && b->second.ms > 0) {
                cpuRatios[ratio.label].push_back(m->second.cpuMs / b->second.cpuMs);
                elapsedRatios[ratio.label].push_back(m->second.ms / b->second.ms);
            }
        }
    }
    if (figures.empty()) {
        std::cerr << "no fresh-process figure was printed\n";
        return 1;
    }
    auto field = [](const std::vector<FreshFigure>& list, auto member) {
        std::vector<double> values;
        for (const FreshFigure& figure : list)
            values.push_back(static_cast<double>(figure.*member));
        return values;
    };
    auto range = [](const std::vector<double>& values) {
        std::ostringstream text;
        text << Median(values) << " (" << *std::ranges::min_element(values) << " to "
             << *std::ranges::max_element(values) << ")";
        return text.str();
    };
    std::cout << "fresh processes, median (least to most) of " << rounds << " rounds:\n";
    for (const auto& [name, list] : figures) {
        std::cout << "  " << name << ": processor " << range(field(list, &FreshFigure::cpuMs)) << " ms, elapsed "
                  << range(field(list, &FreshFigure::ms)) << " ms, " << Median(field(list, &FreshFigure::faults))
                  << " page faults\n";
    }
    for (const FreshRatio& ratio : ratios) {
        if (cpuRatios[ratio.label].empty())
            continue;
        std::cout << "  " << ratio.label << ": " << range(cpuRatios[ratio.label]) << " in processor time, "
                  << range(elapsedRatios[ratio.label]) << " elapsed\n";
    }
    return 0;
}

}  // namespace bench
