#include "platform/WaitCursor.h"

namespace platform {
namespace {
IWaitCursor* g_cursor = nullptr;
}

void SetWaitCursor(IWaitCursor* cursor)
{
    g_cursor = cursor;
}

// The cursor is remembered so that a scope ends on the implementation it began on.
WaitCursorScope::WaitCursorScope() : cursor_(g_cursor)
{
    if (cursor_)
        cursor_->Begin();
}

WaitCursorScope::~WaitCursorScope()
{
    if (cursor_)
        cursor_->End();
}

}  // namespace platform
