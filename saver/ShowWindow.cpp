#include "saver/ShowWindow.h"

#include "backend/FullScreenSurface.h"
#include "effects/BitmapRoutines.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/PageMemory.h"
#include "project/QMCProject.h"

#include <QBackingStore>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ml {

TSaverInputState& SaverInputState() {
    static TSaverInputState state;
    return state;
}

TQMfmScrSvr::TQMfmScrSvr(TQMCProject& project, QWidget* parent)
    : QDialog(parent), ProjectSettings(project), Sounds(this) {
    setObjectName("QMfmScrSvr");
    setWindowTitle(QString::fromStdString(project.Setting.ProductName));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    IdleTimer.setInterval(0);
    connect(&IdleTimer, &QTimer::timeout, this, [this] { AppIdle(); });
    FormCreate();
}

TQMfmScrSvr::~TQMfmScrSvr() {
    if (!Closed && Waves)
        FormClose();
}

void TQMfmScrSvr::FormCreate() {
    Speed = 100;
    Proportional = true;
}

void TQMfmScrSvr::SetScreenSize(int width, int height) {
    SetScreenGeometry(QRect(0, 0, width, height));
}

void TQMfmScrSvr::SetScreenGeometry(const QRect& geometry) {
    ScreenOrigin = geometry.topLeft();
    ScreenWidth = geometry.width();
    ScreenHeight = geometry.height();
    ScreenSizeFixed = true;
}

void TQMfmScrSvr::ResizeScreen(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == ScreenWidth && height == ScreenHeight)
        return;
    SetScreenGeometry(QRect(ScreenOrigin, QSize(width, height)));
    setGeometry(QRect(ScreenOrigin, QSize(width, height)));
    if (!Waves || LoadedNameText.empty())
        return;
    // Pictures are fitted to the screen as they load, so the one on screen loads again.
    CurrentNameText = LoadedNameText;
    try {
        LoadPicture();
    } catch (...) {
        // As in a tick: the picture that cannot be prepared is left, the show goes on.
    }
    FullPaintPending = true;
}

void TQMfmScrSvr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!HasGenerator() && Pictures.empty())
        FormShow();
}

void TQMfmScrSvr::FormShow() {
    TSaverInputState& input = SaverInputState();
    PlainBuffer = TBitmap();
    input.F1Toggle = false;
    // Forms on other screens start at the same moment but draw their own sequences.
    Random.seed(Clock().GetTickCount() + static_cast<unsigned>(Role.ScreenNumber) * 0x9E3779B9u);
    input.LastX = input.LastY = -1;

    if (!ScreenSizeFixed) {
        SetScreenGeometry(
            (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->geometry());
    }
    ShowBitmap(nullptr, QPoint());

    const TQMCFileList& files = ProjectSettings.FileList;
    Pictures.clear();
    for (std::size_t i = 0; i < files.FileNames.size() && i < files.Included.size(); ++i)
        if (files.Included[i] == "TRUE")
            Pictures.push_back(files.FileNames[i]);

    const TQMCSetting& s = ProjectSettings.Setting;
    UseDirectX = s.DirectX;
    if (UseDirectX) {
        // The surface exists only when asked for and worth trying: a plain-window show never
        // touches OpenGL.
        std::string reason;
        UseDirectX = TFullScreenSurface::Possible(reason);
        if (UseDirectX) {
            if (!DXDraw1)
                DXDraw1 = std::make_unique<TFullScreenSurface>(this);
            DXDraw1->SetDisplay(ScreenWidth, ScreenHeight, ScreenBitsPerPixel(this));
            try {
                UseDirectX = DXDraw1->Initialize() && DXDraw1->Initialized();
            } catch (const std::exception&) {
                UseDirectX = false;
            }
            reason = DXDraw1->FailureReason();
        }
        // Falling back is no error, but the user who chose the faster path should be able to
        // find out why the show does not take it; one line per show, from its first form.
        if (!UseDirectX && Role.Primary && !reason.empty())
            std::fprintf(stderr, "mirrorlake: %s; the show paints through its window instead\n",
                         reason.c_str());
        // The context and its window would only hold memory from here on.
        if (!UseDirectX)
            DXDraw1.reset();
    }
    // Both paths cover the whole screen with the form: the hardware surface fills it, and
    // input reaches the form wherever the pointer is.
    setGeometry(ScreenOrigin.x(), ScreenOrigin.y(), ScreenWidth, ScreenHeight);
    if (DXDraw1)
        DXDraw1->Widget()->setVisible(UseDirectX);
    // The hardware surface covers the whole form, which then has nothing to paint: without a
    // backing store of its own it spares a screen-sized buffer.
    setAttribute(Qt::WA_PaintOnScreen, UseDirectX);

    if (Pictures.empty()) {
        if (Role.Primary)
            MessageBox("Unable to run screensaver.\r\nPlease configure!", "", TMsgIcon::Error,
                       TMsgButtons::OK);
    } else {
        Stretch = s.Stretch;
        AdvanceEnabled = s.Random;
        Duration = s.Duration;
        Speed = s.Speed;
        ShowMode = s.ShowImageMode;
        Transition = s.Transition;
        SoundOn = s.Sound && Role.Primary;
        // In list order, the forms on further screens begin further down the list, so that
        // the screens show different pictures while it has enough of them.
        Index = ShowMode == 1 ? Role.ScreenNumber % static_cast<int>(Pictures.size()) - 1 : -1;
        NextImageIndex(Index);
        CurrentNameText = Pictures[Index];
        Proportional = s.Proportional;
        if (std::find(Pictures.begin(), Pictures.end(), CurrentNameText) == Pictures.end())
            CurrentNameText = Pictures[0];
    }

    if (Role.Primary)
        Sounds.StartMusic(s);

    if (!Pictures.empty()) {
        PictureProject = std::make_unique<TProject>();
        Waves = std::make_unique<TWaveGenerator>();
        // Only a window of its own gets the frames put straight in: an OpenGL child (even a
        // fallen-back one) or a host's window leave painting to the toolkit.
        if (!DXDraw1 && !Role.Hosted && (SharedFrames = TSharedFrames::ForThisDisplay())) {
            // A picture file stretched to the screen has its frames at about the screen's
            // size: their memory is made ready while the picture loads.
            if (Stretch && !IsPlainPicture(CurrentNameText))
                SharedFrames->Reserve(ScreenWidth, ScreenHeight);
            Waves->FrameStorage = [frames = SharedFrames.get()](int width, int height) {
                return frames->Allocate(width, height);
            };
        }
        CurrentDuration = Duration;
        // The window's backing store is fresh memory that the first paint writes whole: its
        // pages are mapped on another core while the picture loads.
        TPagesInAdvance storePages;
        if (!UseDirectX)
            storePages = BackingStorePages();
        LoadPicture();
        // Through the window the picture shows from the first paint, when the server exposes
        // the window; the water moves from the first tick on.
        if (!UseDirectX && !LoadedNameText.empty()) {
            int x, y;
            CentreOffsets(x, y);
            ShowBitmap(PlainPicture ? &PlainBuffer : &Waves->CurrentFrame(), QPoint(x, y));
        }
        PictureStart = Clock().GetTickCount();
        InstallIdle(true);
        HideCursor(true);
    }
    input.LastFrameTime = Clock().GetTickCount();
}

void TQMfmScrSvr::FormMouseMove(int x, int y) {
    if (Role.Hosted)
        return;
    TSaverInputState& input = SaverInputState();
    if (input.MoveGraceCount > 0) {
        --input.MoveGraceCount;
        return;
    }
    if (input.LastX == -1)
        input.LastX = x;
    if (input.LastY == -1)
        input.LastY = y;
    if (std::abs(x - input.LastX) > 2 || std::abs(y - input.LastY) > 2)
        Close();
    input.LastX = x;
    input.LastY = y;
}

void TQMfmScrSvr::FormMouseDown() {
    if (!Role.Hosted)
        Close();
}

void TQMfmScrSvr::FormKeyDown(int key) {
    if (key != Qt::Key_F1 || Role.Hosted)
        return;
    TSaverInputState& input = SaverInputState();
    input.F1Toggle = !input.F1Toggle;
    if (!input.F1Toggle && Waves) {
        Waves->ResetOutput();
        FullPaintPending = true;
    }
}

void TQMfmScrSvr::FormKeyPress(const QString& text) {
    if (!text.isEmpty() && !Role.Hosted)
        Close();
}

bool TQMfmScrSvr::FormCloseQuery() {
    // Linux has no screen-saver password of the program's own to verify: the desktop's
    // locker asks for it, as the NT family's system did.
    SaverInputState().MoveGraceCount = 5;
    return true;
}

void TQMfmScrSvr::FormClose() {
    Sounds.FreeSounds();
    PictureProject.reset();
    HideCursor(false);
    Sounds.StopSystemSound();
    InstallIdle(false);
    ShowBitmap(nullptr, QPoint());
    Waves.reset();
    Pictures.clear();
    PlainBuffer = TBitmap();
    Sounds.StopMusic();
    OldScreen = NewFrame = FadeResult = TBitmap();
    Closed = true;
}

void TQMfmScrSvr::Close() {
    ClosePending = true;
    if (!InTick)
        QTimer::singleShot(0, this, [this] { FinishClose(); });
}

void TQMfmScrSvr::FinishClose() {
    if (InTick || !ClosePending)
        return;
    ClosePending = false;
    QDialog::close();
}

void TQMfmScrSvr::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    QDialog::closeEvent(event);
}

void TQMfmScrSvr::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(event->key());
    FormKeyPress(event->text());
}

void TQMfmScrSvr::mousePressEvent(QMouseEvent*) {
    FormMouseDown();
}

void TQMfmScrSvr::mouseMoveEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    FormMouseMove(p.x(), p.y());
}

QPaintEngine* TQMfmScrSvr::paintEngine() const {
    return testAttribute(Qt::WA_PaintOnScreen) ? nullptr : QDialog::paintEngine();
}

void TQMfmScrSvr::paintEvent(QPaintEvent* event) {
    if (testAttribute(Qt::WA_PaintOnScreen))
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // A frame of the running picture brings only its changed parts; the rest of the window's
    // backing store still holds the frame before. Any other paint (an expose, a request
    // that grew on the way) draws its whole area.
    if (!PartsToPaint.empty() && event->region() == QRegion(PartsBounds)) {
        for (const QRect& part : PartsToPaint)
            DrawShown(painter, part);
        return;
    }
    DrawShown(painter, event->rect());
    // The first paint with a picture is when the window path shows its first frame: before
    // the server exposes the window, a repaint asked for draws nothing.
    if (Shown && !Shown->Empty())
        NoteFirstFrame();
}

bool TQMfmScrSvr::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose)
        FullPaintPending = true;
    return QDialog::eventFilter(watched, event);
}

void TQMfmScrSvr::DrawShown(QPainter& painter, const QRect& area) {
    QRect image;
    if (Shown && !Shown->Empty())
        image = QRect(ShownAt, QSize(Shown->Width(), Shown->Height())) & area;
    if (!image.isEmpty())
        painter.drawImage(image.topLeft(), Shown->ToImage(), image.translated(-ShownAt));
    // Most areas lie inside the picture; only the others need a region for the black.
    if (image == area)
        return;
    for (const QRect& r : QRegion(area) - image)
        painter.fillRect(r, Qt::black);
}

TPagesInAdvance TQMfmScrSvr::BackingStorePages() {
    QBackingStore* store = backingStore();
    if (!store)
        return {};
    // Sized now as the first paint would size it: that paint then finds it as it is.
    store->resize(size());
    QPaintDevice* device = store->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return {};
    auto* image = static_cast<QImage*>(device);
    return TPagesInAdvance(image->bits(), static_cast<std::size_t>(image->sizeInBytes()));
}

QImage TQMfmScrSvr::Canvas() const {
    QImage screen(std::max(ScreenWidth, 1), std::max(ScreenHeight, 1), QImage::Format_RGB32);
    screen.fill(Qt::black);
    if (Shown && !Shown->Empty()) {
        QPainter painter(&screen);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(ShownAt, Shown->ToImage());
    }
    return screen;
}

void TQMfmScrSvr::ShowBitmap(const TBitmap* bitmap, QPoint at) {
    Shown = bitmap;
    ShownAt = at;
}

void TQMfmScrSvr::CaptureScreen() {
    // The next picture replaces the bitmaps on screen; until it is painted the window keeps
    // showing a copy of what was there, which is also where the crossfade starts from.
    if (UseDirectX)
        return;
    ScreenSnapshot = TBitmap(Canvas());
    ShowBitmap(&ScreenSnapshot, QPoint());
}

void TQMfmScrSvr::InstallIdle(bool on) {
    IdleWanted = on;
    if (on && !Role.Driven)
        IdleTimer.start();
    else
        IdleTimer.stop();
}

void TQMfmScrSvr::HideCursor(bool hide) {
    if (Role.Hosted)
        return;
    if (hide) {
        setCursor(Qt::BlankCursor);
        if (DXDraw1)
            DXDraw1->Widget()->setCursor(Qt::BlankCursor);
    } else {
        unsetCursor();
        if (DXDraw1)
            DXDraw1->Widget()->unsetCursor();
    }
}

} // namespace ml
