// The test sounds under ":/WAVE/", compiled from WaveResources.qrc by Qt's resource compiler
// (the test folder builds only .cpp files). Regenerate after changing the .qrc with:
//   /usr/lib/qt6/libexec/rcc --name mixertestwaves WaveResources.qrc -o WaveResources.cpp
/****************************************************************************
** Resource object code
**
** Created by: The Resource Compiler for Qt version 6.4.2
**
** WARNING! All changes made in this file will be lost!
*****************************************************************************/

static const unsigned char qt_resource_data[] = {
    // resources/chime.wav
    0x0,
    0x0,
    0x0,
    0x30,
    0x52,
    0x49,
    0x46,
    0x46,
    0x28,
    0x0,
    0x0,
    0x0,
    0x57,
    0x41,
    0x56,
    0x45,
    0x66,
    0x6d,
    0x74,
    0x20,
    0x10,
    0x0,
    0x0,
    0x0,
    0x1,
    0x0,
    0x1,
    0x0,
    0x11,
    0x2b,
    0x0,
    0x0,
    0x11,
    0x2b,
    0x0,
    0x0,
    0x1,
    0x0,
    0x8,
    0x0,
    0x64,
    0x61,
    0x74,
    0x61,
    0x4,
    0x0,
    0x0,
    0x0,
    0x64,
    0x96,
    0xc8,
    0xfa,
    // resources/chime.wav
    0x0,
    0x0,
    0x0,
    0x30,
    0x52,
    0x49,
    0x46,
    0x46,
    0x28,
    0x0,
    0x0,
    0x0,
    0x57,
    0x41,
    0x56,
    0x45,
    0x66,
    0x6d,
    0x74,
    0x20,
    0x10,
    0x0,
    0x0,
    0x0,
    0x1,
    0x0,
    0x1,
    0x0,
    0x11,
    0x2b,
    0x0,
    0x0,
    0x11,
    0x2b,
    0x0,
    0x0,
    0x1,
    0x0,
    0x8,
    0x0,
    0x64,
    0x61,
    0x74,
    0x61,
    0x4,
    0x0,
    0x0,
    0x0,
    0x64,
    0x96,
    0xc8,
    0xfa,

};

static const unsigned char qt_resource_name[] = {
    // WAVE
    0x0,
    0x4,
    0x0,
    0x5,
    0xb6,
    0xa5,
    0x0,
    0x57,
    0x0,
    0x41,
    0x0,
    0x56,
    0x0,
    0x45,
    // 7
    0x0,
    0x1,
    0x0,
    0x0,
    0x0,
    0x37,
    0x0,
    0x37,

    // CHIME
    0x0,
    0x5,
    0x0,
    0x47,
    0xce,
    0x15,
    0x0,
    0x43,
    0x0,
    0x48,
    0x0,
    0x49,
    0x0,
    0x4d,
    0x0,
    0x45,

};

static const unsigned char qt_resource_struct[] = {
    // :
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x2,
    0x0,
    0x0,
    0x0,
    0x1,
    0x0,
    0x0,
    0x0,
    0x1,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    // :/WAVE
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x2,
    0x0,
    0x0,
    0x0,
    0x2,
    0x0,
    0x0,
    0x0,
    0x2,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    // :/WAVE/7
    0x0,
    0x0,
    0x0,
    0xe,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x1,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x1,
    0xa2,
    0x52,
    0x47,
    0x47,
    0x3e,
    // :/WAVE/CHIME
    0x0,
    0x0,
    0x0,
    0x16,
    0x0,
    0x0,
    0x0,
    0x0,
    0x0,
    0x1,
    0x0,
    0x0,
    0x0,
    0x34,
    0x0,
    0x0,
    0x1,
    0xa2,
    0x52,
    0x47,
    0x47,
    0x3e,

};

#ifdef QT_NAMESPACE
#define QT_RCC_PREPEND_NAMESPACE(name) ::QT_NAMESPACE::name
#define QT_RCC_MANGLE_NAMESPACE0(x) x
#define QT_RCC_MANGLE_NAMESPACE1(a, b) a##_##b
#define QT_RCC_MANGLE_NAMESPACE2(a, b) QT_RCC_MANGLE_NAMESPACE1(a, b)
#define QT_RCC_MANGLE_NAMESPACE(name)                                                              \
    QT_RCC_MANGLE_NAMESPACE2(QT_RCC_MANGLE_NAMESPACE0(name), QT_RCC_MANGLE_NAMESPACE0(QT_NAMESPACE))
#else
#define QT_RCC_PREPEND_NAMESPACE(name) name
#define QT_RCC_MANGLE_NAMESPACE(name) name
#endif

#ifdef QT_NAMESPACE
namespace QT_NAMESPACE {
#endif

bool qRegisterResourceData(int, const unsigned char*, const unsigned char*, const unsigned char*);
bool qUnregisterResourceData(int, const unsigned char*, const unsigned char*, const unsigned char*);

#ifdef QT_NAMESPACE
}
#endif

int QT_RCC_MANGLE_NAMESPACE(qInitResources_mixertestwaves)();
int QT_RCC_MANGLE_NAMESPACE(qInitResources_mixertestwaves)() {
    int version = 3;
    QT_RCC_PREPEND_NAMESPACE(qRegisterResourceData)
    (version, qt_resource_struct, qt_resource_name, qt_resource_data);
    return 1;
}

int QT_RCC_MANGLE_NAMESPACE(qCleanupResources_mixertestwaves)();
int QT_RCC_MANGLE_NAMESPACE(qCleanupResources_mixertestwaves)() {
    int version = 3;
    QT_RCC_PREPEND_NAMESPACE(qUnregisterResourceData)
    (version, qt_resource_struct, qt_resource_name, qt_resource_data);
    return 1;
}

namespace {
struct initializer {
    initializer() { QT_RCC_MANGLE_NAMESPACE(qInitResources_mixertestwaves)(); }
    ~initializer() { QT_RCC_MANGLE_NAMESPACE(qCleanupResources_mixertestwaves)(); }
} dummy;
} // namespace
