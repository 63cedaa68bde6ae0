#pragma once
// The picture page: the painting tools above the canvas, the live water in it, and the
// wave, weather, sound and picture settings beside it, all on one document.

#include "studio/WaterCanvas.h"

#include <QWidget>
#include <array>
#include <map>

class QAction;
class QActionGroup;
class QLabel;
class QSpinBox;
class QTabWidget;

namespace ml {
class TBitmap;
}

namespace ml::studio {

class TLiveWater;
class TPictureControls;
class TPictureDocument;
class TSoundControls;
class TWaveControls;
class TWeatherControls;

class TPicturePage : public QWidget {
    Q_OBJECT
public:
    explicit TPicturePage(QWidget* parent = nullptr);
    ~TPicturePage() override;

    // Shows a document (not owned; null for none) and starts its water.
    void SetDocument(TPictureDocument* document);
    TPictureDocument* Document() const { return Shown; }

    // The page's actions, for the window's menus and shortcuts.
    QAction* ToolAction(TTool tool) const { return ToolActions.at(tool); }
    QAction* AreaAction(int area) const {
        return AreaActions.at(static_cast<std::size_t>(area - 1));
    }
    QAction* OverlayAction() const { return Overlay; }
    QAction* WaterAction() const { return Water; }
    QAction* BiggerBrushAction() const { return Bigger; }
    QAction* SmallerBrushAction() const { return Smaller; }

    TWaterCanvas* Canvas() const { return CanvasView; }
    TLiveWater* Live() const { return LiveView; }
    TWaveControls* Waves() const { return WavePanel; }
    TWeatherControls* Weather() const { return WeatherPanel; }
    TSoundControls* Sounds() const { return SoundPanel; }
    TPictureControls* PictureSettings() const { return PicturePanel; }

signals:
    void message(const QString& text);

private:
    QWidget* MakeToolStrip();
    void MakeActions();
    void LoadStoredPicture();
    void LoadStoredMask();
    TBitmap StoredMask() const;
    void ShowSettings();
    void ShowToolSettings();

    TPictureDocument* Shown = nullptr;
    TWaterCanvas* CanvasView;
    TLiveWater* LiveView;
    TWaveControls* WavePanel;
    TWeatherControls* WeatherPanel;
    TSoundControls* SoundPanel;
    TPictureControls* PicturePanel;
    QTabWidget* Tabs;
    QWidget* ToolStrip = nullptr;
    QSpinBox* BrushBox = nullptr;
    QSpinBox* ToleranceBox = nullptr;
    QLabel* SizeLabel = nullptr;
    QLabel* ToleranceLabel = nullptr;

    std::map<TTool, QAction*> ToolActions;
    std::array<QAction*, 4> AreaActions{};
    QAction* Overlay = nullptr;
    QAction* Water = nullptr;
    QAction* Bigger = nullptr;
    QAction* Smaller = nullptr;
    bool MaskReloadPending = false;
};

} // namespace ml::studio
