#include "studio/WeatherControls.h"

#include "project/SpeedTable.h"
#include "studio/NumberRow.h"
#include "studio/PictureDocument.h"
#include "tools/authoring/IniSchema.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace ml::studio {

namespace {

const TNumberField kFields[] = {
    {"Count", "Count", 0, 1000, "How many flakes or drops fall at once."},
    {"SpeedIndex", "Speed", 0, 20,
     "How fast they fall: a position in the speed table, 10 is normal speed."},
    {"Angle", "Angle", 0, 180, "The rain's direction in degrees: 90 falls straight down."},
    {"Length", "Length", 0, 50,
     "The length of the rain's streaks, in tenths: 10 is the normal length."},
};

constexpr int kStartingCount = 300;
constexpr int kStraightDown = 90;
constexpr int kNormalLength = 10;

QString SpeedText(int index) {
    if (index < 0 || index >= static_cast<int>(SpeedTable.size()))
        return {};
    return QObject::tr("%1 %").arg(SpeedTable[static_cast<std::size_t>(index)]);
}

} // namespace

TWeatherControls::TWeatherControls(QWidget* parent) : TDocumentPanel(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(tr("Weather"), this);
    outer->addWidget(group);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    KindBox = new QComboBox(group);
    KindBox->addItems({tr("None"), tr("Snow"), tr("Rain")});
    connect(KindBox, &QComboBox::activated, this,
            [this](int index) { Edit("Kind", index, false); });
    form->addRow(tr("Kind"), KindBox);

    const authoring::TIniSchema& schema = authoring::PictureParamsSchema();
    for (const TNumberField& field : kFields) {
        TNumberRow* row =
            AddNumberRow(form, field, schema.Rule("Weather", field.Key),
                         [this](const QString& key, int value) { Edit(key, value, true); });
        if (QString(field.Key) == "SpeedIndex")
            row->SetDescription(SpeedText);
        Numbers.emplace_back(field.Key, row);
    }

    auto* preview = new QGroupBox(tr("Preview"), this);
    outer->addWidget(preview);
    auto* previewForm = new QFormLayout(preview);
    previewForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const int normal = 10;
    SpeedRow = new TNumberRow(
        {0, static_cast<int>(SpeedTable.size()) - 1, 0, static_cast<int>(SpeedTable.size()) - 1},
        preview);
    SpeedRow->SetValue(normal);
    SpeedRow->SetDescription(SpeedText);
    SpeedRow->setToolTip(tr("The speed of the show, as its speed setting makes it. Only the "
                            "preview uses it; the picture file does not keep it."));
    connect(SpeedRow, &TNumberRow::valueEdited, this,
            [this] { emit speedChanged(SpeedPercent()); });
    previewForm->addRow(tr("Show speed"), SpeedRow);
    outer->addStretch();
    setEnabled(false);
}

int TWeatherControls::SpeedPercent() const {
    return SpeedTable[static_cast<std::size_t>(SpeedRow->Value())];
}

TNumberRow* TWeatherControls::Number(const QString& key) const {
    for (const auto& [name, row] : Numbers)
        if (name == key)
            return row;
    return nullptr;
}

void TWeatherControls::ShowValues() {
    const TWeatherParam& weather = Document->Settings().Weather;
    KindBox->setCurrentIndex(std::clamp(weather.Kind, 0, 2));
    for (const TNumberField& field : kFields) {
        TNumberRow* row = Number(field.Key);
        row->SetValue(WeatherValue(weather, field.Key));
        // Angle and length shape the rain's streaks; snow has neither.
        const bool rainOnly = QString(field.Key) == "Angle" || QString(field.Key) == "Length";
        row->setEnabled(rainOnly ? weather.Kind == 2 : weather.Kind != 0);
    }
}

void TWeatherControls::Edit(const QString& key, int value, bool merge) {
    if (!Document)
        return;
    Document->Change(
        tr("Weather %1").arg(key),
        [&](TPictureSettings& settings) {
            TWeatherParam& weather = settings.Weather;
            // Snow or rain chosen for a picture without any gets a sky full to begin with.
            if (key == "Kind" && value > 0 && weather.Count == 0) {
                weather.Count = kStartingCount;
                weather.Angle = kStraightDown;
                weather.Length = kNormalLength;
            }
            SetWeatherValue(weather, key.toStdString(), value);
        },
        merge ? "Weather." + key : QString());
}

} // namespace ml::studio
