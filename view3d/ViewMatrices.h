#pragma once
// The z-mirror of the world window, diag(1, 1, −1, 1), column-major for GL: loaded
// under the camera's look-at and under the pick matrix, it turns the game's
// left-handed world into GL's right-handed eye space.

inline constexpr float kZMirror[16] = {
    1.0f, 0.0f, 0.0f,  0.0f,  //
    0.0f, 1.0f, 0.0f,  0.0f,  //
    0.0f, 0.0f, -1.0f, 0.0f,  //
    0.0f, 0.0f, 0.0f,  1.0f,  //
};
