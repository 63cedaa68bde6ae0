#pragma once
// The full-screen saver form: a black, frameless, topmost window on which the show runs.
// This unit holds the form's life (creation, set-up, input, closing, clean-up); the choice of
// pictures and the frame loop are in PictureSequence.cpp, music and sounds in SaverSounds.

#include "effects/WaveGenerator.h"
#include "platform/Bitmap.h"
#include "platform/PageMemory.h"
#include "project/Project.h"
#include "saver/SaverSounds.h"
#include "saver/SharedFrames.h"

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

class QPainter;

namespace ml {

class TQMCProject;
class TFullScreenSurface;

// Mouse and key state that outlives one form, as the show's exit rules need.
struct TSaverInputState {
    int MoveGraceCount = 5; // the first moves after start and after a close query are ignored
    int LastX = -1;
    int LastY = -1;
    bool F1Toggle = false;
    std::uint32_t LastFrameTime = 0;
};
TSaverInputState& SaverInputState();

// The part a form plays in a show of several forms (one per screen) or inside a host's
// window. The defaults are a form on its own: it ticks and paces itself, plays the sound,
// and input on it ends the show.
struct TShowRole {
    // The form's place among the screens: forms start at different pictures and draw
    // different random sequences.
    int ScreenNumber = 0;
    // One form of a show plays the pictures' sounds and the music and reports problems;
    // the others show pictures only.
    bool Primary = true;
    // Someone else (TShowGroup) calls AppIdle and paces the frames for all forms at once.
    bool Driven = false;
    // The form lives inside another program's window: input belongs to that program, so no
    // key or mouse ends the show, and the pointer stays as the host has it.
    bool Hosted = false;
    // Asks whether another form shows a picture at the moment, so that a random choice
    // avoids it. It must answer false for every picture when the list holds no more
    // pictures than there are forms, or the choice would find nothing.
    std::function<bool(const std::string&)> ShownElsewhere;
};

class TQMfmScrSvr : public QDialog {
    Q_OBJECT
public:
    explicit TQMfmScrSvr(TQMCProject& project, QWidget* parent = nullptr);
    ~TQMfmScrSvr() override;

    // Event handlers, named as the form's events call them.
    void FormCreate();
    void FormShow();
    void FormMouseMove(int x, int y);
    void FormMouseDown();
    void FormKeyDown(int key);
    void FormKeyPress(const QString& text);
    bool FormCloseQuery();
    void FormClose();

    // Picture sequencing and the frame loop.
    void NextImageIndex(int& index);
    void LoadPicture();
    // A plain picture (JPEG, BMP, GIF) is shown still; every other file is a picture file.
    static bool IsPlainPicture(const std::string& name);
    void AppIdle();
    void PresentFrame();
    // Puts a bitmap on the screen at (x, y).
    void PaintBitmap(int x, int y, const TBitmap& bitmap);
    // Puts only the given parts of the bitmap on screen (in its own coordinates): the rest
    // of the window shows these pixels already, from the last frame.
    void PaintParts(int x, int y, const TBitmap& bitmap, const std::vector<QRect>& parts);
    void FadeToPicture(int milliseconds);

    // Asks the form to close; the modal loop does it once the current tick has finished.
    void Close();
    bool CloseRequested() const { return ClosePending; }

    // Read access for tests and the preview.
    const std::vector<std::string>& PictureList() const { return Pictures; }
    int CurrentIndex() const { return Index; }
    const std::string& CurrentName() const { return CurrentNameText; }
    const std::string& LoadedName() const { return LoadedNameText; }
    bool DirectXInUse() const { return UseDirectX; }
    bool IdleInstalled() const { return IdleWanted; }
    // What the window shows on the plain window path, composed afresh.
    QImage Canvas() const;
    // Maps the pages of the window's backing store in advance, at the window's size.
    TPagesInAdvance BackingStorePages();
    TWaveGenerator& Generator() { return *Waves; }
    bool HasGenerator() const { return Waves != nullptr; }
    void SeedRandom(unsigned seed) { Random.seed(seed); }
    // The screen's size in pixels; taken from the form's screen at FormShow.
    void SetScreenSize(int width, int height);
    // Where the form goes and how large its screen is (in the host's coordinates when the
    // form is hosted).
    void SetScreenGeometry(const QRect& geometry);
    void SetRole(TShowRole role) { Role = std::move(role); }
    const TShowRole& ShowRole() const { return Role; }
    // The screen (the host's window) changed size: the picture is prepared again for it.
    void ResizeScreen(int width, int height);
    // Sleeps what is left of the 33 ms since the last frame of the show.
    static void PaceFrame();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    QPaintEngine* paintEngine() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FinishClose();
    void InstallIdle(bool on);
    // The plain picture buffer's size for a picture of the stored size; places the picture.
    QSize PlainBufferSize(QSize stored);
    void PreparePlainPicture(const TBitmap& decoded, QSize buffer);
    void PrepareProjectPicture();
    // On the hardware path: sets the picture's size on screen and returns the size the
    // picture is worked at.
    // Where the window path shows a picture of that size: the screen, the screen in the
    // picture's shape, or the picture's own size.
    QSize ShownSize(QSize picture) const;
    QSize SurfaceSizes(QSize picture);
    // Puts a frame on the hardware surface at its place on screen (only the parts, if given).
    void PaintSurface(const TBitmap& bitmap, const QRect& placement,
                      const std::vector<QRect>* parts);
    void PaintFade();
    // With MIRRORLAKE_FIRST_FRAME set, the wall-clock time in microseconds at which the first
    // frame reached the screen is written to stderr once: how the start-up benchmark sees it.
    static void NoteFirstFrame();
    void CentreOffsets(int& x, int& y) const;
    void HideCursor(bool hide);
    void ShowBitmap(const TBitmap* bitmap, QPoint at);
    void DrawShown(QPainter& painter, const QRect& area);
    void CaptureScreen();

    TQMCProject& ProjectSettings;
    std::unique_ptr<TFullScreenSurface> DXDraw1;
    TSaverSounds Sounds;
    QTimer IdleTimer;
    // The window path shows one bitmap at an offset on black; paint events draw straight from
    // it, so a frame is copied once, into the window's backing store.
    const TBitmap* Shown = nullptr;
    QPoint ShownAt;
    // While PaintParts repaints PartsBounds, the only parts of it that changed.
    std::vector<QRect> PartsToPaint;
    QRect PartsBounds;
    TBitmap ScreenSnapshot; // the screen as it was when a picture change began
    std::mt19937 Random;

    std::vector<std::string> Pictures;
    int Index = -1;
    std::string CurrentNameText;
    std::string LoadedNameText;
    bool Stretch = true;
    bool Proportional = true;
    bool AdvanceEnabled = true;
    bool Transition = true;
    bool SoundOn = true;
    int Duration = 30;
    int CurrentDuration = 30;
    int Speed = 100;
    int ShowMode = 0;
    bool UseDirectX = false;
    bool PlainPicture = false;
    int PictureWidth = 0;
    int PictureHeight = 0;
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    QPoint ScreenOrigin;
    bool ScreenSizeFixed = false;
    TShowRole Role;
    bool IdleWanted = false;
    std::uint32_t PictureStart = 0;

    TBitmap PlainBuffer;
    TBitmap OldScreen, NewFrame, FadeResult;
    std::unique_ptr<TProject> PictureProject;
    // On the window path, where the water's frames live when the X server can read them
    // straight from our memory; null otherwise.
    std::unique_ptr<TSharedFrames> SharedFrames;
    std::unique_ptr<TWaveGenerator> Waves;
    // Whether the window's exposures are watched: parts put straight to the window leave
    // the backing store behind, so after an exposure the next frame goes out whole.
    bool ExposuresWatched = false;

    bool FullPaintPending = true;

    bool ClosePending = false;
    bool InTick = false;
    bool Closed = false;
};

} // namespace ml
