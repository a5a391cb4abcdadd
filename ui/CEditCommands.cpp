#include "ui/CEditCommands.h"

#include "ui/CEditHistory.h"
#include "ui/CObjectCommands.h"
#include "ui/CommandIds.h"
#include "ui/FieldTyping.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>

namespace ui {
namespace {

bool HandlesSlot(const QWidget* widget, const char* slot)
{
    return widget && widget->metaObject()->indexOfMethod(slot) >= 0;
}

void RouteToFocusedView(const char* slot)
{
    QWidget* focus = QApplication::focusWidget();
    if (!HandlesSlot(focus, slot))
        return;
    const QByteArray name = QByteArray(slot).chopped(2);  // the method's name without "()"
    QMetaObject::invokeMethod(focus, name.constData());
}

// A menu text that shows `text` as it is, without taking an '&' for a mnemonic mark.
QString Literal(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

bool MatchesAny(const QKeyEvent* event, const QAction* action)
{
    const QKeySequence pressed(event->keyCombination());
    for (const QKeySequence& keys : action->shortcuts()) {
        if (keys.matches(pressed) == QKeySequence::ExactMatch)
            return true;
    }
    return false;
}

const QTextDocument* DocumentOf(const QWidget* widget)
{
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return plain->document();
    if (const auto* rich = qobject_cast<const QTextEdit*>(widget))
        return rich->document();
    return nullptr;
}

// Whether the focused text editor has a step of its own to undo or redo now.
bool TextCan(const QWidget* widget, bool redo)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return redo ? line->isRedoAvailable() : line->isUndoAvailable();
    if (const QTextDocument* document = DocumentOf(widget))
        return redo ? document->isRedoAvailable() : document->isUndoAvailable();
    return true;  // an editor of another kind decides for itself
}

}  // namespace

// A text field claims the undo keys before any command sees them. A field whose
// text is applied to an object and that holds no typing of its own leaves them to
// the commands; typing in such a field changes what the commands do.
class CEditCommands::CUndoKeyFilter final : public QObject {
public:
    explicit CUndoKeyFilter(CEditCommands& commands) : commands_(commands) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        // What the object commands act on may have changed unseen (a mission loaded,
        // another program's copy): their keys find them up to date.
        if (event->type() == QEvent::ShortcutOverride && IsObjectCommandKey(event))
            commands_.Update(QApplication::focusWidget());
        // A text field keeps the keys it edits with: Del deletes a character there.
        if (event->type() == QEvent::ShortcutOverride && HandlesSlot(widget, "cut()") && IsObjectKey(event)) {
            event->accept();
            return true;
        }
        if (!IsAppliedField(widget))
            return false;
        if (event->type() == QEvent::ShortcutOverride && !HoldsUnappliedTyping(widget) && IsUndoKey(event)) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyRelease)
            commands_.Update(QApplication::focusWidget());
        return false;
    }

private:
    bool IsObjectCommandKey(QEvent* event) const
    {
        const auto* key = static_cast<const QKeyEvent*>(event);
        for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DUPLICATE, ID_EDIT_CLEAR}) {
            if (MatchesAny(key, commands_.Action(id)))
                return true;
        }
        return false;
    }

    bool IsObjectKey(QEvent* event) const
    {
        const auto* key = static_cast<const QKeyEvent*>(event);
        return MatchesAny(key, commands_.Action(ID_EDIT_CLEAR)) || MatchesAny(key, commands_.Action(ID_EDIT_DUPLICATE));
    }

    bool IsUndoKey(QEvent* event) const
    {
        const auto* key = static_cast<const QKeyEvent*>(event);
        return MatchesAny(key, commands_.Action(ID_EDIT_UNDO)) || MatchesAny(key, commands_.Action(ID_EDIT_REDO));
    }

    CEditCommands& commands_;
};

CEditCommands::CEditCommands(CEditHistory& history, MissionCommand runMissionCommand)
    : history_(history), runMissionCommand_(std::move(runMissionCommand)),
      keyFilter_(std::make_unique<CUndoKeyFilter>(*this))
{
}

CEditCommands::~CEditCommands()
{
    if (qApp)
        qApp->removeEventFilter(keyFilter_.get());
}

void CEditCommands::Create(const AddCommand& add)
{
    struct EditCommand {
        int id;
        const char* text;
        const char* slot;
        QList<QKeySequence> keys;
    };
    const EditCommand editCommands[] = {
        {ID_EDIT_UNDO, "&Отменить\tCtrl+Z", "undo()", {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace}},
        {ID_EDIT_REDO, "&Повторить\tCtrl+Y", "redo()", {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}},
        {ID_EDIT_CUT, "Вы&резать\tCtrl+X", "cut()", {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete}},
        {ID_EDIT_COPY, "&Копировать\tCtrl+C", "copy()", {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}},
        {ID_EDIT_PASTE, "&Вставить\tCtrl+V", "paste()", {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert}},
        {ID_EDIT_DUPLICATE, "&Дублировать\tCtrl+D", nullptr, {Qt::CTRL | Qt::Key_D}},
        {ID_EDIT_CLEAR, "&Удалить\tDel", nullptr, {QKeySequence(Qt::Key_Delete)}},
    };
    for (const EditCommand& command : editCommands) {
        QAction* action = add(command.id, QString::fromUtf8(command.text));
        action->setShortcuts(command.keys);
        actions_[command.id] = action;
        QObject::connect(action, &QAction::triggered, &context_,
                         [this, id = command.id, slot = command.slot] { OnCommand(id, slot); });
    }
    qApp->installEventFilter(keyFilter_.get());
}

QAction* CEditCommands::Action(int id) const
{
    return actions_.at(id);
}

bool CEditCommands::TakesTextUndo(const QWidget* widget)
{
    // A read-only editor has nothing to undo, so the mission's history serves instead.
    if (!HandlesSlot(widget, "undo()") || widget->property("readOnly").toBool())
        return false;
    return !IsAppliedField(widget) || HoldsUnappliedTyping(widget);
}

void CEditCommands::OnCommand(int id, const char* slot)
{
    const bool undoes = id == ID_EDIT_UNDO || id == ID_EDIT_REDO;
    if (!undoes && slot && HandlesSlot(QApplication::focusWidget(), slot)) {
        RouteToFocusedView(slot);
        return;
    }
    if (!undoes) {
        OnObjectCommand(id);
        return;
    }
    if (TakesTextUndo(QApplication::focusWidget())) {
        RouteToFocusedView(slot);
        return;
    }
    runMissionCommand_([this, redo = id == ID_EDIT_REDO] {
        if (redo)
            history_.Redo();
        else
            history_.Undo();
    });
}

// The objects' commands read or write a mission: they run after the editors'
// pending text has gone in.
void CEditCommands::OnObjectCommand(int id)
{
    if (!objects_)
        return;
    runMissionCommand_([objects = objects_, id] {
        switch (id) {
        case ID_EDIT_CUT: objects->Cut(); break;
        case ID_EDIT_COPY: objects->Copy(); break;
        case ID_EDIT_PASTE: objects->Paste(); break;
        case ID_EDIT_DUPLICATE: objects->Duplicate(); break;
        case ID_EDIT_CLEAR: objects->Delete(); break;
        default: break;
        }
    });
}

bool CEditCommands::CanRunObjectCommand(int id) const
{
    if (!objects_)
        return false;
    switch (id) {
    case ID_EDIT_CUT: return objects_->CanCut();
    case ID_EDIT_COPY: return objects_->CanCopy();
    case ID_EDIT_PASTE: return objects_->CanPaste();
    case ID_EDIT_DUPLICATE: return objects_->CanDuplicate();
    case ID_EDIT_CLEAR: return objects_->CanDelete();
    default: return false;
    }
}

void CEditCommands::Update(const QWidget* focus)
{
    WatchTextUndo(focus);
    UpdateUndoCommands(focus);
    Action(ID_EDIT_CUT)->setEnabled(HandlesSlot(focus, "cut()") || CanRunObjectCommand(ID_EDIT_CUT));
    Action(ID_EDIT_COPY)->setEnabled(HandlesSlot(focus, "copy()") || CanRunObjectCommand(ID_EDIT_COPY));
    Action(ID_EDIT_PASTE)->setEnabled(HandlesSlot(focus, "paste()") || CanRunObjectCommand(ID_EDIT_PASTE));
    // In a text field Del and Ctrl+D edit the text; the menu still acts on the object.
    Action(ID_EDIT_DUPLICATE)->setEnabled(CanRunObjectCommand(ID_EDIT_DUPLICATE));
    Action(ID_EDIT_CLEAR)->setEnabled(CanRunObjectCommand(ID_EDIT_CLEAR));
}

// The texts name the step that would be undone or redone: "Отменить перемещение barrel_1".
void CEditCommands::UpdateUndoCommands(const QWidget* focus)
{
    const bool text = TakesTextUndo(focus);
    const auto update = [this, text, focus](int id, const QString& verb, const QString& keys, bool can, const QString& step) {
        const QString named = text || step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
        QAction* action = Action(id);
        action->setText(QLatin1Char('&') + Literal(named) + QLatin1Char('\t') + keys);
        action->setToolTip(named);
        action->setEnabled(text ? TextCan(focus, id == ID_EDIT_REDO) : can);
    };
    update(ID_EDIT_UNDO, QStringLiteral("Отменить"), QStringLiteral("Ctrl+Z"), history_.CanUndo(), history_.UndoText());
    update(ID_EDIT_REDO, QStringLiteral("Повторить"), QStringLiteral("Ctrl+Y"), history_.CanRedo(), history_.RedoText());
}

// The toolbar's buttons show what the focused editor can undo and redo as it
// changes, not only when the focus moves or a menu opens.
void CEditCommands::WatchTextUndo(const QWidget* focus)
{
    if (focus == watchedText_)
        return;
    for (const QMetaObject::Connection& connection : textUndoChanged_)
        QObject::disconnect(connection);
    textUndoChanged_.clear();
    watchedText_ = focus;
    const auto refresh = [this] { UpdateUndoCommands(QApplication::focusWidget()); };
    if (const auto* line = qobject_cast<const QLineEdit*>(focus)) {
        textUndoChanged_.push_back(QObject::connect(line, &QLineEdit::textChanged, &context_, refresh));
    } else if (const QTextDocument* document = DocumentOf(focus)) {
        textUndoChanged_.push_back(QObject::connect(document, &QTextDocument::undoAvailable, &context_, refresh));
        textUndoChanged_.push_back(QObject::connect(document, &QTextDocument::redoAvailable, &context_, refresh));
    }
}

}  // namespace ui
