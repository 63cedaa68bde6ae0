#include "studio/PicturePage.h"

#include "studio/LiveWater.h"
#include "studio/PictureControls.h"
#include "studio/PictureDocument.h"
#include "studio/SoundControls.h"
#include "studio/StudioLook.h"
#include "studio/WaveControls.h"
#include "studio/WeatherControls.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace ml::studio {

namespace {

struct TToolInfo {
    TTool Tool;
    const char* Text;
    const char* Shortcut;
    const char* Tip;
};

const TToolInfo kTools[] = {
    {TTool::Brush, "&Brush", "B", "Paint the area with a round brush"},
    {TTool::Eraser, "&Eraser", "E", "Make painted pixels dry land again"},
    {TTool::Lasso, "&Lasso", "L", "Drag around a shape to fill it"},
    {TTool::Polygon, "&Polygon", "P",
     "Click the corners; double-click, Enter or a click on the first corner closes it"},
    {TTool::Fill, "&Fill similar colour", "F",
     "Fill the joined pixels of a similar colour, within the tolerance"},
    {TTool::Horizon, "Everything below this &line", "H",
     "Drag along the horizon (or click for a level one): everything below it becomes the area"},
};

QScrollArea* Scrolled(QWidget* content) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(content);
    layout->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

} // namespace

TPicturePage::TPicturePage(QWidget* parent)
    : QWidget(parent), CanvasView(new TWaterCanvas(this)), LiveView(new TLiveWater(this)),
      WavePanel(new TWaveControls), WeatherPanel(new TWeatherControls),
      SoundPanel(new TSoundControls), PicturePanel(new TPictureControls),
      Tabs(new QTabWidget(this)) {
    MakeActions();
    auto* waterTab = new QWidget;
    auto* waterLayout = new QVBoxLayout(waterTab);
    waterLayout->setContentsMargins(0, 0, 0, 0);
    waterLayout->addWidget(WavePanel);
    waterLayout->addWidget(WeatherPanel);
    Tabs->addTab(Scrolled(waterTab), tr("Water"));
    Tabs->addTab(Scrolled(SoundPanel), tr("Sounds"));
    Tabs->addTab(Scrolled(PicturePanel), tr("Picture file"));
    Tabs->setMinimumWidth(360);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(MakeToolStrip());
    leftLayout->addWidget(CanvasView, 1);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(Tabs);
    splitter->setStretchFactor(0, 1);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(LiveView, &TLiveWater::frameReady, CanvasView, [this] {
        CanvasView->SetFrame(&LiveView->Frame(),
                             LiveView->FreshFrame() ? nullptr : &LiveView->Waves().ChangedParts());
    });
    connect(WeatherPanel, &TWeatherControls::speedChanged, LiveView, &TLiveWater::SetSpeed);
    connect(CanvasView, &TWaterCanvas::toolSettingsChanged, this, &TPicturePage::ShowToolSettings);
    connect(SoundPanel, &TSoundControls::message, this, &TPicturePage::message);
    SetDocument(nullptr);
}

TPicturePage::~TPicturePage() = default;

void TPicturePage::MakeActions() {
    auto* tools = new QActionGroup(this);
    for (const TToolInfo& info : kTools) {
        auto* action = new QAction(ToolIcon(info.Tool), tr(info.Text), this);
        action->setCheckable(true);
        action->setShortcut(QKeySequence(info.Shortcut));
        action->setToolTip(tr("%1 (%2)").arg(tr(info.Tip), info.Shortcut));
        tools->addAction(action);
        const TTool tool = info.Tool;
        connect(action, &QAction::triggered, this, [this, tool] { CanvasView->SetTool(tool); });
        ToolActions[info.Tool] = action;
    }
    auto* areas = new QActionGroup(this);
    static const char* const names[] = {"blue", "magenta", "red", "yellow"};
    for (int area = 1; area <= 4; ++area) {
        auto* action = new QAction(AreaIcon(area),
                                   tr("Area &%1 (%2)").arg(area).arg(tr(names[area - 1])), this);
        action->setCheckable(true);
        action->setShortcut(QKeySequence(QString::number(area)));
        areas->addAction(action);
        connect(action, &QAction::triggered, this, [this, area] {
            CanvasView->SetArea(area);
            WavePanel->SetArea(area);
        });
        AreaActions[static_cast<std::size_t>(area - 1)] = action;
    }
    Overlay = new QAction(tr("Show &areas"), this);
    Overlay->setCheckable(true);
    Overlay->setChecked(true);
    Overlay->setShortcut(QKeySequence("Ctrl+H"));
    Overlay->setIconText(tr("Areas"));
    Overlay->setToolTip(tr("Show the painted areas over the picture (Ctrl+H)"));
    connect(Overlay, &QAction::toggled, CanvasView, &TWaterCanvas::SetOverlayVisible);
    Water = new QAction(tr("&Water moving"), this);
    Water->setCheckable(true);
    Water->setChecked(true);
    Water->setShortcut(QKeySequence("Ctrl+Space"));
    Water->setIconText(tr("Water"));
    Water->setToolTip(tr("Let the water move (Ctrl+Space)"));
    connect(Water, &QAction::toggled, LiveView,
            [this](bool on) { LiveView->SetRunning(on && Shown); });
    Bigger = new QAction(tr("Bigger brush"), this);
    Bigger->setShortcut(QKeySequence("]"));
    connect(Bigger, &QAction::triggered, this,
            [this] { CanvasView->SetBrushSize(CanvasView->BrushSize() * 5 / 4 + 1); });
    Smaller = new QAction(tr("Smaller brush"), this);
    Smaller->setShortcut(QKeySequence("["));
    connect(Smaller, &QAction::triggered, this,
            [this] { CanvasView->SetBrushSize(CanvasView->BrushSize() * 4 / 5); });
    ToolActions[TTool::Brush]->setChecked(true);
    AreaActions[0]->setChecked(true);
}

QWidget* TPicturePage::MakeToolStrip() {
    auto* strip = new QWidget;
    ToolStrip = strip;
    strip->setObjectName("toolStrip");
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(12, 8, 12, 8);
    auto addButton = [&](QAction* action) {
        auto* button = new QToolButton(strip);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setIconSize(QSize(22, 22));
        layout->addWidget(button);
    };
    for (const TToolInfo& info : kTools)
        addButton(ToolActions.at(info.Tool));
    layout->addSpacing(12);
    for (QAction* area : AreaActions)
        addButton(area);
    layout->addSpacing(12);

    BrushBox = new QSpinBox(strip);
    BrushBox->setRange(1, 1000);
    BrushBox->setSuffix(tr(" px"));
    BrushBox->setToolTip(tr("Brush and eraser diameter in pixels of the picture ([ and ])"));
    connect(BrushBox, &QSpinBox::valueChanged, CanvasView, &TWaterCanvas::SetBrushSize);
    SizeLabel = new QLabel(tr("Size"), strip);
    layout->addWidget(SizeLabel);
    layout->addWidget(BrushBox);
    ToleranceBox = new QSpinBox(strip);
    ToleranceBox->setRange(0, 255);
    ToleranceBox->setToolTip(tr("How far a colour may differ from the clicked one (0 to 255 in "
                                "each of red, green and blue) to be filled"));
    connect(ToleranceBox, &QSpinBox::valueChanged, CanvasView, &TWaterCanvas::SetTolerance);
    ToleranceLabel = new QLabel(tr("Tolerance"), strip);
    layout->addWidget(ToleranceLabel);
    layout->addWidget(ToleranceBox);
    layout->addStretch();
    auto* overlay = new QToolButton(strip);
    overlay->setDefaultAction(Overlay);
    layout->addWidget(overlay);
    auto* water = new QToolButton(strip);
    water->setDefaultAction(Water);
    layout->addWidget(water);
    ShowToolSettings();
    return strip;
}

void TPicturePage::ShowToolSettings() {
    if (!BrushBox)
        return;
    const QSignalBlocker quietBrush(BrushBox), quietTolerance(ToleranceBox);
    BrushBox->setValue(CanvasView->BrushSize());
    ToleranceBox->setValue(CanvasView->Tolerance());
    const TTool tool = CanvasView->Tool();
    // Only the setting of the tool in hand is shown, which keeps the strip short.
    const bool brush = tool == TTool::Brush || tool == TTool::Eraser;
    SizeLabel->setVisible(brush);
    BrushBox->setVisible(brush);
    ToleranceLabel->setVisible(tool == TTool::Fill);
    ToleranceBox->setVisible(tool == TTool::Fill);
}

void TPicturePage::SetDocument(TPictureDocument* document) {
    if (Shown)
        disconnect(Shown, nullptr, this, nullptr);
    Shown = document;
    CanvasView->SetDocument(document);
    WavePanel->SetDocument(document);
    WeatherPanel->SetDocument(document);
    SoundPanel->SetDocument(document);
    PicturePanel->SetDocument(document);
    CanvasView->setEnabled(document != nullptr);
    ToolStrip->setEnabled(document != nullptr);
    Tabs->setVisible(document != nullptr);
    if (!document) {
        LiveView->SetRunning(false);
        return;
    }
    connect(document, &TPictureDocument::storedSizeChanged, this, &TPicturePage::LoadStoredPicture);
    connect(document, &TPictureDocument::settingsChanged, this, &TPicturePage::ShowSettings);
    // Painting and undoing come in bursts; the water takes the mask once per burst.
    connect(document, &TPictureDocument::maskChanged, this, [this] {
        if (MaskReloadPending)
            return;
        MaskReloadPending = true;
        QTimer::singleShot(0, this, &TPicturePage::LoadStoredMask);
    });
    ShowSettings();
    LoadStoredPicture();
    LiveView->SetRunning(Water->isChecked());
    // A brush of about a fiftieth of the picture's width suits a photo of any size.
    CanvasView->SetBrushSize(std::max(4, document->Picture().Width() / 50));
}

void TPicturePage::ShowSettings() {
    LiveView->SetWaves(Shown->Settings().Waves);
    LiveView->SetWeather(Shown->Settings().Weather);
}

// The water runs on the picture as it will be stored, so that wave sizes, which are in
// stored pixels, look here as they will in the show.
void TPicturePage::LoadStoredPicture() {
    LiveView->SetPicture(Shown->StoredPicture(), StoredMask());
}

void TPicturePage::LoadStoredMask() {
    MaskReloadPending = false;
    if (Shown)
        LiveView->SetMask(StoredMask());
}

TBitmap TPicturePage::StoredMask() const {
    TBitmap mask = Shown->Mask().ToBitmap();
    const QSize stored = Shown->StoredSize();
    if (stored == Shown->Mask().Size())
        return mask;
    // Brought to the stored size by dropping pixels, never blending them, as the saved mask is.
    return TBitmap(mask.ToImage().scaled(stored, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

} // namespace ml::studio
