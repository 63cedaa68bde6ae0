#include "configui/SettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace ml {
namespace {

// The width a control needs to show its whole text in its own font.
int TextWidth(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->fontMetrics().horizontalAdvance(label->text());
    if (auto* box = qobject_cast<QCheckBox*>(w))
        return box->fontMetrics().horizontalAdvance(box->text());
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->fontMetrics().horizontalAdvance(group->title());
    if (auto* button = qobject_cast<QPushButton*>(w))
        return button->fontMetrics().horizontalAdvance(button->text());
    return 0;
}

// With the machine's fonts at any size, every caption and every drop-down item fits its
// control, and no control of a group lies over another or outside the group.
TEST(SettingsDialogLayout, EveryTextFitsAtAnyFontSize) {
    const QFont original = QApplication::font();
    for (int points : {8, 11, 16}) {
        SCOPED_TRACE(points);
        QFont font = original;
        font.setPointSize(points);
        QApplication::setFont(font);
        TfmSettingWindow dialog;
        dialog.show();
        QApplication::processEvents();

        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            if (!w->isVisible())
                continue;
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_GE(w->contentsRect().width(), TextWidth(w));
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                EXPECT_GE(combo->width(), combo->sizeHint().width());
            }
            const QWidget* parent = w->parentWidget();
            EXPECT_TRUE(parent->rect().contains(w->geometry())) << "inside its parent";
            for (QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (other != w && other->isVisible() && !other->isWindow()) {
                    EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                        << "overlaps " << other->objectName().toStdString();
                }
            }
        }
    }
    QApplication::setFont(original);
}

} // namespace
} // namespace ml
