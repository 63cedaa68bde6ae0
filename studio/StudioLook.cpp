#include "studio/StudioLook.h"

#include "demo/InterfaceArt.h"
#include "project/ProjectRecords.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyleFactory>
#include <QVBoxLayout>

namespace ml::studio {

using namespace demoui;

namespace {

QString Hex(QRgb rgb) {
    return QColor(rgb).name();
}

QString StyleSheet() {
    return QString(R"(
QMainWindow, QDialog { background: %1; }
QWidget#toolStrip { background: %2; border-bottom: 1px solid %3; }
QTabWidget::pane { border: 1px solid %3; background: %2; border-radius: 6px; top: -1px; }
QTabBar::tab { padding: 7px 16px; color: %5; border: none; }
QTabBar::tab:selected { color: %4; border-bottom: 2px solid %6; font-weight: bold; }
QScrollArea, QScrollArea > QWidget > QWidget { background: %2; }
QGroupBox { font-weight: bold; color: %4; border: 1px solid %3; border-radius: 6px;
            margin-top: 14px; padding: 10px 8px 8px 8px; background: %2; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QLabel#muted { color: %5; }
QLabel#slotNumber { color: %5; font-weight: bold; }
QPushButton { background: %2; border: 1px solid %3; border-radius: 5px; padding: 5px 14px;
              color: %4; }
QPushButton:hover { border-color: %6; }
QPushButton:disabled { color: #9AA7B2; }
QPushButton#primary { background: %6; color: white; border: 1px solid %6; font-weight: bold; }
QPushButton#primary:hover { background: #2389C6; }
QPushButton#pageButton { background: transparent; color: %7; border: 1px solid transparent;
                         border-radius: 14px; padding: 5px 16px; }
QPushButton#pageButton:checked { background: rgba(255,255,255,0.16); color: white;
                                 border-color: rgba(255,255,255,0.35); }
QToolButton { border: 1px solid transparent; border-radius: 5px; padding: 3px; }
QToolButton:hover { border-color: %3; background: %1; }
QToolButton:checked { background: #DCEBF5; border-color: %6; }
QStatusBar { background: %2; border-top: 1px solid %3; color: %5; }
QListWidget { background: %2; border: 1px solid %3; border-radius: 6px; }
)")
        .arg(Hex(kBackground), Hex(kSurface), Hex(kBorder), Hex(kText), Hex(kMutedText),
             Hex(kAccent), Hex(kHeaderSubtitle));
}

QPixmap Canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

void ApplyStudioLook(QApplication& application) {
    application.setStyle(QStyleFactory::create("Fusion"));
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(kBackground));
    palette.setColor(QPalette::Base, QColor(kSurface));
    palette.setColor(QPalette::Button, QColor(kSurface));
    palette.setColor(QPalette::Text, QColor(kText));
    palette.setColor(QPalette::WindowText, QColor(kText));
    palette.setColor(QPalette::ButtonText, QColor(kText));
    palette.setColor(QPalette::Highlight, QColor(kAccent));
    palette.setColor(QPalette::PlaceholderText, QColor(kMutedText));
    application.setPalette(palette);
    application.setStyleSheet(StyleSheet());
}

QIcon ToolIcon(TTool tool) {
    constexpr int s = 44;
    QPixmap pixmap = Canvas(s);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(kText);
    const QColor accent(kAccent);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (tool) {
    case TTool::Brush:
        p.setBrush(accent);
        p.drawEllipse(QPointF(16, 28), 9, 9);
        p.drawLine(QPointF(22, 22), QPointF(36, 8));
        break;
    case TTool::Eraser: {
        p.setBrush(QColor(0xF2, 0xA7, 0xA7));
        QPolygonF block;
        block << QPointF(8, 28) << QPointF(24, 12) << QPointF(36, 24) << QPointF(22, 38)
              << QPointF(16, 38);
        p.drawPolygon(block);
        p.drawLine(QPointF(22, 38), QPointF(38, 38));
        break;
    }
    case TTool::Lasso: {
        QPainterPath loop;
        loop.moveTo(10, 22);
        loop.cubicTo(8, 6, 38, 6, 36, 20);
        loop.cubicTo(35, 32, 14, 34, 14, 28);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 3, Qt::DashLine, Qt::RoundCap));
        p.drawPath(loop);
        p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 28), QPointF(12, 38));
        break;
    }
    case TTool::Polygon: {
        QPolygonF shape;
        shape << QPointF(8, 32) << QPointF(16, 8) << QPointF(36, 14) << QPointF(32, 36);
        p.setBrush(QColor(0xDC, 0xEB, 0xF5));
        p.drawPolygon(shape);
        p.setBrush(accent);
        for (const QPointF& corner : shape)
            p.drawEllipse(corner, 3.5, 3.5);
        break;
    }
    case TTool::Fill: {
        p.setBrush(QColor(0xDC, 0xEB, 0xF5));
        QPolygonF bucket;
        bucket << QPointF(8, 18) << QPointF(22, 6) << QPointF(34, 18) << QPointF(20, 32);
        p.drawPolygon(bucket);
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        QPainterPath drop;
        drop.moveTo(36, 24);
        drop.cubicTo(40, 32, 40, 38, 36, 38);
        drop.cubicTo(32, 38, 32, 32, 36, 24);
        p.drawPath(drop);
        break;
    }
    case TTool::Horizon:
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRect(QRectF(6, 24, 32, 14));
        p.setPen(QPen(ink, 3, Qt::DashLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 22), QPointF(40, 22));
        break;
    }
    return QIcon(pixmap);
}

QIcon AreaIcon(int area) {
    constexpr int s = 44;
    QPixmap pixmap = Canvas(s);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(kText), 2));
    p.setBrush(QColor::fromRgb(AreaColors[std::clamp(area, 1, kAreaCount)]));
    p.drawRoundedRect(QRectF(7, 7, 30, 30), 7, 7);
    p.setPen(area == 1 ? Qt::white : QColor(kText));
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(7, 7, 30, 30), Qt::AlignCenter, QString::number(area));
    return QIcon(pixmap);
}

THeaderBar::THeaderBar(QWidget* parent)
    : QWidget(parent), Title(new QLabel(this)), Subtitle(new QLabel(this)), Right(new QHBoxLayout) {
    setFixedHeight(72);
    auto* logo = new QLabel(this);
    logo->setPixmap(QPixmap::fromImage(Logo(44, kHeaderLeft)));
    Title->setStyleSheet("color: white; font-size: 20px; font-weight: bold;");
    Subtitle->setStyleSheet(QString("color: %1; font-size: 13px;").arg(Hex(kHeaderSubtitle)));
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch();
    texts->addWidget(Title);
    texts->addWidget(Subtitle);
    texts->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->setSpacing(14);
    layout->addWidget(logo);
    layout->addLayout(texts, 1);
    layout->addLayout(Right);
}

void THeaderBar::SetTexts(const QString& title, const QString& subtitle) {
    Title->setText(title);
    Subtitle->setText(subtitle);
}

void THeaderBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient wash(0, 0, width(), 0);
    wash.setColorAt(0, QColor(kHeaderLeft));
    wash.setColorAt(1, QColor(kHeaderRight));
    p.fillRect(rect(), wash);
}

} // namespace ml::studio
