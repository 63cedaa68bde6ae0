#pragma once
// The full-screen hardware surface of the show: an OpenGL window over the whole screen that
// keeps the frame in one texture, takes only the parts of a frame that changed, draws it at
// the place the show gives it (black around it) and flips with vertical sync. Where OpenGL
// cannot start (no driver, offscreen platform) or only a software renderer is there, Initialize
// reports failure and the show paints through its plain window instead.

#include "platform/Bitmap.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstddef>
#include <string>
#include <vector>

namespace ml {

class TGLSurfaceWindow;

class TFullScreenSurface {
public:
    // The surface's widget is created as a child of parent, hidden until Initialize succeeds.
    explicit TFullScreenSurface(QWidget* parent);
    ~TFullScreenSurface();

    // Whether a surface is worth making here at all, asked before one is: not on the
    // platforms without a display (reason empty) and, unless MIRRORLAKE_GL=force, not where
    // no graphics device is there, so that OpenGL could only render in software.
    static bool Possible(std::string& reason);

    // Sets the display mode the surface works at: the desktop's size and depth.
    void SetDisplay(int width, int height, int bitCount);
    // Creates the GL context and the texture; false when OpenGL is not available or renders
    // in software (unless MIRRORLAKE_GL=force), with the reason in FailureReason (empty on
    // the platforms without a display).
    bool Initialize();
    bool Initialized() const { return Ready; }
    const std::string& FailureReason() const { return Failure; }
    // True while the surface takes frames: the texture is kept whether or not the window is
    // on screen at the moment, so that a part uploaded later lands on a complete frame.
    bool CanDraw() const { return Ready; }

    int SurfaceWidth() const { return Width; }
    int SurfaceHeight() const { return Height; }

    // Puts a bitmap on the back surface, scaled into placement (in screen pixels; the rest
    // is black). With parts, only those rectangles of the bitmap (in its own coordinates)
    // changed since the last Draw of the same bitmap, and only they are uploaded; without,
    // all of it is.
    void Draw(const TBitmap& bitmap, const QRect& placement,
              const std::vector<QRect>* parts = nullptr);
    // Shows the back surface; waits for the vertical blank where the driver offers it. False
    // while the window is not on screen yet (it then shows the frame as soon as it is).
    bool Flip();
    // A copy of what the screen shows, at the surface's size.
    TBitmap BackSurface() const;
    // Bytes of pixels the last Draw sent to the texture.
    std::size_t LastUploadBytes() const { return UploadBytes; }

    QWidget* Widget() const { return Container.data(); }

private:
    TGLSurfaceWindow* Window = nullptr; // owned by Container
    QPointer<QWidget> Container;
    std::string Failure;
    std::size_t UploadBytes = 0;
    int Width = 0;
    int Height = 0;
    int BitCount = 32;
    bool Ready = false;
};

// Whether an OpenGL renderer string names a software rasteriser (Mesa's llvmpipe, softpipe,
// swrast), on which the GPU path would cost more than the plain window.
bool IsSoftwareRenderer(const std::string& renderer);

} // namespace ml
