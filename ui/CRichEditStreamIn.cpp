#include "ui/CRichEditStreamIn.h"

#include "ui/CodePageText.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include <string_view>

namespace ui {
namespace {

// A block's user state; -1, Qt's default, is a line the user started.
enum LineEnd : int { kCrLf = 0, kLf = 1, kCr = 2 };

constexpr std::string_view kLineEndBytes[] = {"\r\n", "\n", "\r"};

struct Line {
    std::string_view text;
    int end = -1;  // -1: the last line, which has no end
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        int end = kLf;
        std::size_t length = 1;
        if (text[i] == '\r') {
            const bool pair = i + 1 < text.size() && text[i + 1] == '\n';
            end = pair ? kCrLf : kCr;
            length = pair ? 2 : 1;
        }
        lines.push_back({text.substr(start, i - start), end});
        i += length - 1;
        start = i + 1;
    }
    lines.push_back({text.substr(start), -1});
    return lines;
}

}  // namespace

void CRichEditStreamIn::StreamTextIn(const std::string& text)
{
    QPlainTextEdit* control = StreamControl();
    const std::vector<Line> lines = SplitLines(text);
    newLineEnd_ = lines.size() > 1 ? lines.front().end : kCrLf;

    QString joined;
    joined.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += QLatin1Char('\n');
        joined += TextFromCodePage(lines[i].text);
    }
    control->setPlainText(joined);

    QTextBlock block = control->document()->firstBlock();
    for (const Line& line : lines) {
        if (!block.isValid())
            break;
        block.setUserState(line.end);
        block = block.next();
    }
}

std::optional<std::string> CRichEditStreamIn::StreamTextOut(QString* refused) const
{
    std::string text;
    for (QTextBlock block = StreamControl()->document()->firstBlock(); block.isValid(); block = block.next()) {
        const std::optional<std::string> line = TextToCodePage(block.text(), refused);
        if (!line)
            return std::nullopt;
        text += *line;
        if (!block.next().isValid())
            break;
        const int end = block.userState();
        text += kLineEndBytes[end >= kCrLf && end <= kCr ? end : newLineEnd_];
    }
    return text;
}

}  // namespace ui
