#include "configui/ComponentBuilder.h"
#include "configui/PreviewPane.h"
#include "configui/StdControls.h"
#include "configui/ThumbnailGrid.h"
#include "tests/configui/ThumbnailPictures.h"
#include "tests/support/RecordingSink.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace ml {
namespace {

using test::TTempDir;

// The bounding box of the pixels a test asks for.
QRect PixelsWhere(const QImage& image, bool (*wanted)(QRgb)) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (wanted(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}
bool White(QRgb c) {
    return (c & 0xFFFFFF) == 0xFFFFFF;
}
bool Black(QRgb c) {
    return (c & 0xFFFFFF) == 0;
}

class PreviewTest : public ::testing::Test {
protected:
    TTempDir Dir;
    test::TRecordingSink Messages;
    TQMPreview Pane;

    void SetUp() override { Pane.resize(120, 90); }
    const QImage& Shown() { return Pane.Picture().Graphic(); }
    QRgb Centre() { return Shown().pixel(60, 20) & 0xFFFFFF; }
};

TEST_F(PreviewTest, ShowsPlainPicturesAndPictureFilesScaledToThePane) {
    Pane.ShowFile(test::WriteBmp(Dir, "red.bmp", test::BandedPicture(40, 30, 0xE02020)));
    EXPECT_EQ(Shown().size(), QSize(120, 90));
    EXPECT_EQ(Centre(), 0xE02020u);
    EXPECT_TRUE(Pane.Stretch);

    Pane.ShowFile(test::WriteQmp(Dir, "lake.qmp", "Lake", test::BandedPicture(64, 48, 0x2040E0)));
    const QRgb blue = Centre();
    EXPECT_LT(qRed(blue), 0x30);
    EXPECT_GT(qBlue(blue), 0xC0);
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(PreviewTest, OtherFilesGiveABlankPictureOfThePanesSize) {
    Pane.ShowFile(test::WriteBmp(Dir, "red.bmp", test::BandedPicture(40, 30, 0xE02020)));
    for (const std::string& file :
         {Dir.Write("notes.txt", "words"), Dir.File("none.png"), std::string()}) {
        SCOPED_TRACE(file);
        Pane.ShowFile(file);
        EXPECT_EQ(Pane.FileName(), file);
        EXPECT_EQ(Shown().size(), QSize(120, 90));
        EXPECT_EQ(PixelsWhere(Shown(), Black), QRect(0, 0, 120, 90));
    }
}

TEST_F(PreviewTest, UnreadablePictureIsReportedOnceAndBlanksThePane) {
    Pane.ShowFile(test::WriteBmp(Dir, "red.bmp", test::BandedPicture(40, 30, 0xE02020)));
    const std::string broken = Dir.Write("broken.jpg", "no JPEG here");
    Pane.ShowFile(broken);
    EXPECT_EQ(PixelsWhere(Shown(), Black), QRect(0, 0, 120, 90));
    Pane.ShowFile(broken); // the same file again: already on the pane, not reported again
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text.rfind("File: " + broken + "\r\n", 0), 0u);
}

TEST_F(PreviewTest, OverlayWritesShadowedTextOverThePicture) {
    Pane.UnavailableMsg = "Preview available in the registered version";
    Pane.ShowMessageOverlay(true);
    EXPECT_TRUE(Shown().isNull()) << "nothing is drawn before a file was shown";

    Pane.ShowFile(test::WriteBmp(Dir, "grey.bmp", test::BandedPicture(40, 30, 0x808080)));
    const QRect white = PixelsWhere(Shown(), White);
    const QRect black = PixelsWhere(Shown(), Black);
    ASSERT_FALSE(white.isEmpty());
    // The shadow lies one pixel down and right; white covers some of its top and left.
    EXPECT_EQ(black.bottomRight(), white.bottomRight() + QPoint(1, 1));
    EXPECT_GT(black.top(), white.top());
    EXPECT_GT(black.left(), white.left());
    EXPECT_GT(white.height(), 2 * Pane.fontMetrics().height() - 2) << "the message wraps";
    EXPECT_LE(white.right(), 119);

    Pane.ShowMessageOverlay(false);
    EXPECT_TRUE(PixelsWhere(Shown(), White).isEmpty());
    EXPECT_FALSE(Pane.OverlayOn());
}

TEST(DescribedThumbnailControls, PublishTheirPropertiesAndShowTogether) {
    test::TTempDir dir;
    auto window = BuildFromText("object Main: TForm\n"
                                "  ClientWidth = 520\n"
                                "  ClientHeight = 260\n"
                                "  Color = clBtnFace\n"
                                "  object Grid: TQMThumbnail2\n"
                                "    Left = 8\n"
                                "    Top = 8\n"
                                "    Width = 250\n"
                                "    Height = 244\n"
                                "    Ctl3D = False\n"
                                "    BorderStyle = bsSingle\n"
                                "    PictureWidth = 96\n"
                                "    PictureHeight = 72\n"
                                "    ShowCheckBox = True\n"
                                "    ShowTitle = True\n"
                                "    MultiRows = True\n"
                                "  end\n"
                                "  object Preview: TQMPreview\n"
                                "    Left = 268\n"
                                "    Top = 8\n"
                                "    Width = 244\n"
                                "    Height = 183\n"
                                "    Cursor = crHandPoint\n"
                                "    Hint = 'Click to preview'\n"
                                "    UnavailableMsg = 'Full preview in the registered version'\n"
                                "  end\n"
                                "end\n");
    auto* form = dynamic_cast<TForm*>(window.get());
    auto* grid = dynamic_cast<TQMThumbnail2*>(form->FindComponent("Grid"));
    auto* preview = dynamic_cast<TQMPreview*>(form->FindComponent("Preview"));
    ASSERT_TRUE(grid && preview);
    EXPECT_EQ(grid->PictureWidth(), 96);
    EXPECT_TRUE(grid->ShowCheckBox() && grid->ShowTitle() && grid->MultiRows());
    EXPECT_EQ(preview->UnavailableMsg, "Full preview in the registered version");
    EXPECT_EQ(preview->cursor().shape(), Qt::PointingHandCursor);

    const std::vector<std::string> files = {
        test::WriteQmp(dir, "a.qmp", "Morning lake", test::BandedPicture(64, 48, 0x3060C0)),
        test::WriteJpg(dir, "forest.jpg", test::BandedPicture(64, 48, 0x30A040)),
        test::WriteBmp(dir, "sunset.bmp", test::BandedPicture(64, 48, 0xE08030)),
        dir.File("missing picture.jpg")};
    grid->SetItems(&files);
    grid->SetItemChecked(0, true);
    grid->SetItemChecked(2, true);
    grid->SelectItem(1);
    preview->ShowFile(files[2]);
    preview->ShowMessageOverlay(true);

    window->show();
    QApplication::processEvents();
    const QImage shot = window->grab().toImage();
    ASSERT_TRUE(shot.save("/tmp/mirrorlake-thumbnails-preview.png"));
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->DefaultRowHeight(), 122);
    // The second cell shows the green picture, drawn from its thumbnail.
    const QRgb forest = shot.pixel(
        grid->viewport()->mapTo(window.get(), grid->CellRect(1, 0).topLeft() + QPoint(50, 25)));
    EXPECT_GT(qGreen(forest), 0x90);
    EXPECT_LT(qRed(forest), 0x50);
}

} // namespace
} // namespace ml
