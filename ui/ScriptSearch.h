#pragma once
// The searching of the script window, kept apart from the window so that it can be
// tested on plain texts: find the next or previous occurrence (wrapping around
// the text once), find every occurrence for "replace all", and find where a line
// starts for "go to line". Positions are indices into the text as the editor's
// document gives it (lines joined by '\n').

#include <QString>

#include <optional>
#include <vector>

namespace ui {

struct SearchOptions {
    bool caseSensitive = false;
    bool wholeWord = false;  // letters, digits or '_' on neither side of a match
    bool backward = false;
};

struct TextMatch {
    qsizetype start = 0;
    qsizetype length = 0;
    bool wrapped = false;  // found only after wrapping around the end (or the start)
    bool operator==(const TextMatch&) const = default;
};

// The first match at or after `from`, or, backwards, the last one that starts
// before `from`; when there is none, the search goes on from the other end of the
// text. Nothing for an empty needle or a text without a match.
std::optional<TextMatch> FindInText(const QString& text, const QString& needle, qsizetype from,
                                    const SearchOptions& options);

// The starts of every match, left to right, none overlapping another; "replace
// all" replaces these, and their count is what it reports. The direction is ignored.
std::vector<qsizetype> FindAllInText(const QString& text, const QString& needle, const SearchOptions& options);

// Whether `candidate` (a selection) is itself a match of `needle`.
bool IsMatch(const QString& candidate, const QString& needle, const SearchOptions& options);

// The position where line `line` (1-based) starts; lines beyond the text give the
// last line's start, lines before the first give 0.
qsizetype LineStartOffset(const QString& text, int line);

}  // namespace ui
