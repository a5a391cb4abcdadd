#pragma once
// The "Script" page: the object's script, read-only, in script control 1045, and
// button 1046 "&Правка", which opens a script window for the roll-up's current
// object and then announces that object as selected, so the new window reads it.

#include "ui/CRollupPage.h"

#include <optional>
#include <string>

class QPushButton;

namespace ui {

class CScriptCtrl;

class CRollupEditScript final : public CRollupPage {
public:
    explicit CRollupEditScript(QWidget* parent = nullptr);

    // Replaces the script control's whole text; the same text again leaves the
    // control as it is (its scroll position and selection stay).
    void SetScript(const std::string& script);

    CScriptCtrl* ScriptControl() const { return script_; }
    QPushButton* EditButton() const { return edit_; }

private:
    void OnEdit();

    CScriptCtrl* script_;
    QPushButton* edit_;
    std::string shown_;  // the script in the control
};

}  // namespace ui
