#include "configui/FormParent.h"

#include <QGuiApplication>
#include <QScreen>

namespace ml {

void TfmQMFormParent::ShapeWindow() {
    Qt::WindowFlags flags = Qt::Window;
    if (NoFrame) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (ShowButtons)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (MaximizeButton)
            flags |= Qt::WindowMaximizeButtonHint;
        if (MinimizeButton)
            flags |= Qt::WindowMinimizeButtonHint;
    }
    setWindowFlags(flags);
    // A single border cannot be dragged to another size.
    if (!NoFrame && !Sizeable)
        setFixedSize(size());
    if (MaximizeOnShow)
        setWindowState(Qt::WindowMaximized);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

} // namespace ml
