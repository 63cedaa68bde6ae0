#pragma once
// The picture's eight sound slots: a file for each (checked as pack checks it), how it plays
// (looping, at random intervals, or every so many seconds), and a button to hear it. Slots
// fill from the first on without gaps, as the show plays the leading slots in use.

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace ml::studio {

class TPictureDocument;
class TSlotPlayer;

class TSoundControls : public QWidget {
    Q_OBJECT
public:
    explicit TSoundControls(QWidget* parent = nullptr);
    ~TSoundControls() override;

    void SetDocument(TPictureDocument* document);
    // Takes a sound file into a slot (the first free one when the slot lies past them).
    // Returns "" when taken, else why not; the check is the one pack makes.
    QString TakeSound(int slot, const QString& path);
    void ClearSlot(int slot);

signals:
    void message(const QString& text);

private:
    struct TSlotRow {
        QLabel* Number;
        QLineEdit* Name;
        QPushButton* Choose;
        QPushButton* Clear;
        QComboBox* Mode;
        QSpinBox* MinSeconds;
        QSpinBox* MaxSeconds;
        QPushButton* Play;
    };

    void ShowValues();
    void Choose(int slot);
    void EditTimes(int slot);
    void TogglePlay(int slot);

    TPictureDocument* Document = nullptr;
    std::array<TSlotRow, 8> Rows{};
    TSlotPlayer* Player;
    int PlayingSlot = -1;
};

} // namespace ml::studio
