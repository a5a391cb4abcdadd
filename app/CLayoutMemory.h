#pragma once
// The layout of the editor's windows between runs, kept with Qt's settings in the
// user's configuration folder ($XDG_CONFIG_HOME, by default ~/.config, then
// Verdax/Verdax.conf): the main window's place, size and maximised state; where the
// toolbar and the object and edit bars stand, their sizes and whether they show;
// and the world view's marker mode, face culling, world, wireframe and fly speed.
//
// Start-up restores the window and its bars before the window shows; a saved place
// that lies on no screen now is not restored (the window keeps its size, cut to the
// primary screen, in that screen's middle). Every new world window takes the
// remembered view settings; they are taken back from a world window as it closes
// and from the one still open when the main window closes, when everything is saved.
// "Вид → Сбросить раскладку" puts the window and the bars back where a new window
// has them; the world view keeps its settings, which its keys change.
//
// Stored values are checked as they are read: a value of the wrong kind or out of
// range leaves the default in its place.

#include "view3d/CWorldRenderer.h"

#include <QString>

#include <QObject>

#include <memory>
#include <optional>

class CGlFrame;
class CGlView;
class CMainFrame;

class CLayoutMemory {
public:
    // `frame` has been built (Create) and is not shown yet; its command
    // "Сбросить раскладку" is answered here from now on, and the layout is saved
    // whenever the window is asked to close. Outlives `frame`.
    explicit CLayoutMemory(CMainFrame& frame);
    ~CLayoutMemory();

    // The window's geometry, maximised state and bars from the settings, else a new
    // window's place, for the show that follows; and the world view's settings.
    void Restore();
    // Everything, from the window as it is now (it should be showing).
    void Save();
    // "Сбросить раскладку".
    void Reset();

    // A new world window, its view set as remembered; it gives its settings back
    // when it closes.
    CGlFrame* NewWorldFrame();

    // The settings file, for the user and the tests.
    static QString SettingsFile();

private:
    void ApplyTo(CGlView& view) const;
    void TakeFrom(const CGlView& view);
    void RestoreWorld();
    void SaveWorld();

    CMainFrame& frame_;
    std::unique_ptr<QObject> slots_;  // the context of the command's connection
    RenderSettings world_;
    std::optional<float> flySpeed_;  // none: a new camera's
};
