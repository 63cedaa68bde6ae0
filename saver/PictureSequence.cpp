// Which picture the show uses next, how it is prepared for the screen, and the frame loop
// that steps the water and paces the frames.

#include "backend/FullScreenSurface.h"
#include "backend/PictureLoader.h"
#include "effects/BitmapRoutines.h"
#include "platform/Clock.h"
#include "platform/EndSignals.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/QMCProject.h"
#include "saver/ShowWindow.h"

#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace ml {

namespace {

// The quality setting that works the water at the screen's own size on the hardware path,
// so that a 4K screen shows 4K water.
constexpr int kScreenQuality = 3;

// The working size of the hardware path per quality setting; unknown values use the normal
// quality's 800 x 600.
void QualitySize(int quality, int& width, int& height) {
    switch (quality) {
    case 0:
        width = 1024, height = 768;
        break;
    case 2:
        width = 640, height = 480;
        break;
    default:
        width = 800, height = 600;
    }
}

int RoundToInt(double value) {
    return static_cast<int>(std::nearbyint(value));
}

void DrawInto(TBitmap& target, int x, int y, const TBitmap& source) {
    QPainter painter(&target.ToImage());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, source.ToImage());
}

// A size scaled, keeping its shape, until it touches the box's sides.
QSize FitKeepingShape(QSize size, QSize box) {
    if (size.isEmpty() || box.isEmpty())
        return box;
    const double ratio = static_cast<double>(size.width()) / size.height();
    if (size.width() > std::int64_t{size.height()} * box.width() / box.height())
        return {box.width(), std::max(1, RoundToInt(box.width() / ratio))};
    return {std::max(1, RoundToInt(box.height() * ratio)), box.height()};
}

} // namespace

void TQMfmScrSvr::NoteFirstFrame() {
    // Asked once: this runs with every frame, and the environment does not change.
    static bool pending = std::getenv("MIRRORLAKE_FIRST_FRAME") != nullptr;
    if (!pending)
        return;
    pending = false;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::fprintf(
        stderr, "first frame at %lld us\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void TQMfmScrSvr::NextImageIndex(int& index) {
    const int size = static_cast<int>(Pictures.size());
    if (ShowMode == 0 || ShowMode == 2) {
        if (size < 2) {
            index = 0;
            return;
        }
        std::uniform_int_distribution<int> pick(0, size - 1);
        int r;
        do
            r = pick(Random);
        while (r == index || (Role.ShownElsewhere && Role.ShownElsewhere(Pictures[r])));
        index = r;
    } else {
        ++index;
        if (index >= size)
            index = 0;
    }
}

QSize TQMfmScrSvr::ShownSize(QSize picture) const {
    if (!Stretch)
        return picture;
    const QSize screen(ScreenWidth, ScreenHeight);
    return Proportional ? FitKeepingShape(picture, screen) : screen;
}

QSize TQMfmScrSvr::SurfaceSizes(QSize picture) {
    // On screen the picture takes the place the window path gives it: the screen, the
    // screen's width or height in the picture's shape, or its own size.
    const QSize screen(ScreenWidth, ScreenHeight);
    const QSize shown = ShownSize(picture);
    PictureWidth = shown.width();
    PictureHeight = shown.height();
    DXDraw1->Widget()->setGeometry(0, 0, ScreenWidth, ScreenHeight);
    // The water is worked in that shape, at most at the quality's size; the graphics card
    // scales it to its place, never to another shape.
    QSize box = screen;
    if (ProjectSettings.Setting.DirectXQuality != kScreenQuality)
        QualitySize(ProjectSettings.Setting.DirectXQuality, box.rwidth(), box.rheight());
    if (shown.width() <= box.width() && shown.height() <= box.height())
        return shown;
    return FitKeepingShape(shown, box);
}

bool TQMfmScrSvr::IsPlainPicture(const std::string& name) {
    const std::string ext = UpperCase(ExtractFileExt(name));
    return ext == ".JPG" || ext == ".BMP" || ext == ".GIF";
}

void TQMfmScrSvr::LoadPicture() {
    const bool plain = IsPlainPicture(CurrentNameText);
    if (!plain && !FileExists(CurrentNameText))
        return;
    // The old picture's sounds end before the new picture is read: they are its own,
    // whatever slots the new one uses and whether or not it loads.
    Sounds.FreeSounds();
    if (plain) {
        // The buffer's size follows from the size the file stores, so that a big JPEG is
        // decoded no larger than the buffer needs.
        QSize buffer;
        const TBitmap decoded = ::ml::LoadPicture(CurrentNameText, [&](QSize stored) {
            buffer = PlainBufferSize(stored);
            return buffer;
        });
        PreparePlainPicture(decoded, buffer);
    } else {
        PrepareProjectPicture();
    }
    // Only a picture that loaded changes how frames are made: one that failed leaves the
    // old picture on screen, its water still moving.
    PlainPicture = plain;
    LoadedNameText = CurrentNameText;
    FullPaintPending = true;
}

QSize TQMfmScrSvr::PlainBufferSize(QSize stored) {
    if (UseDirectX)
        return SurfaceSizes(stored);
    const QSize shown = ShownSize(stored);
    PictureWidth = shown.width();
    PictureHeight = shown.height();
    return shown;
}

void TQMfmScrSvr::PreparePlainPicture(const TBitmap& decoded, QSize buffer) {
    if (UseDirectX || Stretch) {
        PlainBuffer = TBitmap(buffer.width(), buffer.height());
        FitBitmapSmooth(decoded, PlainBuffer);
    } else {
        PlainBuffer.Assign(decoded);
    }
}

void TQMfmScrSvr::PrepareProjectPicture() {
    TProject& project = *PictureProject;
    // The load fits the picture to the size it is worked at, which follows from the size the
    // file stores, so that a big photo is decoded no larger than that needs.
    bool sized = false;
    project.Load(CurrentNameText, [&](QSize stored) -> std::optional<TDisplayFit> {
        if (UseDirectX) {
            sized = true;
            const QSize working = SurfaceSizes(stored);
            if (working == stored)
                return std::nullopt;
            return TDisplayFit{false, working.width(), working.height()};
        }
        if (Stretch)
            return TDisplayFit{Proportional, ScreenWidth, ScreenHeight};
        return std::nullopt;
    });
    project.SetSpeed(Speed);
    if (!UseDirectX) {
        PictureWidth = project.Picture.Width();
        PictureHeight = project.Picture.Height();
    } else if (!sized) {
        // A file that failed before its picture was read still gets its place on the surface.
        SurfaceSizes(QSize(project.Picture.Width(), project.Picture.Height()));
    }
    Waves->SetProject(project);
    Waves->SetWeather(false);
    Waves->Initialize();
    Waves->SetWeather(project.Weather.Kind > 0);
    if (SoundOn) {
        Sounds.InitSounds(project);
        Sounds.PlaySounds(project);
    }
}

void TQMfmScrSvr::AppIdle() {
    // A tick that lets events through (a sound starting) must not start another inside it.
    if (InTick || ClosePending || !Waves)
        return;
    InTick = true;
    try {
        if (SoundOn && PictureProject)
            Sounds.PlaySounds(*PictureProject);
        // Tick counts wrap after 49.7 days; their unsigned difference is the time between
        // them across the wrap as well.
        const std::uint32_t elapsed = Clock().GetTickCount() - PictureStart;
        bool changed = false;
        if (AdvanceEnabled && static_cast<std::int64_t>(elapsed / 1000) >= CurrentDuration) {
            CurrentDuration = Duration;
            NextImageIndex(Index);
            CurrentNameText = Pictures[Index];
            if (CurrentNameText != LoadedNameText) {
                CaptureScreen();
                LoadPicture();
                if (Transition) {
                    FadeToPicture(2000);
                } else {
                    ShowBitmap(nullptr, QPoint());
                    repaint();
                }
                FullPaintPending = true;
                changed = true;
            }
            PictureStart = Clock().GetTickCount();
        }
        if (!PlainPicture) {
            Waves->NextFrame();
            // The water has its own layout of the areas now; the full-size map would only
            // hold memory until the next picture.
            if (Waves->LaidOut() && !PictureProject->AreaMap.Empty())
                PictureProject->AreaMap = TBitmap();
        }
        PresentFrame();
        // The new picture is on screen: the screen-sized bitmaps the change was made from
        // and through would only hold memory until the next change.
        if (changed)
            OldScreen = NewFrame = FadeResult = ScreenSnapshot = TBitmap();
    } catch (...) {
        // A tick that fails is dropped; the next one starts afresh, and as its frame may
        // not have reached the screen, the next frame goes out whole.
        FullPaintPending = true;
    }
    InTick = false;
    if (ClosePending)
        QTimer::singleShot(0, this, [this] { FinishClose(); });
}

void TQMfmScrSvr::CentreOffsets(int& x, int& y) const {
    x = y = 0;
    if (!Stretch || Proportional) {
        x = (ScreenWidth - PictureWidth) / 2;
        y = (ScreenHeight - PictureHeight) / 2;
    }
}

void TQMfmScrSvr::PresentFrame() {
    int x, y;
    CentreOffsets(x, y);
    const TBitmap& source = PlainPicture ? PlainBuffer : Waves->CurrentFrame();
    // Only what changed since the last frame goes to the screen (to the window, or into the
    // hardware surface's texture): nothing for a still picture, the water rows and the
    // particles' boxes for a picture file. Everything goes after a picture change.
    if (FullPaintPending)
        PaintBitmap(x, y, source);
    else if (!PlainPicture)
        PaintParts(x, y, source, Waves->ChangedParts());
    FullPaintPending = false;
    if (!Role.Driven)
        PaceFrame();
}

void TQMfmScrSvr::PaceFrame() {
    TSaverInputState& input = SaverInputState();
    const std::uint32_t spent = Clock().GetTickCount() - input.LastFrameTime;
    if (spent < 33)
        Clock().Sleep(33 - spent);
    input.LastFrameTime = Clock().GetTickCount();
}

void TQMfmScrSvr::PaintBitmap(int x, int y, const TBitmap& bitmap) {
    if (UseDirectX) {
        PaintSurface(bitmap, QRect(x, y, PictureWidth, PictureHeight), nullptr);
        return;
    }
    QRect changed = bitmap.ToImage().rect().translated(x, y);
    if (Shown != &bitmap || ShownAt != QPoint(x, y)) {
        // Another bitmap or place: what the old one covered turns black.
        ShowBitmap(&bitmap, QPoint(x, y));
        changed = rect();
    }
    changed &= rect();
    // A window not yet on the screen paints when the server exposes it.
    if (!changed.isEmpty() && isVisible())
        repaint(changed);
}

void TQMfmScrSvr::PaintSurface(const TBitmap& bitmap, const QRect& placement,
                               const std::vector<QRect>* parts) {
    if (DXDraw1->CanDraw()) {
        DXDraw1->Draw(bitmap, placement, parts);
        if (DXDraw1->Flip())
            NoteFirstFrame();
    }
}

void TQMfmScrSvr::PaintParts(int x, int y, const TBitmap& bitmap, const std::vector<QRect>& parts) {
    if (UseDirectX) {
        PaintSurface(bitmap, QRect(x, y, PictureWidth, PictureHeight), &parts);
        return;
    }
    if (Shown != &bitmap || ShownAt != QPoint(x, y)) {
        PaintBitmap(x, y, bitmap);
        return;
    }
    // The window is asked for the bounds of the parts, which is one rectangle however
    // scattered the particles are; the paint event then draws only the parts.
    PartsToPaint.clear();
    QRect bounds;
    for (const QRect& part : parts) {
        const QRect onScreen = part.translated(x, y) & rect();
        if (onScreen.isEmpty())
            continue;
        PartsToPaint.push_back(onScreen);
        bounds |= onScreen;
    }
    PartsBounds = bounds;
    if (!bounds.isEmpty() && isVisible()) {
        // Frames the X server can read go to the window without the toolkit's copy.
        if (SharedFrames &&
            SharedFrames->Put(winId(), bitmap.ToImage(), QPoint(x, y), PartsToPaint)) {
            if (!ExposuresWatched && windowHandle()) {
                windowHandle()->installEventFilter(this);
                ExposuresWatched = true;
            }
        } else {
            repaint(bounds);
        }
    }
    PartsToPaint.clear();
}

void TQMfmScrSvr::FadeToPicture(int milliseconds) {
    int x = 0, y = 0;
    CentreOffsets(x, y);
    int width = UseDirectX ? DXDraw1->SurfaceWidth() : ScreenWidth;
    int height = UseDirectX ? DXDraw1->SurfaceHeight() : ScreenHeight;
    for (TBitmap* buffer : {&OldScreen, &NewFrame, &FadeResult})
        PrepareBitmap(*buffer, width, height, TPixelFormat::pf32bit);
    NewFrame.Fill(0x000000);
    if (UseDirectX) {
        OldScreen.Assign(DXDraw1->BackSurface());
        PrepareBitmap(OldScreen, width, height, TPixelFormat::pf32bit);
    } else {
        OldScreen = TBitmap(Canvas());
    }

    if (!PlainPicture)
        Waves->NextFrame();
    const TBitmap& frame = PlainPicture ? PlainBuffer : Waves->CurrentFrame();
    if (UseDirectX) {
        // The fade is blended at the screen's size, so the new frame, worked smaller on this
        // path, is scaled to the place it will take on screen.
        QPainter painter(&NewFrame.ToImage());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(x, y, PictureWidth, PictureHeight), frame.ToImage());
    } else {
        DrawInto(NewFrame, x, y, frame);
    }

    const std::uint32_t t0 = Clock().GetTickCount();
    CrossFade(FadeResult, NewFrame, OldScreen, 10);
    PaintFade();
    const std::uint32_t first = Clock().GetTickCount() - t0;
    const int steps = milliseconds / static_cast<int>(std::max<std::uint32_t>(first, 1));
    // A signal to end does not wait for the fade: the daemon expects us gone within a second.
    for (int i = 1; i <= steps && !TEndSignals::Received(); ++i) {
        const int weight = RoundToInt(i * 245.0 / steps) + 10;
        CrossFade(FadeResult, NewFrame, OldScreen, weight);
        PaintFade();
    }
}

void TQMfmScrSvr::PaintFade() {
    if (UseDirectX)
        PaintSurface(FadeResult, QRect(0, 0, FadeResult.Width(), FadeResult.Height()), nullptr);
    else
        PaintBitmap(0, 0, FadeResult);
}

} // namespace ml
