#pragma once
// What the picture file says besides the water: its title and extra text, the size the
// picture is stored at (as make-qmp's --max-size) and the JPEG quality, with the area
// pixel counts for a check that the water is where it should be.

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace ml::studio {

class TPictureDocument;

class TPictureControls : public QWidget {
    Q_OBJECT
public:
    explicit TPictureControls(QWidget* parent = nullptr);

    void SetDocument(TPictureDocument* document);
    QComboBox* StoredSize() const { return SizeBox; }
    QLineEdit* Title() const { return TitleEdit; }
    QLineEdit* ExtraText() const { return ExtraEdit; }

private:
    void ShowValues();
    void ShowAreas();
    void ChooseSize(int index);

    TPictureDocument* Document = nullptr;
    QLineEdit* TitleEdit;
    QLineEdit* ExtraEdit;
    QComboBox* SizeBox;
    QSpinBox* Quality;
    QLabel* SizeText;
    QLabel* AreaText;
};

} // namespace ml::studio
