#include "view3d/CWorldRenderer.h"

#include "game/CMission.h"
#include "model/CTextureStacks.h"
#include "view3d/ViewMatrices.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <vector>

namespace {

constexpr float kNear = 0.1f;
constexpr double kFar = 2000.0;
constexpr double kFieldOfView = 45.0;
// The selection buffer starts with room for 8 hit records of one name and grows
// fourfold while records overflow it, up to 2^24 words.
constexpr std::size_t kFirstSelectionWords = 32;
constexpr std::size_t kMostSelectionWords = std::size_t{1} << 24;

// GL's projection × modelview now.
Matrix4 CurrentClipMatrix()
{
    Matrix4 projection{};
    Matrix4 modelview{};
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    return Multiply(projection, modelview);
}

// Sets a capability for a scope and puts back what GL held before.
class CapabilityScope {
public:
    CapabilityScope(GLenum capability, bool enabled) : capability_(capability), was_(glIsEnabled(capability))
    {
        Set(enabled);
    }
    ~CapabilityScope() { Set(was_); }
    CapabilityScope(const CapabilityScope&) = delete;
    CapabilityScope& operator=(const CapabilityScope&) = delete;

private:
    void Set(bool enabled) const
    {
        if (enabled)
            glEnable(capability_);
        else
            glDisable(capability_);
    }

    GLenum capability_;
    bool was_;
};

}  // namespace

CWorldRenderer::~CWorldRenderer() = default;

void CWorldRenderer::InitGl()
{
    if (!quadric_)
        quadric_ = gluNewQuadric();
}

void CWorldRenderer::ReleaseGl()
{
    if (quadric_)
        gluDeleteQuadric(quadric_);
    quadric_ = nullptr;
}

void CWorldRenderer::SetupProjection(int width, int height)
{
    if (height == 0)
        height = 1;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<double>(width) / height, kNear, kFar);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    ApplyCulling();
    glCullFace(GL_BACK);
    glEnable(GL_LIGHTING);
    glFrontFace(GL_CW);

    const GLfloat grey[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat position[] = {0.0f, 1.0f, 0.0f, 0.0f};
    const GLfloat down[] = {0.0f, -1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 0.5f);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 0.5f);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, down);
    glEnable(GL_LIGHT0);

    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);

    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

void CWorldRenderer::Render()
{
    ApplyCulling();
    glClearColor(0.5f, 0.5f, 0.5f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(kZMirror);
    const Camera& c = camera_;
    gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.centre.x, c.centre.y, c.centre.z, c.up.x, c.up.y, c.up.z);

    DrawAxes();

    glColor3f(1.0f, 1.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, settings_.wireframe ? GL_LINE : GL_FILL);

    glInitNames();
    glPushName(0);
    counts_ = {};
    const Matrix4 view = CurrentClipMatrix();
    {
        const CStackedTexturing stacked;
        if (settings_.world && mission_) {
            glPushMatrix();
            counts_.worldMeshes = mission_->GetWorldModel().DrawInView(0, view);
            glPopMatrix();
        }
        glPushMatrix();
        DrawThings(view);
        glPopMatrix();
    }
    glPopName();
    glFlush();
}

// Plain red, green and blue: unlit and untextured, so that their colour does not
// depend on what was drawn or bound before them.
void CWorldRenderer::DrawAxes() const
{
    const CapabilityScope untextured(GL_TEXTURE_2D, false);
    const CapabilityScope unlit(GL_LIGHTING, false);
    glLineWidth(3.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(100.0f, 0.0f, 0.0f);
    glVertex3f(-100.0f, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 100.0f, 0.0f);
    glVertex3f(0.0f, -100.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 100.0f);
    glVertex3f(0.0f, 0.0f, -100.0f);
    glEnd();
    glLineWidth(1.0f);
}

void CWorldRenderer::DrawThings(const Matrix4& view)
{
    if (!mission_)
        return;
    const auto& things = mission_->GetThings();
    for (std::size_t i = 0; i < things.size(); ++i) {
        glLoadName(static_cast<GLuint>(i + 1));
        glPushMatrix();
        DrawThing(*things[i], view);
        glPopMatrix();
    }
}

// A thing wholly outside the view draws nothing, but its model still binds what it
// would have bound: a face group of material 0 in the next model draws with it.
void CWorldRenderer::DrawThing(const CSceneObjectThing& thing, const Matrix4& view)
{
    if (OutOfView(thing, view)) {
        if (thing.GetModel().IsLoaded())
            thing.GetModel().SkipDraw(0);
        return;
    }
    ++counts_.things;
    const Vector3 t = thing.GetTranslation();
    const AxisAngle r = thing.GetRotation();
    const Vector3 s = thing.GetScale();
    glTranslatef(t.x, t.y, t.z);
    glRotatef(r.angle, r.x, r.y, r.z);
    glScalef(s.x, s.y, s.z);
    const bool selected = &thing == selected_;
    if (thing.GetModel().IsLoaded()) {
        if (selected)
            glColor3f(1.0f, 0.0f, 0.0f);
        else
            glColor3f(1.0f, 1.0f, 1.0f);
        thing.GetModel().Draw(0);
        return;
    }
    if (selected)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(0.0f, 1.0f, 0.0f);
    DrawMarker();
}

// The box of its model, or of its marker sphere, under its translation, rotation
// and scale; a thing whose box or placement is not known is drawn.
bool CWorldRenderer::OutOfView(const CSceneObjectThing& thing, const Matrix4& view)
{
    const auto placement = PlacementMatrix(thing.GetTranslation(), thing.GetRotation(), thing.GetScale());
    if (!placement)
        return false;
    std::optional<ModelBox> box;
    if (thing.GetModel().IsLoaded()) {
        box = boxes_.BoxOf(thing.GetModel());
    } else if (const float radius = settings_.MarkerRadius(); radius > 0.0f) {
        box = ModelBox{{-radius, -radius, -radius}, {radius, radius, radius}};
    }
    return box && OutsideClipVolume(Multiply(view, *placement), *box);
}

// Untextured, so that a marker is plainly green or red whatever was bound last.
void CWorldRenderer::DrawMarker() const
{
    const float radius = settings_.MarkerRadius();
    if (radius == 0.0f || !quadric_)
        return;
    GLfloat saved[4];
    glGetFloatv(GL_CURRENT_COLOR, saved);
    glColor4f(saved[0], saved[1], saved[2], 0.25f);
    const CapabilityScope untextured(GL_TEXTURE_2D, false);
    const CapabilityScope unstacked(GL_TEXTURE_3D, false);
    gluSphere(quadric_, radius, 8, 8);
    glColor4fv(saved);
}

CSceneObjectThing* CWorldRenderer::Pick(int x, int y, int windowWidth, int windowHeight)
{
    return ThingOfName(PickName(x, y, windowWidth, windowHeight));
}

std::uint32_t CWorldRenderer::PickName(int x, int y, int windowWidth, int windowHeight)
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double aspect = static_cast<double>(windowWidth) / (windowHeight == 0 ? 1 : windowHeight);
    std::vector<GLuint> buffer(kFirstSelectionWords);
    GLint hits = -1;
    for (;;) {
        std::fill(buffer.begin(), buffer.end(), 0u);
        glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glRenderMode(GL_SELECT);
        glLoadMatrixf(kZMirror);
        gluPickMatrix(x, viewport[3] - y, 2.0, 2.0, viewport);
        gluPerspective(kFieldOfView, aspect, kNear, kFar);
        glMatrixMode(GL_MODELVIEW);
        Render();
        hits = glRenderMode(GL_RENDER);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        if (hits >= 0 || buffer.size() >= kMostSelectionWords)
            break;
        buffer.resize(buffer.size() * 4);
    }
    if (hits <= 0)
        return 0;
    // Records: name count, minimum depth, maximum depth, the names.
    std::uint32_t candidate = 0;
    GLuint best = 0;
    std::size_t at = 0;
    for (GLint hit = 0; hit < hits && at + 3 <= buffer.size(); ++hit) {
        const GLuint names = buffer[at];
        const GLuint minimum = buffer[at + 1];
        const std::size_t next = at + 3 + names;
        if (next > buffer.size())
            break;
        const std::uint32_t name = names > 0 ? buffer[next - 1] : 0;
        if (hit == 0 || minimum > best) {
            candidate = name;
            best = minimum;
        }
        at = next;
    }
    return candidate;
}

void CWorldRenderer::SetCurrentObject(CVerdaxData* object)
{
    mission_ = dynamic_cast<CMission*>(object);
}

CSceneObjectThing* CWorldRenderer::GetSelectedThing() const
{
    if (!mission_ || !selected_)
        return nullptr;
    for (const auto& thing : mission_->GetThings()) {
        if (thing.get() == selected_)
            return thing.get();
    }
    return nullptr;
}

CSceneObjectThing* CWorldRenderer::ThingOfName(std::uint32_t name) const
{
    if (!mission_ || name == 0 || name > mission_->GetThings().size())
        return nullptr;
    return mission_->GetThings()[name - 1].get();
}

void CWorldRenderer::CycleMarkerMode()
{
    settings_.markerMode = static_cast<std::uint8_t>((settings_.markerMode + 1) % 3);
}

void CWorldRenderer::ToggleCulling()
{
    settings_.culling = !settings_.culling;
    ApplyCulling();
}

void CWorldRenderer::ApplyCulling() const
{
    if (settings_.culling)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
}
