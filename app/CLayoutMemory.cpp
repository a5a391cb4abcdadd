#include "app/CLayoutMemory.h"

#include "app/CMainFrame.h"
#include "app/WindowPlacement.h"
#include "game/CDravoDonView.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CommandIds.h"
#include "view3d/CGlFrame.h"
#include "view3d/CGlView.h"
#include "view3d/CameraNavigation.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>
#include <QToolBar>

#include <cmath>
#include <functional>
#include <utility>

namespace {

// Bumped when the bars' saved state changes its meaning; an older state is then
// not restored.
constexpr int kBarsVersion = 1;

QSettings Settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Verdax"), QStringLiteral("Verdax"));
}

// Calls `closing` when the watched window gets its close event.
class CloseWatcher final : public QObject {
public:
    CloseWatcher(QWidget* window, std::function<void()> closing) : QObject(window), closing_(std::move(closing))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            closing_();
        return false;
    }

private:
    std::function<void()> closing_;
};

QRect PrimaryArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

CLayoutMemory::CLayoutMemory(CMainFrame& frame) : frame_(frame), slots_(std::make_unique<QObject>())
{
    QObject::connect(frame.Action(ui::ID_VIEW_RESET_LAYOUT), &QAction::triggered, slots_.get(), [this] { Reset(); });
    // Saved while everything still shows: once the window is hidden, a floating bar
    // is hidden with it and would be remembered as closed. A close the user then
    // cancels has only saved the layout as it stands.
    new CloseWatcher(&frame, [this] { Save(); });
}

CLayoutMemory::~CLayoutMemory() = default;

QString CLayoutMemory::SettingsFile()
{
    return Settings().fileName();
}

void CLayoutMemory::Restore()
{
    QSettings settings = Settings();
    const QRect saved = settings.value(QStringLiteral("window/geometry")).toRect();
    if (saved.isNull()) {
        const QRect place = DefaultWindowPlace(PrimaryArea());
        frame_.resize(place.size());
        frame_.move(place.topLeft());
    } else {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens.append(screen->availableGeometry());
        frame_.setGeometry(PlaceSavedWindow(saved, screens, PrimaryArea()));
    }
    if (settings.value(QStringLiteral("window/maximized")).toBool())
        frame_.setWindowState(frame_.windowState() | Qt::WindowMaximized);
    frame_.restoreState(settings.value(QStringLiteral("window/bars")).toByteArray(), kBarsVersion);
    if (settings.contains(QStringLiteral("objectBar/vertical"))) {
        frame_.ObjectBar()->RestoreSizes(settings.value(QStringLiteral("objectBar/horizontal")).toSize(),
                                         settings.value(QStringLiteral("objectBar/vertical")).toSize(),
                                         settings.value(QStringLiteral("objectBar/floating")).toSize());
    }
    RestoreWorld();
}

void CLayoutMemory::RestoreWorld()
{
    QSettings settings = Settings();
    bool ok = false;
    const int markerMode = settings.value(QStringLiteral("world/markerMode")).toInt(&ok);
    if (ok && markerMode >= 0 && markerMode <= 2)
        world_.markerMode = static_cast<std::uint8_t>(markerMode);
    world_.culling = settings.value(QStringLiteral("world/culling"), world_.culling).toBool();
    world_.world = settings.value(QStringLiteral("world/world"), world_.world).toBool();
    world_.wireframe = settings.value(QStringLiteral("world/wireframe"), world_.wireframe).toBool();
    const double speed = settings.value(QStringLiteral("world/flySpeed")).toDouble(&ok);
    if (ok && std::isfinite(speed) && speed > 0)
        flySpeed_ = static_cast<float>(speed);
}

void CLayoutMemory::Save()
{
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("window/geometry"), frame_.normalGeometry());
    settings.setValue(QStringLiteral("window/maximized"), frame_.isMaximized());
    settings.setValue(QStringLiteral("window/bars"), frame_.saveState(kBarsVersion));
    const ui::CSizingTabCtrlBar* objectBar = frame_.ObjectBar();
    settings.setValue(QStringLiteral("objectBar/horizontal"), objectBar->GetHorizontalSize());
    settings.setValue(QStringLiteral("objectBar/vertical"), objectBar->GetVerticalSize());
    settings.setValue(QStringLiteral("objectBar/floating"), objectBar->GetFloatingSize());
    SaveWorld();
}

void CLayoutMemory::SaveWorld()
{
    if (const auto* world = dynamic_cast<const CGlFrame*>(frame_.MdiArea()->ChildOfKind(DON_VIEW_WORLD)))
        TakeFrom(*world->GetView());
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("world/markerMode"), int(world_.markerMode));
    settings.setValue(QStringLiteral("world/culling"), world_.culling);
    settings.setValue(QStringLiteral("world/world"), world_.world);
    settings.setValue(QStringLiteral("world/wireframe"), world_.wireframe);
    if (flySpeed_)
        settings.setValue(QStringLiteral("world/flySpeed"), double(*flySpeed_));
}

// The bars are put in again as the window's creation puts them, each at the width
// it asks for, which is what a new window gives it.
void CLayoutMemory::Reset()
{
    frame_.setWindowState(frame_.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    const QRect place = DefaultWindowPlace(PrimaryArea());
    frame_.resize(place.size());
    frame_.move(place.topLeft());
    QToolBar* toolBar = frame_.ToolBar();
    frame_.addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->show();
    ui::CSizingTabCtrlBar* objectBar = frame_.ObjectBar();
    objectBar->ResetSizes();
    QDockWidget* editBar = frame_.EditBar();
    for (const auto& [bar, area] : {std::pair<QDockWidget*, Qt::DockWidgetArea>{objectBar, Qt::LeftDockWidgetArea},
                                    {editBar, Qt::RightDockWidgetArea}}) {
        bar->setFloating(false);
        frame_.addDockWidget(area, bar);
        bar->show();
    }
    frame_.resizeDocks({objectBar, editBar}, {objectBar->sizeHint().width(), editBar->sizeHint().width()},
                       Qt::Horizontal);
}

CGlFrame* CLayoutMemory::NewWorldFrame()
{
    auto* frame = new CGlFrame;
    CGlView* view = frame->GetView();
    ApplyTo(*view);
    new CloseWatcher(frame, [this, view] { TakeFrom(*view); });
    return frame;
}

void CLayoutMemory::ApplyTo(CGlView& view) const
{
    view.Renderer().Settings() = world_;
    if (!flySpeed_)
        return;
    Camera& camera = view.Renderer().GetCamera();
    const view3d::CameraPlace place{camera.eye, camera.centre};
    const view3d::CameraPlace scaled = view3d::ScaleFlySpeed(place, *flySpeed_ / view3d::FlySpeed(place));
    camera.eye = scaled.eye;
    camera.centre = scaled.centre;
}

void CLayoutMemory::TakeFrom(const CGlView& view)
{
    world_ = view.Renderer().Settings();
    const Camera& camera = view.Renderer().GetCamera();
    flySpeed_ = view3d::FlySpeed({camera.eye, camera.centre});
}
