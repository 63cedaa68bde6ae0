#include "configui/FormsCollection.h"
#include "platform/Exceptions.h"
#include "tests/support/ResourceLimits.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

// Joins lines into a file text with CR LF ends.
std::string FileText(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

TEST(QMForms, LoadsRecordsWithTheirBindingsAndSkipsTrailingLines) {
    test::TTempDir dir;
    const std::string path =
        dir.Write("QMGUI.wui",
                  FileText({"2",
                            // record 1: description, one binding whose unused parameters are empty
                            "3", "object MainWindow: TfmForm", "  Caption = 'x'", "end", //
                            "6", "1", "Label1", "0", "<Website>", "", "",                //
                            "1", "Dummy",                                                //
                            // record 2: no bindings, three trailing lines
                            "2", "object About: TfmForm", "end", //
                            "0",                                 //
                            "3", "a", "b", "c"}));
    TQMForms forms;
    forms.LoadFromFile(path);
    ASSERT_EQ(forms.Count(), 2);
    TQMForm& main = forms.FindForm("mainwindow");
    EXPECT_EQ(main.Name, "MainWindow");
    EXPECT_EQ(main.Lines.size(), 3u);
    TAction* action = main.Actions.FindAction("LABEL1");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->ActionNumber, 0);
    EXPECT_EQ(action->Param1, "<Website>");
    EXPECT_EQ(action->Param2, " ");
    EXPECT_EQ(action->Param3, " ");
    EXPECT_EQ(forms.FindForm("About").Actions.Count(), 0);

    // Loading again discards the earlier contents.
    forms.LoadFromText(FileText({"0", "this line is never read"}));
    EXPECT_EQ(forms.Count(), 0);
}

TEST(QMForms, LoadFailuresKeepEarlierRecords) {
    struct Row {
        const char* Fault;
        std::string Text;
        const char* Message;
        int FormsKept;
    };
    const Row rows[] = {
        {"n = 0 leaves no line to name the window", FileText({"1", "0", "0", "1", "Dummy"}),
         "List index out of bounds (0)", 0},
        {"bad count", FileText({"1", "x"}), "'x' is not a valid integer value", 0},
        {"empty file", "", "List index out of bounds (0)", 0},
        {"second record cut short",
         FileText({"2", "1", "object A: T", "0", "1", "Dummy", "1", "object B: T"}),
         "List index out of bounds (8)", 1},
        {"trailing count runs past the end of the file",
         FileText({"2", "1", "object A: T", "0", "9"}), "List index out of bounds (14)", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Fault);
        TQMForms forms;
        try {
            forms.LoadFromText(row.Text);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), row.Message);
        }
        EXPECT_EQ(forms.Count(), row.FormsKept);
    }
}

TEST(QMForms, MissingFileAndUnknownWindowFail) {
    TQMForms forms;
    EXPECT_THROW(forms.LoadFromFile("/nonexistent/QMGUI.wui"), EInOutError);
    try {
        forms.FindForm("MainWindow");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
}

TEST(ActionList, BindingRules) {
    TActionList list;
    list.LoadFromText("3\r\nButton1\r\n300\r\na\r\nb\r\nc\r\n"
                      "button1\r\n1\r\nx\r\ny\r\nz\r\n"
                      "Other\r\n-1\r\n \r\n \r\n ");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.FindAction("BUTTON1")->ActionNumber, 44) << "300 is kept modulo 256";
    EXPECT_EQ(list.FindAction("BUTTON1")->Param1, "a") << "the first duplicate wins";
    EXPECT_EQ(list.FindAction("other")->ActionNumber, 255);
    EXPECT_EQ(list.FindAction("nobody"), nullptr);

    list.LoadFromText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.LoadFromText("1\r\nButton1\r\n2\r\na"), EListError);
    EXPECT_THROW(list.LoadFromText("1\r\nButton1\r\ntwo\r\na\r\nb\r\nc"), EConvertError);
}

TEST(QMForm, FilteredDescription) {
    TQMForm form;
    form.SetDescription(FileText({
        "object MainWindow: TfmForm",
        "  Visible = True",
        "  BorderIcons = [biSystemMenu]",
        "  BorderStyle = bsSingle",
        "  FormStyle = fsMDIChild",
        "  OnShow = FormShow",
        "  Only = 1",
        "  On = 2",
        "  OnX = 3",
        "  object Panel1: TPanel",
        "    Visible = False",
        "    OnMouseDown = BindResizer",
        "\tOnClick=Go",
        "    Onset = 4",
        "    object Memo1: TMyMemo",
        "      borderstyle = bsNone",
        "      Visible = True",
        "    end",
        "  end",
        "end",
    }));
    EXPECT_EQ(form.FilteredDescription(), FileText({
                                              "object MainWindow: TfmQMConfigWindow",
                                              "  Only = 1",
                                              "  object Panel1: TPanel",
                                              "    Visible = False",
                                              "    Onset = 4",
                                              "    object Memo1: TMyMemo",
                                              "      Visible = True",
                                              "    end",
                                              "  end",
                                              "end",
                                          }));
    EXPECT_EQ(form.Name, "MainWindow");

    TQMForm unnamed;
    unnamed.SetDescription("object MainWindow TfmForm\r\nend");
    EXPECT_EQ(unnamed.Name, "") << "no colon, no name";
}

// A description of 100,000 event lines and 20,000 bindings is filtered and searched in time
// that grows with its size: far within the CPU limit, where work growing with the square of
// the size runs out.
TEST(QMForm, LargeDescriptionsCostTimeInProportionToTheirSize) {
    const int events = 100000, bindings = 20000;
    std::string file = "1\r\n" + std::to_string(events + 2) + "\r\nobject MainWindow: TfmForm\r\n";
    for (int i = 0; i < events; ++i)
        file += "  OnClick = Go\r\n";
    file +=
        "end\r\n" + std::to_string(5 * bindings + 1) + "\r\n" + std::to_string(bindings) + "\r\n";
    for (int i = 0; i < bindings; ++i)
        file += "Control" + std::to_string(i) + "\r\n2\r\n \r\n \r\n \r\n";
    file += "0\r\n";
    EXPECT_TRUE(test::RunsWithin({5}, [&] {
        TQMForms forms;
        forms.LoadFromText(file);
        TQMForm& form = forms.Form(0);
        bool found = true;
        for (int i = 0; i < bindings; ++i)
            found = found && form.Actions.FindAction("CONTROL" + std::to_string(i)) != nullptr;
        return found &&
               form.FilteredDescription() == "object MainWindow: TfmQMConfigWindow\r\nend\r\n";
    }));
}

} // namespace
} // namespace ml
