#pragma once
// Small Unicode helpers shared by the platform services: UTF-8 both ways, UTF-16
// units as Wine's registry stores them, and the letter-case folding that Windows
// applies to file and registry names.

#include <string>
#include <string_view>

namespace platform::unicode {

// Code points of `utf8`. A byte that does not start a valid sequence becomes
// 0xDC00 + byte, so that names which are not UTF-8 still compare byte for byte.
std::u32string DecodeUtf8(std::string_view utf8);

// Code points of UTF-16 units; an unpaired surrogate becomes U+FFFD.
std::u32string DecodeUtf16(std::u16string_view units);

void AppendUtf8(std::string& out, char32_t codePoint);

// The lower-case partner of a letter of the Latin, Greek and Cyrillic blocks that
// the Windows code pages 1250 to 1252 hold; other code points unchanged.
char32_t FoldCase(char32_t codePoint);

std::u32string FoldCase(std::u32string text);

// True when the two texts are the same without regard to letter case.
bool EqualNoCase(std::u32string_view a, std::u32string_view b);

}  // namespace platform::unicode
