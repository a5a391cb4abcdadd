#pragma once
// Texts of the game's files (bytes in the game's code page) shown in and taken
// from Qt's widgets. Showing is lossless for every byte; taking refuses a
// character the code page cannot hold instead of writing something else.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace ui {

QString TextFromCodePage(std::string_view bytes);

// The bytes of `text` in the game's code page; nothing when a character has no
// byte there, with that character in `refused` when given.
std::optional<std::string> TextToCodePage(const QString& text, QString* refused = nullptr);

// The message for a text that cannot be stored: names the character and the code
// page, so the user knows what to change.
QString UnrepresentableMessage(const QString& refused);

}  // namespace ui
