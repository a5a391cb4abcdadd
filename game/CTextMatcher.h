#pragma once
// A search pattern made ready for the texts of the game's files, which are bytes in
// the game's code page. The pattern comes as the user typed it (UTF-8) and is
// converted once, when the matcher is made:
//
// - A plain pattern is a substring, compared with the texts' bytes in the code page.
//   Letter case is ignored by the code page's own case pairs (Cyrillic in 1251,
//   accented letters in 1250 and 1252) unless the search is case-sensitive. A
//   pattern holding a character the code page cannot hold matches nothing, as no
//   text can hold it.
// - A regular expression is ECMAScript, as PCRE2 reads it in its JavaScript
//   compatibility options, matched against each text's characters (one per byte of
//   the code page): `.` is one character, `\w`, `\b` and the classes know the
//   letters of every language, and ignoring case folds all of them. Its engine
//   bounds the work spent on one text, so that no pattern can exhaust the stack or
//   run for ever; a text that would need more counts as not matching.
//
// An empty text never matches. Matching reads nothing shared but the compiled
// pattern: one matcher may be used by several threads at once.

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// Why a pattern cannot be used; what() says it in English, naming what is wrong.
class SearchPatternError : public std::runtime_error {
public:
    enum class Reason { kEmpty, kNotUtf8, kRegex };

    SearchPatternError(Reason reason, const std::string& message) : std::runtime_error(message), reason_(reason) {}
    Reason GetReason() const { return reason_; }

private:
    Reason reason_;
};

class CTextMatcher {
public:
    struct Options {
        bool regex = false;
        bool caseSensitive = false;
    };

    // Throws SearchPatternError for an empty pattern, one that is not UTF-8, and a
    // regular expression that does not compile (the message says why and where).
    // `codePage` is the game's: 1250, 1251 or 1252 (any other is taken as 1252).
    CTextMatcher(std::string_view pattern, Options options, int codePage);
    ~CTextMatcher();
    CTextMatcher(const CTextMatcher&) = default;
    CTextMatcher& operator=(const CTextMatcher&) = default;

    // Whether `text`, in the code page, holds the pattern.
    bool Matches(std::string_view text) const;

    // False only when no part of `text` (such as one of its lines) can match: a
    // plain pattern is looked for in the whole text at once; for a regular
    // expression, which may anchor at a part's ends, it is always true.
    bool CanMatchWithin(std::string_view text) const;

    int GetCodePage() const;

private:
    struct Compiled;
    std::shared_ptr<const Compiled> compiled_;
};
