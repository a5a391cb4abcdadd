#pragma once
// The two views of the benchmark's town that the frame benchmarks draw.

#include "view3d/Camera.h"

namespace bench {

// Above the town's south edge, looking down at its middle: every building and thing
// lies inside the view.
inline Camera OverviewCamera()
{
    Camera camera;
    camera.eye = {0.0f, 250.0f, 450.0f};
    camera.centre = {0.0f, 250.5f, 450.9f};  // the view is along −d: towards the origin
    return camera;
}

// At eye height in the street that runs north and south through the middle of the
// town, looking along it: most of the town lies beside or behind the eye.
inline Camera StreetCamera()
{
    Camera camera;
    camera.eye = {0.0f, 2.0f, 0.0f};
    camera.centre = {0.0f, 2.0f, 1.0f};
    return camera;
}

}  // namespace bench
