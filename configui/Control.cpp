#include "configui/Control.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace ml {

void TControl::Loaded() {
    Loading = false;
    bool show = false;
    for (QWidget* w = Self; w; w = w->parentWidget()) {
        TControl* control = AsControl(w);
        if (control && control->ShowHint) {
            show = *control->ShowHint;
            break;
        }
    }
    std::string tip = Hint.substr(0, Hint.find('|'));
    Self->setToolTip(show ? QString::fromStdString(tip) : QString());
}

void TControl::FireMouse(const TMouseEvent& event, QMouseEvent* e) const {
    if (event) {
        QPoint p = e->position().toPoint();
        event(Self, e->button(), e->modifiers(), p.x(), p.y());
    }
}

TControl* AsControl(QObject* object) {
    return dynamic_cast<TControl*>(object);
}

namespace {

std::vector<TControl*> ChildControls(QWidget& container) {
    std::vector<TControl*> controls;
    for (QObject* child : container.children())
        if (TControl* control = AsControl(child); control && !control->Widget()->isWindow())
            controls.push_back(control);
    return controls;
}

} // namespace

void AlignControls(QWidget& container) {
    TControl* self = AsControl(&container);
    QRect rest = self ? self->AlignRect() : container.rect();
    const std::vector<TControl*> controls = ChildControls(container);

    auto take = [&](TAlign align, auto before) {
        std::vector<TControl*> row;
        for (TControl* c : controls)
            if (c->Align == align && !c->Widget()->isHidden())
                row.push_back(c);
        std::stable_sort(row.begin(), row.end(), before);
        for (TControl* c : row) {
            QWidget* w = c->Widget();
            QRect r = w->geometry();
            switch (align) {
            case TAlign::alTop:
                r = QRect(rest.left(), rest.top(), rest.width(),
                          std::min(r.height(), rest.height()));
                rest.setTop(rest.top() + r.height());
                break;
            case TAlign::alBottom:
                r = QRect(rest.left(), rest.bottom() + 1 - std::min(r.height(), rest.height()),
                          rest.width(), std::min(r.height(), rest.height()));
                rest.setBottom(r.top() - 1);
                break;
            case TAlign::alLeft:
                r = QRect(rest.left(), rest.top(), std::min(r.width(), rest.width()),
                          rest.height());
                rest.setLeft(rest.left() + r.width());
                break;
            case TAlign::alRight:
                r = QRect(rest.right() + 1 - std::min(r.width(), rest.width()), rest.top(),
                          std::min(r.width(), rest.width()), rest.height());
                rest.setRight(r.left() - 1);
                break;
            case TAlign::alClient:
                r = rest;
                break;
            case TAlign::alNone:
            case TAlign::alCustom:
                break;
            }
            w->setGeometry(r);
        }
    };
    auto geo = [](TControl* c) { return c->Widget()->geometry(); };
    take(TAlign::alTop, [&](TControl* a, TControl* b) { return geo(a).top() < geo(b).top(); });
    take(TAlign::alBottom,
         [&](TControl* a, TControl* b) { return geo(a).bottom() > geo(b).bottom(); });
    take(TAlign::alLeft, [&](TControl* a, TControl* b) { return geo(a).left() < geo(b).left(); });
    take(TAlign::alRight,
         [&](TControl* a, TControl* b) { return geo(a).right() > geo(b).right(); });
    take(TAlign::alClient, [](TControl*, TControl*) { return false; });
}

void AlignTree(QWidget& root) {
    AlignControls(root);
    for (QObject* child : root.children())
        if (child->isWidgetType())
            AlignTree(*static_cast<QWidget*>(child));
}

namespace {

class TDockKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
            auto* widget = static_cast<QWidget*>(watched);
            TControl* control = AsControl(watched);
            if (control && control->Align != TAlign::alNone && control->Align != TAlign::alCustom &&
                widget->parentWidget() && !widget->isWindow())
                AlignControls(*widget->parentWidget());
        }
        return false;
    }
};

} // namespace

void KeepDocked(QWidget& root) {
    auto* keeper = new TDockKeeper(&root);
    for (QWidget* widget : root.findChildren<QWidget*>())
        if (AsControl(widget))
            widget->installEventFilter(keeper);
}

namespace {

void CollectTabChain(QWidget& container, std::vector<QWidget*>& chain) {
    std::vector<QWidget*> children;
    for (QObject* child : container.children())
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            children.push_back(static_cast<QWidget*>(child));
    auto order = [](QWidget* w) {
        TControl* c = AsControl(w);
        return c && c->TabOrder >= 0 ? c->TabOrder : std::numeric_limits<int>::max();
    };
    std::stable_sort(children.begin(), children.end(),
                     [&](QWidget* a, QWidget* b) { return order(a) < order(b); });
    for (QWidget* w : children) {
        if (w->focusPolicy() & Qt::TabFocus)
            chain.push_back(w);
        CollectTabChain(*w, chain);
    }
}

} // namespace

void ArrangeTabOrder(QWidget& root) {
    std::vector<QWidget*> chain;
    CollectTabChain(root, chain);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace ml
