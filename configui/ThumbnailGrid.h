#pragma once
// The thumbnail grid: one cell per picture file of a list, each with a framed thumbnail, an
// optional check box under it and an optional word-wrapped title. The cells either wrap into
// as many columns as fit the width (scrolling down) or stand in one row (scrolling across).
// Thumbnails are made once when the list is attached; painting only draws what was made.

#include "configui/Control.h"
#include "configui/GridProperties.h"
#include "platform/Bitmap.h"

#include <QAbstractScrollArea>

#include <functional>
#include <string>
#include <vector>

namespace ml {

using TQMThumbnailSelectItemEvent = std::function<void(QObject* Sender, int ItemIndex)>;

class TQMThumbnail2 : public TMouseControl<QAbstractScrollArea>, public TGridProperties {
public:
    explicit TQMThumbnail2(QWidget* parent = nullptr);

    // Published properties.
    int PictureWidth() const { return PictureW; }
    void SetPictureWidth(int width);
    int PictureHeight() const { return PictureH; }
    void SetPictureHeight(int height);
    bool ShowCheckBox() const { return CheckBoxOn; }
    void SetShowCheckBox(bool show);
    bool ShowTitle() const { return TitleOn; }
    void SetShowTitle(bool show);
    bool MultiRows() const { return MultiRowsOn; }
    void SetMultiRows(bool multiRows);
    // Called with a null sender and the item index whenever a cell is selected.
    TQMThumbnailSelectItemEvent OnSelectItem;

    // Attaches a list of picture files (not owned; it must outlive the grid, or be replaced
    // first), lays the cells out and makes the thumbnails. nullptr detaches.
    void SetItems(const std::vector<std::string>* fileNames);
    int ItemCount() const { return Items ? static_cast<int>(Items->size()) : 0; }
    // Moves the selection to the item's cell; OnSelectItem fires when the cell changes.
    void SelectItem(int index);
    bool ItemChecked(int index) const;
    void SetItemChecked(int index, bool checked);
    // True for the items of the attached list once their thumbnails are made.
    bool ItemEnabled(int index) const;
    // One title and one thumbnail per item; a thumbnail is empty when its file could not be
    // shown.
    const std::vector<std::string>& Titles() const { return TitleList; }
    const std::vector<TBitmap>& Thumbnails() const { return Images; }

    void UpdateLayout();
    void BuildThumbnails();

    // Grid state: counts, cell sizes, the selected cell and the first visible cell.
    int ColCount() const { return Cols; }
    int RowCount() const { return Rows; }
    int DefaultColWidth() const { return ColWidth; }
    int DefaultRowHeight() const { return RowHeight; }
    int Col() const { return CurCol; }
    int Row() const { return CurRow; }
    int LeftCol() const { return FirstCol; }
    int TopRow() const { return FirstRow; }
    // The cell's rectangle in viewport coordinates (it may lie outside the view).
    QRect CellRect(int col, int row) const;
    // The cell at a viewport point; false outside every cell.
    bool MouseToCell(QPoint point, int& col, int& row) const;

    void SetColCount(int count) override;
    void SetRowCount(int count) override;
    void SetDefaultColWidth(int width) override;
    void SetDefaultRowHeight(int height) override;
    // Every cell holds an item and is drawn by the grid itself, without lines: drawing,
    // fixed-cell and option settings of a description do not change it.
    void SetDefaultDrawing(bool) override {}
    void SetFixedCols(int) override {}
    void SetFixedRows(int) override {}
    void SetOptions(unsigned) override {}
    void SetScrollBars(TScrollStyle style) override;
    void SetBorderSingle(bool single) override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int ItemIndex(int col, int row) const { return row * Cols + col; }
    QColor GridColor() const;
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect);
    void DrawCheckBox(QPainter& painter, int x, int y, bool checked, const QColor& frame,
                      const QColor& fill);
    // Whether a press at this point would toggle a check box: the point lies on the box of
    // an item, and the selected cell holds an item too.
    bool OnCheckBox(QPoint point) const;
    // Selects a cell as a click or a key does, reporting the selection.
    void MoveCurrent(int col, int row);
    void ReportSelection();
    int FullCols() const;
    int FullRows() const;
    void MakeVisible(int col, int row);
    void SetTopLeft(int col, int row);
    void UpdateScrollBars();
    void ClampCurrent();

    const std::vector<std::string>* Items = nullptr;
    std::vector<std::string> TitleList;
    std::vector<TBitmap> Images;
    std::vector<bool> Checked;
    std::vector<bool> Enabled;

    int PictureW = 80;
    int PictureH = 60;
    bool CheckBoxOn = false;
    bool TitleOn = false;
    bool MultiRowsOn = true;

    int Cols = 5;
    int Rows = 5;
    int ColWidth = 100;
    int RowHeight = 80;
    int CurCol = 0;
    int CurRow = 0;
    int FirstCol = 0;
    int FirstRow = 0;
    bool Scrolling = false; // the scroll bars are being set from the grid's own state
};

} // namespace ml
