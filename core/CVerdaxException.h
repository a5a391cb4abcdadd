#pragma once
// The one error type of the program. An error raised with a text shows that text
// to the user at once, so every such error is seen exactly once, wherever it is
// caught later; copies show nothing.

#include <cstdint>
#include <exception>
#include <string>

// Every code the program raises, grouped by area.
enum VerdaxErrorCode : std::int32_t {
    VERDAX_ERR_FOREIGN = 1,          // a foreign failure converted, a broken material or image
    VERDAX_ERR_REGISTRY = 2,         // the game's registry key or install folder value
    VERDAX_ERR_MEMORY = 1000,        // memory for a LOD, sector, texture or list element
    VERDAX_ERR_EMPTY_NAME = 3001,    // a texture requested with an empty file name
    VERDAX_ERR_OPEN_READ = 3002,     // a file cannot be opened for reading
    VERDAX_ERR_OPEN_WRITE = 3003,    // the scene output file cannot be opened for writing
    VERDAX_ERR_STREAM_CLOSE = 3004,  // the scene stream is in error after closing
    VERDAX_ERR_READ = 3005,          // a read delivered fewer bytes than asked, or failed
    VERDAX_ERR_WRITE = 3006,         // a write to the scene file failed
    VERDAX_ERR_MAGIC_4DS = 3008,     // a model file without the 4DS magic
    VERDAX_ERR_NOT_BITMAP = 3009,    // a texture image whose type field is not "BM"
    VERDAX_ERR_CHUNK_SHORT = 4000,   // a top-level scene chunk used fewer bytes than declared
    VERDAX_ERR_CHUNK_LONG = 4001,    // a top-level scene chunk used more bytes than declared
    VERDAX_ERR_CHUNK_ID = 4002,      // an unknown section id or a list element with a wrong id
    VERDAX_ERR_MISSION_LOADED = 5000,
    VERDAX_ERR_INNER_CHUNK = 6007,   // an inner chunk id or thing-data kind not handled
    VERDAX_ERR_FRAME_TYPE = 7000,
    VERDAX_ERR_VISUAL_KIND = 7001,
    VERDAX_ERR_LOD_TABLE = 7002,
};

class CVerdaxException : public std::exception {
public:
    // Shows nothing.
    explicit CVerdaxException(std::int32_t code);

    // Stores both and shows `text` (system code page) in a message box before returning.
    CVerdaxException(std::int32_t code, std::string text);

    // Copies show nothing: only the raise is seen.
    CVerdaxException(const CVerdaxException&) = default;
    CVerdaxException& operator=(const CVerdaxException&) = default;
    ~CVerdaxException() override;

    std::int32_t GetCode() const noexcept { return code_; }
    const std::string& GetText() const noexcept { return text_; }

private:
    std::string text_;
    std::int32_t code_;
};

// Shows string-table message `id` with an OK button under the application's title.
void ShowStringMessage(int id);
