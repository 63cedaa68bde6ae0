#include "configui/ThumbnailGrid.h"

#include "backend/PictureLoader.h"
#include "effects/BitmapRoutines.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/Project.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace ml {

namespace {

// Thumbnails are kept for every item, so their size stays within what a window could show.
constexpr int kMaxPictureSide = 2048;

// The cell's layout, relative to its top-left corner: the frame starts 10 pixels in, the
// picture 15 pixels down, and the check box sits over the picture's lower-left corner.
constexpr int kFrameInset = 10;
constexpr int kPictureTop = 15;
constexpr int kCheckBoxLeft = 13;
constexpr int kCheckBoxAbovePictureBottom = 6; // box top = PictureHeight + 6
constexpr int kCheckBoxSide = 11;
constexpr int kTitleBelowPicture = 24; // title top = PictureHeight + 24
constexpr int kTitleHeight = 30;

QColor Blend(const QColor& color1, const QColor& color2, int percent) {
    return QColor::fromRgb(
        BlendColors(color1.rgb() & 0xFFFFFFu, color2.rgb() & 0xFFFFFFu, percent));
}

// An outlined, filled rectangle covering left .. right - 1 and top .. bottom - 1.
void Rectangle(QPainter& painter, int left, int top, int right, int bottom) {
    painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

} // namespace

TQMThumbnail2::TQMThumbnail2(QWidget* parent) : TMouseControl<QAbstractScrollArea>(parent) {
    QPalette colors = palette();
    colors.setColor(QPalette::Window, colors.color(QPalette::Base));
    setPalette(colors);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    SetBorderSingle(true);
    SetScrollBars(TScrollStyle::ssVertical);
    resize(350, 250);
}

void TQMThumbnail2::SetPictureWidth(int width) {
    PictureW = std::clamp(width, 1, kMaxPictureSide);
    UpdateLayout();
    BuildThumbnails();
    viewport()->update();
}

void TQMThumbnail2::SetPictureHeight(int height) {
    PictureH = std::clamp(height, 1, kMaxPictureSide);
    UpdateLayout();
    BuildThumbnails();
    viewport()->update();
}

void TQMThumbnail2::SetShowCheckBox(bool show) {
    CheckBoxOn = show;
    if (!show)
        viewport()->unsetCursor();
    UpdateLayout();
    viewport()->update();
}

void TQMThumbnail2::SetShowTitle(bool show) {
    TitleOn = show;
    UpdateLayout();
    viewport()->update();
}

void TQMThumbnail2::SetMultiRows(bool multiRows) {
    MultiRowsOn = multiRows;
    SetScrollBars(multiRows ? TScrollStyle::ssVertical : TScrollStyle::ssHorizontal);
    UpdateLayout();
    SetTopLeft(FirstCol, FirstRow);
    viewport()->update();
}

void TQMThumbnail2::SetItems(const std::vector<std::string>* fileNames) {
    Items = fileNames;
    if (!Items) {
        Images.clear();
        TitleList.clear();
    }
    UpdateLayout();
    BuildThumbnails();
    viewport()->update();
}

void TQMThumbnail2::SelectItem(int index) {
    index = std::clamp(index, 0, Cols * Rows - 1);
    const int row = index / Cols;
    const int col = index % Cols;
    if (row != CurRow || col != CurCol)
        MoveCurrent(col, row);
}

bool TQMThumbnail2::ItemChecked(int index) const {
    return index >= 0 && index < static_cast<int>(Checked.size()) && Checked[index];
}

void TQMThumbnail2::SetItemChecked(int index, bool checked) {
    if (index < 0)
        return;
    if (index >= static_cast<int>(Checked.size()))
        Checked.resize(index + 1, false);
    Checked[index] = checked;
    viewport()->update();
}

bool TQMThumbnail2::ItemEnabled(int index) const {
    return index >= 0 && index < ItemCount() && index < static_cast<int>(Enabled.size()) &&
           Enabled[index];
}

void TQMThumbnail2::UpdateLayout() {
    if (!Items)
        return;
    ColWidth = PictureW + 20;
    RowHeight = PictureH + 20 + (TitleOn ? kTitleHeight : 0);
    const int count = ItemCount();
    int cols = count;
    int rows = 1;
    if (MultiRowsOn) {
        cols = std::max(1, width() / ColWidth);
        rows = count / cols + (count % cols ? 1 : 0);
    }
    SetRowCount(rows);
    SetColCount(cols);
}

void TQMThumbnail2::BuildThumbnails() {
    if (!Items)
        return;
    Images.clear();
    TitleList.clear();
    for (const std::string& file : *Items) {
        // A file that cannot be shown still gets its cell: an empty thumbnail and its name,
        // so that every later thumbnail stays beside its own item.
        TBitmap source;
        std::string title = ExtractFileName(file);
        if (FileExists(file)) {
            if (UpperCase(ExtractFileExt(file)) == ".QMP") {
                TProject head; // reports its own failures
                if (head.LoadHeader(file)) {
                    source = head.Thumbnail;
                    title = head.Title;
                }
            } else if (IsPlainPictureFile(file)) {
                try {
                    source = LoadPicture(file);
                } catch (const Exception& e) {
                    // Reported here rather than raised, so that one bad file leaves the rest
                    // of the grid (and the favourites kept with it) intact.
                    ShowErrorMessage("File: " + file + "\r\n" + e.Message());
                }
            }
        }
        TBitmap thumbnail;
        if (!source.Empty()) {
            thumbnail.SetSize(PictureW, PictureH);
            FitBitmapSmooth(source, thumbnail);
        }
        Images.push_back(std::move(thumbnail));
        TitleList.push_back(std::move(title));
    }
    Enabled.assign(Items->size(), true);
    if (Checked.size() < Items->size())
        Checked.resize(Items->size(), false);
}

QRect TQMThumbnail2::CellRect(int col, int row) const {
    return QRect((col - FirstCol) * ColWidth, (row - FirstRow) * RowHeight, ColWidth, RowHeight);
}

bool TQMThumbnail2::MouseToCell(QPoint point, int& col, int& row) const {
    if (point.x() < 0 || point.y() < 0)
        return false;
    col = FirstCol + point.x() / ColWidth;
    row = FirstRow + point.y() / RowHeight;
    return col < Cols && row < Rows;
}

void TQMThumbnail2::SetColCount(int count) {
    Cols = std::max(1, count);
    ClampCurrent();
}

void TQMThumbnail2::SetRowCount(int count) {
    Rows = std::max(1, count);
    ClampCurrent();
}

void TQMThumbnail2::SetDefaultColWidth(int width) {
    ColWidth = std::max(1, width);
    SetTopLeft(FirstCol, FirstRow);
}

void TQMThumbnail2::SetDefaultRowHeight(int height) {
    RowHeight = std::max(1, height);
    SetTopLeft(FirstCol, FirstRow);
}

void TQMThumbnail2::SetScrollBars(TScrollStyle style) {
    const bool across = style == TScrollStyle::ssHorizontal || style == TScrollStyle::ssBoth;
    const bool down = style == TScrollStyle::ssVertical || style == TScrollStyle::ssBoth;
    setHorizontalScrollBarPolicy(across ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(down ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TQMThumbnail2::SetBorderSingle(bool single) {
    setFrameStyle(single ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

QColor TQMThumbnail2::GridColor() const {
    return palette().color(QPalette::Window);
}

void TQMThumbnail2::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), GridColor());
    if (!Items)
        return;
    painter.setFont(font());
    for (int row = FirstRow; row < Rows; ++row) {
        if (CellRect(FirstCol, row).top() >= viewport()->height())
            break;
        for (int col = FirstCol; col < Cols; ++col) {
            const QRect cell = CellRect(col, row);
            if (cell.left() >= viewport()->width())
                break;
            DrawCell(painter, col, row, cell);
        }
    }
}

void TQMThumbnail2::DrawCell(QPainter& painter, int col, int row, const QRect& cell) {
    const int index = ItemIndex(col, row);
    if (index >= ItemCount())
        return;
    const QColor color = GridColor();
    const QColor black(Qt::black);
    const QColor highlight = palette().color(QPalette::Highlight);
    const bool selected = col == CurCol && row == CurRow;
    const int left = cell.left();
    const int top = cell.top();

    if (selected) {
        painter.setPen(QPen(Blend(highlight, color, 100), 2));
        painter.setBrush(Blend(black, color, 10));
        Rectangle(painter, left + kFrameInset + 1, top + kFrameInset + 1, left + PictureW + 20,
                  top + PictureH + 20);
    } else {
        painter.setPen(QPen(Blend(black, color, 20), 1));
        painter.setBrush(Blend(black, color, 5));
        Rectangle(painter, left + kFrameInset, top + kFrameInset, left + PictureW + 20,
                  top + PictureH + 20);
    }

    // A list that grew after it was attached has no thumbnails for its new items yet.
    if (index < static_cast<int>(Images.size()) && !Images[index].Empty())
        painter.drawImage(QPoint(left + (cell.width() + 10 - PictureW) / 2, top + kPictureTop),
                          Images[index].ToImage());

    if (CheckBoxOn)
        DrawCheckBox(painter, left + kCheckBoxLeft, top + PictureH + kCheckBoxAbovePictureBottom,
                     ItemChecked(index),
                     selected ? Blend(highlight, color, 100) : Blend(black, color, 30), color);

    if (TitleOn && index < static_cast<int>(TitleList.size())) {
        const QRect area(QPoint(left + kFrameInset, top + PictureH + kTitleBelowPicture),
                         cell.bottomRight());
        const QString text = QString::fromStdString(TitleList[index]);
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        painter.save();
        painter.setClipRect(area);
        if (selected) {
            // Only the text itself stands on the highlight, as on a selected list entry.
            painter.fillRect(painter.boundingRect(area, flags, text) & area, highlight);
            painter.setPen(palette().color(QPalette::HighlightedText));
        } else {
            painter.setPen(palette().color(QPalette::Text));
        }
        painter.drawText(area, flags, text);
        painter.restore();
    }
}

void TQMThumbnail2::DrawCheckBox(QPainter& painter, int x, int y, bool checked, const QColor& frame,
                                 const QColor& fill) {
    painter.setPen(QPen(frame, 1));
    painter.setBrush(fill);
    Rectangle(painter, x, y, x + kCheckBoxSide, y + kCheckBoxSide);
    if (checked) {
        painter.setPen(QPen(frame, 2));
        painter.drawLine(x + 1, y + 4, x + 5, y + 8);
        painter.drawLine(x + 3, y + 8, x + 9, y + 2);
        // Two pixels of the tick's joint go back to the box colour, which sharpens its point.
        painter.fillRect(x + 3, y + 8, 1, 1, fill);
        painter.fillRect(x + 5, y + 8, 1, 1, fill);
    }
    // A ring of the box colour just inside the frame keeps the tick off the frame.
    painter.setPen(QPen(fill, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(x + 1, y + 1, 8, 8));
}

bool TQMThumbnail2::OnCheckBox(QPoint point) const {
    int col = 0;
    int row = 0;
    if (!CheckBoxOn || !MouseToCell(point, col, row))
        return false;
    const QRect cell = CellRect(col, row);
    const int x = point.x() - cell.left();
    const int y = point.y() - cell.top();
    const int boxTop = PictureH + kCheckBoxAbovePictureBottom;
    return x >= kCheckBoxLeft && x <= kCheckBoxLeft + kCheckBoxSide && y >= boxTop &&
           y <= boxTop + kCheckBoxSide && ItemEnabled(ItemIndex(col, row)) &&
           ItemEnabled(ItemIndex(CurCol, CurRow));
}

void TQMThumbnail2::mouseMoveEvent(QMouseEvent* e) {
    if (CheckBoxOn)
        viewport()->setCursor(OnCheckBox(e->position().toPoint()) ? Qt::PointingHandCursor
                                                                  : Qt::ArrowCursor);
    TMouseControl<QAbstractScrollArea>::mouseMoveEvent(e);
}

void TQMThumbnail2::mousePressEvent(QMouseEvent* e) {
    const QPoint point = e->position().toPoint();
    int col = 0;
    int row = 0;
    if (e->button() == Qt::LeftButton && MouseToCell(point, col, row)) {
        if (OnCheckBox(point)) {
            const int index = ItemIndex(col, row);
            SetItemChecked(index, !ItemChecked(index));
        }
        MoveCurrent(col, row);
    }
    TMouseControl<QAbstractScrollArea>::mousePressEvent(e);
}

void TQMThumbnail2::keyPressEvent(QKeyEvent* e) {
    int col = CurCol;
    int row = CurRow;
    const bool control = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        row -= FullRows();
        break;
    case Qt::Key_PageDown:
        row += FullRows();
        break;
    case Qt::Key_Home:
        col = 0;
        if (control)
            row = 0;
        break;
    case Qt::Key_End:
        col = Cols - 1;
        if (control)
            row = Rows - 1;
        break;
    default:
        TMouseControl<QAbstractScrollArea>::keyPressEvent(e);
        return;
    }
    col = std::clamp(col, 0, Cols - 1);
    row = std::clamp(row, 0, Rows - 1);
    if (col != CurCol || row != CurRow)
        MoveCurrent(col, row);
}

void TQMThumbnail2::resizeEvent(QResizeEvent* e) {
    TMouseControl<QAbstractScrollArea>::resizeEvent(e);
    UpdateLayout();
    SetTopLeft(FirstCol, FirstRow);
}

void TQMThumbnail2::scrollContentsBy(int, int) {
    if (!Scrolling)
        SetTopLeft(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TQMThumbnail2::MoveCurrent(int col, int row) {
    CurCol = col;
    CurRow = row;
    MakeVisible(col, row);
    viewport()->update();
    ReportSelection();
}

void TQMThumbnail2::ReportSelection() {
    // The empty cells after the last item stand for the last item.
    const int index = std::max(0, std::min(ItemIndex(CurCol, CurRow), ItemCount() - 1));
    if (OnSelectItem)
        OnSelectItem(nullptr, index);
}

int TQMThumbnail2::FullCols() const {
    return std::max(1, viewport()->width() / ColWidth);
}

int TQMThumbnail2::FullRows() const {
    return std::max(1, viewport()->height() / RowHeight);
}

void TQMThumbnail2::MakeVisible(int col, int row) {
    int left = FirstCol;
    int top = FirstRow;
    if (col < left)
        left = col;
    else if (col >= left + FullCols())
        left = col - FullCols() + 1;
    if (row < top)
        top = row;
    else if (row >= top + FullRows())
        top = row - FullRows() + 1;
    SetTopLeft(left, top);
}

void TQMThumbnail2::SetTopLeft(int col, int row) {
    // Wrapped rows always start at the first column: a column cut off by the vertical scroll
    // bar must not shift the whole grid sideways.
    FirstCol = MultiRowsOn ? 0 : std::clamp(col, 0, std::max(0, Cols - FullCols()));
    FirstRow = std::clamp(row, 0, std::max(0, Rows - FullRows()));
    UpdateScrollBars();
    viewport()->update();
}

void TQMThumbnail2::UpdateScrollBars() {
    Scrolling = true;
    horizontalScrollBar()->setRange(0, std::max(0, Cols - FullCols()));
    horizontalScrollBar()->setPageStep(FullCols());
    horizontalScrollBar()->setValue(FirstCol);
    verticalScrollBar()->setRange(0, std::max(0, Rows - FullRows()));
    verticalScrollBar()->setPageStep(FullRows());
    verticalScrollBar()->setValue(FirstRow);
    Scrolling = false;
}

void TQMThumbnail2::ClampCurrent() {
    CurCol = std::min(CurCol, Cols - 1);
    CurRow = std::min(CurRow, Rows - 1);
    SetTopLeft(FirstCol, FirstRow);
}

} // namespace ml
