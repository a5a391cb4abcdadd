#include "ui/CEditCommands.h"

#include "ui/CEditHistory.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
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

}  // namespace

CEditCommands::CEditCommands(CEditHistory& history, MissionCommand runMissionCommand)
    : history_(history), runMissionCommand_(std::move(runMissionCommand))
{
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
}

QAction* CEditCommands::Action(int id) const
{
    return actions_.at(id);
}

bool CEditCommands::TakesTextUndo(const QWidget* widget)
{
    // A read-only editor has nothing to undo, so the mission's history serves instead.
    return HandlesSlot(widget, "undo()") && !widget->property("readOnly").toBool();
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
