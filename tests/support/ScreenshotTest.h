#pragma once

#include "support/GuiTest.h"

#include <QDir>
#include <QString>

namespace kt41::testing {

// A screenshot program's test: it runs only when KT41_SCREENSHOT_DIR names the
// folder the PNG files go to (made if missing), and is skipped otherwise.
class ScreenshotTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        folder = qEnvironmentVariable("KT41_SCREENSHOT_DIR");
        if (folder.isEmpty()) {
            GTEST_SKIP() << "KT41_SCREENSHOT_DIR is not set";
        }
        QDir().mkpath(folder);
    }

    QString folder;
};

} // namespace kt41::testing
