#pragma once
// The picture's eight sound slots: a file for each (checked as pack checks it), how it plays
// (looping, at random intervals, or every so many seconds), and a button to hear it. Slots
// fill from the first on without gaps, as the show plays the leading slots in use.

#include "studio/DocumentPanel.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace ml::studio {

class TSlotPlayer;

class TSoundControls : public TDocumentPanel {
    Q_OBJECT
public:
    explicit TSoundControls(QWidget* parent = nullptr);
    ~TSoundControls() override;

    // Takes a sound file into a slot (the first free one when the slot lies past them).
    // Returns "" when taken, else why not; the check is the one pack makes.
    QString TakeSound(int slot, const QString& path);
    void ClearSlot(int slot);

signals:
    void message(const QString& text);

private:
    struct TSlotRow {
        QWidget* Box;
        QLineEdit* Name;
        QPushButton* Choose;
        QPushButton* Play;
        QPushButton* Clear;
        QWidget* Timing;
        QComboBox* Mode;
        QSpinBox* MinSeconds;
        QLabel* And;
        QSpinBox* MaxSeconds;
    };

    void ShowValues() override;
    void DocumentChanged() override;
    void Choose(int slot);
    void EditTimes(int slot);
    void TogglePlay(int slot);

    std::array<TSlotRow, 8> Rows{};
    QLabel* Legacy;
    TSlotPlayer* Player;
    int PlayingSlot = -1;
};

} // namespace ml::studio
