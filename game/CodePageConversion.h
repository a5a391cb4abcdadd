#pragma once
// Texts that come from outside the game's code page: bytes written in another code
// page (objects copied in an editor that ran with it) and UTF-8 (the command-line
// tool's edits). Each is converted character by character; a character that the
// target code page cannot hold is refused rather than replaced, and named to the
// user as the editor's windows name it.

#include <optional>
#include <string>
#include <string_view>

// `bytes` in code page `from` as bytes in code page `to`; nothing when a character
// has no byte in `to`, with that character in `refused` when given.
std::optional<std::string> RecodeText(std::string_view bytes, int from, int to, char32_t* refused = nullptr);

// `utf8` as bytes in `codePage`; nothing when a character has no byte there, or
// when the UTF-8 is malformed (refused is then U+FFFD).
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, int codePage, char32_t* refused = nullptr);

// "Символ «X» (U+xxxx) нельзя записать в кодовой странице игры (NNNN).", in UTF-8,
// the number in lower-case hexadecimal as the script window spells it.
std::string UnrepresentableMessage(char32_t character, int codePage);
