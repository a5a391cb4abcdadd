#include "bench/support/BenchPrefix.h"

#include "bench/support/BenchArguments.h"

#include <string>
#include <system_error>
#include <unistd.h>

namespace bench {

CBenchPrefix::CBenchPrefix(int& argc, char** argv, std::string_view program)
{
    if (auto given = TakeOption(argc, argv, "--prefix")) {
        path_ = *given;
        return;
    }
    temporary_ = true;
    path_ = std::filesystem::temp_directory_path() /
            ("verdax-bench-" + std::string(program) + "-" + std::to_string(::getpid()));
}

CBenchPrefix::~CBenchPrefix()
{
    if (!temporary_)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace bench
