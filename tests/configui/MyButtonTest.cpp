#include "configui/MyButton.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace ml {
namespace {

// A picture of one colour with a magenta key pixel at the bottom left.
TPicture Solid(QRgb colour, int size = 10) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, size - 1, qRgb(255, 0, 255));
    TPicture picture;
    picture.Assign(image, true);
    return picture;
}

QRgb CentrePixel(TMyButton& button) {
    return button.grab().toImage().pixel(button.width() / 2, button.height() / 2) & 0xFFFFFF;
}

struct TButtonFixture : ::testing::Test {
    TButtonFixture() {
        Parent.resize(100, 100);
        Button = new TMyButton(&Parent);
        Button->OnMousePressed = [this](QObject* sender) { Senders.push_back(sender); };
        Parent.show();
    }
    QWidget Parent;
    TMyButton* Button;
    std::vector<QObject*> Senders;
};

TEST_F(TButtonFixture, RepeatsAtThePressAfter500msThenEvery50msAndPausesOffTheButton) {
    QTest::mousePress(Button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(Senders, std::vector<QObject*>{Button}) << "fires at the press";
    QTimer* timer = Button->RepeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);

    Button->RepeatTimerTick();
    EXPECT_EQ(timer->interval(), 50);
    Button->RepeatTimerTick();
    EXPECT_EQ(Senders, (std::vector<QObject*>{Button, timer, timer}));

    // Dragging off the held button pauses the repeats; coming back resumes them.
    QTest::mouseMove(Button, QPoint(200, 200));
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(Button->MouseInControl());
    QTest::mouseMove(Button, QPoint(5, 5));
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 50);

    QTest::mouseRelease(Button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(Button->Pressed());

    // A right press neither repeats nor counts as pressed.
    QTest::mousePress(Button, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(Senders.size(), 3u);
    EXPECT_FALSE(Button->Pressed());
}

TEST_F(TButtonFixture, DownIsLatchedOnlyWhenAllowed) {
    int clicks = 0;
    Button->OnClick = [&](QObject*) { ++clicks; };
    Button->SetDown(true);
    EXPECT_FALSE(Button->Down()) << "ignored without AllowDown";
    QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(Button->Down());

    Button->SetAllowDown(true);
    QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(Button->Down());
    QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(Button->Down());
    QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(5, 5));
    Button->SetAllowDown(false);
    EXPECT_FALSE(Button->Down()) << "turning AllowDown off releases the latch";
    EXPECT_EQ(clicks, 4);
}

TEST_F(TButtonFixture, PaintsTheLookOfItsState) {
    const QRgb up = 0x102030, down = 0x405060, over = 0x708090, disabled = 0x0A0B0C;
    Button->SetButtonUp(Solid(up));
    EXPECT_EQ(Button->size(), QSize(10, 10)) << "AutoSize takes ButtonUp's size";
    EXPECT_EQ(CentrePixel(*Button), up);

    // Without a down picture the pressed button shows ButtonUp.
    QTest::mousePress(Button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(CentrePixel(*Button), up);
    Button->SetButtonDown(Solid(down));
    EXPECT_EQ(CentrePixel(*Button), down);
    QTest::mouseRelease(Button, Qt::LeftButton, {}, QPoint(5, 5));

    Button->SetButtonOver(Solid(over));
    EXPECT_EQ(CentrePixel(*Button), over) << "the pointer is still over it";
    QTest::mouseMove(Button, QPoint(50, 50));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Button, &leave);
    EXPECT_EQ(CentrePixel(*Button), up);

    Button->SetButtonDisable(Solid(disabled));
    Button->setEnabled(false);
    EXPECT_EQ(CentrePixel(*Button), disabled);

    // The transparent colour is left out: the parent shows through at the key pixel.
    Button->setEnabled(true);
    const QImage shot = Parent.grab().toImage();
    EXPECT_NE(shot.pixel(0, 9) & 0xFFFFFF, 0xFF00FFu);
    Button->SetTransparent(false);
    EXPECT_EQ(Parent.grab().toImage().pixel(0, 9) & 0xFFFFFF, 0xFF00FFu);
}

TEST_F(TButtonFixture, WithoutPicturesDrawsFramesAndACentredCaption) {
    Button->resize(60, 30);
    Button->SetCaption("&Go");
    Button->SetShowCaption(true);
    const QImage image = Button->grab().toImage();
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << "raised frame: light top-left";
    EXPECT_EQ(image.pixel(59, 29) & 0xFFFFFF, 0x696969u) << "dark bottom-right";
    // Some caption ink lies around the centre, none near the edges.
    int inkLeft = 60, inkRight = -1;
    for (int y = 2; y < 28; ++y)
        for (int x = 2; x < 58; ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
    ASSERT_GE(inkRight, 0);
    EXPECT_LE(std::abs((inkLeft + inkRight) / 2 - 30), 3);

    int clicks = 0;
    Button->OnClick = [&](QObject*) { ++clicks; };
    QApplication::setActiveWindow(&Parent);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Parent));
    QTest::keyClick(&Parent, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks, 1) << "Alt and the underlined letter click the button";
    Button->setEnabled(false);
    QTest::keyClick(&Parent, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
}

// A button that cannot click lets its accelerator go on as an ordinary key.
TEST_F(TButtonFixture, DisabledOrHiddenButtonPassesItsAcceleratorOn) {
    struct TKeys : QWidget {
        using QWidget::QWidget;
        int Keys = 0;
        void keyPressEvent(QKeyEvent* e) override {
            if (e->key() == Qt::Key_G)
                ++Keys;
        }
    };
    auto* focus = new TKeys(&Parent);
    focus->setFocusPolicy(Qt::StrongFocus);
    focus->show();
    Button->SetCaption("&Go");
    int clicks = 0;
    Button->OnClick = [&](QObject*) { ++clicks; };
    QApplication::setActiveWindow(&Parent);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Parent));
    focus->setFocus();
    Button->setEnabled(false);
    QTest::keyClick(focus, Qt::Key_G, Qt::AltModifier);
    Button->setEnabled(true);
    Button->hide();
    QTest::keyClick(focus, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(focus->Keys, 2);
}

} // namespace
} // namespace ml
