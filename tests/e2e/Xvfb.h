// A private X server for the tests of one process.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

// Starts Xvfb on a free display before the first test and sets DISPLAY;
// stops it after the last.
class XvfbEnvironment : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    pid_t pid_ = -1;
};
