#include "studio/WaterCanvas.h"

#include "platform/Bitmap.h"
#include "project/ProjectRecords.h"
#include "studio/PictureDocument.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace ml::studio {

namespace {

constexpr double kOverlayOpacity = 0.38;
constexpr int kMargin = 12;
// A polygon closes when a click lands this close (in screen pixels) to its first corner.
constexpr double kCloseDistance = 8;

QColor AreaColor(int area) {
    return QColor::fromRgb(AreaColors[std::clamp(area, 0, kAreaCount)]);
}

QString ToolText(TTool tool) {
    switch (tool) {
    case TTool::Brush:
        return QObject::tr("Brush");
    case TTool::Eraser:
        return QObject::tr("Erase");
    case TTool::Lasso:
        return QObject::tr("Lasso");
    case TTool::Polygon:
        return QObject::tr("Polygon");
    case TTool::Fill:
        return QObject::tr("Fill similar colour");
    case TTool::Horizon:
        return QObject::tr("Everything below this line");
    }
    return {};
}

} // namespace

TWaterCanvas::TWaterCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TWaterCanvas::~TWaterCanvas() = default;

void TWaterCanvas::SetDocument(TPictureDocument* document) {
    CancelGesture();
    if (Document)
        disconnect(Document, nullptr, this, nullptr);
    Document = document;
    Frame = nullptr;
    if (Document)
        connect(Document, &TPictureDocument::maskChanged, this, [this] { RefreshOverlay(); });
    RefreshOverlay();
}

void TWaterCanvas::SetFrame(const TBitmap* frame, const std::vector<QRect>* changed) {
    Frame = frame;
    const QRect shown = PictureRect();
    if (!changed || !frame || frame->Empty()) {
        update(shown);
        return;
    }
    // Scaling the whole frame to the screen 30 times a second costs more than the water
    // itself; the parts that moved are enough. A pixel or two more on each side covers what
    // smoothing carries across a part's edge. Many small parts (rain drops) cost more one by
    // one than their box in one go.
    constexpr std::size_t kFewParts = 8;
    const double sx = static_cast<double>(shown.width()) / frame->Width();
    const double sy = static_cast<double>(shown.height()) / frame->Height();
    auto onScreen = [&](const QRect& part) {
        return QRectF(shown.left() + part.left() * sx, shown.top() + part.top() * sy,
                      part.width() * sx, part.height() * sy)
                   .toAlignedRect()
                   .adjusted(-2, -2, 2, 2) &
               shown;
    };
    if (changed->size() > kFewParts) {
        QRect box;
        for (const QRect& part : *changed)
            box |= part;
        update(onScreen(box));
        return;
    }
    QRegion region;
    for (const QRect& part : *changed)
        region += onScreen(part);
    update(region);
}

void TWaterCanvas::SetTool(TTool tool) {
    CancelGesture();
    CurrentTool = tool;
    emit toolSettingsChanged();
}

void TWaterCanvas::SetArea(int area) {
    CurrentArea = std::clamp(area, 1, kAreaCount);
    emit toolSettingsChanged();
    update();
}

void TWaterCanvas::SetBrushSize(int pixels) {
    Brush = std::clamp(pixels, 1, 1000);
    emit toolSettingsChanged();
    update();
}

void TWaterCanvas::SetTolerance(int tolerance) {
    FillTolerance = std::clamp(tolerance, 0, 255);
    emit toolSettingsChanged();
}

void TWaterCanvas::SetOverlayVisible(bool visible) {
    ShowOverlay = visible;
    update();
}

QSize TWaterCanvas::PictureSize() const {
    if (!Document)
        return {};
    return {Document->Picture().Width(), Document->Picture().Height()};
}

QRect TWaterCanvas::PictureRect() const {
    const QSize picture = PictureSize();
    if (picture.isEmpty())
        return {};
    const QRect room = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QSize fitted = picture.scaled(room.size(), Qt::KeepAspectRatio);
    return QRect(room.left() + (room.width() - fitted.width()) / 2,
                 room.top() + (room.height() - fitted.height()) / 2, fitted.width(),
                 fitted.height());
}

QPoint TWaterCanvas::ToPicture(QPointF point) const {
    const QRect shown = PictureRect();
    const QSize picture = PictureSize();
    if (shown.isEmpty())
        return {};
    return {
        static_cast<int>(std::floor((point.x() - shown.left()) * picture.width() / shown.width())),
        static_cast<int>(
            std::floor((point.y() - shown.top()) * picture.height() / shown.height()))};
}

QPointF TWaterCanvas::ToWidget(QPointF picture) const {
    const QRect shown = PictureRect();
    const QSize size = PictureSize();
    if (size.isEmpty())
        return {};
    return {shown.left() + picture.x() * shown.width() / size.width(),
            shown.top() + picture.y() * shown.height() / size.height()};
}

void TWaterCanvas::RefreshOverlay() {
    const QRect shown = PictureRect();
    OverlayCache = QImage();
    if (Document && !shown.isEmpty())
        // Scaled without smoothing, so the overlay shows the hard edges the mask has.
        OverlayCache = Document->Mask()
                           .Image()
                           .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    update();
}

void TWaterCanvas::resizeEvent(QResizeEvent*) {
    RefreshOverlay();
}

void TWaterCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    const QRect shown = PictureRect();
    if (!Document || shown.isEmpty()) {
        painter.setPen(palette().placeholderText().color());
        QFont font = painter.font();
        font.setPixelSize(16);
        painter.setFont(font);
        painter.drawText(rect().adjusted(40, 40, -40, -40), Qt::AlignCenter | Qt::TextWordWrap,
                         tr("Open a photo (JPEG, PNG, BMP, GIF) or a picture file (.qmp) with "
                            "File > Open picture (Ctrl+O), or drop one here, and paint where "
                            "its water is."));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const TBitmap& picture = Frame ? *Frame : Document->Picture();
    painter.drawImage(shown, picture.ToImage());
    if (ShowOverlay && !OverlayCache.isNull()) {
        painter.setOpacity(kOverlayOpacity);
        painter.drawImage(shown.topLeft(), OverlayCache);
        painter.setOpacity(1);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(shown);
    PaintGesture(painter);
}

QColor TWaterCanvas::GestureColor() const {
    return CurrentTool == TTool::Eraser ? QColor(255, 255, 255) : AreaColor(CurrentArea);
}

// What the gesture under way will paint, drawn in screen pixels; the mask changes only when
// the gesture ends.
void TWaterCanvas::PaintGesture(QPainter& painter) const {
    const double scale = static_cast<double>(PictureRect().width()) / PictureSize().width();
    const QPointF half(0.5, 0.5);
    QColor fill = GestureColor();
    fill.setAlphaF(kOverlayOpacity);
    const bool brushTool = CurrentTool == TTool::Brush || CurrentTool == TTool::Eraser;

    if (Stroke) {
        QPainterPath path;
        const auto& points = Stroke->Points();
        path.moveTo(ToWidget(QPointF(points.front()) + half));
        for (const QPoint& p : points)
            path.lineTo(ToWidget(QPointF(p) + half));
        painter.setPen(
            QPen(fill, std::max(1.0, Brush * scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    }
    if (!Outline.empty()) {
        QPolygonF polygon;
        for (const QPoint& p : Outline)
            polygon << ToWidget(QPointF(p) + half);
        if (CurrentTool == TTool::Polygon && Inside)
            polygon << Pointer;
        painter.setPen(QPen(GestureColor(), 1.5));
        painter.setBrush(fill);
        painter.drawPolygon(polygon);
        painter.setBrush(Qt::NoBrush);
        if (CurrentTool == TTool::Polygon)
            for (const QPointF& corner : polygon.mid(0, static_cast<int>(Outline.size())))
                painter.drawEllipse(corner, 3, 3);
    }
    if (LineStart) {
        // The line through both points runs across the whole picture; the water below it is
        // shaded as it will be taken.
        const QRect shown = PictureRect();
        QPointF a = ToWidget(QPointF(*LineStart) + half);
        QPointF b = Pointer;
        if (std::abs(b.x() - a.x()) < 1)
            b = a + QPointF(1, 0);
        const double slope = (b.y() - a.y()) / (b.x() - a.x());
        const QPointF left(shown.left(), a.y() + slope * (shown.left() - a.x()));
        const QPointF right(shown.right() + 1, a.y() + slope * (shown.right() + 1 - a.x()));
        QPolygonF below;
        below << left << right << QPointF(shown.right() + 1, shown.bottom() + 1)
              << QPointF(shown.left(), shown.bottom() + 1);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(below);
        painter.setPen(QPen(GestureColor(), 2, Qt::DashLine));
        painter.drawLine(left, right);
    }
    if (brushTool && Inside) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
        const double radius = std::max(1.0, Brush * scale / 2);
        painter.drawEllipse(Pointer, radius, radius);
        painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
        painter.drawEllipse(Pointer, radius + 1, radius + 1);
    }
}

void TWaterCanvas::Commit(const TCoverage& coverage, const QString& what) {
    if (Document)
        Document->PaintAreas(coverage, CurrentTool == TTool::Eraser ? 0 : CurrentArea, what);
}

void TWaterCanvas::mousePressEvent(QMouseEvent* event) {
    if (!Document || event->button() != Qt::LeftButton)
        return;
    const QPoint pixel = ToPicture(event->position());
    switch (CurrentTool) {
    case TTool::Brush:
    case TTool::Eraser:
        Stroke = std::make_unique<TBrushStroke>(PictureSize(), Brush);
        Stroke->AddPoint(pixel);
        break;
    case TTool::Lasso:
        Outline = {pixel};
        break;
    case TTool::Polygon:
        if (!Outline.empty() &&
            QLineF(ToWidget(QPointF(Outline.front()) + QPointF(0.5, 0.5)), event->position())
                    .length() <= kCloseDistance) {
            FinishPolygon();
            return;
        }
        Outline.push_back(pixel);
        break;
    case TTool::Fill:
        Commit(SimilarColourCoverage(Document->Picture(), pixel, FillTolerance),
               ToolText(CurrentTool));
        break;
    case TTool::Horizon:
        LineStart = pixel;
        break;
    }
    update();
}

void TWaterCanvas::mouseMoveEvent(QMouseEvent* event) {
    ReportPointer(event->position());
    if (event->buttons() & Qt::LeftButton) {
        const QPoint pixel = ToPicture(event->position());
        if (Stroke && Stroke->Points().back() != pixel)
            Stroke->AddPoint(pixel);
        else if (CurrentTool == TTool::Lasso && !Outline.empty() && Outline.back() != pixel)
            Outline.push_back(pixel);
    }
    update();
}

void TWaterCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pixel = ToPicture(event->position());
    if (Stroke) {
        Commit(Stroke->Coverage(), ToolText(CurrentTool));
        Stroke.reset();
    } else if (CurrentTool == TTool::Lasso && !Outline.empty()) {
        Commit(PolygonCoverage(Outline, PictureSize()), ToolText(CurrentTool));
        Outline.clear();
    } else if (LineStart) {
        // A click without a drag sets a level horizon.
        QPoint end = pixel.x() == LineStart->x() ? *LineStart + QPoint(1, 0) : pixel;
        Commit(BelowLineCoverage(*LineStart, end, PictureSize()), ToolText(CurrentTool));
        LineStart.reset();
    }
    update();
}

void TWaterCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (CurrentTool == TTool::Polygon && event->button() == Qt::LeftButton)
        FinishPolygon();
    else
        mousePressEvent(event);
}

bool TWaterCanvas::FinishPolygon() {
    if (CurrentTool != TTool::Polygon || Outline.empty())
        return false;
    Commit(PolygonCoverage(Outline, PictureSize()), ToolText(CurrentTool));
    Outline.clear();
    update();
    return true;
}

void TWaterCanvas::CancelGesture() {
    Stroke.reset();
    Outline.clear();
    LineStart.reset();
    update();
}

void TWaterCanvas::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        CancelGesture();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (FinishPolygon())
            return;
        break;
    case Qt::Key_Backspace:
        if (CurrentTool == TTool::Polygon && !Outline.empty()) {
            Outline.pop_back();
            update();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TWaterCanvas::ReportPointer(QPointF point) {
    Pointer = point;
    const QPoint pixel = ToPicture(point);
    const QSize size = PictureSize();
    Inside = Document && QRect(QPoint(), size).contains(pixel);
    if (Inside)
        emit pointerMoved(pixel, Document->Mask().AreaAt(pixel.x(), pixel.y()));
    else
        emit pointerMoved(std::nullopt, 0);
}

void TWaterCanvas::leaveEvent(QEvent*) {
    Inside = false;
    emit pointerMoved(std::nullopt, 0);
    update();
}

} // namespace ml::studio
