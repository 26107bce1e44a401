// The fixture shared by the window tests: one fresh velmora.exe per test, ended afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/gui/harness.h"

// "#引号": the constant that stands for one double quote.
#define QUOTE_CONSTANT "#\xD2\xFD\xBA\xC5"

// The input box's text at start-up, and what one click makes of it.
inline const std::string kInitialInput = "\x2E\x33\x22\x2C";  // .3",
inline const std::string kInitialOutput = "\".3\"+" QUOTE_CONSTANT "+\",\"";

class VelmoraTest : public testing::Test {
protected:
    void SetUp() override {
        app = gui::launchVelmora();
        ASSERT_NE(app.main, nullptr) << "velmora.exe showed no window";
        ASSERT_NE(app.input, nullptr);
        ASSERT_NE(app.output, nullptr);
        ASSERT_NE(app.button, nullptr);
    }

    gui::Velmora app;
};
