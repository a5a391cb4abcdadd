#include "ui/CScriptSearchCommands.h"

#include "ui/CScriptFindDialog.h"
#include "ui/CScriptView.h"

#include <QAction>
#include <QInputDialog>
#include <QTextBlock>

#include <functional>
#include <optional>

namespace ui {

CScriptSearchCommands::CScriptSearchCommands(CScriptView& view) : view_(view)
{
    AddShortcuts();
}

void CScriptSearchCommands::AddShortcuts()
{
    struct Command {
        QString text;
        QKeySequence key;
        std::function<void()> run;
    };
    const Command commands[] = {
        {QStringLiteral("Найти..."), QKeySequence(Qt::CTRL | Qt::Key_F), [this] { ShowFindDialog(false); }},
        {QStringLiteral("Найти далее"), QKeySequence(Qt::Key_F3), [this] { FindAgain(false); }},
        {QStringLiteral("Найти ранее"), QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindAgain(true); }},
        {QStringLiteral("Заменить..."), QKeySequence(Qt::CTRL | Qt::Key_H), [this] { ShowFindDialog(true); }},
        {QStringLiteral("Перейти к строке..."), QKeySequence(Qt::CTRL | Qt::Key_G), [this] { ShowGoToDialog(); }},
    };
    for (const Command& command : commands) {
        auto* action = new QAction(command.text, &view_);
        action->setShortcut(command.key);
        action->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(action, &QAction::triggered, &context_, command.run);
        view_.addAction(action);
        actions_.push_back(action);
    }
}

bool CScriptSearchCommands::FindNext(const QString& needle, const SearchOptions& options)
{
    lastNeedle_ = needle;
    lastOptions_ = options;
    const QTextCursor cursor = view_.textCursor();
    const qsizetype from = options.backward ? cursor.selectionStart() : cursor.selectionEnd();
    const std::optional<TextMatch> match = FindInText(view_.toPlainText(), needle, from, options);
    if (!match) {
        view_.ShowStatus(QStringLiteral("Не найдено: «%1»").arg(needle));
        return false;
    }
    QTextCursor found(view_.document());
    found.setPosition(static_cast<int>(match->start));
    found.setPosition(static_cast<int>(match->start + match->length), QTextCursor::KeepAnchor);
    view_.setTextCursor(found);
    view_.ensureCursorVisible();
    if (match->wrapped)
        view_.ShowStatus(view_.PositionText() + QStringLiteral(". Поиск продолжен с другого конца текста"));
    return true;
}

bool CScriptSearchCommands::Replace(const QString& needle, const QString& replacement, const SearchOptions& options)
{
    QTextCursor cursor = view_.textCursor();
    if (cursor.hasSelection() && IsMatch(cursor.selectedText(), needle, options)) {
        cursor.insertText(replacement);
        view_.setTextCursor(cursor);
    }
    return FindNext(needle, options);
}

int CScriptSearchCommands::ReplaceAll(const QString& needle, const QString& replacement, const SearchOptions& options)
{
    lastNeedle_ = needle;
    lastOptions_ = options;
    const std::vector<qsizetype> starts = FindAllInText(view_.toPlainText(), needle, options);
    if (starts.empty())
        return 0;
    // From the last to the first, so that the earlier positions stay valid.
    QTextCursor cursor(view_.document());
    cursor.beginEditBlock();
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        cursor.setPosition(static_cast<int>(*it));
        cursor.setPosition(static_cast<int>(*it + needle.size()), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
    return static_cast<int>(starts.size());
}

void CScriptSearchCommands::FindAgain(bool backward)
{
    if (lastNeedle_.isEmpty()) {
        ShowFindDialog(false);
        return;
    }
    SearchOptions options = lastOptions_;
    options.backward = backward;
    FindNext(lastNeedle_, options);
    lastOptions_.backward = false;
}

void CScriptSearchCommands::GoToLine(int line)
{
    QTextCursor cursor(view_.document());
    cursor.setPosition(static_cast<int>(LineStartOffset(view_.toPlainText(), line)));
    view_.setTextCursor(cursor);
    view_.centerCursor();
}

void CScriptSearchCommands::ShowFindDialog(bool replace)
{
    if (!findDialog_)
        findDialog_ = new CScriptFindDialog(&view_);
    const QString selected = view_.textCursor().selectedText();
    // A selection within one line is what the user wants to look for.
    const bool oneLine = !selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator);
    findDialog_->ShowFor(replace, oneLine ? selected : QString());
}

void CScriptSearchCommands::ShowGoToDialog()
{
    auto* dialog = new QInputDialog(&view_);
    dialog->setObjectName(QStringLiteral("goToLineDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Перейти к строке"));
    dialog->setInputMode(QInputDialog::IntInput);
    dialog->setIntRange(1, view_.blockCount());
    dialog->setIntValue(view_.textCursor().blockNumber() + 1);
    dialog->setLabelText(QStringLiteral("Номер строки (1–%1):").arg(view_.blockCount()));
    QObject::connect(dialog, &QInputDialog::intValueSelected, &context_, [this](int line) {
        GoToLine(line);
        view_.setFocus();
    });
    dialog->open();
}

}  // namespace ui
