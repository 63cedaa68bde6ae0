// Posted messages (the device's done messages, the mixer's notices) need an application
// object for the whole test program.

#include "tests/support/QtTestApplication.h"

ML_QT_TEST_APPLICATION(QCoreApplication, "test_mixer")
