#pragma once
// The picture button: four looks (up, down, pointer over, disabled) drawn with their
// transparent colour left out, an optional latched-down state, a caption drawn centred, and
// OnMousePressed, which fires at the press and then repeats while the button is held, so
// that a held arrow keeps stepping.

#include "configui/Control.h"
#include "configui/Picture.h"

#include <QTimer>

namespace ml {

class TMyButton : public QWidget, public TControl {
public:
    static constexpr int kFirstRepeatMs = 500;
    static constexpr int kRepeatMs = 50;

    explicit TMyButton(QWidget* parent = nullptr);

    void SetCaption(const std::string& caption) override;
    std::string Caption() const override { return CaptionText; }
    void Loaded() override;

    // Each picture is copied into the button's own.
    void SetButtonUp(const TPicture& picture);
    void SetButtonDown(const TPicture& picture);
    void SetButtonOver(const TPicture& picture);
    void SetButtonDisable(const TPicture& picture);
    const TPicture& ButtonUp() const { return Up; }

    bool AutoSize() const { return AutoSizeOn; }
    void SetAutoSize(bool on);
    bool Down() const { return DownOn; }
    // Only while AllowDown; otherwise the assignment is ignored.
    void SetDown(bool down);
    bool AllowDown() const { return AllowDownOn; }
    void SetAllowDown(bool allow);
    bool ShowCaption() const { return ShowCaptionOn; }
    void SetShowCaption(bool show);
    bool Transparent() const { return TransparentOn; }
    void SetTransparent(bool transparent);
    bool MouseInControl() const { return MouseIn; }
    void SetMouseInControl(bool in) { MouseIn = in; }
    bool Pressed() const { return PressedOn; }

    TNotifyEvent OnMousePressed;

    // The repeat timer (nullptr before the first press) and what each of its ticks does;
    // public so that a test can drive the repeats without waiting.
    QTimer* RepeatTimer() const { return Timer; }
    void RepeatTimerTick();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    void PointerEnters();
    void PointerLeaves();
    void FitToPicture();
    void DrawPushFrame(QPainter& painter) const;

    std::string CaptionText;
    TPicture Up, DownPicture, Over, Disable;
    bool AutoSizeOn = true;
    bool DownOn = false;
    bool AllowDownOn = false;
    bool ShowCaptionOn = false;
    bool TransparentOn = true;
    bool MouseIn = false;
    bool PressedOn = false;
    // The up picture keeps the transparency it was last drawn with; the pressed look reuses
    // it that way when there is no down picture.
    bool UpDrawnTransparent = false;
    QTimer* Timer = nullptr;
    int ShortcutId = 0;
};

} // namespace ml
