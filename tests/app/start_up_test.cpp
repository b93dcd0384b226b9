// The program as a whole process: the single-copy rule by executable name, a clean first start
// that deploys and binds its libraries, and a library that cannot be written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int exit_code = -1;
  std::string output;  // standard output and error together
};

// Runs the program under the given file name, with its data folder inside the temp folder and
// no display, so a message box shows as "caption: text" on standard error.
ProgramRun RunProgramAs(const fs::path& program, const fs::path& data_folder) {
  const std::string command =
      "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen XDG_DATA_HOME='" +
      data_folder.string() + "' '" + program.string() + "' 2>&1";
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  char block[4096];
  while (const std::size_t got = fread(block, 1, sizeof block, pipe)) run.output.append(block, got);
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The output without the failure log's lines ("YYYY-MM-DD hh:mm:ss <source>: <cause>"): what
// the user is shown.
std::string MessagesShown(const std::string& output) {
  const auto is_log_line = [](const std::string& line) {
    constexpr std::string_view stamp = "dddd-dd-dd dd:dd:dd ";
    if (line.size() < stamp.size()) return false;
    for (std::size_t i = 0; i < stamp.size(); ++i)
      if (stamp[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(line[i]))
                          : line[i] != stamp[i])
        return false;
    return true;
  };
  std::istringstream lines(output);
  std::string shown;
  for (std::string line; std::getline(lines, line);)
    if (!is_log_line(line)) shown += line + "\n";
  return shown;
}

class StartUpTest : public ::testing::Test {
 protected:
  fs::path Install(const fs::path& source, std::string_view name) {
    const fs::path folder = temp.path() / "bin" / std::to_string(installs++);
    fs::create_directories(folder);
    fs::copy_file(source, folder / name);
    return folder / name;
  }
  fs::path data() const { return temp.path() / "data"; }
  nf::test::TempFolder temp;
  int installs = 0;
};

TEST_F(StartUpTest, AFirstStartDeploysBindsAndEndsWithCodeZero) {
  const ProgramRun run = RunProgramAs(Install(NIGHTFOLD_EXE, "Nightfold"), data());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, "");
  for (const char* name : {"orva.dll", "orvo.dll", "orvu.dll"})
    EXPECT_TRUE(fs::is_regular_file(data() / "Vantril/vl20" / name)) << name;
}

TEST_F(StartUpTest, UnderAnotherFileNameTheProgramEndsSilentlyBeforeDeploying) {
  for (const char* name : {"nightfold", "NIGHTFOLD", "Nightfold2", "Nightfold.exe"}) {
    const ProgramRun run = RunProgramAs(Install(NIGHTFOLD_EXE, name), data());
    EXPECT_EQ(run.exit_code, 0) << name;
    EXPECT_EQ(run.output, "") << name;
    EXPECT_FALSE(fs::exists(data() / "Vantril")) << name;
  }
}

TEST_F(StartUpTest, ASecondCopyEndsSilentlyAndTheFirstRunsOn) {
  // The first copy: any program running under the name counts, and this one waits.
  const fs::path first = Install("/bin/sleep", "Nightfold");
  const pid_t first_pid = fork();
  if (first_pid == 0) {
    execl(first.c_str(), "Nightfold", "30", nullptr);
    _exit(127);
  }
  // Wait until the first copy's executable shows under its name.
  for (int i = 0;
       i < 200 && fs::read_symlink("/proc/" + std::to_string(first_pid) + "/exe") != first; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));

  const ProgramRun second = RunProgramAs(Install(NIGHTFOLD_EXE, "Nightfold"), data());
  EXPECT_EQ(second.exit_code, 0);
  EXPECT_EQ(second.output, "");
  EXPECT_FALSE(fs::exists(data() / "Vantril")) << "the second copy must stop before deploying";
  EXPECT_EQ(waitpid(first_pid, nullptr, WNOHANG), 0) << "the first copy must run on";
  kill(first_pid, SIGKILL);
  waitpid(first_pid, nullptr, 0);
}

TEST_F(StartUpTest, AFlacPluginThatCannotBeWrittenIsReportedAfterTheOtherTwoBind) {
  // A folder in the library's place cannot be replaced by a file, even by root.
  fs::create_directories(data() / "Vantril/vl20/orvu.dll");
  const ProgramRun run = RunProgramAs(Install(NIGHTFOLD_EXE, "Nightfold"), data());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(MessagesShown(run.output), "Vantril: Error open orvu.dll\n");
  // Only the log says why.
  EXPECT_NE(run.output.find("deploy: " + (data() / "Vantril/vl20/orvu.dll").string()),
            std::string::npos)
      << run.output;
}

TEST_F(StartUpTest, AMissingFlacPluginInAReadOnlyFolderIsReported) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const fs::path program = Install(NIGHTFOLD_EXE, "Nightfold");
  ASSERT_EQ(RunProgramAs(program, data()).exit_code, 0);
  fs::remove(data() / "Vantril/vl20/orvu.dll");
  fs::permissions(data() / "Vantril/vl20", fs::perms::owner_read | fs::perms::owner_exec);
  const ProgramRun run = RunProgramAs(program, data());
  fs::permissions(data() / "Vantril/vl20", fs::perms::owner_all);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(MessagesShown(run.output), "Vantril: Error open orvu.dll\n");
  // Only the log says why.
  EXPECT_NE(run.output.find("deploy: " + (data() / "Vantril/vl20/orvu.dll").string()),
            std::string::npos)
      << run.output;
}

}  // namespace
