#include "studio/WaveControls.h"

#include "studio/NumberRow.h"
#include "studio/PictureDocument.h"
#include "tools/authoring/IniSchema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace ml::studio {

namespace {

struct TFlagField {
    const char* Key;
    const char* Label;
    const char* Tip;
};

// The sliders cover what looks right on a picture of screen size; the boxes take every value
// the parameter file allows.
const TNumberField kNumbers[] = {
    {"Amplitude", "Amplitude", 0, 40,
     "The largest displacement, in pixels of the stored picture. The show scales it with the "
     "picture, so it keeps its look on any screen."},
    {"WaveCount", "Wave count", 0, 120, "How many waves fit over the picture's height."},
    {"PhaseStep", "Phase step", 0, 60,
     "How far the waves travel each frame, in degrees at normal speed."},
    {"Period", "Period", 1, 1440,
     "The period of the up-and-down displacement, in degrees; 360 is one full wave."},
    {"JitterRange", "Jitter range", 0, 30,
     "A fixed random row offset per column, which breaks the rows into glitter; 0 for none."},
};

const TFlagField kFlags[] = {
    {"Vertical", "Up and down", "The rows move up and down."},
    {"Horizontal", "Sideways", "The rows move sideways."},
    {"Perspective", "Perspective",
     "The waves grow from nothing at the top of the area to their full size at its bottom, "
     "as on water seen from its shore."},
};

const authoring::TKeyRule& Rule(const char* key) {
    return authoring::PictureParamsSchema().Rule("Area1", key);
}

} // namespace

TWaveControls::TWaveControls(QWidget* parent) : TDocumentPanel(parent), Group(new QGroupBox(this)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Group);
    auto* form = new QFormLayout(Group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    for (const TNumberField& field : kNumbers)
        Numbers.emplace_back(field.Key, AddNumberRow(form, field, Rule(field.Key),
                                                     [this](const QString& key, int value) {
                                                         Edit(key, value, true);
                                                     }));

    Direction = new QComboBox(Group);
    Direction->addItems({tr("Towards the top"), tr("Towards the bottom")});
    Direction->setToolTip(tr("Which way the waves travel."));
    connect(Direction, &QComboBox::activated, this,
            [this](int index) { Edit("Direction", index, false); });
    form->insertRow(3, tr("Direction"), Direction);

    auto* flags = new QWidget(Group);
    auto* flagRow = new QHBoxLayout(flags);
    flagRow->setContentsMargins(0, 0, 0, 0);
    for (const TFlagField& field : kFlags) {
        auto* box = new QCheckBox(tr(field.Label), flags);
        box->setToolTip(tr(field.Tip));
        const QString key = field.Key;
        connect(box, &QCheckBox::clicked, this,
                [this, key](bool on) { Edit(key, on ? 1 : 0, false); });
        flagRow->addWidget(box);
        Flags.emplace_back(key, box);
    }
    flagRow->addStretch();
    form->addRow(tr("Moves"), flags);
    SetArea(1);
}

void TWaveControls::SetArea(int area) {
    CurrentArea = std::clamp(area, 1, kAreaCount);
    static const char* const names[] = {"", "blue", "magenta", "red", "yellow"};
    Group->setTitle(tr("Waves of area %1 (%2)").arg(CurrentArea).arg(tr(names[CurrentArea])));
    ShowValues();
}

TNumberRow* TWaveControls::Number(const QString& key) const {
    for (const auto& [name, row] : Numbers)
        if (name == key)
            return row;
    return nullptr;
}

QCheckBox* TWaveControls::Flag(const QString& key) const {
    for (const auto& [name, box] : Flags)
        if (name == key)
            return box;
    return nullptr;
}

void TWaveControls::ShowValues() {
    if (!Document)
        return;
    const TWaveParam& wave = Document->Settings().Waves[static_cast<std::size_t>(CurrentArea - 1)];
    for (const auto& [key, row] : Numbers)
        row->SetValue(WaveValue(wave, key.toStdString()));
    for (const auto& [key, box] : Flags)
        box->setChecked(WaveValue(wave, key.toStdString()) != 0);
    Direction->setCurrentIndex(wave.Direction != 0 ? 1 : 0);
}

void TWaveControls::Edit(const QString& key, int value, bool merge) {
    if (!Document)
        return;
    const int area = CurrentArea;
    Document->Change(
        tr("Area %1 %2").arg(area).arg(key),
        [&](TPictureSettings& settings) {
            SetWaveValue(settings.Waves[static_cast<std::size_t>(area - 1)], key.toStdString(),
                         value);
        },
        merge ? QString("Area%1.%2").arg(area).arg(key) : QString());
}

} // namespace ml::studio
