#pragma once
// The studio's look, taken from the demo's configuration window so that the two read as one
// product: its colours, a header band with the logo, and small icons painted by code.

#include "studio/WaterCanvas.h"

#include <QIcon>
#include <QWidget>

class QApplication;
class QLabel;
class QHBoxLayout;

namespace ml::studio {

// Fusion with the demo window's colours and a style sheet for panels, groups and buttons.
void ApplyStudioLook(QApplication& application);

QIcon ToolIcon(TTool tool);
// A rounded swatch in the area's exact colour.
QIcon AreaIcon(int area);

// The band across the top: the logo, a title and a subtitle on the demo's colour wash, with
// room on the right for buttons.
class THeaderBar : public QWidget {
    Q_OBJECT
public:
    explicit THeaderBar(QWidget* parent = nullptr);
    void SetTexts(const QString& title, const QString& subtitle);
    QHBoxLayout* Buttons() const { return Right; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* Title;
    QLabel* Subtitle;
    QHBoxLayout* Right;
};

} // namespace ml::studio
