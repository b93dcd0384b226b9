// The failure log: one line per failure on standard error and in the log file, which keeps only
// its last lines, under $XDG_STATE_HOME or else ~/.local/state.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/log.h"
#include "tests/support/temp_folder.h"

namespace nf::platform {
namespace {

std::vector<std::string> LinesOf(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

TEST(FailureLog, LivesUnderTheStateFolder) {
  struct Case {
    const char* state;
    const char* home;
    std::string path;
  };
  const Case cases[] = {
      {"/s", "/h", "/s/nightfold/nightfold.log"},
      {"relative", "/h", "/h/.local/state/nightfold/nightfold.log"},
      {nullptr, "/h", "/h/.local/state/nightfold/nightfold.log"},
      {nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    c.state ? setenv("XDG_STATE_HOME", c.state, 1) : unsetenv("XDG_STATE_HOME");
    c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    EXPECT_EQ(LogFilePath(), c.path) << (c.state ? c.state : "-") << " " << (c.home ? c.home : "-");
  }
}

TEST(FailureLog, WritesOneLineToStandardErrorAndTheFile) {
  test::TempFolder folder;
  setenv("XDG_STATE_HOME", folder.path().c_str(), 1);
  testing::internal::CaptureStderr();
  LogFailure("orva.dll", "snd_pcm_open(hw:CARD=X,DEV=0): Device or resource busy\nsecond");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("orva.dll: snd_pcm_open(hw:CARD=X,DEV=0): Device or resource busy second\n"),
            std::string::npos)
      << said;
  const auto lines = LinesOf(LogFilePath());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0] + "\n", said);
}

TEST(FailureLog, KeepsOnlyTheLastLines) {
  test::TempFolder folder;
  setenv("XDG_STATE_HOME", folder.path().c_str(), 1);
  testing::internal::CaptureStderr();
  const std::size_t written = 3 * LogKeptLines + 7;
  for (std::size_t i = 1; i <= written; ++i) LogFailure("test", "line " + std::to_string(i));
  testing::internal::GetCapturedStderr();
  const auto lines = LinesOf(LogFilePath());
  ASSERT_GE(lines.size(), LogKeptLines);
  EXPECT_LT(lines.size(), 2 * LogKeptLines);
  EXPECT_TRUE(lines.back().ends_with("test: line " + std::to_string(written))) << lines.back();
  // The lines kept are the newest, in order, with none lost between them.
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto number = [](const std::string& line) {
      return std::stoul(line.substr(line.rfind(' ') + 1));
    };
    ASSERT_EQ(number(lines[i]), number(lines[i - 1]) + 1) << i;
  }
}

}  // namespace
}  // namespace nf::platform
