#include "view3d/GlSetup.h"

#include "model/CTextureManager.h"

#include <QCoreApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace view3d {

int& PrepareOpenGl(int& argc)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return argc;
}

bool InstallTextureContext()
{
    QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    if (!shared)
        return false;
    // Lives as long as the application, as the share context does.
    auto* surface = new QOffscreenSurface(nullptr, QCoreApplication::instance());
    surface->setFormat(shared->format());
    surface->create();
    CTextureManager::Instance().SetUploadContext([shared, surface] { shared->makeCurrent(surface); });
    QObject::connect(surface, &QObject::destroyed, [] { CTextureManager::Instance().SetUploadContext(nullptr); });
    return true;
}

}  // namespace view3d
