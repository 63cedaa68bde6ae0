#include "saver/ShowGroup.h"

#include "platform/HostWindow.h"
#include "saver/ShowWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace ml {

TShowGroup::TShowGroup(TQMCProject& project) : Project(project) {
    Ticker.setInterval(0);
    connect(&Ticker, &QTimer::timeout, this, [this] { Tick(); });
}

TShowGroup::~TShowGroup() {
    // The forms go before whatever hosts them.
    ShowForms.clear();
}

TQMfmScrSvr& TShowGroup::AddForm(bool primary) {
    auto form = std::make_unique<TQMfmScrSvr>(Project);
    TShowRole role;
    role.ScreenNumber = static_cast<int>(ShowForms.size());
    role.Primary = primary;
    role.Driven = true;
    TQMfmScrSvr* asking = form.get();
    role.ShownElsewhere = [this, asking](const std::string& picture) {
        return ShownByOthers(*asking, picture);
    };
    form->SetRole(std::move(role));
    connect(form.get(), &QDialog::finished, this, [this] { FormClosed(); });
    ShowForms.push_back(std::move(form));
    return *ShowForms.back();
}

void TShowGroup::AddScreen(const QRect& geometry) {
    TQMfmScrSvr& form = AddForm(ShowForms.empty());
    form.SetScreenGeometry(geometry);
    form.setGeometry(geometry);
}

void TShowGroup::AddHosted(THostWindow& host, bool primary) {
    TQMfmScrSvr& form = AddForm(primary);
    TShowRole role = form.ShowRole();
    role.Hosted = true;
    form.SetRole(role);
    Host = &host;
    QWindow* parent = host.AsParent();
    // Input passes through to the host, which owns it; without a host window to sit in
    // (the root window) ours covers it from below every other window, like a background.
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                            Qt::WindowDoesNotAcceptFocus;
    if (!parent)
        flags |= Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnBottomHint;
    form.setWindowFlags(flags);
    // Placed before it is shown, so that nothing moves it to a screen of its own choice.
    const QRect inHost(QPoint(0, 0), host.Size());
    form.SetScreenGeometry(inHost);
    form.setGeometry(inHost);
    form.winId();
    if (parent)
        form.windowHandle()->setParent(parent);
    host.OnResize = [this](QSize size) {
        PendingHostSize = size;
        if (!Ticker.isActive())
            Tick();
    };
    host.OnGone = [this] { CloseAll(); };
}

bool TShowGroup::ShownByOthers(const TQMfmScrSvr& asking, const std::string& picture) const {
    // With no more pictures than screens some must repeat; the choice is then free.
    if (asking.PictureList().size() <= ShowForms.size())
        return false;
    return std::any_of(ShowForms.begin(), ShowForms.end(), [&](const auto& form) {
        return form.get() != &asking && form->LoadedName() == picture;
    });
}

void TShowGroup::Run() {
    // Other windows (the configuration window that started a preview) stay put and take no
    // input until the show is over; the forms cover every screen anyway.
    std::vector<QWidget*> disabled;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->isEnabled() &&
            std::none_of(ShowForms.begin(), ShowForms.end(),
                         [&](const auto& form) { return form.get() == widget; })) {
            widget->setEnabled(false);
            disabled.push_back(widget);
        }

    QEventLoop loop;
    Loop = &loop;
    OpenForms = static_cast<int>(ShowForms.size());
    for (auto& form : ShowForms) {
        if (form->ShowRole().Hosted) {
            form->show();
            // Over the root window the show is the desktop's background: under every window.
            if (!Host->AsParent())
                form->lower();
        } else {
            form->setWindowState(Qt::WindowFullScreen);
            form->show();
        }
    }
    if (!ShowForms.empty() && !ShowForms.front()->ShowRole().Hosted) {
        ShowForms.front()->raise();
        ShowForms.front()->activateWindow();
    }
    Ticker.start();
    if (OpenForms > 0)
        loop.exec();
    Ticker.stop();
    Loop = nullptr;

    for (QWidget* widget : disabled)
        widget->setEnabled(true);
}

void TShowGroup::CloseAll() {
    for (auto& form : ShowForms)
        if (form->isVisible())
            form->Close();
}

void TShowGroup::FormClosed() {
    CloseAll();
    if (--OpenForms <= 0 && Loop)
        Loop->quit();
}

void TShowGroup::Tick() {
    // A form's tick may let events through (a sound starting); the loop does not start
    // again inside it.
    if (Ticking)
        return;
    Ticking = true;
    if (Host && PendingHostSize.isValid()) {
        for (auto& form : ShowForms)
            form->ResizeScreen(PendingHostSize.width(), PendingHostSize.height());
        PendingHostSize = QSize();
    }
    // Until the server has exposed a form's window its frames would reach no screen: the
    // form waits, and so that its first frame is painted as soon as the window is there,
    // the loop looks again shortly instead of pausing a whole frame.
    bool ticked = false;
    bool waiting = false;
    for (auto& form : ShowForms) {
        if (!form->IdleInstalled() || form->CloseRequested())
            continue;
        if (form->windowHandle() && !form->windowHandle()->isExposed()) {
            waiting = true;
            continue;
        }
        form->AppIdle();
        ticked = true;
    }
    // A show with nothing to animate (no picture to show) waits for input without spinning.
    if (ticked)
        TQMfmScrSvr::PaceFrame();
    else if (!waiting)
        Ticker.stop();
    Ticker.setInterval(waiting ? kUnexposedWait : 0);
    Ticking = false;
}

std::vector<QRect> ScreenGeometries() {
    std::vector<QRect> geometries;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        geometries.push_back(primary->geometry());
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            geometries.push_back(screen->geometry());
    return geometries;
}

} // namespace ml
