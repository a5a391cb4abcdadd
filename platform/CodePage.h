#pragma once
// The program's texts are bytes in the system's ANSI code page, as the game's files
// hold them. Only the user interface and the JSON output convert, at their boundary.
// Both directions are lossless for all 256 byte values: a byte the code page leaves
// undefined maps to the C1 control character of the same value.

#include <string>
#include <string_view>

namespace platform {

// 1250, 1251 or 1252 (the code pages handled), taken from the locale as Wine does.
int AnsiCodePage();

// Overrides the code page (for tests and the tools); 0 returns to the locale's.
void SetAnsiCodePage(int codePage);

std::string ToUtf8(std::string_view ansi);

// Characters the code page cannot hold become '?'.
std::string FromUtf8(std::string_view utf8);

}  // namespace platform
