#pragma once
// The wait cursor of the editor: the application's override cursor, so that it
// shows over every window while a mission loads or saves. Scopes nest because Qt
// keeps a stack of override cursors.

#include "platform/WaitCursor.h"

namespace ui {

class CBusyCursor final : public platform::IWaitCursor {
public:
    void Begin() override;
    void End() override;
};

}  // namespace ui
