#include "ui/ScriptSearch.h"

#include <algorithm>

namespace ui {
namespace {

bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool StandsAlone(const QString& text, qsizetype start, qsizetype length)
{
    const bool before = start > 0 && IsWordCharacter(text[start - 1]);
    const bool after = start + length < text.size() && IsWordCharacter(text[start + length]);
    return !before && !after;
}

Qt::CaseSensitivity Sensitivity(const SearchOptions& options)
{
    return options.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// The first match starting in [from, text end), or -1.
qsizetype Forward(const QString& text, const QString& needle, qsizetype from, const SearchOptions& options)
{
    for (qsizetype at = text.indexOf(needle, from, Sensitivity(options)); at >= 0;
         at = text.indexOf(needle, at + 1, Sensitivity(options))) {
        if (!options.wholeWord || StandsAlone(text, at, needle.size()))
            return at;
    }
    return -1;
}

// The last match starting in [0, before), or -1.
qsizetype Backward(const QString& text, const QString& needle, qsizetype before, const SearchOptions& options)
{
    if (before <= 0)
        return -1;
    for (qsizetype at = text.lastIndexOf(needle, before - 1, Sensitivity(options)); at >= 0;
         at = at > 0 ? text.lastIndexOf(needle, at - 1, Sensitivity(options)) : -1) {
        if (!options.wholeWord || StandsAlone(text, at, needle.size()))
            return at;
    }
    return -1;
}

}  // namespace

std::optional<TextMatch> FindInText(const QString& text, const QString& needle, qsizetype from,
                                    const SearchOptions& options)
{
    if (needle.isEmpty())
        return std::nullopt;
    from = std::clamp<qsizetype>(from, 0, text.size());
    qsizetype at = options.backward ? Backward(text, needle, from, options) : Forward(text, needle, from, options);
    bool wrapped = false;
    if (at < 0) {
        at = options.backward ? Backward(text, needle, text.size() + 1, options) : Forward(text, needle, 0, options);
        wrapped = true;
    }
    if (at < 0)
        return std::nullopt;
    return TextMatch{at, needle.size(), wrapped};
}

std::vector<qsizetype> FindAllInText(const QString& text, const QString& needle, const SearchOptions& options)
{
    std::vector<qsizetype> starts;
    if (needle.isEmpty())
        return starts;
    for (qsizetype at = Forward(text, needle, 0, options); at >= 0; at = Forward(text, needle, at + needle.size(), options))
        starts.push_back(at);
    return starts;
}

bool IsMatch(const QString& candidate, const QString& needle, const SearchOptions& options)
{
    return !needle.isEmpty() && candidate.compare(needle, Sensitivity(options)) == 0;
}

qsizetype LineStartOffset(const QString& text, int line)
{
    qsizetype start = 0;
    for (int current = 1; current < line; ++current) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            break;
        start = end + 1;
    }
    return start;
}

}  // namespace ui
