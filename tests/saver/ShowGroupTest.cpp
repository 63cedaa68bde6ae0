#include "saver/ShowGroup.h"

#include "saver/ShowWindow.h"
#include "tests/saver/ShowFixture.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace ml {
namespace {

// A show on two screens side by side, of three one-colour pictures.
class ShowGroupTest : public test::TShowFixture {
protected:
    ShowGroupTest() : TShowFixture(60) {
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
            Add(test::PlainPicture(Dir, name, Qt::darkCyan, QSize(16, 12)));
    }
    // Runs the group with the two screens and calls check once every form is showing.
    void RunWithTwoScreens(const std::function<void(TShowGroup&)>& check) {
        TShowGroup group(Project);
        group.AddScreen(QRect(0, 0, 64, 48));
        group.AddScreen(QRect(64, 0, 64, 48));
        bool checked = false;
        QTimer::singleShot(0, [&] {
            check(group);
            checked = true;
            group.CloseAll();
        });
        group.Run();
        EXPECT_TRUE(checked);
        for (const auto& form : group.Forms())
            EXPECT_FALSE(form->isVisible());
    }
};

// In list order the second screen starts one picture further; drawn at random, it avoids
// the first screen's picture (whatever the seeds, hence several starts).
TEST_F(ShowGroupTest, ScreensShowDifferentPicturesWithOneSoundSource) {
    for (int start = 0; start < 8; ++start) {
        const int mode = start == 0 ? 1 : 0;
        SCOPED_TRACE(start);
        Project.Setting.ShowImageMode = mode;
        Clock.Now = 1000 + 7 * start;
        RunWithTwoScreens([&](TShowGroup& group) {
            const auto& forms = group.Forms();
            ASSERT_EQ(forms.size(), 2u);
            EXPECT_NE(forms[0]->LoadedName(), forms[1]->LoadedName());
            if (mode == 1) {
                EXPECT_EQ(forms[0]->CurrentIndex(), 0);
                EXPECT_EQ(forms[1]->CurrentIndex(), 1);
            }
            EXPECT_TRUE(forms[0]->ShowRole().Primary);
            EXPECT_FALSE(forms[1]->ShowRole().Primary);
            EXPECT_EQ(forms[1]->geometry(), QRect(64, 0, 64, 48));
        });
    }
}

TEST_F(ShowGroupTest, OneFrameLoopSleepsOnceForAllScreens) {
    RunWithTwoScreens([&](TShowGroup& group) {
        // Forms whose windows are not on the screen yet are not ticked and keep no pace.
        for (const auto& form : group.Forms())
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        Clock.Sleeps.clear();
        Clock.Advance(10);
        group.Tick();
        EXPECT_EQ(Clock.Sleeps, (std::vector<std::uint32_t>{23}));
    });
}

TEST_F(ShowGroupTest, InputOnAnyScreenEndsThemAll) {
    TShowGroup group(Project);
    group.AddScreen(QRect(0, 0, 64, 48));
    group.AddScreen(QRect(64, 0, 64, 48));
    QTimer::singleShot(0, [&] { group.Forms()[1]->FormKeyPress("a"); });
    group.Run();
    for (const auto& form : group.Forms()) {
        EXPECT_FALSE(form->isVisible());
        EXPECT_FALSE(form->HasGenerator());
    }
}

TEST_F(ShowGroupTest, AHostedShowLeavesTheInputToItsHost) {
    TQMfmScrSvr form(Project);
    TShowRole role;
    role.Hosted = true;
    form.SetRole(role);
    form.SetScreenSize(64, 48);
    form.FormShow();
    form.FormKeyPress("a");
    form.FormMouseDown();
    for (int i = 0; i < 10; ++i)
        form.FormMouseMove(10 * i, 10 * i);
    EXPECT_FALSE(form.CloseRequested());

    // The host's size changes: the picture is prepared for the new size.
    form.ResizeScreen(32, 96);
    EXPECT_EQ(form.Canvas().size(), QSize(32, 96));
    EXPECT_EQ(form.LoadedName(), form.CurrentName());
}

} // namespace
} // namespace ml
