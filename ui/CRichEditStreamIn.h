#pragma once
// Moves a whole plain text, bytes in the game's code page, into and out of a text
// control: the script page's read-only control, the info form's and the script
// window's editor.
//
// Qt's documents hold lines, not line ends, so the end each line came with (CR LF,
// LF or a lone CR) is kept in its block's user state and written back as it came:
// a script shown and written back unchanged is the same bytes, whatever its line
// ends. A line the user starts ends as the text's first line did (CR LF, the
// game's, when the text had none).

#include <QString>

#include <optional>
#include <string>

class QPlainTextEdit;

namespace ui {

class CRichEditStreamIn {
public:
    virtual ~CRichEditStreamIn() = default;

    // Replaces the control's whole content (and its undo history) with `text`.
    void StreamTextIn(const std::string& text);

    // The control's whole content in the code page; nothing when a character has no
    // byte there, with that character in `refused` when given.
    std::optional<std::string> StreamTextOut(QString* refused = nullptr) const;

protected:
    // The control the texts go into and come from.
    virtual QPlainTextEdit* StreamControl() const = 0;

private:
    int newLineEnd_ = 0;  // the end of lines the user starts: a LineEnd
};

}  // namespace ui
