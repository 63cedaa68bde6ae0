#include "configui/MyButton.h"

#include "configui/ExtControls.h"
#include "configui/PropertyValues.h"

#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>

namespace ml {

TMyButton::TMyButton(QWidget* parent) : QWidget(parent), TControl(this) {
    resize(75, 25);
}

void TMyButton::SetCaption(const std::string& caption) {
    CaptionText = caption;
    if (ShortcutId != 0)
        releaseShortcut(ShortcutId);
    ShortcutId = 0;
    const QKeySequence key = QKeySequence::mnemonic(QString::fromStdString(caption));
    if (!key.isEmpty())
        ShortcutId = grabShortcut(key);
    update();
}

void TMyButton::Loaded() {
    TControl::Loaded();
    FitToPicture();
}

void TMyButton::FitToPicture() {
    if (AutoSizeOn && !Up.Empty())
        resize(Up.Width(), Up.Height());
}

void TMyButton::SetButtonUp(const TPicture& picture) {
    Up = picture;
    FitToPicture();
    update();
}

void TMyButton::SetButtonDown(const TPicture& picture) {
    DownPicture = picture;
    update();
}

void TMyButton::SetButtonOver(const TPicture& picture) {
    Over = picture;
    update();
}

void TMyButton::SetButtonDisable(const TPicture& picture) {
    Disable = picture;
    update();
}

void TMyButton::SetAutoSize(bool on) {
    AutoSizeOn = on;
    FitToPicture();
    update();
}

void TMyButton::SetDown(bool down) {
    if (!AllowDownOn)
        return;
    DownOn = down;
    update();
}

void TMyButton::SetAllowDown(bool allow) {
    AllowDownOn = allow;
    if (!allow && DownOn) {
        DownOn = false;
        update();
    }
}

void TMyButton::SetShowCaption(bool show) {
    ShowCaptionOn = show;
    update();
}

void TMyButton::SetTransparent(bool transparent) {
    TransparentOn = transparent;
    repaint();
}

void TMyButton::DrawPushFrame(QPainter& painter) const {
    QRect r = rect();
    painter.fillRect(r, SystemColor("clBtnFace"));
    Frame3D(painter, r, SystemColor("clBtnHighlight"), SystemColor("cl3DDkShadow"));
    Frame3D(painter, r, SystemColor("cl3DLight"), SystemColor("clBtnShadow"));
}

void TMyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPoint origin(0, 0);
    auto drawUp = [&](bool transparent) {
        Up.Draw(painter, origin, transparent);
        UpDrawnTransparent = transparent;
    };

    if (!isEnabled()) {
        if (!Disable.Empty())
            Disable.Draw(painter, origin, TransparentOn);
        else
            DrawPushFrame(painter);
        return;
    }

    enum { Up_, Over_, Down_ } state = Up_;
    if (MouseIn && !PressedOn)
        state = Over_;
    if ((MouseIn && PressedOn) || DownOn)
        state = Down_;

    switch (state) {
    case Up_:
        if (!Up.Empty())
            drawUp(TransparentOn);
        else
            DrawPushFrame(painter);
        break;
    case Down_:
        if (!DownPicture.Empty()) {
            DownPicture.Draw(painter, origin, TransparentOn);
        } else if (!Up.Empty()) {
            drawUp(UpDrawnTransparent);
        } else {
            QRect r = rect();
            Frame3D(painter, r, SystemColor("clBtnShadow"), SystemColor("clBtnHighlight"));
        }
        break;
    case Over_:
        if (!Over.Empty())
            Over.Draw(painter, origin, TransparentOn);
        else if (!Up.Empty())
            drawUp(TransparentOn);
        else
            DrawPushFrame(painter);
        break;
    }

    if (ShowCaptionOn) {
        painter.setBrush(Qt::NoBrush);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        const QString text = StripAccelerator(CaptionText);
        const QFontMetrics metrics(font());
        // The caption stays put whatever the state, so the pictures alone show the press.
        const int x = (width() - metrics.horizontalAdvance(text)) / 2;
        const int y = (height() - metrics.height()) / 2;
        painter.drawText(QPoint(x, y + metrics.ascent()), text);
    }
}

void TMyButton::mousePressEvent(QMouseEvent* e) {
    MouseIn = true;
    if (e->button() == Qt::LeftButton && !PressedOn) {
        if (!Timer) {
            Timer = new QTimer(this);
            connect(Timer, &QTimer::timeout, this, [this] { RepeatTimerTick(); });
        }
        Timer->setInterval(kFirstRepeatMs);
        Timer->start();
        if (OnMousePressed)
            OnMousePressed(this);
        PressedOn = true;
        update();
    }
    FireMouse(OnMouseDown, e);
}

void TMyButton::RepeatTimerTick() {
    if (!Timer)
        return;
    Timer->setInterval(kRepeatMs);
    if (OnMousePressed)
        OnMousePressed(Timer);
}

void TMyButton::mouseMoveEvent(QMouseEvent* e) {
    // While the button is held Qt keeps sending moves here even off the button; they stand
    // for leaving and entering.
    if (PressedOn) {
        if (rect().contains(e->position().toPoint()))
            PointerEnters();
        else
            PointerLeaves();
    }
    FireMouse(OnMouseMove, e);
}

void TMyButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && PressedOn) {
        if (Timer)
            Timer->stop();
        if (AllowDownOn)
            SetDown(!DownOn);
        PressedOn = false;
        update();
    }
    FireMouse(OnMouseUp, e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        Click();
}

void TMyButton::mouseDoubleClickEvent(QMouseEvent* e) {
    if (OnDblClick)
        OnDblClick(this);
    // A double click is a second press for the repeat and the latch.
    mousePressEvent(e);
}

void TMyButton::PointerEnters() {
    if (MouseIn)
        return;
    if (PressedOn && Timer)
        Timer->start();
    MouseIn = true;
    update();
}

void TMyButton::PointerLeaves() {
    if (!MouseIn)
        return;
    if (Timer)
        Timer->stop();
    MouseIn = false;
    update();
}

void TMyButton::enterEvent(QEnterEvent*) {
    PointerEnters();
}

void TMyButton::leaveEvent(QEvent*) {
    PointerLeaves();
}

void TMyButton::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange || e->type() == QEvent::EnabledChange ||
        e->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(e);
}

bool TMyButton::event(QEvent* e) {
    // The accelerator is taken only by a button that can click; otherwise it is not this
    // button's to claim and goes on like any other key.
    if (e->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(e)->shortcutId() == ShortcutId && isEnabled() && isVisible() &&
        parentWidget() && parentWidget()->isVisible()) {
        Click();
        return true;
    }
    return QWidget::event(e);
}

} // namespace ml
