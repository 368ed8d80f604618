#pragma once

#include "cli/Kt41Ctl.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace kt41::testing {

// Runs kt41ctl in-process and keeps what it printed.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kt41_cli_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    int Run(const std::vector<std::string>& args) {
        out.str({});
        err.str({});
        cli::Kt41Ctl ctl(driver, out, err);
        return ctl.Run(args);
    }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::filesystem::path dir;
    FakeControllerDriver driver;
    std::ostringstream out;
    std::ostringstream err;
};

} // namespace kt41::testing
