#pragma once
// The editor's OpenGL set-up on Qt. The world window draws with fixed-function GL
// and GLU, and the textures of every mission must be usable in every view's
// context, whenever the mission was loaded.

namespace view3d {

// Before the QApplication exists: the compatibility-profile default surface format
// (depth buffer, double buffering) and one share group for all of Qt's contexts.
// Returns `argc`, so that it can run in an application's constructor before its base.
int& PrepareOpenGl(int& argc);

// After the QApplication exists: every texture is uploaded with Qt's global share
// context current (on a surface of its own), so that it is valid in every view. False
// when there is no such context; textures then go to whatever context is current.
bool InstallTextureContext();

}  // namespace view3d
