#pragma once
// What every control built from a description has besides its Qt widget: the published
// state the description and the configuration window use (Tag, Align, hints, tab order,
// events) and the docking of aligned children inside their container.

#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

namespace ml {

// alCustom is accepted for descriptions from newer designers and docks like alNone.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;

class TControl {
public:
    explicit TControl(QWidget* self) : Self(self) {}
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    QWidget* Widget() const { return Self; }

    std::string ClassName; // the name the control was built under
    int Tag = 0;
    TAlign Align = TAlign::alNone;
    int TabOrder = -1;            // -1: after the numbered ones, in creation order
    std::string Hint;             // the part before "|" becomes the tool tip
    std::optional<bool> ShowHint; // unset: as the parent
    bool Loading = true;          // cleared by Loaded

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    virtual void SetCaption(const std::string& caption) {
        Self->setWindowTitle(QString::fromStdString(caption));
    }
    virtual std::string Caption() const { return Self->windowTitle().toStdString(); }
    // Called once after the whole description has been read.
    virtual void Loaded();
    virtual void Click() {
        if (OnClick)
            OnClick(Self);
    }
    // The part of the control that aligned children share (inside borders and bevels).
    virtual QRect AlignRect() const { return Self->rect(); }

protected:
    void FireMouse(const TMouseEvent& event, QMouseEvent* e) const;

    QWidget* Self;
};

// The control part of a widget, or nullptr for widgets not built from a description.
TControl* AsControl(QObject* object);

// Docks the aligned children of a container: top ones first (by their top edge), then
// bottom, left, right, and client ones take what is left. Unaligned children keep their
// place.
void AlignControls(QWidget& container);
// AlignControls for a container and every container inside it.
void AlignTree(QWidget& root);
// Keeps the docking of a built window current: whenever one of its aligned controls is shown
// or hidden, its container docks its aligned children again, so a control shown later gets
// its band and a hidden one leaves none.
void KeepDocked(QWidget& root);
// Chains the keyboard focus through the tree in TabOrder within each container.
void ArrangeTabOrder(QWidget& root);

// A widget class with the control part and the usual mouse events: press, move and release
// reach the On... handlers, and a left release over the control clicks it.
template <class Base> class TMouseControl : public Base, public TControl {
public:
    explicit TMouseControl(QWidget* parent = nullptr) : Base(parent), TControl(this) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        FireMouse(OnMouseDown, e);
        Base::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        FireMouse(OnMouseMove, e);
        Base::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        FireMouse(OnMouseUp, e);
        Base::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && this->rect().contains(e->position().toPoint()))
            Click();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (OnDblClick)
            OnDblClick(this);
        Base::mouseDoubleClickEvent(e);
    }
};

// A container that docks its aligned children whenever its size changes.
template <class Base> class TContainer : public TMouseControl<Base> {
public:
    using TMouseControl<Base>::TMouseControl;

protected:
    void resizeEvent(QResizeEvent* e) override {
        Base::resizeEvent(e);
        AlignControls(*this);
    }
};

} // namespace ml
