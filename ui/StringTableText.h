#pragma once
// The string table's texts (UTF-8) as Qt text, for captions, titles and prompts.

#include "core/StringTable.h"

#include <QString>

#include <string_view>

namespace ui {

inline QString StringTableText(int id)
{
    const std::string_view text = LoadString(id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace ui
