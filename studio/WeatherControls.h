#pragma once
// The picture's weather (none, snow or rain, with count, speed, angle and length) and the
// speed the live water plays at, as the show's speed setting would make it.

#include <QWidget>
#include <vector>

class QComboBox;

namespace ml::studio {

class TNumberRow;
class TPictureDocument;

class TWeatherControls : public QWidget {
    Q_OBJECT
public:
    explicit TWeatherControls(QWidget* parent = nullptr);

    void SetDocument(TPictureDocument* document);
    TNumberRow* Number(const QString& key) const;
    QComboBox* Kind() const { return KindBox; }
    TNumberRow* Speed() const { return SpeedRow; }
    // The preview speed in percent.
    int SpeedPercent() const;

signals:
    void speedChanged(int percent);

private:
    void ShowValues();
    void Edit(const QString& key, int value, bool merge);

    TPictureDocument* Document = nullptr;
    QComboBox* KindBox;
    std::vector<std::pair<QString, TNumberRow*>> Numbers;
    TNumberRow* SpeedRow;
};

} // namespace ml::studio
