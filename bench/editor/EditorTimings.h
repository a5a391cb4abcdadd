#pragma once
// What the editor benchmark times in a running editor: frames while an arrow key is
// held, and mouse moves of a drag that edits a thing.

#include "view3d/Camera.h"

#include <Qt>

#include <string>
#include <vector>

class CEditorSession;
class CSceneObjectThing;

namespace bench {

// Milliseconds, elapsed and in processor time (every thread of the process).
struct Lap {
    double elapsedMs = 0;
    double cpuMs = 0;
};

// "median (least to most)" of the values.
std::string Spread(std::vector<double> values);

// The world window flown with an arrow key held for `seconds`: the next key press
// arrives as soon as a frame has been swapped to the screen, so that presses are
// never what the frames wait for; forward and back in turn, so that the view stays
// where `camera` puts it. One lap per frame: from one buffer swap to the next.
std::vector<Lap> FlyWithArrowHeld(CEditorSession& session, const Camera& camera, double seconds);

// A Ctrl-drag (left button: moving on the ground) or Ctrl-right-drag (turning) of
// `thing`, selected in the tree and framed in the world window (a Ctrl-click then
// picks it, or a thing in front of it, which is dragged instead): one lap per mouse
// move, from the event's delivery to the end of its handling, every view's
// notification included; the frames drawn after each move are left out. Empty when
// the pick got no thing.
std::vector<Lap> DragThing(CEditorSession& session, CSceneObjectThing& thing, Qt::MouseButton button, int moves);

}  // namespace bench
