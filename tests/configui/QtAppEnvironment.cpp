// Widgets need one application object for the whole test program.

#include "tests/support/QtTestApplication.h"

#include <QApplication>

ML_QT_TEST_APPLICATION(QApplication, "test_configui")
