#pragma once
// Objects' bytes from outside (the clipboard) that cannot be taken: malformed, or
// holding a character the mission's code page cannot store. Raised before anything
// changes; it carries the message for the user (UTF-8) and shows nothing itself, so
// the command that catches it reports it once.

#include <exception>
#include <string>

class CPayloadRefused : public std::exception {
public:
    // Malformed bytes; `code` is the CVerdaxException code of the fault met (3005 a
    // short read, 4000 to 4002 the structure, 6007 an element's content, 1000 too
    // many objects).
    static CPayloadRefused Malformed(int code);
    // A text holding `character`, which `codePage` cannot hold.
    static CPayloadRefused Unrepresentable(char32_t character, int codePage);

    // The fault's code; 0 for a character that cannot be held.
    int GetCode() const noexcept { return code_; }
    // The character that cannot be held; 0 for malformed bytes.
    char32_t GetCharacter() const noexcept { return character_; }
    const std::string& GetMessage() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    CPayloadRefused(int code, char32_t character, std::string message);

    int code_;
    char32_t character_;
    std::string message_;
};
