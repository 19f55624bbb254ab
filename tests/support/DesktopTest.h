// A test on a fresh desktop that watches the messages of its windows, and
// an assertion on the order they arrived in.
#pragma once

#include "support/RecordingWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace testsupport {

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override { FreshDesktop(); }
    void TearDown() override {
        AnswerMessages(nullptr);
        WatchMessages({});
        PumpMessages();
    }
};

}  // namespace testsupport

#define EXPECT_SEQUENCE(got, ...)                                                                  \
    do {                                                                                           \
        const std::vector<testsupport::LoggedMessage> got_ = (got);                                \
        const std::vector<testsupport::ExpectedMessage> expected_ = __VA_ARGS__;                   \
        EXPECT_TRUE(testsupport::SequenceMatches(got_, expected_))                                 \
            << testsupport::DescribeSequence(got_, expected_);                                     \
    } while (0)
