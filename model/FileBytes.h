#pragma once
// A whole file read into memory with one read, for the readers that parse the
// game's files from a bounds-checked cursor.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;

    std::span<const std::uint8_t> Span() const { return {data.get(), size}; }
};

// Reads the file at `path` (a Windows path, or a Linux path beginning with '/').
// Throws CVerdaxException 3002 when it is not a regular file that can be opened and
// 3005 when it delivers fewer bytes than its size.
FileBytes ReadFileBytes(std::string_view path);
