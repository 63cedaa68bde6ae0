#include "configui/GridProperties.h"

#include "configui/StandardClasses.h"

namespace ml {

namespace {

using V = const TPropertyValue&;

// Counts and sizes stay within what a window can show; a hostile description cannot ask
// for millions of cells.
int AsCount(V v) {
    return std::clamp(AsInteger(v), 0, 32767);
}

} // namespace

const TPropertyTable& GridProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddColor(t);
        AddFont(t);
        AddWinControl(t);
        t.Set<TGridProperties>("ColCount",
                               [](TGridProperties& g, V v) { g.SetColCount(AsCount(v)); });
        t.Set<TGridProperties>("RowCount",
                               [](TGridProperties& g, V v) { g.SetRowCount(AsCount(v)); });
        t.Set<TGridProperties>("DefaultColWidth",
                               [](TGridProperties& g, V v) { g.SetDefaultColWidth(AsCount(v)); });
        t.Set<TGridProperties>("DefaultRowHeight",
                               [](TGridProperties& g, V v) { g.SetDefaultRowHeight(AsCount(v)); });
        t.Set<TGridProperties>("DefaultDrawing",
                               [](TGridProperties& g, V v) { g.SetDefaultDrawing(AsBoolean(v)); });
        t.Set<TGridProperties>("FixedCols",
                               [](TGridProperties& g, V v) { g.SetFixedCols(AsCount(v)); });
        t.Set<TGridProperties>("FixedRows",
                               [](TGridProperties& g, V v) { g.SetFixedRows(AsCount(v)); });
        t.Set<TGridProperties>("Options", [](TGridProperties& g, V v) {
            g.SetOptions(
                AsSet(v, {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                          "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing",
                          "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
                          "goAlwaysShowEditor", "goThumbTracking"}));
        });
        t.Set<TGridProperties>("ScrollBars", [](TGridProperties& g, V v) {
            g.SetScrollBars(static_cast<TScrollStyle>(
                AsEnum(v, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})));
        });
        t.Set<TGridProperties>("BorderStyle", [](TGridProperties& g, V v) {
            g.SetBorderSingle(AsEnum(v, {"bsNone", "bsSingle"}) == 1);
        });
        t.Ignore({"GridLineWidth"});
        return t;
    }();
    return table;
}

} // namespace ml
