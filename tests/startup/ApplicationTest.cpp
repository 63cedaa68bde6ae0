#include "startup/Application.h"

#include "tests/support/RecordingSink.h"

#include <QEvent>
#include <gtest/gtest.h>
#include <stdexcept>

namespace ml {
namespace {

class TThrowingObject : public QObject {
public:
    int Handled = 0;
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw std::runtime_error("boom");
        if (event->type() == QEvent::Type(QEvent::User + 1))
            ++Handled;
        return true;
    }
};

TEST(Application, ErrorsEscapingEventHandlersAreShownAndTheProgramGoesOn) {
    static int argc = 1;
    static char name[] = "test_startup";
    static char* argv[] = {name, nullptr};
    TApplication application(argc, argv);
    test::TRecordingSink messages;
    TThrowingObject target;

    QEvent failing(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &failing));
    // Posted events go through the same handler inside the event loop.
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::processEvents();

    ASSERT_EQ(messages.Messages.size(), 2u);
    EXPECT_EQ(messages.Messages[0].Text, "boom");
    EXPECT_EQ(messages.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(target.Handled, 1);
}

} // namespace
} // namespace ml
