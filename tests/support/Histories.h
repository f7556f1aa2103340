// The history one log line gives, for the tests of the writer and of the tracker-safe rules.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame/Intake.h"

namespace noxi::test {

// The history of a log line (a usable hand) with the options given, without carriage returns.
inline std::string historyOf(const std::string& line, const ConversionOptions& options) {
    TakenHand hand;
    EXPECT_GT(parseLine(hand, line.c_str(), options), 0) << hand.errorText();
    std::string text;
    writeHistory(hand, text, options, true);
    std::erase(text, '\r');
    return text;
}

}  // namespace noxi::test
