#pragma once
// An OpenGL context without a window, for the command-line tool, the tests and the
// benchmarks: EGL on Mesa's surfaceless platform (or the default display), desktop
// OpenGL with the compatibility profile, so that the fixed-function calls of the
// drawing and the texture upload work as in the editor's view.

#include <string>

class CHeadlessGlContext {
public:
    // Creates the context and makes it current. When that is impossible, IsValid()
    // is false and GetFailure() says why; nothing is thrown.
    CHeadlessGlContext();
    ~CHeadlessGlContext();
    CHeadlessGlContext(const CHeadlessGlContext&) = delete;
    CHeadlessGlContext& operator=(const CHeadlessGlContext&) = delete;

    bool IsValid() const { return context_ != nullptr; }
    const std::string& GetFailure() const { return failure_; }

    // Makes this context current again (after another one was).
    bool MakeCurrent();

private:
    bool Create();
    void Release();

    void* display_ = nullptr;  // EGLDisplay
    void* context_ = nullptr;  // EGLContext
    void* surface_ = nullptr;  // EGLSurface: a 1×1 pbuffer when surfaceless contexts are not offered
    std::string failure_;
};
