#pragma once
// The world window's view: a widget showing the current mission's world, axes and
// things through CWorldRenderer, and a view of the mediator. It turns Qt's events
// into the camera's moves, the settings' toggles and the renderer's frames; the
// drawing is not here.
//
// Each frame is drawn by OpenGL (compatibility profile) into an offscreen framebuffer
// with a depth buffer, in a context of the view's own that shares the textures of
// every other, then read back and painted as an image. A window holding a
// QOpenGLWidget composes itself through GL at every update of any of its widgets,
// the whole window copied twice: about 16 ms each time on a software renderer, where
// reading a frame back costs under a millisecond.
//
// Keys: the arrows move (on key down, with auto-repeat); Home puts the eye at the
// origin; C toggles back-face culling, S cycles the marker mode, T the world, W the
// wireframe (on key up); F frames the selected thing and Shift+F the whole mission
// (before the main window's commands of those keys), + (or =) and - double and
// halve the fly speed (on key down, once a press). Mouse: the wheel moves forward
// and back (with Ctrl: doubles or halves the fly speed a notch); a left drag moves
// sideways and up and down (with Shift: forward and back); a right drag turns.
// With Ctrl: a left click picks the thing under the cursor, selects it in the
// mission tree and draws it red; drags edit the selected thing of the current
// mission through the mediator's edit path, one undo step a drag: a left drag moves
// it on the ground (with Shift: up and down), announced when the left button is
// released; a right drag turns it (with Shift: about the first angle), both
// buttons about the third angle, each turn announced at once.
//
// The first time the view shows a mission, a status message says how to see all of
// it (the camera stays where it is).
//
// Notifications: DON_MISSION_SELECTED makes the sender's mission current;
// DON_DATA_SELECTED makes the sender's object the selected one; DON_OBJECT_CHANGED
// and DON_OBJECT_ADDED redraw (the things are drawn from the mission's list);
// DON_OBJECT_REMOVING forgets the object when it is the selected one, and redraws. The view leaves the mediator when destroyed.

#include "game/CDravoDonView.h"
#include "view3d/CWorldRenderer.h"
#include "view3d/Framing.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class COffscreenFrame;
class QOffscreenSurface;
class QOpenGLContext;

class CGlView : public QWidget, public CDravoDonView {
public:
    explicit CGlView(QWidget* parent = nullptr);
    ~CGlView() override;

    void Notify(CDravoDonView* sender, int code, int arg) override;

    CWorldRenderer& Renderer() { return renderer_; }
    const CWorldRenderer& Renderer() const { return renderer_; }

    // Asks for a frame (drawn when the window next paints).
    void Render();

    // Called as every frame is drawn (the frame retitles itself after the current
    // mission and its modified mark).
    void SetPainted(std::function<void()> callback) { painted_ = std::move(callback); }

    // Moves the camera so that the selected thing of the current mission stands
    // framed straight in front of the eye (its model's bounding sphere, or its
    // marker's size), keeping the view direction and the fly speed; nothing when no
    // thing of the current mission is selected.
    void FrameSelection();
    // "Показать всё": the same for the whole current mission, its world model and
    // every thing (view3d::MissionSphere); nothing without a mission.
    void FrameAll();

    // The status bar's message the first time the view shows `mission`.
    static QString FirstShownText(const CMission& mission);

    // "Скорость: " and the fly speed, the view direction's length that scales every
    // move.
    QString SpeedText() const;
    // Called with SpeedText at once and whenever a camera change alters it (the main
    // window shows it in its status bar), and with an empty text when the view goes.
    void SetSpeedShown(std::function<void(const QString&)> callback);

    // The size SetupProjection last had, in device pixels; for tests.
    QSize ProjectionSize() const;

    // Makes the view's context current, with its frame's buffers bound when it has
    // drawn one; the context is made, and the renderer set up in it, the first time.
    // False when GL cannot give the view a context.
    bool MakeCurrent();
    void DoneCurrent();

    // Draws a frame now and returns it, in device pixels; a null image when GL failed.
    QImage GrabFrame();
    // The frames painted so far.
    std::uint64_t FramesShown() const { return framesShown_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // The thing under the client point, as a Ctrl-click picks it.
    CSceneObjectThing* PickAt(QPoint at);

private:
    // The frame into image_, at the widget's size in device pixels; false when GL
    // failed.
    bool DrawFrame();
    void ReleaseGl();
    void OnPick(QPoint at);
    void EditSelectedThing(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, float j, float k);
    // The selected thing of the current mission, found anew.
    CSceneObjectThing* SelectedThing();
    void FrameSphere(const view3d::Sphere& sphere);
    void AnnounceMission();
    void ScaleSpeed(float factor);
    void ShowSpeed();

    CWorldRenderer renderer_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<COffscreenFrame> frame_;
    bool glFailed_ = false;  // no context could be made: none is tried again
    QImage image_;  // the last frame
    std::uint64_t framesShown_ = 0;
    std::optional<QPoint> lastCursor_;
    std::function<void()> painted_;
    std::function<void(const QString&)> speedShown_;
    QString shownSpeed_;  // the text speedShown_ last had
    std::uint64_t gesture_ = 0;  // the edits of the drag under way; 0 between drags
    std::vector<const CMission*> announced_;  // compared only, never followed
};
