#pragma once
// What the picture file says besides the water: its title and extra text, the size the
// picture is stored at (as make-qmp's --max-size) and the JPEG quality, with the area
// pixel counts for a check that the water is where it should be.

#include "studio/DocumentPanel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace ml::studio {

class TPictureControls : public TDocumentPanel {
    Q_OBJECT
public:
    explicit TPictureControls(QWidget* parent = nullptr);

    QComboBox* StoredSize() const { return SizeBox; }
    QLineEdit* Title() const { return TitleEdit; }
    QLineEdit* ExtraText() const { return ExtraEdit; }

private:
    void ShowValues() override;
    void DocumentChanged() override;
    void ShowAreas();
    void ChooseSize(int index);

    QLineEdit* TitleEdit;
    QLineEdit* ExtraEdit;
    QComboBox* SizeBox;
    QSpinBox* Quality;
    QLabel* SizeText;
    QLabel* AreaText;
};

} // namespace ml::studio
