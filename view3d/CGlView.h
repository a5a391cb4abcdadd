#pragma once
// The world window's view: an OpenGL widget (compatibility profile, depth buffer,
// double buffering) showing the current mission's world, axes and things through
// CWorldRenderer, and a view of the mediator. It turns Qt's events into the camera's
// moves, the settings' toggles and the renderer's frames; the drawing is not here.
//
// Keys: the arrows move (on key down, with auto-repeat); Home puts the eye at the
// origin; C toggles back-face culling, S cycles the marker mode, T the world, W the
// wireframe (on key up). Mouse: the wheel moves forward and back; a left drag moves
// sideways and up and down (with Shift: forward and back); a right drag turns.
//
// Notifications: DON_MISSION_SELECTED makes the sender's mission current;
// DON_DATA_SELECTED makes the sender's object the selected one; DON_OBJECT_CHANGED
// redraws. The view leaves the mediator when destroyed.

#include "game/CDravoDonView.h"
#include "view3d/CWorldRenderer.h"

#include <QOpenGLWidget>
#include <QPoint>

#include <functional>
#include <optional>

class CGlView : public QOpenGLWidget, public CDravoDonView {
public:
    explicit CGlView(QWidget* parent = nullptr);
    ~CGlView() override;

    void Notify(CDravoDonView* sender, int code, int arg) override;

    CWorldRenderer& Renderer() { return renderer_; }
    const CWorldRenderer& Renderer() const { return renderer_; }

    // Asks for a frame (drawn when the window next paints).
    void Render();

    // Called after the current mission changed (the frame retitles itself).
    void SetMissionChanged(std::function<void()> callback) { missionChanged_ = std::move(callback); }

    // The size SetupProjection last had, in device pixels; for tests.
    QSize ProjectionSize() const { return projectionSize_; }

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ReleaseGl();

    CWorldRenderer renderer_;
    std::optional<QPoint> lastCursor_;
    QSize projectionSize_;
    std::function<void()> missionChanged_;
};
