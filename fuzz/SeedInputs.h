#pragma once
// The fuzzers' seed inputs: every file of the demo game and of a small scaled mission,
// sorted by the reader that takes it, and a few edge cases of each format that the
// demo does not hold. Also the inputs of the regression tests.

#include <map>
#include <string>

namespace fuzz {

// Reader name ("registry", "bitmap", "4ds", "scene", "recovery", "objects", "comparison") → file name → bytes.
using SeedCorpora = std::map<std::string, std::map<std::string, std::string>>;

SeedCorpora SeedInputs();

}  // namespace fuzz
