#pragma once
// The picture's weather (none, snow or rain, with count, speed, angle and length) and the
// speed the live water plays at, as the show's speed setting would make it.

#include "studio/DocumentPanel.h"

#include <vector>

class QComboBox;

namespace ml::studio {

class TWeatherControls : public TDocumentPanel {
    Q_OBJECT
public:
    explicit TWeatherControls(QWidget* parent = nullptr);

    TNumberRow* Number(const QString& key) const;
    QComboBox* Kind() const { return KindBox; }
    TNumberRow* Speed() const { return SpeedRow; }
    // The preview speed in percent.
    int SpeedPercent() const;

signals:
    void speedChanged(int percent);

private:
    void ShowValues() override;
    void Edit(const QString& key, int value, bool merge);

    QComboBox* KindBox;
    std::vector<std::pair<QString, TNumberRow*>> Numbers;
    TNumberRow* SpeedRow;
};

} // namespace ml::studio
