#pragma once
// What the show's tests start from: a project in a temporary folder with DirectX, music,
// sound and transitions off, input state as at a fresh start, a manual clock, and message
// boxes recorded instead of shown.

#include "project/QMCProject.h"
#include "saver/ShowWindow.h"
#include "tests/support/ManualClock.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TempDir.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <string>

namespace ml::test {

// A plain picture in one colour, written as BMP.
inline std::string PlainPicture(const TTempDir& dir, const std::string& name, const QColor& colour,
                                QSize size = QSize(32, 24)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    std::string path = dir.File(name);
    image.save(QString::fromStdString(path), "BMP");
    return path;
}

class TShowFixture : public ::testing::Test {
protected:
    explicit TShowFixture(int durationSeconds) {
        SaverInputState() = TSaverInputState{};
        Project.Setting.DirectX = false;
        Project.Setting.Music = false;
        Project.Setting.Sound = false;
        Project.Setting.Transition = false;
        Project.Setting.Duration = durationSeconds;
    }

    void Add(const std::string& path, bool included = true) {
        Project.FileList.FileNames.push_back(path);
        Project.FileList.Included.push_back(included ? "TRUE" : "FALSE");
    }

    TTempDir Dir;
    TScopedManualClock Clock;
    TRecordingSink Messages;
    TQMCProject Project;
};

} // namespace ml::test
