#pragma once
// The full-screen hardware surface of the show: an OpenGL widget that takes a bitmap of any
// size, stretches it over the whole screen on the GPU and flips with vertical sync. Where
// OpenGL cannot start (no driver, offscreen platform) Initialize reports failure and the show
// paints through its plain window instead.

#include "platform/Bitmap.h"

#include <memory>

class QWidget;

namespace ml {

class TGLSurfaceWidget;

class TFullScreenSurface {
public:
    // The surface's widget is created as a child of parent, hidden until Initialize succeeds.
    explicit TFullScreenSurface(QWidget* parent);
    ~TFullScreenSurface();

    // Sets the display mode the surface works at: the desktop's size and depth.
    void SetDisplay(int width, int height, int bitCount);
    // Creates the GL context and the texture; false when OpenGL is not available.
    bool Initialize();
    bool Initialized() const { return Ready; }
    // True while the surface can take a frame (initialised and its window exposed).
    bool CanDraw() const;

    int SurfaceWidth() const { return Width; }
    int SurfaceHeight() const { return Height; }

    // Puts a bitmap on the back surface (stretched to the whole screen when flipped).
    void Draw(const TBitmap& bitmap);
    // Shows the back surface; waits for the vertical blank where the driver offers it.
    void Flip();
    // A copy of what the back surface holds, at the surface's size.
    TBitmap BackSurface() const;

    QWidget* Widget() const;

private:
    std::unique_ptr<TGLSurfaceWidget> Surface;
    int Width = 0;
    int Height = 0;
    int BitCount = 32;
    bool Ready = false;
};

} // namespace ml
