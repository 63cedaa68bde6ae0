#pragma once
// The picture page's canvas: the live water fitted into the widget, the painted areas over it
// as a translucent overlay, and the painting tools driven by the pointer. Every finished
// gesture becomes one step of the document's history.

#include "studio/MaskPainting.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

namespace ml {
class TBitmap;
}

namespace ml::studio {

class TPictureDocument;

enum class TTool { Brush, Eraser, Lasso, Polygon, Fill, Horizon };

class TWaterCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TWaterCanvas(QWidget* parent = nullptr);
    ~TWaterCanvas() override;

    // The document painted on (not owned; null for none).
    void SetDocument(TPictureDocument* document);
    // The frame shown under the overlay (not owned), at the stored size; null shows the
    // picture as opened. Only the parts given (in frame pixels) are painted again; without
    // them the whole picture is.
    void SetFrame(const TBitmap* frame, const std::vector<QRect>* changed = nullptr);

    void SetTool(TTool tool);
    TTool Tool() const { return CurrentTool; }
    void SetArea(int area); // 1..4
    int Area() const { return CurrentArea; }
    void SetBrushSize(int pixels); // in pixels of the picture as opened
    int BrushSize() const { return Brush; }
    void SetTolerance(int tolerance); // 0..255, for the colour fill
    int Tolerance() const { return FillTolerance; }
    void SetOverlayVisible(bool visible);
    bool OverlayVisible() const { return ShowOverlay; }

    // Where the picture lies in the widget, fitted with its proportions.
    QRect PictureRect() const;
    // The picture pixel under a widget point (it may lie outside the picture).
    QPoint ToPicture(QPointF point) const;
    // The widget point at the top-left corner of a picture pixel.
    QPointF ToWidget(QPointF picture) const;
    // Ends a polygon being drawn (as a double click does); false when there is none.
    bool FinishPolygon();
    // Drops the gesture under way.
    void CancelGesture();

signals:
    // The picture pixel under the pointer and its area (0 dry land); nullopt when the
    // pointer leaves the picture.
    void pointerMoved(std::optional<QPoint> pixel, int area);
    void toolSettingsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QSize PictureSize() const;
    void RefreshOverlay();
    void PaintGesture(QPainter& painter) const;
    QColor GestureColor() const;
    void Commit(const TCoverage& coverage, const QString& what);
    void ReportPointer(QPointF point);

    TPictureDocument* Document = nullptr;
    const TBitmap* Frame = nullptr;
    QImage OverlayCache; // the overlay at the size of PictureRect
    TTool CurrentTool = TTool::Brush;
    int CurrentArea = 1;
    int Brush = 24;
    int FillTolerance = 24;
    bool ShowOverlay = true;

    // The gesture under way.
    std::unique_ptr<TBrushStroke> Stroke;
    std::vector<QPoint> Outline; // lasso and polygon corners, in picture pixels
    std::optional<QPoint> LineStart;
    QPointF Pointer{-1, -1};
    bool Inside = false;
};

} // namespace ml::studio
