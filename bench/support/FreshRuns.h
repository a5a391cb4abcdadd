#pragma once
// What the load benchmarks share: steady allocator behaviour, page-fault counts, and
// figures from fresh processes.
//
// A first load in a new process pays for every page it touches (about 10 µs a page
// on a small VM); a load repeated in one process may reuse pages freed by the last,
// or not, as glibc decides from run to run. So every benchmark program fixes the
// allocator's thresholds (large blocks always come fresh from the kernel and go back
// to it), and the figures the editor's user meets are taken from processes of their
// own: the program runs itself once per measurement.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// Large blocks from mmap and back to the kernel on free, whatever came before: no
// adaptive threshold, no trimming that varies between runs.
void FixAllocatorThresholds();

// Processor time (user and system, every thread) of this process so far.
double CpuMs();

// Minor page faults of this process so far.
std::int64_t MinorFaults();

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);

// Runs `body` for the benchmark's iterations and reports the page faults per
// iteration as the counter "faults".
void TimedWithFaults(benchmark::State& state, const std::function<void()>& body);

// One measurement printed by a child process: milliseconds and page faults.
// The processor time (user and system) is what the ratios use: on a machine shared
// with other work the elapsed time says as much about the others as about us.
struct FreshFigure {
    double ms = 0.0;     // elapsed
    double cpuMs = 0.0;  // user and system time of this process
    std::int64_t faults = 0;
};

// Prints a figure in the form RunFresh reads back.
void PrintFigure(const std::string& name, const FreshFigure& figure);

// Times `body` in this process and prints it under `name`.
void MeasureAndPrint(const std::string& name, const std::function<void()>& body);

// Runs this program `rounds` times for each of `modes` (argument lists), in turn, and
// prints the median of each named figure they print, and each `ratios` pair (figure,
// baseline) as the median of the per-round ratios of processor time (and of elapsed
// time beside it).
struct FreshRatio {
    std::string label;
    std::string figure;
    std::string baseline;
};
int RunFresh(int rounds, const std::vector<std::vector<std::string>>& modes, const std::vector<FreshRatio>& ratios);

}  // namespace bench
