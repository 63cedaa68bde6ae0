// The widget application for the whole test program. It is made before the first test and
// deleted after the last, before the program's exit handlers run: the input devices the
// pointer tests create belong to it and must go while Qt is still whole.

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class TStudioEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_studio";
        static char* argv[] = {name, nullptr};
        App = new QApplication(argc, argv);
    }
    void TearDown() override { delete App; }

private:
    QApplication* App = nullptr;
};

[[maybe_unused]] auto* const Environment =
    ::testing::AddGlobalTestEnvironment(new TStudioEnvironment);

} // namespace
