#include "ui/CEditCommands.h"

#include "ui/CEditHistory.h"
#include "ui/CommandIds.h"
#include "ui/FieldTyping.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
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
    if (!undoes || TakesTextUndo(QApplication::focusWidget())) {
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

void CEditCommands::Update(const QWidget* focus)
{
    UpdateUndoCommands(focus);
    Action(ID_EDIT_CUT)->setEnabled(HandlesSlot(focus, "cut()"));
    Action(ID_EDIT_COPY)->setEnabled(HandlesSlot(focus, "copy()"));
    Action(ID_EDIT_PASTE)->setEnabled(HandlesSlot(focus, "paste()"));
}

// The texts name the step that would be undone or redone: "Отменить перемещение barrel_1".
void CEditCommands::UpdateUndoCommands(const QWidget* focus)
{
    const bool text = TakesTextUndo(focus);
    const auto update = [this, text](int id, const QString& verb, const QString& keys, bool can, const QString& step) {
        const QString named = text || step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
        QAction* action = Action(id);
        action->setText(QLatin1Char('&') + Literal(named) + QLatin1Char('\t') + keys);
        action->setToolTip(named);
        action->setEnabled(text || can);
    };
    update(ID_EDIT_UNDO, QStringLiteral("Отменить"), QStringLiteral("Ctrl+Z"), history_.CanUndo(), history_.UndoText());
    update(ID_EDIT_REDO, QStringLiteral("Повторить"), QStringLiteral("Ctrl+Y"), history_.CanRedo(), history_.RedoText());
}

}  // namespace ui
