#pragma once
// The busy cursor. The editor installs an implementation that sets the
// application's override cursor; elsewhere showing it does nothing.

namespace platform {

class IWaitCursor {
public:
    virtual ~IWaitCursor() = default;
    virtual void Begin() = 0;
    virtual void End() = 0;
};

// Installs `cursor` (not owned); null restores the one that does nothing.
void SetWaitCursor(IWaitCursor* cursor);

// Shows the busy cursor for the lifetime of the scope; scopes nest.
class WaitCursorScope {
public:
    WaitCursorScope();
    ~WaitCursorScope();
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    IWaitCursor* cursor_;
};

}  // namespace platform
