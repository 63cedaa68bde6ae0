#pragma once
// The published properties of a cell grid, for grid controls built from descriptions (the
// thumbnail grid derives from one). A grid class implements TGridProperties and takes its
// table from GridProperties(), adding its own properties to a table chained to it.

#include "configui/ClassRegistry.h"

namespace ml {

// Grid options as bits, in the order descriptions name them.
enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14,
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TGridProperties {
public:
    virtual ~TGridProperties() = default;
    virtual void SetColCount(int count) = 0;
    virtual void SetRowCount(int count) = 0;
    virtual void SetDefaultColWidth(int width) = 0;
    virtual void SetDefaultRowHeight(int height) = 0;
    virtual void SetDefaultDrawing(bool on) = 0;
    virtual void SetFixedCols(int count) = 0;
    virtual void SetFixedRows(int count) = 0;
    virtual void SetOptions(unsigned options) = 0; // TGridOption bits
    virtual void SetScrollBars(TScrollStyle style) = 0;
    virtual void SetBorderSingle(bool single) = 0;
};

// Control, colour, font and focus properties plus the grid's own.
const TPropertyTable& GridProperties();

} // namespace ml
