#include "model/CHeadlessGlContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

namespace {

bool HasExtension(EGLDisplay display, const char* name)
{
    const char* list = eglQueryString(display, EGL_EXTENSIONS);
    if (!list)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

EGLDisplay InitializedOrNone(EGLDisplay display)
{
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr))
        return display;
    return EGL_NO_DISPLAY;
}

// Mesa's surfaceless platform needs neither an X server nor a GPU device; the
// default display is the fallback for EGL implementations without it.
EGLDisplay OpenDisplay()
{
    if (HasExtension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless")) {
        const auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay) {
            const EGLDisplay display =
                InitializedOrNone(getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
            if (display != EGL_NO_DISPLAY)
                return display;
        }
    }
    return InitializedOrNone(eglGetDisplay(EGL_DEFAULT_DISPLAY));
}

EGLContext CreateCompatibilityContext(EGLDisplay display, EGLConfig config)
{
    const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                    EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, compatibility);
    if (context != EGL_NO_CONTEXT)
        return context;
    // Without the profile attribute a desktop GL context is a compatibility one.
    return eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
}

std::string EglErrorText()
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(eglGetError()));
    return hex;
}

}  // namespace

CHeadlessGlContext::CHeadlessGlContext()
{
    if (!Create()) {
        failure_ += " (EGL error " + EglErrorText() + ")";
        Release();
    }
}

bool CHeadlessGlContext::Create()
{
    const EGLDisplay display = OpenDisplay();
    if (display == EGL_NO_DISPLAY) {
        failure_ = "no EGL display";
        return false;
    }
    display_ = display;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        failure_ = "EGL offers no desktop OpenGL";
        return false;
    }
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint found = 0;
    if (!eglChooseConfig(display, wanted, &config, 1, &found) || found == 0) {
        failure_ = "no EGL configuration for desktop OpenGL";
        return false;
    }
    const EGLContext context = CreateCompatibilityContext(display, config);
    if (context == EGL_NO_CONTEXT) {
        failure_ = "no OpenGL context";
        return false;
    }
    context_ = context;
    if (!HasExtension(display, "EGL_KHR_surfaceless_context")) {
        const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        const EGLSurface surface = eglCreatePbufferSurface(display, config, size);
        if (surface == EGL_NO_SURFACE) {
            failure_ = "no pbuffer surface";
            return false;
        }
        surface_ = surface;
    }
    if (!MakeCurrent()) {
        failure_ = "the OpenGL context cannot be made current";
        return false;
    }
    return true;
}

bool CHeadlessGlContext::MakeCurrent()
{
    if (!context_)
        return false;
    const EGLSurface surface = surface_ ? static_cast<EGLSurface>(surface_) : EGL_NO_SURFACE;
    return eglMakeCurrent(display_, surface, surface, context_) == EGL_TRUE;
}

CHeadlessGlContext::~CHeadlessGlContext()
{
    Release();
}

void CHeadlessGlContext::Release()
{
    if (context_ && eglGetCurrentContext() == context_)
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface_)
        eglDestroySurface(display_, surface_);
    if (context_)
        eglDestroyContext(display_, context_);
    surface_ = nullptr;
    context_ = nullptr;
    // The display stays initialised: EGL shares it with every other context of the
    // process, and terminating it would take theirs along.
}
