// verdax-fuzz-seeds DIR: writes the seed corpora as DIR/<reader>/<file>.

#include "fuzz/SeedInputs.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: verdax-fuzz-seeds DIR\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const auto& [reader, files] : fuzz::SeedInputs()) {
        std::filesystem::create_directories(root / reader);
        for (const auto& [name, bytes] : files) {
            std::ofstream out(root / reader / name, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::cerr << "cannot write " << (root / reader / name) << '\n';
                return 1;
            }
        }
        std::cout << reader << ": " << files.size() << " seeds\n";
    }
    return 0;
}
