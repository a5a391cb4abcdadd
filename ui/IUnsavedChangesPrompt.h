#pragma once
// The question asked before the editor drops missions with unsaved edits (the main
// window closing): save them, drop the edits, or stay. The main window asks it
// through this interface, so that tests can answer it.

#include <QStringList>

namespace ui {

enum class UnsavedAnswer {
    Save,     // "Сохранить": save every listed mission, then go on
    Discard,  // "Не сохранять": go on, the edits are lost
    Cancel,   // "Отмена": stay as before
};

class IUnsavedChangesPrompt {
public:
    virtual ~IUnsavedChangesPrompt() = default;

    // `missions`: the names of the modified missions, as shown.
    virtual UnsavedAnswer Ask(const QStringList& missions) = 0;
};

}  // namespace ui
