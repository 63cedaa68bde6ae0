#pragma once
// The waves of one area as controls: a slider and an exact box for each number, check boxes
// for the flags. Each change goes to the document as one step; one slider drag is one step.

#include "studio/DocumentPanel.h"
#include "studio/PictureSettings.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace ml::studio {

class TWaveControls : public TDocumentPanel {
    Q_OBJECT
public:
    explicit TWaveControls(QWidget* parent = nullptr);

    // The area whose waves are shown, 1..4.
    void SetArea(int area);
    int Area() const { return CurrentArea; }
    // The controls by the parameter file's key, for tests and for the window's tab order.
    TNumberRow* Number(const QString& key) const;
    QCheckBox* Flag(const QString& key) const;

private:
    void ShowValues() override;
    void Edit(const QString& key, int value, bool merge);

    int CurrentArea = 1;
    QGroupBox* Group;
    QComboBox* Direction;
    std::vector<std::pair<QString, TNumberRow*>> Numbers;
    std::vector<std::pair<QString, QCheckBox*>> Flags;
};

} // namespace ml::studio
