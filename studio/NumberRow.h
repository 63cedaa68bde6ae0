#pragma once
// A number set with a slider over its useful range and typed exactly in a box beside it,
// which takes every value the file allows. The two follow each other.

#include <QWidget>
#include <functional>

class QLabel;
class QSlider;
class QSpinBox;

namespace ml::studio {

class TNumberRow : public QWidget {
    Q_OBJECT
public:
    struct TRange {
        int SliderLow = 0;
        int SliderHigh = 100;
        int Low = 0; // what the box takes
        int High = 100;
    };

    TNumberRow(TRange range, QWidget* parent = nullptr);

    // Sets the value without reporting it as the user's.
    void SetValue(int value);
    int Value() const;
    // A few words shown after the box for a value (e.g. the percentage a speed index means).
    void SetDescription(std::function<QString(int)> describe);

    QSlider* Slider() const { return Track; }
    QSpinBox* Box() const { return Number; }

signals:
    // The user moved the slider or typed a value.
    void valueEdited(int value);
    // The user let go of the slider or left the box: the end of one change.
    void editFinished();

private:
    void Show(int value);

    QSlider* Track;
    QSpinBox* Number;
    QLabel* Said = nullptr;
    std::function<QString(int)> Describe;
};

} // namespace ml::studio
