// The studio's window driven as an author drives it: pointer strokes on the canvas, the
// horizon tool, undo from the Edit menu, a slider that reaches the running water, the
// status line, the question before unsaved changes go, and the remembered size.

#include "studio/StudioWindow.h"

#include "studio/LiveWater.h"
#include "studio/NumberRow.h"
#include "studio/PictureDocument.h"
#include "studio/PicturePage.h"
#include "studio/WaveControls.h"
#include "studio/WeatherControls.h"
#include "tests/studio/StudioFixture.h"
#include "tests/support/RecordingSink.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

namespace ml::studio {
namespace {

class StudioWindowTest : public test::StudioTest {
protected:
    void SetUp() override {
        test::StudioTest::SetUp();
        Window = std::make_unique<TStudioWindow>();
        Window->resize(1200, 800);
        Window->show();
        ASSERT_TRUE(Window->OpenPath(QString::fromStdString(WritePhoto("lake.png", 160, 120))));
        Page = Window->PicturePage();
        Canvas = Page->Canvas();
        Page->Live()->SetRunning(false); // frames come when a test asks for them
        Page->Live()->SetFixedSeed(7);
        // The panels beside the canvas appear with the picture; the canvas takes its final
        // size once the layout has run.
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        if (Window && Window->Document())
            Window->Document()->History().setClean();
        Window.reset();
    }

    // The widget point at the centre of a picture pixel.
    QPoint At(int x, int y) const { return Canvas->ToWidget(QPointF(x + 0.5, y + 0.5)).toPoint(); }
    // An action of the menus by its name; the test fails without it.
    QAction* MenuAction(const QString& name) const {
        for (QAction* menu : Window->menuBar()->actions())
            for (QAction* action : menu->menu()->actions())
                if (action->objectName() == name)
                    return action;
        ADD_FAILURE() << "no action " << name.toStdString();
        static QAction none;
        return &none;
    }
    const TAreaMask& Mask() const { return Window->Document()->Mask(); }

    std::unique_ptr<TStudioWindow> Window;
    TPicturePage* Page = nullptr;
    TWaterCanvas* Canvas = nullptr;
};

TEST_F(StudioWindowTest, ABrushDragPaintsTheChosenAreaAndUndoTakesItBack) {
    Page->AreaAction(2)->trigger();
    Canvas->SetBrushSize(9);
    QTest::mousePress(Canvas, Qt::LeftButton, {}, At(20, 60));
    for (int x = 30; x <= 120; x += 10)
        QTest::mouseMove(Canvas, At(x, 60));
    QTest::mouseRelease(Canvas, Qt::LeftButton, {}, At(120, 60));

    EXPECT_EQ(Mask().AreaAt(70, 60), 2);
    EXPECT_EQ(Mask().AreaAt(70, 63), 2);
    EXPECT_EQ(Mask().AreaAt(70, 70), 0);
    EXPECT_EQ(Window->Document()->History().count(), 1) << "one drag, one step";
    EXPECT_TRUE(Window->windowTitle().startsWith("lake.png*"));

    MenuAction("undo")->trigger();
    EXPECT_EQ(Mask().Counts()[2], 0);
    MenuAction("redo")->trigger();
    EXPECT_EQ(Mask().AreaAt(70, 60), 2);
}

TEST_F(StudioWindowTest, AClickWithTheHorizonToolTakesEverythingBelowIt) {
    Page->ToolAction(TTool::Horizon)->trigger();
    const QPoint click = At(80, 80);
    QTest::mouseClick(Canvas, Qt::LeftButton, {}, click);
    const int row = Canvas->ToPicture(click).y();
    EXPECT_EQ(Mask().Counts()[1], 160 * (120 - row));
    EXPECT_EQ(Mask().AreaAt(0, row), 1);
    EXPECT_EQ(Mask().AreaAt(159, row - 1), 0);
}

TEST_F(StudioWindowTest, APolygonClosesOnItsFirstCorner) {
    Page->ToolAction(TTool::Polygon)->trigger();
    for (QPoint corner : {QPoint(10, 10), QPoint(50, 10), QPoint(50, 40), QPoint(10, 40)})
        QTest::mouseClick(Canvas, Qt::LeftButton, {}, At(corner.x(), corner.y()));
    EXPECT_EQ(Mask().Counts()[1], 0) << "still open";
    QTest::mouseClick(Canvas, Qt::LeftButton, {}, At(10, 10));
    EXPECT_EQ(Mask().AreaAt(30, 25), 1);
    EXPECT_EQ(Mask().AreaAt(55, 25), 0);
}

TEST_F(StudioWindowTest, TheStatusLineNamesThePixelAndTheAreaUnderThePointer) {
    Window->Document()->PaintAreas(WholeCoverage(Mask().Size()), 3, "All");
    QTest::mouseMove(Canvas, At(33, 44));
    const QList<QLabel*> labels = Window->statusBar()->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* label : labels)
        texts << label->text();
    EXPECT_TRUE(texts.contains("x 33, y 44")) << texts.join("|").toStdString();
    EXPECT_TRUE(texts.contains("area 3 (red)")) << texts.join("|").toStdString();
}

TEST_F(StudioWindowTest, ASliderChangeReachesTheWaterWithTheNextFrame) {
    TPictureDocument& document = *Window->Document();
    document.PaintAreas(BelowLineCoverage({0, 60}, {1, 60}, Mask().Size()), 1, "Lake");
    QCoreApplication::processEvents(); // the water takes the painted mask
    TNumberRow* amplitude = Page->Waves()->Number("Amplitude");
    amplitude->Box()->setValue(0);
    EXPECT_EQ(document.Settings().Waves[0].Amplitude, 0);
    TLiveWater& water = *Page->Live();
    water.Step();
    const QImage still = water.Frame().ToImage().copy();
    EXPECT_EQ(still, document.StoredPicture().ToImage().convertToFormat(still.format()));

    amplitude->Slider()->setValue(8);
    EXPECT_EQ(document.Settings().Waves[0].Amplitude, 8);
    water.Step();
    const QImage moving = water.Frame().ToImage();
    EXPECT_NE(moving, still);
    EXPECT_EQ(moving.copy(0, 0, 160, 60), still.copy(0, 0, 160, 60)) << "the sky stays";

    // Weather too: choosing rain brings drops with the next frame.
    amplitude->Box()->setValue(0);
    Page->Weather()->Kind()->setCurrentIndex(2);
    emit Page->Weather()->Kind()->activated(2);
    EXPECT_EQ(document.Settings().Weather.Kind, 2);
    water.Step();
    EXPECT_NE(water.Frame().ToImage(), still);
}

TEST_F(StudioWindowTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
    test::TRecordingSink sink;
    Window->Document()->PaintAreas(WholeCoverage(Mask().Size()), 1, "All");
    sink.Answers = {TMsgResult::Cancel};
    EXPECT_FALSE(Window->close());
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_NE(sink.Messages[0].Text.find("lake.png has changes that are not saved"),
              std::string::npos);
    EXPECT_TRUE(Window->isVisible());

    sink.Answers = {TMsgResult::No};
    EXPECT_TRUE(Window->close());
}

TEST_F(StudioWindowTest, TheWindowRemembersItsSize) {
    Window->resize(1001, 707);
    ASSERT_TRUE(Window->close());
    Window.reset();
    TStudioWindow again;
    EXPECT_EQ(again.size(), QSize(1001, 707));
}

} // namespace
} // namespace ml::studio
