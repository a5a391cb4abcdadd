#pragma once
// A child window shows one object: when that object leaves its mission
// (DON_OBJECT_REMOVING), the window lets go of it and closes. A thing's script
// window goes with the thing data that holds the script, too. The window is not
// brought back by undo; the user opens it again.

class CDravoDonView;
class CVerdaxData;
class QWidget;

namespace ui {

// When `removed` is what `view` shows: clears the view's object and closes the
// child window around `pane` (the view's widget), which is destroyed later, so that
// a view may call this from its own Notify. True when it did.
bool CloseWindowOfRemoved(CDravoDonView& view, QWidget& pane, const CVerdaxData* removed);

}  // namespace ui
