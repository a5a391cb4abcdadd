#pragma once
// The command line of the benchmark programs: their own options taken out of argv,
// which is left to Google Benchmark.

#include <optional>
#include <string>
#include <string_view>

namespace bench {

// Takes every "NAME VALUE" out of argv; the last value, or none when absent.
std::optional<std::string> TakeOption(int& argc, char** argv, std::string_view name);
// TakeOption read as a number; `otherwise` when absent.
int TakeNumber(int& argc, char** argv, std::string_view name, int otherwise = 0);
// Takes every "NAME" out of argv; whether it was there.
bool TakeFlag(int& argc, char** argv, std::string_view name);

}  // namespace bench
