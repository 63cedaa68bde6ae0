// The window check and the play window need widgets: one application for the whole program.

#include "tests/support/QtTestApplication.h"

#include <QApplication>

ML_QT_TEST_APPLICATION(QApplication, "test_tools")
