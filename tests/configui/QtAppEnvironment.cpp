// Widgets need one application object for the whole test program; it is made before the
// first test (unless another part of the program already made one).

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class TQtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_configui";
            static char* argv[] = {name, nullptr};
            App = new QApplication(argc, argv);
        }
    }
    void TearDown() override { delete App; }

private:
    QApplication* App = nullptr;
};

[[maybe_unused]] auto* const Environment =
    ::testing::AddGlobalTestEnvironment(new TQtAppEnvironment);

} // namespace
