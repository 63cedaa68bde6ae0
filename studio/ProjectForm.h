#pragma once
// A project's settings as a form: the product's texts, the show's defaults, the preview
// picture, the music list with its order and mode, and the configuration window's
// description (the default window, or a file). Every control writes straight into the
// project folder's values.

#include <QWidget>
#include <functional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace ml::studio {

class TProjectFolder;

class TProjectForm : public QWidget {
    Q_OBJECT
public:
    explicit TProjectForm(QWidget* parent = nullptr);

    // Shows the folder's values; edits go into it (not owned; null for none).
    void ShowFolder(TProjectFolder* folder);
    // The control of a project.ini key, for tests.
    QWidget* Control(const QString& section, const QString& key) const;
    QListWidget* MusicList() const { return Music; }

signals:
    void changed();

private:
    QWidget* MakeTexts();
    QWidget* MakeShow();
    QWidget* MakePreviewAndMusic();
    QWidget* MakeInterface();
    void Bind(QWidget* control, const char* section, const char* key);
    void Set(const char* section, const char* key, const QString& value);
    void MusicEdited();
    QString ChooseFile(const QString& caption, const QString& filter);

    TProjectFolder* Folder = nullptr;
    bool Filling = false;
    struct TBinding {
        QWidget* Control;
        QString Section;
        QString Key;
    };
    std::vector<TBinding> Bindings;
    QListWidget* Music = nullptr;
    QButtonGroup* InterfaceChoice = nullptr;
    QLineEdit* InterfaceFile = nullptr;
};

} // namespace ml::studio
