#pragma once
// The standard drawn controls and containers a description may name: panel, shape, bevel,
// image, and the page control with its tab sheets.

#include "configui/Control.h"
#include "configui/Picture.h"

#include <QTabWidget>

namespace ml {

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TContainer<QWidget> {
public:
    explicit TPanel(QWidget* parent = nullptr);

    void SetCaption(const std::string& caption) override;
    std::string Caption() const override { return CaptionText; }
    QRect AlignRect() const override;

    TPanelBevel BevelInner = TPanelBevel::bvNone;
    TPanelBevel BevelOuter = TPanelBevel::bvRaised;
    int BevelWidth = 1;
    int BorderWidth = 0;
    bool BorderSingle = false;
    Qt::Alignment CaptionAlignment = Qt::AlignCenter;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::string CaptionText;
};

enum class TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TMouseControl<QWidget> {
public:
    explicit TShape(QWidget* parent = nullptr);

    TShapeType Shape = TShapeType::stRectangle;
    QPen Pen{QColor(Qt::black), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin};
    QBrush Brush{QColor(Qt::white), Qt::SolidPattern};

protected:
    void paintEvent(QPaintEvent* e) override;
};

enum class TBevelShape {
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer
};
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TMouseControl<QWidget> {
public:
    explicit TBevel(QWidget* parent = nullptr);

    TBevelShape Shape = TBevelShape::bsBox;
    TBevelStyle Style = TBevelStyle::bsLowered;

protected:
    void paintEvent(QPaintEvent* e) override;
};

class TImage : public TMouseControl<QWidget> {
public:
    explicit TImage(QWidget* parent = nullptr);

    TPicture& Picture() { return PictureData; }
    // Shows a new picture (a plain bitmap: nothing of it is transparent).
    void SetPicture(const QImage& image);
    void Loaded() override;

    bool AutoSize = false;
    bool Center = false;
    bool Stretch = false;
    bool Proportional = false;
    bool Transparent = false;

protected:
    void paintEvent(QPaintEvent* e) override;
    // Where the picture goes in the control.
    QRect DestRect() const;

private:
    TPicture PictureData;
};

class TTabSheet;

class TPageControl : public QTabWidget, public TControl {
public:
    explicit TPageControl(QWidget* parent = nullptr);

    void AddPage(TTabSheet* sheet);
    void PageChanged(TTabSheet* sheet);
};

class TTabSheet : public TContainer<QWidget> {
public:
    explicit TTabSheet(QWidget* parent = nullptr);

    void SetCaption(const std::string& caption) override;
    std::string Caption() const override { return CaptionText; }
    void SetTabVisible(bool visible);
    bool TabVisible() const { return Shown; }

    TPageControl* PageControl = nullptr;

private:
    std::string CaptionText;
    bool Shown = true;
};

// Draws a two-colour 3D edge inside the rectangle: top and left in the first colour, bottom
// and right in the second; the rectangle shrinks by one pixel per call.
void Frame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight);

} // namespace ml
