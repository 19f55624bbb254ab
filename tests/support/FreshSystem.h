// Base of the contract-test fixtures: in the simulation every test starts
// from the default world; on Windows the test gets the real system, and the
// process's current directory is put back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace support {

class FreshSystem : public ::testing::Test {
protected:
    FreshSystem();
    ~FreshSystem() override;

    // The process's current directory, as GetCurrentDirectoryA gives it.
    static std::string CurrentDirectory();

private:
    std::string savedDirectory_;
};

}  // namespace support
