#pragma once
// Where a new child window of the document area goes. The area places a window
// that is wider or taller than itself partly outside its left or top edge, out of
// the user's reach; the editor's child windows are kept inside instead.

class QMdiSubWindow;

namespace ui {

// Moves `child` so that its top-left corner lies inside its area and, with
// `shrink`, makes it no larger than the area. Nothing for a window outside an area.
void KeepInsideArea(QMdiSubWindow& child, bool shrink);

}  // namespace ui
