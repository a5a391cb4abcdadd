#pragma once
// The program's texts are bytes in the system's ANSI code page, as the game's files
// hold them. Only the user interface and the JSON output convert, at their boundary.
// Both directions are lossless for all 256 byte values: a byte the code page leaves
// undefined maps to the C1 control character of the same value.

#include <string>
#include <string_view>

namespace platform {

// 1250, 1251 or 1252 (the code pages handled): the ANSI code page the game runs
// with, which need not be the Linux locale's. Every text conversion asks for it, so
// the programs take it once at start-up (TakeAnsiCodePage) and keep it for the run:
// a change of the prefix's code page takes effect at their next start. Until one is
// taken or set, it is chosen anew at each call (ChooseAnsiCodePage).
int AnsiCodePage();

// The code page as the environment and the prefix choose it now, in this order:
// 1. VERDAX_CODEPAGE when set and not empty; any other value than 1250, 1251 or
//    1252 is an error (std::runtime_error with CodePageSettingError's text);
// 2. the "ACP" that Wine records in the prefix's system.reg (PrefixAnsiCodePage in
//    Registry.h), when it is one of the three;
// 3. the locale, as Wine derives it: the first non-empty of LC_ALL, LC_CTYPE, LANG.
int ChooseAnsiCodePage();

// Chooses the code page and keeps it for the rest of the run; returns it. Throws as
// ChooseAnsiCodePage does.
int TakeAnsiCodePage();

// What is wrong with VERDAX_CODEPAGE; empty when it is unset, empty or one of the
// three code pages. The programs check it before they start.
std::string CodePageSettingError();

// Sets the code page kept for the run (tests, the tools); 0 forgets it, so that it
// is chosen anew at each call again.
void SetAnsiCodePage(int codePage);

// The ANSI code page of a locale name such as "ru_RU.UTF-8" or "sr_RS@latin":
// Cyrillic languages 1251, Central European ones 1250, everything else 1252.
int CodePageForLocale(std::string_view locale);

// The Unicode character of one byte in `codePage` (1252 for one not handled).
char32_t ToUnicode(unsigned char byte, int codePage);

// The byte of `codePoint` in `codePage`, or '?' when the code page cannot hold it.
char FromUnicode(char32_t codePoint, int codePage);

std::string ToUtf8(std::string_view ansi);
std::string ToUtf8(std::string_view ansi, int codePage);

// Characters the code page cannot hold, and malformed UTF-8, become '?'.
std::string FromUtf8(std::string_view utf8);
std::string FromUtf8(std::string_view utf8, int codePage);

// `ansi` with every letter replaced by its lower-case partner in the same code page,
// so that texts compare without regard to letter case (Cyrillic and accented letters
// too) while staying one byte per character. A letter whose partner the code page
// cannot hold (U+0178 in 1250) is kept.
std::string FoldCaseAnsi(std::string_view ansi, int codePage);
std::string FoldCaseAnsi(std::string_view ansi);

// UTF-16 units (as the registry stores its texts) to the code page; characters the
// code page cannot hold, and unpaired surrogates, become '?'.
std::string FromUtf16(std::u16string_view units, int codePage);

}  // namespace platform
