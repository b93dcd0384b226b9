// Folders, files, processes, threads, the semaphore, sleeps and message boxes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"

namespace nf::platform {
namespace {

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/nf-test-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::u16string Path(std::string_view name = "") const {
    return FromUtf8(path_ + "/" + std::string(name));
  }

 private:
  std::string path_;
};

TEST(Folders, UserDataFolderFollowsXdgThenHome) {
  struct Case {
    const char* xdg;
    const char* home;
    std::u16string folder;
  };
  const Case cases[] = {
      {"/data/xdg", "/home/u", u"/data/xdg/"},
      {"/data/xdg/", "/home/u", u"/data/xdg/"},
      {"relative/xdg", "/home/u", u"/home/u/.local/share/"},
      {nullptr, "/home/u", u"/home/u/.local/share/"},
      {nullptr, nullptr, u""},
  };
  const std::string saved_xdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const auto& [xdg, home, folder] : cases) {
    xdg ? setenv("XDG_DATA_HOME", xdg, 1) : unsetenv("XDG_DATA_HOME");
    home ? setenv("HOME", home, 1) : unsetenv("HOME");
    EXPECT_EQ(UserDataFolder(), folder) << (xdg ? xdg : "(none)");
  }
  setenv("XDG_DATA_HOME", saved_xdg.c_str(), 1);
  setenv("HOME", saved_home.c_str(), 1);
}

TEST(Folders, ExecutableFolderHoldsThisProgram) {
  const std::u16string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), u'/');
  EXPECT_EQ(ExecutableName(), u"system_test");
  EXPECT_TRUE(FileSize(folder + ExecutableName()).has_value());
}

TEST(Files, WriteReadSizeAndReadability) {
  TempFolder temp;
  const std::u16string file = temp.Path("b\u00E9n\U0001D11E.bin");
  EXPECT_FALSE(FileSize(file));
  EXPECT_FALSE(FileReadable(file));
  const std::uint8_t bytes[] = {1, 2, 3, 0, 255};
  ASSERT_TRUE(WriteWholeFile(file, bytes, sizeof bytes));
  EXPECT_EQ(FileSize(file), 5);
  EXPECT_TRUE(FileReadable(file));
  EXPECT_EQ(ReadWholeFile(file), std::vector<std::uint8_t>(bytes, bytes + 5));
  EXPECT_EQ(std::filesystem::status(ToUtf8(file)).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ASSERT_TRUE(WriteWholeFile(file, bytes, 2));  // replaces the longer file
  EXPECT_EQ(FileSize(file), 2);
  EXPECT_TRUE(FileModifiedNs(file).has_value());
}

TEST(Files, FoldersAreNotFiles) {
  TempFolder temp;
  const std::u16string folder = temp.Path("sub");
  EXPECT_FALSE(FolderExists(folder));
  ASSERT_TRUE(CreateFolder(folder));
  EXPECT_TRUE(CreateFolder(folder)) << "an existing folder is fine";
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_FALSE(FileSize(folder));
  EXPECT_FALSE(FileReadable(folder));
  EXPECT_FALSE(ReadWholeFile(folder));
  EXPECT_EQ(std::filesystem::status(ToUtf8(folder)).permissions(),
            std::filesystem::perms::owner_all);
  EXPECT_TRUE(CreateFolderPath(temp.Path("a/b/c/")));
  EXPECT_TRUE(FolderExists(temp.Path("a/b/c")));
}

TEST(Processes, TheWalkFindsThisProgramAndStopsWhenAsked) {
  int own = 0, visited = 0;
  EXPECT_TRUE(ForEachProcessName([&](std::string_view name) {
    own += name == "system_test";
    return true;
  }));
  EXPECT_GE(own, 1);
  ForEachProcessName([&](std::string_view) { return ++visited < 1; });
  EXPECT_EQ(visited, 1);
}

TEST(Machine, ProcessorsAndMemoryAreReported) {
  const auto processors = QueryProcessorCounts();
  ASSERT_TRUE(processors);
  EXPECT_GE(processors->process, 1);
  EXPECT_GE(processors->system, processors->process);
  const auto memory = QueryMemoryStatus();
  ASSERT_TRUE(memory);
  EXPECT_GT(memory->total_bytes, memory->available_bytes);
}

TEST(Threads, PrioritiesMapToNiceValues) {
  struct Case {
    int priority, nice;
  };
  for (auto [priority, nice] :
       {Case{1, 19}, {2, 5}, {4, 5}, {15, 5}, {16, 0}, {17, -5}, {30, -5}, {31, -10}, {32, -15}})
    EXPECT_EQ(NiceValueForPriority(priority), nice) << priority;
}

std::atomic<int> observed_nice{-100};
std::atomic<bool> release_body{false};

TEST(Threads, ABelowNormalThreadRunsNiceAndIsWaitedFor) {
  const std::uint32_t thread = StartThread(
      [] {
        observed_nice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
        while (!release_body) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      },
      4);
  ASSERT_NE(thread, 0u);
  EXPECT_TRUE(ThreadRunning(thread));
  EXPECT_FALSE(WaitForThread(thread, 10)) << "still running: the wait times out";
  release_body = true;
  EXPECT_TRUE(WaitForThread(thread, 10000));
  EXPECT_FALSE(ThreadRunning(thread));
  EXPECT_TRUE(WaitForThread(thread, 0)) << "an ended thread is waited for at once";
  EXPECT_EQ(observed_nice.load(), getpriority(PRIO_PROCESS, 0) + 5);
}

TEST(Semaphore, CountsReleases) {
  Semaphore semaphore(0);
  EXPECT_FALSE(semaphore.TryAcquire());
  semaphore.Release();
  semaphore.Release();
  semaphore.Acquire();
  EXPECT_TRUE(semaphore.TryAcquire());
  EXPECT_FALSE(semaphore.TryAcquire());
}

TEST(Sleep, TheVirtualClockCostsNoRealTime) {
  UseVirtualClock(true);
  const auto start = std::chrono::steady_clock::now();
  SleepMs(3000);
  SleepMs(800);
  SleepMs(1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(VirtualNowMs(), 3801u);
  EXPECT_EQ(TakeVirtualSleeps(), (std::vector<std::uint32_t>{3000, 800, 1}));
  EXPECT_TRUE(TakeVirtualSleeps().empty());
  UseVirtualClock(false);
  const auto real_start = std::chrono::steady_clock::now();
  SleepMs(20);
  EXPECT_GE(std::chrono::steady_clock::now() - real_start, std::chrono::milliseconds(20));
}

TEST(MessageBox, TheRecorderKeepsCaptionTextAndStyle) {
  RecordMessageBoxes(true);
  ShowMessageBox(u"System", u"Slow system #B (CPU count)", MessageSystemModal | MessageIconError);
  ShowMessageBox(u"Vantril", u"Error open orvo.dll", 0);
  EXPECT_EQ(TakeMessageBoxes(),
            (std::vector<MessageBoxRecord>{{u"System", u"Slow system #B (CPU count)", 0x1010},
                                           {u"Vantril", u"Error open orvo.dll", 0}}));
  RecordMessageBoxes(false);
}

}  // namespace
}  // namespace nf::platform
