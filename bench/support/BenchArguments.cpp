#include "bench/support/BenchArguments.h"

#include <cstdlib>

namespace bench {

std::optional<std::string> TakeOption(int& argc, char** argv, std::string_view name)
{
    std::optional<std::string> value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == name && i + 1 < argc)
            value = argv[++i];
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return value;
}

int TakeNumber(int& argc, char** argv, std::string_view name, int otherwise)
{
    const auto value = TakeOption(argc, argv, name);
    return value ? std::atoi(value->c_str()) : otherwise;
}

bool TakeFlag(int& argc, char** argv, std::string_view name)
{
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == name)
            found = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return found;
}

}  // namespace bench
