#include "studio/NumberRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace ml::studio {

TNumberRow::TNumberRow(TRange range, QWidget* parent)
    : QWidget(parent), Track(new QSlider(Qt::Horizontal, this)), Number(new QSpinBox(this)) {
    Track->setRange(range.SliderLow, range.SliderHigh);
    Number->setRange(range.Low, range.High);
    Number->setKeyboardTracking(false);
    // One width for every box, so that the sliders of a form line up.
    Number->setFixedWidth(84);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Track, 1);
    layout->addWidget(Number);

    connect(Track, &QSlider::valueChanged, this, [this](int value) {
        Show(value);
        emit valueEdited(value);
    });
    connect(Track, &QSlider::sliderReleased, this, &TNumberRow::editFinished);
    connect(Number, &QSpinBox::valueChanged, this, [this](int value) {
        Show(value);
        emit valueEdited(value);
        emit editFinished();
    });
}

void TNumberRow::SetDescription(std::function<QString(int)> describe) {
    Describe = std::move(describe);
    if (!Said) {
        Said = new QLabel(this);
        Said->setMinimumWidth(56);
        Said->setObjectName("muted");
        layout()->addWidget(Said);
    }
    Show(Value());
}

void TNumberRow::SetValue(int value) {
    Show(value);
}

int TNumberRow::Value() const {
    return Number->value();
}

void TNumberRow::Show(int value) {
    const QSignalBlocker trackQuiet(Track);
    const QSignalBlocker numberQuiet(Number);
    Track->setValue(value);
    Number->setValue(value);
    if (Said && Describe)
        Said->setText(Describe(value));
}

} // namespace ml::studio
