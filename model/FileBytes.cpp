#include "model/FileBytes.h"

#include "core/CVerdaxException.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <fstream>
#include <new>

FileBytes ReadFileBytes(std::string_view path)
{
    const std::filesystem::path resolved = platform::FileSystem().Resolve(path);
    std::error_code error;
    // A folder opens as a stream on Linux and reports a nonsense size: refuse it here.
    if (!std::filesystem::is_regular_file(resolved, error))
        throw CVerdaxException(VERDAX_ERR_OPEN_READ);
    const auto size = std::filesystem::file_size(resolved, error);
    if (error)
        throw CVerdaxException(VERDAX_ERR_OPEN_READ);
    std::ifstream in(resolved, std::ios::binary);
    if (!in)
        throw CVerdaxException(VERDAX_ERR_OPEN_READ);

    FileBytes file;
    try {
        file.data = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_MEMORY);
    }
    file.size = static_cast<std::size_t>(size);
    in.read(reinterpret_cast<char*>(file.data.get()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
        throw CVerdaxException(VERDAX_ERR_READ);
    return file;
}
