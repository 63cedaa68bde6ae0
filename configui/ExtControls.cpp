#include "configui/ExtControls.h"

#include "configui/PropertyValues.h"

#include <QPainter>

#include <algorithm>

namespace ml {

void Frame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
    painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
    painter.setPen(bottomRight);
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    rect.adjust(1, 1, -1, -1);
}

TPanel::TPanel(QWidget* parent) : TContainer<QWidget>(parent) {
    resize(185, 41);
}

void TPanel::SetCaption(const std::string& caption) {
    CaptionText = caption;
    update();
}

QRect TPanel::AlignRect() const {
    int inset = BorderWidth + (BorderSingle ? 1 : 0);
    if (BevelOuter != TPanelBevel::bvNone)
        inset += BevelWidth;
    if (BevelInner != TPanelBevel::bvNone)
        inset += BevelWidth;
    QRect r = rect().adjusted(inset, inset, -inset, -inset);
    return r.isValid() ? r : QRect(rect().center(), QSize(0, 0));
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QRect r = rect();
    const QColor shadow = SystemColor("clBtnShadow");
    const QColor light = SystemColor("clBtnHighlight");
    if (BorderSingle)
        Frame3D(painter, r, SystemColor("clWindowFrame"), SystemColor("clWindowFrame"));
    auto bevel = [&](TPanelBevel kind) {
        for (int i = 0; i < BevelWidth && kind != TPanelBevel::bvNone; ++i) {
            if (kind == TPanelBevel::bvLowered)
                Frame3D(painter, r, shadow, light);
            else if (kind == TPanelBevel::bvRaised)
                Frame3D(painter, r, light, shadow);
            else
                r.adjust(1, 1, -1, -1);
        }
    };
    bevel(BevelOuter);
    r.adjust(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    bevel(BevelInner);
    if (!CaptionText.empty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r, static_cast<int>(CaptionAlignment | Qt::AlignVCenter),
                         StripAccelerator(CaptionText));
    }
}

TShape::TShape(QWidget* parent) : TMouseControl<QWidget>(parent) {
    resize(65, 65);
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int penWidth = Pen.style() == Qt::NoPen ? 0 : Pen.width();
    // The outline lies inside the control: half the pen on each side of the path.
    int x = penWidth / 2, y = penWidth / 2;
    int w = width() - penWidth + 1, h = height() - penWidth + 1;
    if (penWidth == 0) {
        --w;
        --h;
    }
    if (w < 1 || h < 1)
        return;
    if (Shape == TShapeType::stSquare || Shape == TShapeType::stRoundSquare ||
        Shape == TShapeType::stCircle) {
        const int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    painter.setPen(Pen);
    painter.setBrush(Brush);
    const QRect r(x, y, std::max(1, w - 1), std::max(1, h - 1));
    switch (Shape) {
    case TShapeType::stRectangle:
    case TShapeType::stSquare:
        painter.drawRect(r);
        break;
    case TShapeType::stRoundRect:
    case TShapeType::stRoundSquare: {
        const qreal radius = std::min(w, h) / 8.0;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawRoundedRect(r, radius, radius);
        break;
    }
    case TShapeType::stEllipse:
    case TShapeType::stCircle:
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(r);
        break;
    }
}

TBevel::TBevel(QWidget* parent) : TMouseControl<QWidget>(parent) {
    resize(50, 50);
}

void TBevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor c1 = SystemColor("clBtnShadow");
    QColor c2 = SystemColor("clBtnHighlight");
    if (Style == TBevelStyle::bsRaised)
        std::swap(c1, c2);
    const int w = width(), h = height();
    auto line = [&](const QColor& c, int x1, int y1, int x2, int y2) {
        painter.setPen(c);
        painter.drawLine(x1, y1, x2, y2);
    };
    QRect r = rect();
    switch (Shape) {
    case TBevelShape::bsBox:
        Frame3D(painter, r, c1, c2);
        break;
    case TBevelShape::bsFrame: {
        // Two offset boxes in opposite colours make an etched groove (or ridge).
        QRect outer(0, 0, w - 1, h - 1), inner(1, 1, w - 1, h - 1);
        Frame3D(painter, inner, c2, c2);
        Frame3D(painter, outer, c1, c1);
        break;
    }
    case TBevelShape::bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case TBevelShape::bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case TBevelShape::bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case TBevelShape::bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    case TBevelShape::bsSpacer:
        break;
    }
}

TImage::TImage(QWidget* parent) : TMouseControl<QWidget>(parent) {
    resize(105, 105);
}

void TImage::SetPicture(const QImage& image) {
    PictureData.Assign(image, false);
    update();
}

void TImage::Loaded() {
    TMouseControl<QWidget>::Loaded();
    if (AutoSize && !PictureData.Empty())
        resize(PictureData.Width(), PictureData.Height());
}

QRect TImage::DestRect() const {
    int w = PictureData.Width(), h = PictureData.Height();
    if (Stretch || (Proportional && (w > width() || h > height()))) {
        if (Proportional && w > 0 && h > 0) {
            const double scale = std::min(double(width()) / w, double(height()) / h);
            w = static_cast<int>(w * scale);
            h = static_cast<int>(h * scale);
        } else {
            w = width();
            h = height();
        }
    }
    QRect r(0, 0, w, h);
    if (Center)
        r.moveTo((width() - w) / 2, (height() - h) / 2);
    return r;
}

void TImage::paintEvent(QPaintEvent*) {
    if (PictureData.Empty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, Stretch || Proportional);
    PictureData.Draw(painter, DestRect(), Transparent);
}

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent), TControl(this) {
    resize(289, 193);
}

void TPageControl::AddPage(TTabSheet* sheet) {
    sheet->PageControl = this;
    addTab(sheet, StripAccelerator(sheet->Caption()));
}

void TPageControl::PageChanged(TTabSheet* sheet) {
    const int index = indexOf(sheet);
    if (index < 0)
        return;
    setTabText(index, StripAccelerator(sheet->Caption()));
    setTabVisible(index, sheet->TabVisible());
}

TTabSheet::TTabSheet(QWidget* parent) : TContainer<QWidget>(parent) {}

void TTabSheet::SetCaption(const std::string& caption) {
    CaptionText = caption;
    if (PageControl)
        PageControl->PageChanged(this);
}

void TTabSheet::SetTabVisible(bool visible) {
    Shown = visible;
    if (PageControl)
        PageControl->PageChanged(this);
}

} // namespace ml
