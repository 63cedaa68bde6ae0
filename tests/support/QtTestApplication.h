#pragma once
// One Qt application object for a whole test program, made before the first test and deleted
// after the last: deleted during static destruction it would outlive Qt's own per-thread
// data. Include this header in exactly one source file of a test folder and name the class
// there:
//   ML_QT_TEST_APPLICATION(QApplication, "test_tools")

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ml::test {

template <class TApplication> class TQtApplicationEnvironment : public ::testing::Environment {
public:
    explicit TQtApplicationEnvironment(const char* name) : Name(name) {}
    void SetUp() override {
        if (QCoreApplication::instance())
            return; // another part of the program made one
        static int argc = 1;
        static char* argv[] = {Name.data(), nullptr};
        App = std::make_unique<TApplication>(argc, argv);
    }
    void TearDown() override { App.reset(); }

private:
    std::string Name;
    std::unique_ptr<TApplication> App;
};

} // namespace ml::test

#define ML_QT_TEST_APPLICATION(Class, name)                                                        \
    namespace {                                                                                    \
    [[maybe_unused]] auto* const QtTestApplication = ::testing::AddGlobalTestEnvironment(          \
        new ::ml::test::TQtApplicationEnvironment<Class>(name));                                   \
    }
