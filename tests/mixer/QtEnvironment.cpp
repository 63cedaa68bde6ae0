// Posted messages (the device's done messages, the mixer's notices) need an application
// object, which one test environment provides for the whole executable.

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_mixer";
        static char* argv[] = {name, nullptr};
        App = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { App.reset(); }

private:
    std::unique_ptr<QCoreApplication> App;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

} // namespace
