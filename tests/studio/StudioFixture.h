#pragma once
// What the studio tests share: the widget application, a photo painted here and written as a
// file, and documents opened from it.

#include "studio/PictureDocument.h"
#include "tests/support/TempDir.h"
#include "tests/tools/AuthoringFixture.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ml::test {

// The window's remembered size must not reach the user's own settings. (The application
// itself is made by StudioEnvironment.cpp before the first test.)
class StudioTest : public ::testing::Test {
protected:
    void SetUp() override { QStandardPaths::setTestModeEnabled(true); }

    // A photo of the given size written as a lossless PNG; returns its path.
    std::string WritePhoto(const std::string& name, int width = 96, int height = 64) const {
        return Dir.Write(name, Encoded(Landscape(width, height), "PNG"));
    }
    std::unique_ptr<studio::TPictureDocument> OpenPhoto(int width = 96, int height = 64) {
        return studio::TPictureDocument::Open(WritePhoto("lake.png", width, height));
    }

    TTempDir Dir;
};

} // namespace ml::test
