// The studio's window driven as an author drives it: pointer strokes on the canvas, the
// horizon tool, undo from the Edit menu, a slider that reaches the running water, the
// status line, the question before unsaved changes go, and the remembered size.

#include "studio/StudioWindow.h"

#include "studio/LiveWater.h"
#include "studio/NumberRow.h"
#include "studio/PictureDocument.h"
#include "studio/PicturePage.h"
#include "studio/ProjectPage.h"
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

#include <filesystem>

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

TEST_F(StudioWindowTest, ClosingForASignalAsksNothingWritesNothingAndNamesTheUnsavedPicture) {
    test::TRecordingSink sink;
    Window->Document()->PaintAreas(WholeCoverage(Mask().Size()), 1, "All");
    testing::internal::CaptureStderr();
    Window->CloseWithoutAsking();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(sink.Messages.empty()) << sink.Messages[0].Text;
    EXPECT_FALSE(Window->isVisible());
    EXPECT_NE(said.find("The picture lake.png had changes that were not saved"), std::string::npos)
        << said;
    // The photo alone: no picture file was saved beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()), {}), 1);
}

TEST_F(StudioWindowTest, TheLassoFillsWhatItEnclosesTheEraserTakesItBackAndEscDropsAPolygon) {
    Page->ToolAction(TTool::Lasso)->trigger();
    QTest::mousePress(Canvas, Qt::LeftButton, {}, At(20, 20));
    for (QPoint p : {QPoint(100, 20), QPoint(100, 90), QPoint(20, 90)})
        QTest::mouseMove(Canvas, At(p.x(), p.y()));
    QTest::mouseRelease(Canvas, Qt::LeftButton, {}, At(20, 90));
    EXPECT_EQ(Mask().AreaAt(60, 50), 1);
    EXPECT_EQ(Mask().AreaAt(110, 50), 0);

    Page->ToolAction(TTool::Eraser)->trigger();
    Canvas->SetBrushSize(5);
    QTest::mouseClick(Canvas, Qt::LeftButton, {}, At(60, 50));
    EXPECT_EQ(Mask().AreaAt(60, 50), 0);
    EXPECT_EQ(Mask().AreaAt(60, 40), 1);

    Page->ToolAction(TTool::Polygon)->trigger();
    for (QPoint corner : {QPoint(120, 10), QPoint(150, 10), QPoint(150, 40)})
        QTest::mouseClick(Canvas, Qt::LeftButton, {}, At(corner.x(), corner.y()));
    QTest::keyClick(Canvas, Qt::Key_Escape);
    QTest::mouseClick(Canvas, Qt::LeftButton, {}, At(120, 10));
    EXPECT_EQ(Mask().AreaAt(140, 20), 0) << "the dropped polygon does not close later";
    EXPECT_EQ(Window->Document()->History().count(), 2);
}

TEST_F(StudioWindowTest, OpeningAnotherPictureAsksAndSavesTheChangesFirst) {
    test::TRecordingSink sink;
    const std::string lake = test::MakePictureFile(Dir, "lake.qmp", "[Area1]\nAmplitude=4\n");
    ASSERT_TRUE(Window->OpenPath(QString::fromStdString(lake)));
    Window->Document()->Change("Amplitude", [](TPictureSettings& s) { s.Waves[0].Amplitude = 7; });

    sink.Answers = {TMsgResult::Cancel};
    EXPECT_FALSE(Window->OpenPath(QString::fromStdString(WritePhoto("other.png"))));
    EXPECT_EQ(Window->Document()->FileName(), lake) << "Cancel keeps the picture and its changes";

    sink.Answers = {TMsgResult::Yes};
    EXPECT_TRUE(Window->OpenPath(QString::fromStdString(Dir.File("other.png"))));
    EXPECT_EQ(TPictureDocument::Open(lake)->Settings().Waves[0].Amplitude, 7);
    EXPECT_EQ(Window->Document()->SourceName(), Dir.File("other.png"));
    EXPECT_EQ(sink.Messages.size(), 2u);
}

TEST_F(StudioWindowTest, AFolderWithoutAProjectIsNotOpenedAsOne) {
    test::TRecordingSink sink;
    test::TTempDir empty;
    EXPECT_FALSE(Window->OpenPath(QString::fromStdString(empty.Path())));
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_NE(sink.Messages[0].Text.find("holds no project.ini"), std::string::npos);
    EXPECT_TRUE(Window->ProjectPage()->Folder().isEmpty());
    EXPECT_FALSE(Window->OpenPath(QString::fromStdString(Dir.File("missing.jpg"))));
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
