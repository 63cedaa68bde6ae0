#pragma once
// The fixed settings dialog: display options, sound options, which pictures are shown and
// for how long, and the animation speed. Its caller fills it from the user's settings and
// writes them back on OK.

#include "project/UserSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace ml {

class TQMCProject;

class TfmSettingWindow : public QDialog {
    Q_OBJECT
public:
    explicit TfmSettingWindow(QWidget* owner = nullptr);

    // Puts the values into the controls; OK is enabled only when they may be saved.
    void Fill(const TShowSettings& settings, bool canSave);
    // Reads the controls back. The duration box is converted as typed, so a text that is not
    // a number raises EConvertError.
    TShowSettings Values() const;

    // The "Reset" link: the speed goes back to the middle position (speed 100).
    void Label3Click();

    QCheckBox* cbDirectX;
    QComboBox* cbImageQuality;
    QComboBox* cbImageSize;
    QCheckBox* cbMusic;
    QCheckBox* cbSound;
    QCheckBox* cbTransition;
    QComboBox* cbShowImageMode;
    QLineEdit* txtDuration;
    QSpinBox* UpDown1;
    QSlider* tbSpeed;
    QLabel* Label3;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The "Open setting" action: reads the user's settings, shows the dialog and saves on OK.
// The dialog is owned by owner and stays until owner is freed.
void RunSettingsDialog(QWidget* owner, const TQMCProject& project,
                       const TUserSettingsFile& file = TUserSettingsFile::ForProgram());

} // namespace ml
