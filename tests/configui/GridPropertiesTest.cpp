#include "configui/GridProperties.h"
#include "configui/ComponentBuilder.h"
#include "configui/StdControls.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

// Records what the description set, as a grid control would apply it.
class TRecordingGrid : public TMouseControl<QWidget>, public TGridProperties {
public:
    void SetColCount(int count) override { Cols = count; }
    void SetRowCount(int count) override { Rows = count; }
    void SetDefaultColWidth(int width) override { ColWidth = width; }
    void SetDefaultRowHeight(int height) override { RowHeight = height; }
    void SetDefaultDrawing(bool on) override { DefaultDrawing = on; }
    void SetFixedCols(int count) override { FixedCols = count; }
    void SetFixedRows(int count) override { FixedRows = count; }
    void SetOptions(unsigned options) override { Options = options; }
    void SetScrollBars(TScrollStyle style) override { ScrollBars = style; }
    void SetBorderSingle(bool single) override { BorderSingle = single; }

    int Cols = -1, Rows = -1, ColWidth = -1, RowHeight = -1, FixedCols = -1, FixedRows = -1;
    bool DefaultDrawing = true, BorderSingle = true;
    unsigned Options = 0;
    TScrollStyle ScrollBars = TScrollStyle::ssBoth;
};

TEST(GridProperties, AGridClassRegistersInOneLineAndReceivesItsProperties) {
    TClassRegistry registry;
    RegisterStandardClasses(registry);
    registry.Register<TRecordingGrid>("TQMThumbnail2", GridProperties());

    auto window =
        BuildFromText("object W: TForm\n"
                      "  object Grid: TQMThumbnail2\n"
                      "    ColCount = 3\n"
                      "    RowCount = 100000\n"
                      "    DefaultColWidth = 100\n"
                      "    DefaultRowHeight = 80\n"
                      "    DefaultDrawing = False\n"
                      "    FixedCols = 0\n"
                      "    FixedRows = 0\n"
                      "    Options = [goFixedVertLine, goFixedHorzLine, goThumbTracking]\n"
                      "    ScrollBars = ssVertical\n"
                      "    BorderStyle = bsNone\n"
                      "    Ctl3D = False\n"
                      "    Color = clWindow\n"
                      "  end\n"
                      "end\n",
                      registry);
    auto* grid =
        dynamic_cast<TRecordingGrid*>(dynamic_cast<TForm*>(window.get())->FindComponent("Grid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Cols, 3);
    EXPECT_EQ(grid->Rows, 32767) << "counts are bounded";
    EXPECT_EQ(grid->ColWidth, 100);
    EXPECT_EQ(grid->RowHeight, 80);
    EXPECT_FALSE(grid->DefaultDrawing);
    EXPECT_EQ(grid->FixedCols, 0);
    EXPECT_EQ(grid->Options, goFixedVertLine | goFixedHorzLine | goThumbTracking);
    EXPECT_EQ(grid->ScrollBars, TScrollStyle::ssVertical);
    EXPECT_FALSE(grid->BorderSingle);

    EXPECT_THROW(BuildFromText("object W: TForm\n object G: TQMThumbnail2\n"
                               "  Options = [goSideways]\n end\nend\n",
                               registry),
                 EPropertyError);
}

} // namespace
} // namespace ml
