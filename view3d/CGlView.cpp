#include "view3d/CGlView.h"

#include "core/NumberText.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/ObjectEdit.h"
#include "platform/CodePage.h"
#include "view3d/COffscreenFrame.h"
#include "view3d/CameraNavigation.h"
#include "view3d/ThingEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStatusTipEvent>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kMouseFactor = 0.005f;
constexpr float kArrowStep = 8.0f;

QSurfaceFormat ViewFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(std::max(format.depthBufferSize(), 24));
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return format;
}

}  // namespace

CGlView::CGlView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("glView"));
    setAccessibleName(QStringLiteral("Вид Мира"));
    // Every paint covers the whole view with the frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // the last cursor position follows every move
    setCursor(Qt::ArrowCursor);
}

CGlView::~CGlView()
{
    ReleaseGl();
    if (speedShown_)
        speedShown_(QString());  // no speed without the view
}

void CGlView::ReleaseGl()
{
    if (!context_)
        return;
    // Without a current context the deletions reach nothing: the buffers go with it.
    const bool current = context_->makeCurrent(surface_.get());
    if (current)
        renderer_.ReleaseGl();
    frame_.reset();
    if (current)
        context_->doneCurrent();
    context_.reset();
    surface_.reset();
}

bool CGlView::MakeCurrent()
{
    if (context_) {
        if (!context_->makeCurrent(surface_.get()))
            return false;
        if (frame_)
            frame_->Bind();
        return true;
    }
    if (glFailed_)
        return false;
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(ViewFormat());
    context->setShareContext(QOpenGLContext::globalShareContext());
    auto surface = std::make_unique<QOffscreenSurface>();
    if (!context->create()) {
        glFailed_ = true;
        return false;
    }
    surface->setFormat(context->format());
    surface->create();
    if (!surface->isValid() || !context->makeCurrent(surface.get())) {
        glFailed_ = true;
        return false;
    }
    context_ = std::move(context);
    surface_ = std::move(surface);
    renderer_.InitGl();
    return true;
}

void CGlView::DoneCurrent()
{
    if (context_)
        context_->doneCurrent();
}

bool CGlView::DrawFrame()
{
    if (!MakeCurrent())
        return false;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(std::max(1, qRound(width() * ratio)), std::max(1, qRound(height() * ratio)));
    if (!frame_ || frame_->Width() != pixels.width() || frame_->Height() != pixels.height()) {
        frame_.reset();
        auto frame = std::make_unique<COffscreenFrame>(pixels.width(), pixels.height());
        image_ = QImage(pixels, QImage::Format_RGB32);
        if (!frame->IsValid() || image_.isNull()) {
            frame.reset();
            DoneCurrent();
            return false;
        }
        frame_ = std::move(frame);
        renderer_.SetupProjection(pixels.width(), pixels.height());
    }
    renderer_.SetCurrentObject(GetObject());
    if (painted_)
        painted_();
    renderer_.Render();
    // RGB32's rows are the width's words exactly.
    frame_->ReadOpaqueArgb(std::span(reinterpret_cast<std::uint32_t*>(image_.bits()),
                                     static_cast<std::size_t>(pixels.width()) * static_cast<std::size_t>(pixels.height())));
    DoneCurrent();
    image_.setDevicePixelRatio(ratio);
    AnnounceMission();
    return true;
}

void CGlView::paintEvent(QPaintEvent* /*event*/)
{
    const bool drawn = DrawFrame();
    QPainter painter(this);
    if (!drawn) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(QPoint(0, 0), image_);
    ++framesShown_;
}

// The projection is set up for each new frame, at the frame's size.
QSize CGlView::ProjectionSize() const
{
    return frame_ ? QSize(frame_->Width(), frame_->Height()) : QSize();
}

QImage CGlView::GrabFrame()
{
    return DrawFrame() ? image_.copy() : QImage();
}

void CGlView::Render()
{
    update();
    ShowSpeed();
}

// The mediator may have set the current object since the last frame.
CSceneObjectThing* CGlView::SelectedThing()
{
    renderer_.SetCurrentObject(GetObject());
    return renderer_.GetSelectedThing();
}

void CGlView::FrameSelection()
{
    if (const CSceneObjectThing* thing = SelectedThing())
        FrameSphere(view3d::ThingSphere(*thing, renderer_.Settings().MarkerRadius()));
}

void CGlView::FrameAll()
{
    renderer_.SetCurrentObject(GetObject());
    const CMission* mission = renderer_.GetMission();
    if (!mission)
        return;
    if (const std::optional<view3d::Sphere> sphere = view3d::MissionSphere(*mission, renderer_.Settings().MarkerRadius()))
        FrameSphere(*sphere);
}

void CGlView::FrameSphere(const view3d::Sphere& sphere)
{
    Camera& camera = renderer_.GetCamera();
    const float aspect = height() > 0 ? static_cast<float>(width()) / static_cast<float>(height()) : 1.0f;
    const view3d::CameraPlace framed =
        view3d::FrameSphere({camera.eye, camera.centre}, sphere.centre, sphere.radius, aspect);
    camera.eye = framed.eye;
    camera.centre = framed.centre;
    Render();
}

// The first time the view shows a mission, the status bar tells how to see all of
// it: a new camera often looks at nothing. The message travels up to the main
// window's message pane.
void CGlView::AnnounceMission()
{
    const auto* mission = dynamic_cast<const CMission*>(GetObject());
    if (!mission || std::ranges::find(announced_, mission) != announced_.end())
        return;
    announced_.push_back(mission);
    QStatusTipEvent tip(FirstShownText(*mission));
    QApplication::sendEvent(this, &tip);
}

QString CGlView::FirstShownText(const CMission& mission)
{
    return QStringLiteral("%1: Shift+F (Вид → Показать всё) покажет всю миссию")
        .arg(QString::fromStdString(platform::ToUtf8(mission.GetName())));
}

QString CGlView::SpeedText() const
{
    const Camera& camera = renderer_.GetCamera();
    return QStringLiteral("Скорость: ") +
           QString::fromStdString(FormatFieldNumber(view3d::FlySpeed({camera.eye, camera.centre})));
}

void CGlView::SetSpeedShown(std::function<void(const QString&)> callback)
{
    speedShown_ = std::move(callback);
    shownSpeed_ = SpeedText();
    if (speedShown_)
        speedShown_(shownSpeed_);
}

// Home and the turns change the speed too (a turn by rounding only), so every
// camera change asks.
void CGlView::ShowSpeed()
{
    if (!speedShown_)
        return;
    QString text = SpeedText();
    if (text == shownSpeed_)
        return;
    shownSpeed_ = std::move(text);
    speedShown_(shownSpeed_);
}

void CGlView::ScaleSpeed(float factor)
{
    Camera& camera = renderer_.GetCamera();
    const view3d::CameraPlace scaled = view3d::ScaleFlySpeed({camera.eye, camera.centre}, factor);
    camera.eye = scaled.eye;
    camera.centre = scaled.centre;
    Render();
}

void CGlView::Notify(CDravoDonView* sender, int code, int /*arg*/)
{
    CVerdaxData* object = sender ? sender->GetObject() : nullptr;
    switch (code) {
    case DON_MISSION_SELECTED:
        if (auto* mission = dynamic_cast<CMission*>(object)) {
            SetObject(mission);
            Render();
            // Told now, the status bar shows it with the frame that follows, where a
            // text changed while the frame is drawn would be shown by a second
            // composition of the window.
            if (isVisible())
                AnnounceMission();
        }
        break;
    case DON_DATA_SELECTED:
        if (object && !dynamic_cast<CMission*>(object)) {
            renderer_.SetSelected(object);
            Render();
        }
        break;
    case DON_OBJECT_CHANGED:
    case DON_OBJECT_ADDED:
        Render();
        break;
    case DON_OBJECT_REMOVING:
        if (object && renderer_.GetSelected() == object)
            renderer_.SetSelected(nullptr);
        Render();
        break;
    default:
        break;
    }
}

// F and Shift+F are the view's own keys while it has the focus, before the main
// window's commands of the same keys.
bool CGlView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_F && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CGlView::keyPressEvent(QKeyEvent* event)
{
    Camera& camera = renderer_.GetCamera();
    switch (event->key()) {
    case Qt::Key_Left:
        camera.Move(-kArrowStep, 0.0f, 0.0f);
        break;
    case Qt::Key_Right:
        camera.Move(kArrowStep, 0.0f, 0.0f);
        break;
    case Qt::Key_Up:
        camera.Move(0.0f, 0.0f, -kArrowStep);
        break;
    case Qt::Key_Down:
        camera.Move(0.0f, 0.0f, kArrowStep);
        break;
    // The keypad's keys come as the same keys; = is + without Shift.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (!event->isAutoRepeat())
            ScaleSpeed(2.0f);
        break;
    case Qt::Key_Minus:
        if (!event->isAutoRepeat())
            ScaleSpeed(0.5f);
        break;
    // Read on the press: the release may come after Shift's.
    case Qt::Key_F:
        if (event->isAutoRepeat())
            break;
        if (event->modifiers() & Qt::ShiftModifier)
            FrameAll();
        else
            FrameSelection();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    Render();
}

// The letter keys act once when released; held keys repeat only their presses.
void CGlView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    RenderSettings& settings = renderer_.Settings();
    switch (event->key()) {
    case Qt::Key_Home:
        renderer_.GetCamera().ResetEye();
        break;
    case Qt::Key_C:
        // The frame's projection applies the setting when no context can be made.
        if (MakeCurrent()) {
            renderer_.ToggleCulling();
            DoneCurrent();
        } else {
            renderer_.Settings().culling = !renderer_.Settings().culling;
        }
        break;
    case Qt::Key_S:
        renderer_.CycleMarkerMode();
        break;
    case Qt::Key_T:
        settings.world = !settings.world;
        break;
    case Qt::Key_W:
        settings.wireframe = !settings.wireframe;
        break;
    default:
        QWidget::keyReleaseEvent(event);
        return;
    }
    Render();
}

void CGlView::mousePressEvent(QMouseEvent* event)
{
    // Qt holds the mouse for the widget while a button is down. A drag counts from
    // where the button went down, even when no move came before.
    setFocus(Qt::MouseFocusReason);
    lastCursor_ = event->position().toPoint();
    if (gesture_ == 0)
        gesture_ = CDravoDon::Instance().NewGesture();
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
        OnPick(event->position().toPoint());
    event->accept();
}

// Moves of a thing were applied unannounced; the release tells the other views.
void CGlView::mouseReleaseEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->buttons() == Qt::NoButton)
        gesture_ = 0;
    if (event->button() == Qt::LeftButton && SelectedThing())
        CDravoDon::Instance().Broadcast(this, DON_OBJECT_CHANGED, 0);
    event->accept();
}

CSceneObjectThing* CGlView::PickAt(QPoint at)
{
    if (!MakeCurrent())
        return nullptr;
    const qreal ratio = devicePixelRatioF();
    CSceneObjectThing* picked = renderer_.Pick(qRound(at.x() * ratio), qRound(at.y() * ratio),
                                               qRound(width() * ratio), qRound(height() * ratio));
    DoneCurrent();
    return picked;
}

// The pick becomes the selection here and, through the tree, everywhere.
void CGlView::OnPick(QPoint at)
{
    CSceneObjectThing* picked = PickAt(at);
    renderer_.SetSelected(picked);
    if (IMissionTree* tree = CDravoDon::Instance().GetMissionTree())
        tree->SelectObject(picked);
    Render();
}

void CGlView::EditSelectedThing(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, float j, float k)
{
    CSceneObjectThing* thing = SelectedThing();
    if (!thing)
        return;
    const bool shift = keys & Qt::ShiftModifier;
    const Vector3 d = renderer_.GetCamera().Direction();
    ObjectEdit edit;
    edit.gesture = gesture_;
    bool announce = true;
    if (buttons == Qt::LeftButton) {
        edit.kind = EditKind::Move;
        const Vector3 t = thing->GetTranslation();
        edit.translation = shift ? thingedit::MoveUpDown(t, d, j) : thingedit::MoveOnGround(t, d, j, k);
        announce = false;
    } else if (buttons == Qt::RightButton) {
        edit.kind = EditKind::Turn;
        const AxisAngle r = thing->GetRotation();
        edit.rotation = shift ? thingedit::TurnByAngles(r, k * 10.0f, 0.0f) : thingedit::TurnByQuotients(r, k * 100.0f);
    } else if (buttons == (Qt::LeftButton | Qt::RightButton) && !shift) {
        edit.kind = EditKind::Turn;
        edit.rotation = thingedit::TurnByAngles(thing->GetRotation(), 0.0f, j * 10.0f);
    } else {
        return;
    }
    CDravoDon::Instance().ApplyEdit(this, *thing, edit, announce);
    Render();
}

void CGlView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const QPoint last = lastCursor_.value_or(at);
    lastCursor_ = at;
    const float j = static_cast<float>(at.y() - last.y()) * kMouseFactor;
    const float k = static_cast<float>(at.x() - last.x()) * kMouseFactor;
    const Qt::MouseButtons buttons = event->buttons();
    const Qt::KeyboardModifiers keys = event->modifiers();
    Camera& camera = renderer_.GetCamera();
    if (keys & Qt::ControlModifier) {
        EditSelectedThing(buttons, keys, j, k);
        return;
    }
    if (buttons == Qt::LeftButton && !(keys & Qt::ShiftModifier))
        camera.Move(2.0f * k, -2.0f * j, 0.0f);
    else if (buttons == Qt::LeftButton)
        camera.Move(0.0f, 0.0f, 2.0f * j);
    else if (buttons == Qt::RightButton)
        camera.Orbit(j, k);
    else
        return;
    Render();
}

// A notch is 120; finer wheels scale by their share of one.
void CGlView::wheelEvent(QWheelEvent* event)
{
    const float z = static_cast<float>(event->angleDelta().y());
    if (event->modifiers() & Qt::ControlModifier) {
        ScaleSpeed(std::exp2(z / 120.0f));
        return;
    }
    renderer_.GetCamera().Move(0.0f, 0.0f, -z * kMouseFactor);
    Render();
}
