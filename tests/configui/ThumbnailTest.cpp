#include "configui/ThumbnailGrid.h"
#include "tests/configui/ThumbnailPictures.h"
#include "tests/support/RecordingSink.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>

namespace ml {
namespace {

using test::TTempDir;

std::vector<std::string> MissingFiles(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("/nonexistent/picture" + std::to_string(i) + ".jpg");
    return names;
}

struct LayoutRow {
    const char* Fault;
    int Width;
    bool MultiRows;
    bool ShowTitle;
    int PictureWidth;
    int Items;
    int Cols, Rows, ColWidth, RowHeight;
};

TEST(ThumbnailLayout, CellsFitTheWidthOrStandInOneRow) {
    const LayoutRow rows[] = {
        {"wrapped rows", 350, true, false, 80, 7, 3, 3, 100, 80},
        {"one row", 350, false, false, 80, 7, 7, 1, 100, 80},
        {"titles add 30 pixels", 350, true, true, 80, 7, 3, 3, 100, 110},
        {"exact multiple leaves no extra row", 350, true, false, 80, 6, 3, 2, 100, 80},
        {"wider pictures", 350, true, false, 100, 7, 2, 4, 120, 80},
        {"narrower than a cell still has a column", 50, true, false, 80, 3, 1, 3, 100, 80},
        {"no items still has a cell", 350, false, false, 80, 0, 1, 1, 100, 80},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Fault);
        TQMThumbnail2 grid;
        grid.resize(row.Width, 250);
        grid.SetMultiRows(row.MultiRows);
        grid.SetShowTitle(row.ShowTitle);
        grid.SetPictureWidth(row.PictureWidth);
        const auto items = MissingFiles(row.Items);
        grid.SetItems(&items);
        EXPECT_EQ(grid.ColCount(), row.Cols);
        EXPECT_EQ(grid.RowCount(), row.Rows);
        EXPECT_EQ(grid.DefaultColWidth(), row.ColWidth);
        EXPECT_EQ(grid.DefaultRowHeight(), row.RowHeight);
    }
}

TEST(ThumbnailLayout, FollowsTheControlsSizeAndKeepsWrappedRowsAtTheLeft) {
    const auto items = MissingFiles(7);
    TQMThumbnail2 grid;
    grid.resize(350, 250);
    grid.SetItems(&items);
    grid.show();
    grid.resize(450, 250);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.RowCount(), 2);

    // Three columns of 100 pixels beside a vertical scroll bar: the third is cut off, and
    // selecting it must not shift the wrapped rows sideways.
    grid.resize(310, 120);
    QCoreApplication::processEvents();
    ASSERT_EQ(grid.ColCount(), 3);
    ASSERT_LT(grid.viewport()->width(), 300);
    grid.SelectItem(5);
    EXPECT_EQ(grid.LeftCol(), 0);
    EXPECT_EQ(grid.TopRow(), 1) << "the selected row scrolls into view";

    grid.SetMultiRows(false);
    QCoreApplication::processEvents();
    grid.SelectItem(6);
    EXPECT_GT(grid.LeftCol(), 0) << "a single row scrolls across";
}

class ThumbnailTest : public ::testing::Test {
protected:
    TTempDir Dir;
    test::TRecordingSink Messages;
    std::vector<std::string> Items;
    TQMThumbnail2 Grid;
    std::vector<std::pair<QObject*, int>> Selected;

    void Attach(int count, bool checkBoxes) {
        Items = MissingFiles(count);
        Grid.resize(350, 250);
        Grid.SetShowCheckBox(checkBoxes);
        Grid.SetItems(&Items);
        Grid.OnSelectItem = [this](QObject* sender, int index) {
            Selected.emplace_back(sender, index);
        };
        Grid.show();
        QCoreApplication::processEvents();
    }
    // A point of a cell, relative to its top-left corner.
    QPoint At(int col, int row, int x, int y) const {
        return Grid.CellRect(col, row).topLeft() + QPoint(x, y);
    }
    QPoint CheckBox(int col, int row) const { return At(col, row, 18, Grid.PictureHeight() + 11); }
    void Click(QPoint point, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseMove(Grid.viewport(), point);
        QTest::mouseClick(Grid.viewport(), button, {}, point);
    }
    Qt::CursorShape CursorAt(QPoint point) {
        QTest::mouseMove(Grid.viewport(), point);
        return Grid.viewport()->cursor().shape();
    }
};

TEST_F(ThumbnailTest, ThumbnailsAndTitlesStayBesideTheirItems) {
    const TBitmap red = test::BandedPicture(64, 48, 0xE02020);
    Items = {test::WriteQmp(Dir, "lake.qmp", "Lake at dawn", test::BandedPicture(64, 48, 0x2040E0)),
             test::WriteBmp(Dir, "red.bmp", red),
             Dir.File("missing.jpg"),
             Dir.Write("notes.txt", "not a picture"),
             Dir.Write("broken.jpg", "not a JPEG stream"),
             test::WriteJpg(Dir, "green.JPG", test::BandedPicture(64, 48, 0x20C020))};
    Grid.SetShowTitle(true);
    Grid.SetItems(&Items);

    EXPECT_EQ(Grid.Titles(), (std::vector<std::string>{"Lake at dawn", "red.bmp", "missing.jpg",
                                                       "notes.txt", "broken.jpg", "green.JPG"}));
    const bool shown[] = {true, true, false, false, false, true};
    ASSERT_EQ(Grid.Thumbnails().size(), 6u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(!Grid.Thumbnails()[i].Empty(), shown[i]);
        EXPECT_TRUE(Grid.ItemEnabled(i)) << "every item can be ticked";
    }
    EXPECT_FALSE(Grid.ItemEnabled(6));
    EXPECT_EQ(Grid.Thumbnails()[5].Width(), 80);
    EXPECT_EQ(Grid.Thumbnails()[5].Height(), 60);
    ASSERT_EQ(Messages.Messages.size(), 1u) << "only the undecodable picture is reported";
    EXPECT_EQ(Messages.Messages[0].Text.rfind("File: " + Items[4] + "\r\n", 0), 0u);

    // Painting draws the thumbnails made when the list was attached, not the files.
    Grid.show();
    std::remove(Items[1].c_str());
    const QImage shot = Grid.viewport()->grab().toImage();
    const QPoint picture = Grid.CellRect(1, 0).topLeft() + QPoint(20, 20);
    EXPECT_EQ(shot.pixel(picture) & 0xFFFFFF, 0xE02020u);
}

TEST_F(ThumbnailTest, SelectionReportsTheItemWithoutASender) {
    Attach(7, false);
    Grid.SelectItem(4);
    EXPECT_EQ(Grid.Row(), 1);
    EXPECT_EQ(Grid.Col(), 1);
    Grid.SelectItem(4);
    ASSERT_EQ(Selected.size(), 1u) << "reselecting the same cell reports nothing";
    EXPECT_EQ(Selected[0], std::make_pair(static_cast<QObject*>(nullptr), 4));

    Click(At(2, 2, 50, 40)); // the empty cell after item 6
    EXPECT_EQ(Selected.back(), std::make_pair(static_cast<QObject*>(nullptr), 6));
    EXPECT_EQ(Grid.Col(), 2);
    EXPECT_EQ(Grid.Row(), 2);

    Click(At(0, 1, 50, 40));
    EXPECT_EQ(Selected.back().second, 3);
    Click(At(0, 1, 50, 40), Qt::RightButton);
    EXPECT_EQ(Selected.size(), 3u) << "only the left button selects";
}

TEST_F(ThumbnailTest, CheckBoxesToggleOnlyWhereTheHandPointerIs) {
    Attach(7, true);
    EXPECT_EQ(CursorAt(CheckBox(1, 0)), Qt::PointingHandCursor);
    const int box = Grid.PictureHeight() + 6;
    EXPECT_EQ(CursorAt(At(1, 0, 13, box)), Qt::PointingHandCursor) << "edges belong to the box";
    EXPECT_EQ(CursorAt(At(1, 0, 24, box + 11)), Qt::PointingHandCursor);
    EXPECT_EQ(CursorAt(At(1, 0, 25, box)), Qt::ArrowCursor);
    EXPECT_EQ(CursorAt(At(1, 0, 13, box - 1)), Qt::ArrowCursor);
    EXPECT_EQ(CursorAt(CheckBox(1, 2)), Qt::ArrowCursor) << "an empty cell has no box";

    Click(CheckBox(1, 0));
    EXPECT_TRUE(Grid.ItemChecked(1));
    EXPECT_EQ(Selected.back().second, 1) << "the click also selects";
    Click(At(1, 0, 50, 30));
    EXPECT_TRUE(Grid.ItemChecked(1)) << "elsewhere in the cell only selects";
    Click(CheckBox(1, 0), Qt::RightButton);
    EXPECT_TRUE(Grid.ItemChecked(1));
    Click(CheckBox(1, 0));
    EXPECT_FALSE(Grid.ItemChecked(1));

    // While the empty cell is selected no box takes a click: the first click only selects.
    Click(At(2, 2, 50, 30));
    EXPECT_EQ(CursorAt(CheckBox(0, 1)), Qt::ArrowCursor);
    Click(CheckBox(0, 1));
    EXPECT_FALSE(Grid.ItemChecked(3));
    EXPECT_EQ(Selected.back().second, 3);
    Click(CheckBox(0, 1));
    EXPECT_TRUE(Grid.ItemChecked(3));

    Grid.SetShowCheckBox(false);
    Click(CheckBox(0, 1));
    EXPECT_TRUE(Grid.ItemChecked(3)) << "without boxes nothing toggles";
}

TEST_F(ThumbnailTest, ItemStateGrowsWithTheList) {
    Attach(1500, true);
    Grid.SetItemChecked(1, true);
    Grid.SetItemChecked(1400, true);
    EXPECT_TRUE(Grid.ItemChecked(1400));
    EXPECT_TRUE(Grid.ItemEnabled(1499));
    EXPECT_FALSE(Grid.ItemEnabled(1500));
    Grid.SelectItem(1499);
    EXPECT_EQ(Selected.back().second, 1499);
    EXPECT_EQ(Grid.TopRow(), Grid.RowCount() - Grid.viewport()->height() / 80);

    Items.resize(2); // the configuration window keeps the list; a shorter one is reattached
    Grid.SetItems(&Items);
    EXPECT_TRUE(Grid.ItemChecked(1)) << "ticks survive a new list";
    EXPECT_FALSE(Grid.ItemEnabled(2));
    EXPECT_EQ(Grid.Row(), 0) << "the selection moves into the smaller grid";
}

} // namespace
} // namespace ml
