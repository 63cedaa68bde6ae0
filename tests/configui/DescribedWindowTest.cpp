// A window written by hand in the notation with every standard class, built and grabbed
// offscreen. The picture is kept in /tmp for a person to look at.

#include "configui/ComponentBuilder.h"
#include "configui/FormsCollection.h"
#include "configui/StandardClasses.h"
#include "configui/StdControls.h"
#include "tests/configui/DescriptionData.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

std::string WindowText() {
    QImage gradient(120, 80, QImage::Format_RGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            gradient.setPixel(x, y, qRgb(40 + x, 90 + y, 200));
    return "object MainWindow: TForm\n"
           "  Caption = 'Mirrorlake ''Lakes'''\n"
           "  ClientWidth = 480\n"
           "  ClientHeight = 320\n"
           "  Color = clBtnFace\n"
           "  Font.Charset = DEFAULT_CHARSET\n"
           "  Font.Height = -12\n"
           "  Font.Name = 'Sans'\n"
           "  OldCreateOrder = False\n"
           "  PixelsPerInch = 96\n"
           "  TextHeight = 13\n"
           "  object Header: TPanel\n"
           "    Align = alTop\n"
           "    Height = 36\n"
           "    Color = clNavy\n"
           "    Font.Color = clWhite\n"
           "    Font.Style = [fsBold]\n"
           "    Caption = 'Header panel'\n"
           "    BevelInner = bvLowered\n"
           "  end\n"
           "  object Footer: TPanel\n"
           "    Align = alBottom\n"
           "    Height = 40\n"
           "    BevelOuter = bvNone\n"
           "    object CloseBtn: TBitBtn\n"
           "      Left = 392\n"
           "      Top = 8\n"
           "      Caption = '&Close'\n"
           "      Glyph.Data = " +
           test::GlyphData(test::KeyedSquare(16, qRgb(200, 0, 0))) +
           "\n"
           "      TabOrder = 1\n"
           "    end\n"
           "    object HelpBtn: TButton\n"
           "      Left = 304\n"
           "      Top = 8\n"
           "      Caption = 'Help'\n"
           "      TabOrder = 0\n"
           "    end\n"
           "    object Agree: TCheckBox\n"
           "      Left = 8\n"
           "      Top = 12\n"
           "      Width = 150\n"
           "      Caption = 'Remember me'\n"
           "      Checked = True\n"
           "    end\n"
           "    object Play: TMyButton\n"
           "      Left = 200\n"
           "      Top = 4\n"
           "      ShowCaption = True\n"
           "      Caption = 'Go'\n"
           "      ButtonUp.Data = " +
           test::BitmapPictureData(test::KeyedSquare(32, qRgb(0, 160, 0))) +
           "\n"
           "    end\n"
           "  end\n"
           "  object Pages: TPageControl\n"
           "    Left = 8\n"
           "    Top = 44\n"
           "    Width = 260\n"
           "    Height = 228\n"
           "    ActivePage = Pictures\n"
           "    object Pictures: TTabSheet\n"
           "      Caption = 'Pictures'\n"
           "      object Photo: TImage\n"
           "        Left = 8\n"
           "        Top = 8\n"
           "        Width = 120\n"
           "        Height = 80\n"
           "        Stretch = True\n"
           "        Picture.Data = " +
           test::JpegPictureData(gradient) +
           "\n"
           "      end\n"
           "      object Name: TEdit\n"
           "        Left = 8\n"
           "        Top = 100\n"
           "        Width = 200\n"
           "        Text = 'Edit box'\n"
           "      end\n"
           "      object Notes: TMyMemo\n"
           "        Left = 8\n"
           "        Top = 128\n"
           "        Width = 200\n"
           "        Height = 60\n"
           "        Color = clInfoBk\n"
           "        Lines.Strings = (\n"
           "          'Memo line one'\n"
           "          'Memo line two')\n"
           "      end\n"
           "    end\n"
           "    object Sounds: TTabSheet\n"
           "      Caption = 'Sounds'\n"
           "    end\n"
           "  end\n"
           "  object Title: TLabel\n"
           "    Left = 284\n"
           "    Top = 48\n"
           "    Caption = 'A label'#13'on two lines'\n"
           "    Font.Color = clMaroon\n"
           "  end\n"
           "  object Circle: TMyShape\n"
           "    Left = 284\n"
           "    Top = 96\n"
           "    Width = 64\n"
           "    Height = 64\n"
           "    Shape = stCircle\n"
           "    Brush.Color = clYellow\n"
           "    Pen.Width = 2\n"
           "  end\n"
           "  object Box: TShape\n"
           "    Left = 360\n"
           "    Top = 96\n"
           "    Width = 100\n"
           "    Height = 64\n"
           "    Shape = stRoundRect\n"
           "    Brush.Color = $00FF8000\n"
           "    Pen.Color = clBlue\n"
           "  end\n"
           "  object Groove: TMyBevel\n"
           "    Left = 284\n"
           "    Top = 176\n"
           "    Width = 176\n"
           "    Height = 90\n"
           "    Shape = bsFrame\n"
           "  end\n"
           "  object Thumbs: TQMThumbnail2\n"
           "    Left = 284\n"
           "    Top = 272\n"
           "    Width = 80\n"
           "    Height = 20\n"
           "    ShowTitle = True\n"
           "  end\n"
           "  object Pane: TQMPreview\n"
           "    Left = 370\n"
           "    Top = 272\n"
           "    Width = 30\n"
           "    Height = 20\n"
           "    UnavailableMsg = 'Not here'\n"
           "  end\n"
           "end\n";
}

TEST(DescribedWindow, EveryStandardClassBuildsAndPaints) {
    const std::string text = WindowText();
    TClassRegistry standard;
    RegisterStandardClasses(standard);
    for (const auto& name : standard.Names())
        EXPECT_NE(text.find(": " + name + "\n"), std::string::npos) << name << " is not used";

    auto window = BuildFromText(text);
    window->show();
    const QImage shot = window->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(480, 320));
    ASSERT_TRUE(shot.save("/tmp/mirrorlake-described-window.png"));

    auto at = [&](int x, int y) { return shot.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(at(100, 20), 0x000080u) << "header panel in navy";
    QWidget* title = dynamic_cast<TForm*>(window.get())->FindComponent("Title");
    EXPECT_GT(title->height(), 2 * title->fontMetrics().height() - 2) << "#13 breaks the line";
    EXPECT_EQ(at(316, 128), 0xFFFF00u) << "circle filled yellow";
    EXPECT_EQ(at(410, 128), 0x0080FFu) << "box colour read as blue-green-red";
    auto* form = dynamic_cast<TForm*>(window.get());
    QWidget* play = form->FindComponent("Play");
    const QPoint playCentre = play->mapTo(window.get(), QPoint(10, 10));
    EXPECT_EQ(at(playCentre.x(), playCentre.y()), 0x00A000u) << "picture button";
    const QPoint playCorner = play->mapTo(window.get(), QPoint(0, 31));
    EXPECT_NE(at(playCorner.x(), playCorner.y()), 0xFF00FFu) << "its key colour left out";
}

} // namespace
} // namespace ml

namespace ml {
namespace {

// The path a described window takes: collection, filter, build. The configuration window's
// class is stood in for by the plain form here.
TEST(DescribedWindow, FilteredDescriptionBuilds) {
    TQMForms forms;
    forms.LoadFromText("1\r\n9\r\n"
                       "object MainWindow: TfmForm\r\n"
                       "  Visible = True\r\n"
                       "  BorderStyle = bsSingle\r\n"
                       "  OnShow = FormShow\r\n"
                       "  Sizeable = False\r\n"
                       "  object Label1: TLabel\r\n"
                       "    OnClick = Nothing\r\n"
                       "  end\r\n"
                       "end\r\n"
                       "0\r\n1\r\nDummy\r\n");
    // Unfiltered, the label's event line names a property a label lacks.
    EXPECT_THROW(BuildFromText("object W: TForm\n object L: TLabel\n OnClick = X\n end\nend"),
                 EPropertyError);

    TClassRegistry registry;
    RegisterStandardClasses(registry);
    EXPECT_THROW(BuildFromText(forms.FindForm("MainWindow").FilteredDescription(), registry),
                 EClassNotFound);
    registry.Register<TForm>("TfmQMCOnfigWindow", FormProperties(), true);
    auto window = BuildFromText(forms.FindForm("MainWindow").FilteredDescription(), registry);
    EXPECT_EQ(window->objectName(), "MainWindow");
    EXPECT_EQ(AsControl(window.get())->ClassName, "TfmQMCOnfigWindow");
}

} // namespace
} // namespace ml
