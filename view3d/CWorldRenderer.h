#pragma once
// The world window's drawing without a window: the view's settings, its camera, its
// current mission and selected object, the projection and lighting set-up, one frame
// (the axes, the mission's world model and its things, each under its selection
// name) and picking. The editor's view and verdax-tool draw through this class, so
// the window and the tool show the same picture.
//
// Every call needs the GL context current that InitGl ran in (or one sharing with
// it). Nothing is owned but the GLU quadric: the mission and the selected object
// belong to the game root.

#include "view3d/Camera.h"
#include "view3d/ModelBounds.h"

#include <cstddef>
#include <cstdint>

class CMission;
class CSceneObjectThing;
class CVerdaxData;
struct GLUquadric;

// What the last frame drew: the things not left out as wholly outside the view, and
// the world's frame meshes likewise.
struct FrameCounts {
    std::size_t things = 0;
    std::size_t worldMeshes = 0;
};

// The display settings the letter keys toggle.
struct RenderSettings {
    std::uint8_t markerMode = 0;  // 0: things without a model are not drawn; 1: spheres of radius 1; 2: of 0.05
    bool wireframe = false;
    bool world = true;  // the mission's world model is drawn
    bool culling = true;  // back faces are culled

    // The radius of the spheres that stand for things without a model; 0 when none
    // are drawn.
    float MarkerRadius() const { return markerMode == 1 ? 1.0f : markerMode == 2 ? 0.05f : 0.0f; }
};

class CWorldRenderer {
public:
    CWorldRenderer() = default;
    ~CWorldRenderer();
    CWorldRenderer(const CWorldRenderer&) = delete;
    CWorldRenderer& operator=(const CWorldRenderer&) = delete;

    // Makes the quadric of the marker spheres in the current context.
    void InitGl();
    // Frees it while its context is still current.
    void ReleaseGl();

    // The projection (45°, width / height, 0.1 to 2000), the viewport, depth test,
    // back-face culling of clockwise-front polygons (as the culling setting has it,
    // so that a new size keeps the user's choice), light 0 (transformed by the
    // modelview matrix current now), colour material and texturing. A height of 0
    // counts as 1; negative sizes are the caller's to replace.
    void SetupProjection(int width, int height);

    // One frame: culling as the setting has it, clear, the mirrored look-at camera,
    // the axes, the world model (when the world setting is on) and the things, then
    // glFlush. Swapping is the caller's.
    // The world's frames and the things whose boxes lie wholly outside the view are
    // left out: they would not change a pixel (nor, while picking, a hit record).
    // The world and the things draw from the texture stacks (CStackedTexturing),
    // which gives the same pixels as binding each face group's 2D texture.
    void Render();
    const FrameCounts& LastFrameCounts() const { return counts_; }

    // The thing under the client point (x, y) (from the top left) of a window of
    // windowWidth × windowHeight: the frame drawn in selection mode through a 2 × 2
    // pixel pick region. Of the hit records the first is the candidate and a later
    // one replaces it only when its minimum depth is greater (the z-mirror inverts
    // depths: the thing whose farthest point in the region is nearest wins; equal
    // depths keep the one drawn first). Null for empty space, the world, the axes,
    // a point outside the window and a view without a mission. The selection buffer
    // grows until every record fits, however many things lie under the point.
    CSceneObjectThing* Pick(int x, int y, int windowWidth, int windowHeight);

    Camera& GetCamera() { return camera_; }
    const Camera& GetCamera() const { return camera_; }
    RenderSettings& Settings() { return settings_; }
    const RenderSettings& Settings() const { return settings_; }

    // The current object: a mission is drawn; anything else draws only the axes.
    void SetCurrentObject(CVerdaxData* object);
    CMission* GetMission() const { return mission_; }

    // The selected object (drawn in red when it is a thing of the current mission).
    void SetSelected(CVerdaxData* object) { selected_ = object; }
    CVerdaxData* GetSelected() const { return selected_; }
    // The selected object when it is a thing of the current mission; null otherwise.
    // Found among the mission's things, so a stale selection is never followed.
    CSceneObjectThing* GetSelectedThing() const;

    // Marker mode 0 → 1 → 2 → 0.
    void CycleMarkerMode();
    // Flips the culling setting and GL_CULL_FACE with it.
    void ToggleCulling();

    // The selection name of a thing: its 1-based place in the mission's things.
    // Name 0 is the world and the axes.
    CSceneObjectThing* ThingOfName(std::uint32_t name) const;

private:
    void ApplyCulling() const;
    std::uint32_t PickName(int x, int y, int windowWidth, int windowHeight);
    void DrawAxes() const;
    // `view`: projection × the camera's modelview.
    void DrawThings(const Matrix4& view);
    void DrawThing(const CSceneObjectThing& thing, const Matrix4& view);
    bool OutOfView(const CSceneObjectThing& thing, const Matrix4& view);
    void DrawMarker() const;

    Camera camera_;
    RenderSettings settings_;
    CMission* mission_ = nullptr;
    CVerdaxData* selected_ = nullptr;
    GLUquadric* quadric_ = nullptr;
    CModelBoxCache boxes_;
    FrameCounts counts_;
};
