#include "ui/CodePageText.h"

#include "platform/CodePage.h"

#include <QList>

namespace ui {

// Every character of the code pages is one UTF-16 unit: the text is made directly,
// without a pass through UTF-8 (a large mission's tree converts tens of thousands).
QString TextFromCodePage(std::string_view bytes)
{
    const int codePage = platform::AnsiCodePage();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const unsigned char byte : bytes)
        *out++ = QChar(static_cast<char16_t>(platform::ToUnicode(byte, codePage)));
    return text;
}

std::optional<std::string> TextToCodePage(const QString& text, QString* refused)
{
    const int codePage = platform::AnsiCodePage();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t codePoint : text.toUcs4()) {
        const char byte = platform::FromUnicode(codePoint, codePage);
        // '?' is also the stand-in for a character the code page cannot hold.
        if (byte == '?' && codePoint != U'?') {
            if (refused)
                *refused = QString::fromUcs4(&codePoint, 1);
            return std::nullopt;
        }
        bytes += byte;
    }
    return bytes;
}

QString UnrepresentableMessage(const QString& refused)
{
    return QStringLiteral("Символ «%1» (U+%2) нельзя записать в кодовой странице игры (%3). Текст не изменён.")
        .arg(refused)
        .arg(static_cast<uint>(refused.toUcs4().value(0)), 4, 16, QLatin1Char('0'))
        .arg(platform::AnsiCodePage());
}

}  // namespace ui
