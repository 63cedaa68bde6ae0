#include "configui/ComponentBuilder.h"
#include "configui/ComponentLexer.h"
#include "configui/ComponentParser.h"
#include "configui/ExtControls.h"
#include "configui/MyButton.h"
#include "configui/MyMemo.h"
#include "configui/StdControls.h"
#include "tests/configui/DescriptionData.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace ml {
namespace {

using TKind = TPropertyValue::TKind;

TEST(ComponentParser, ReadsEveryValueKind) {
    const auto root = ParseComponentText("object Form1: TForm\r\n"
                                         "  Left = -12\r\n"
                                         "  Color = $00FF8000\r\n"
                                         "  Align = alBottom\r\n"
                                         "  Caption = 'It''s'#13#10'two' +\r\n"
                                         "    ' lines'#$263A\r\n"
                                         "  BorderIcons = [biSystemMenu, biMinimize]\r\n"
                                         "  Font.Style = []\r\n"
                                         "  Picture.Data = {\r\n"
                                         "    0A0b ff\r\n"
                                         "    00}\r\n"
                                         "  Lines.Strings = (\r\n"
                                         "    'a'\r\n"
                                         "    'b')\r\n"
                                         "  Ratio = 1.5\r\n"
                                         "  Panels = <\r\n"
                                         "    item\r\n"
                                         "      Width = 50\r\n"
                                         "    end>\r\n"
                                         "  object Label1: TLabel\r\n"
                                         "  end\r\n"
                                         "  object TPanel\r\n"
                                         "  end\r\n"
                                         "end\r\n");
    ASSERT_EQ(root->Properties.size(), 10u);
    const auto& p = root->Properties;
    EXPECT_EQ(p[0].Value.Kind, TKind::Integer);
    EXPECT_EQ(p[0].Value.Int, -12);
    EXPECT_EQ(p[1].Value.Int, 0x00FF8000);
    EXPECT_EQ(p[2].Value.Kind, TKind::Identifier);
    EXPECT_EQ(p[2].Value.Text, "alBottom");
    EXPECT_EQ(p[3].Value.Kind, TKind::String);
    EXPECT_EQ(p[3].Value.Text, "It's\r\ntwo lines\xE2\x98\xBA");
    EXPECT_EQ(p[4].Value.Names, (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
    EXPECT_EQ(p[5].Name, "Font.Style");
    EXPECT_EQ(p[5].Value.Kind, TKind::Set);
    EXPECT_TRUE(p[5].Value.Names.empty());
    EXPECT_EQ(p[6].Value.Kind, TKind::Binary);
    EXPECT_EQ(p[6].Value.Text, std::string("\x0A\x0B\xFF\x00", 4));
    ASSERT_EQ(p[7].Value.Items.size(), 2u);
    EXPECT_EQ(p[7].Value.Items[1].Text, "b");
    EXPECT_EQ(p[8].Value.Kind, TKind::Float);
    EXPECT_DOUBLE_EQ(p[8].Value.Float, 1.5);
    EXPECT_EQ(p[9].Value.Kind, TKind::Collection);
    ASSERT_EQ(root->Children.size(), 2u);
    EXPECT_EQ(root->Children[0]->Name, "Label1");
    EXPECT_EQ(root->Children[1]->Name, "");
    EXPECT_EQ(root->Children[1]->ClassName, "TPanel");
}

// A long string is written as pieces joined by "+"; every piece counts, not just two.
TEST(ComponentParser, StringsJoinFromEveryPiece) {
    const auto root = ParseComponentText("object F: TForm\r\n"
                                         "  Caption = 'a' + 'b' + 'c'\r\n"
                                         "  Hint = 'one' +\r\n"
                                         "    ' two' +\r\n"
                                         "    #32'three' +\r\n"
                                         "    ' four'\r\n"
                                         "end\r\n");
    ASSERT_EQ(root->Properties.size(), 2u);
    EXPECT_EQ(root->Properties[0].Value.Text, "abc");
    EXPECT_EQ(root->Properties[1].Value.Text, "one two three four");
}

TEST(ComponentParser, SyntaxErrorsNameTheLine) {
    struct Row {
        const char* Text;
        const char* Message;
    };
    const Row rows[] = {
        {"object A: TForm\n  Caption = 'open\nend", "Unterminated string on line 2"},
        {"object A: TForm\n  Data = {ABC}\nend", "Invalid binary value on line 2"},
        {"object A: TForm\n  Data = {AB\n", "Unterminated binary value on line 2"},
        {"object A: TForm\n  Tag = ]\nend", "Invalid property value syntax on line 2"},
        {"object A: TForm\n  Caption = 'a' + 5\nend", "String expected on line 2"},
        {"object A: TForm\n  object B: TPanel\n  end\n  Tag = 1\nend",
         "'object' expected on line 4"},
        {"object A: TForm\n", "Identifier expected on line 2"},
        {"object A: TForm\nend\nend", "End of text expected on line 3"},
        {"A: TForm\nend", "'object' expected on line 1"},
        {"object A: TForm\n  Tag = 99999999999999999999\nend", "Invalid integer value on line 2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Text);
        try {
            ParseComponentText(row.Text);
            ADD_FAILURE() << "no error";
        } catch (const EParserError& e) {
            EXPECT_STREQ(e.what(), row.Message);
        }
    }
    std::string deep;
    for (int i = 0; i < 200; ++i)
        deep += "object A: TPanel\n";
    EXPECT_THROW(ParseComponentText(deep), EParserError);
}

TEST(ComponentBuilder, NestingParentsAndDocking) {
    auto window = BuildFromText("object Main: TForm\n"
                                "  ClientWidth = 300\n"
                                "  ClientHeight = 200\n"
                                "  Caption = 'Main'\n"
                                "  Tag = 1\n"
                                "  object Bottom: TPanel\n"
                                "    Height = 40\n"
                                "    Align = alBottom\n"
                                "    BevelOuter = bvNone\n"
                                "    object Close: TBitBtn\n"
                                "      Left = 8\n"
                                "      Top = 6\n"
                                "      Caption = 'Close'\n"
                                "      TabOrder = 1\n"
                                "    end\n"
                                "    object Ok: TButton\n"
                                "      Left = 100\n"
                                "      Top = 6\n"
                                "      Caption = 'OK'\n"
                                "      TabOrder = 0\n"
                                "    end\n"
                                "  end\n"
                                "  object Top: TLabel\n"
                                "    Align = alTop\n"
                                "    AutoSize = False\n"
                                "    Height = 30\n"
                                "    Caption = '&Title'\n"
                                "    Tag = 3\n"
                                "  end\n"
                                "  object Pages: TPageControl\n"
                                "    Align = alClient\n"
                                "    ActivePage = Second\n"
                                "    object First: TTabSheet\n"
                                "      Caption = 'One'\n"
                                "    end\n"
                                "    object Second: TTabSheet\n"
                                "      Caption = 'Two'\n"
                                "      object Memo: TMyMemo\n"
                                "        Text = 'a'#13#10'b'\n"
                                "      end\n"
                                "    end\n"
                                "  end\n"
                                "end\n");
    auto* form = dynamic_cast<TForm*>(window.get());
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible()) << "building never shows the window";
    EXPECT_EQ(form->windowTitle(), "Main");
    EXPECT_EQ(form->size(), QSize(300, 200));
    EXPECT_EQ(form->Tag, 1);

    std::vector<std::string> names;
    for (QWidget* w : form->Components())
        names.push_back(w->objectName().toStdString());
    EXPECT_EQ(names, (std::vector<std::string>{"Bottom", "Close", "Ok", "Top", "Pages", "First",
                                               "Second", "Memo"}));

    QWidget* bottom = form->FindComponent("bottom");
    QWidget* close = form->FindComponent("Close");
    EXPECT_EQ(close->parentWidget(), bottom);
    EXPECT_EQ(AsControl(close)->ClassName, "TBitBtn");
    // Docking: the top label, then the bottom panel, and the page control takes the rest.
    EXPECT_EQ(bottom->geometry(), QRect(0, 160, 300, 40));
    EXPECT_EQ(form->FindComponent("Top")->geometry(), QRect(0, 0, 300, 30));
    EXPECT_EQ(form->FindComponent("Pages")->geometry(), QRect(0, 30, 300, 130));
    EXPECT_EQ(dynamic_cast<QLabel*>(form->FindComponent("Top"))->text(), "Title");

    auto* pages = dynamic_cast<TPageControl*>(form->FindComponent("Pages"));
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(1), "Two");
    EXPECT_EQ(pages->currentWidget(), form->FindComponent("Second")) << "a reference resolved "
                                                                        "after the whole read";
    EXPECT_EQ(dynamic_cast<TMyMemo*>(form->FindComponent("Memo"))->Text(), "a\r\nb\r\n");
    EXPECT_EQ(form->FindComponent("Ok")->nextInFocusChain(), close) << "TabOrder 0 before 1";
}

TEST(ComponentBuilder, ErrorsAndNothingLeftBehind) {
    struct Row {
        const char* Body; // properties and children of a TForm root
        const char* Message;
    };
    const Row rows[] = {
        {"object X: TFoo\nend\n", "Class TFoo not found"},
        {"object X: TLabel\n Colour = clRed\nend\n", "Property Colour does not exist"},
        {"object X: TImage\n Caption = 'x'\nend\n", "Property Caption does not exist"},
        {"object X: TLabel\n Tag = 'x'\nend\n", "Invalid property value"},
        {"object X: TLabel\n Align = alMiddle\nend\n", "Invalid property value"},
        {"object X: TLabel\n Caption = Hello\nend\n", "Invalid property value"},
        {"object X: TLabel\n Visible = 1\nend\n", "Invalid property value"},
        {"object X: TLabel\n Font.Style = [fsHeavy]\nend\n", "Invalid property value"},
        {"object X: TImage\n Picture.Data = {07544269746D617000000000}\nend\n",
         "Bitmap image is not valid"},
        {"object X: TImage\n Picture.Data = {0754426974}\nend\n", "Picture data is truncated"},
        {"object X: TImage\n Picture.Data = {0454476966}\nend\n", "Unsupported picture class TGif"},
    };
    const int before = QApplication::topLevelWidgets().size();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Body);
        const std::string text =
            std::string("object W: TForm\n  object Keep: TPanel\n  end\n") + row.Body + "end\n";
        try {
            BuildFromText(text);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), row.Message);
        }
        EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    }
    EXPECT_THROW(BuildFromText("object W: TNoSuchForm\nend\n"), EClassNotFound);
    // The window's own unknown properties are passed over; a control's are not.
    EXPECT_NO_THROW(BuildFromText("object W: TForm\n  Sizeable = False\n  Whatever = 1\nend"));
}

TEST(ComponentBuilder, PictureDataAndColours) {
    const QImage square = test::KeyedSquare(16, qRgb(0, 0, 255));
    auto window = BuildFromText("object W: TForm\n"
                                "  object Bmp: TImage\n"
                                "    AutoSize = True\n"
                                "    Picture.Data = " +
                                test::BitmapPictureData(square) +
                                "\n"
                                "  end\n"
                                "  object Jpg: TImage\n"
                                "    Picture.Data = " +
                                test::JpegPictureData(square) +
                                "\n"
                                "  end\n"
                                "  object Btn: TMyButton\n"
                                "    ButtonUp.Data = " +
                                test::BitmapPictureData(test::KeyedSquare(20, qRgb(0, 255, 0))) +
                                "\n"
                                "  end\n"
                                "  object Glyph: TBitBtn\n"
                                "    Glyph.Data = " +
                                test::GlyphData(square) +
                                "\n"
                                "  end\n"
                                "  object L: TLabel\n"
                                "    Color = clRed\n"
                                "    Font.Color = 16744448\n"
                                "  end\n"
                                "end\n");
    auto* form = dynamic_cast<TForm*>(window.get());
    auto* bmp = dynamic_cast<TImage*>(form->FindComponent("Bmp"));
    EXPECT_TRUE(bmp->Picture().IsBitmap());
    EXPECT_EQ(bmp->size(), QSize(16, 16)) << "AutoSize takes the picture's size when loaded";
    EXPECT_EQ(bmp->Picture().Graphic().pixel(8, 8) & 0xFFFFFF, 0x0000FFu);
    auto* jpg = dynamic_cast<TImage*>(form->FindComponent("Jpg"));
    EXPECT_FALSE(jpg->Picture().IsBitmap());
    EXPECT_EQ(jpg->Picture().Width(), 16);
    EXPECT_EQ(form->FindComponent("Btn")->size(), QSize(20, 20)) << "sized by ButtonUp";
    EXPECT_FALSE(dynamic_cast<TBitBtn*>(form->FindComponent("Glyph"))->icon().isNull());
    QWidget* label = form->FindComponent("L");
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(255, 0, 0));
    // Numeric colours are stored blue-green-red.
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 128, 255));
    EXPECT_TRUE(label->autoFillBackground());
}

// Font sizes at the ends of the integer range are extents like any other: the lowest integer
// is a huge character height (the largest font), not a value that cannot be negated.
TEST(ComponentBuilder, ExtremeFontSizesAreClampedExtents) {
    auto window = BuildFromText("object W: TForm\n"
                                "  object Low: TLabel\n"
                                "    Font.Height = -2147483648\n"
                                "  end\n"
                                "  object High: TLabel\n"
                                "    Font.Height = 2147483647\n"
                                "  end\n"
                                "  object Points: TLabel\n"
                                "    Font.Size = -2147483648\n"
                                "  end\n"
                                "end\n");
    auto* form = dynamic_cast<TForm*>(window.get());
    EXPECT_EQ(form->FindComponent("Low")->font().pixelSize(), 1000);
    EXPECT_EQ(form->FindComponent("High")->font().pixelSize(), 1000);
    EXPECT_EQ(form->FindComponent("Points")->font().pointSize(), 1000);
}

} // namespace
} // namespace ml
