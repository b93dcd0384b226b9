// Deployment of the built-in engine libraries into the user's data folder, and their binding.
#include <elf.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

#include "app/app.h"
#include "engine/asio_output.h"
#include "engine/decoder_engine.h"
#include "tests/support/temp_folder.h"

namespace nf::app {
namespace {

namespace fs = std::filesystem;

// Every function of the three binding tables holds an address.
void ExpectEveryNameBound() {
#define EXPECT_BOUND_DECODER(result, name, params) \
  EXPECT_NE(engine::decoder_engine.name, nullptr) << #name;
#define EXPECT_BOUND_OUTPUT(result, name, params) \
  EXPECT_NE(engine::asio_output.name, nullptr) << #name;
  NF_ORVO_FUNCTIONS(EXPECT_BOUND_DECODER)
  NF_ORVU_FUNCTIONS(EXPECT_BOUND_DECODER)
  NF_ORVA_FUNCTIONS(EXPECT_BOUND_OUTPUT)
#undef EXPECT_BOUND_DECODER
#undef EXPECT_BOUND_OUTPUT
}

class EngineDeploymentTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_DATA_HOME", temp.path().c_str(), 1); }
  fs::path Library(std::string_view name) const { return temp.path() / "Vantril/vl20" / name; }
  std::int64_t ModifiedNs(std::string_view name) const {
    return *platform::FileModifiedNs(platform::FromUtf8(Library(name).string()));
  }
  test::TempFolder temp;
};

TEST_F(EngineDeploymentTest, FirstStartWritesTheThreeLibrariesExactly) {
  DeployEngineLibraries();
  EXPECT_EQ(EngineFolder, platform::FromUtf8(temp.path().string() + "/Vantril/vl20/"));
  EXPECT_EQ(fs::status(temp.path() / "Vantril/vl20").permissions(), fs::perms::owner_all);
  for (const EngineImage& image : EmbeddedEngineImages()) {
    const fs::path file = Library(platform::ToUtf8(image.file_name));
    ASSERT_TRUE(fs::is_regular_file(file)) << file;
    const auto bytes = platform::ReadWholeFile(platform::FromUtf8(file.string()));
    EXPECT_EQ(*bytes, std::vector<std::uint8_t>(image.bytes, image.bytes + image.size)) << file;
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  }
}

TEST_F(EngineDeploymentTest, ASecondStartWritesNothing) {
  DeployEngineLibraries();
  const std::int64_t before[] = {ModifiedNs("orva.dll"), ModifiedNs("orvo.dll"),
                                 ModifiedNs("orvu.dll")};
  usleep(20'000);  // long enough for a rewrite to show in the modification times
  DeployEngineLibraries();
  EXPECT_EQ(ModifiedNs("orva.dll"), before[0]);
  EXPECT_EQ(ModifiedNs("orvo.dll"), before[1]);
  EXPECT_EQ(ModifiedNs("orvu.dll"), before[2]);
}

TEST_F(EngineDeploymentTest, AFileOfAnotherSizeOrOtherBytesIsRewritten) {
  DeployEngineLibraries();
  const EngineImage orvo = EmbeddedEngineImages()[1];
  const std::u16string orvo_path = EngineFolder + u"orvo.dll";
  struct Case {
    const char* what;
    std::vector<std::uint8_t> planted;
  };
  std::vector<std::uint8_t> same_size_other_bytes(orvo.bytes, orvo.bytes + orvo.size);
  same_size_other_bytes[orvo.size / 2] ^= 0xFF;
  for (const Case& c : {Case{"shorter", {1, 2, 3}},
                        Case{"same size, other bytes", same_size_other_bytes}, Case{"empty", {}}}) {
    ASSERT_TRUE(platform::WriteWholeFile(orvo_path, c.planted.data(), c.planted.size()));
    DeployEngineLibraries();
    EXPECT_EQ(*platform::ReadWholeFile(orvo_path),
              std::vector<std::uint8_t>(orvo.bytes, orvo.bytes + orvo.size))
        << c.what;
  }
}

// Deploys in a child process whose files may not grow past half the smallest image, so every
// library write fails part-way, as on a nearly full disk. The limit dies with the child.
void DeployWithWritesCutShort() {
  std::size_t smallest = SIZE_MAX;
  for (const EngineImage& image : EmbeddedEngineImages()) smallest = std::min(smallest, image.size);
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG instead of killing
    const rlimit limit{smallest / 2, smallest / 2};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
    DeployEngineLibraries();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

std::set<std::string> FileNamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

std::string ReadText(const fs::path& file) {
  const auto bytes = platform::ReadWholeFile(platform::FromUtf8(file.string()));
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

TEST_F(EngineDeploymentTest, AWriteThatFailsPartWayLeavesTheOldFileAsItWasAndNoOther) {
  struct Case {
    const char* what;
    std::optional<std::vector<std::uint8_t>> old_orvo;  // what orvo.dll held before
  };
  const Case cases[] = {
      {"no old file", std::nullopt},
      {"an old file of another size", std::vector<std::uint8_t>{'o', 'l', 'd', 0, 0xFF}},
  };
  for (const Case& c : cases) {
    const fs::path data = temp.path() / c.what;
    const fs::path folder = data / "Vantril/vl20";
    fs::create_directories(folder);
    if (c.old_orvo) {
      std::FILE* file = std::fopen((folder / "orvo.dll").c_str(), "wb");
      std::fwrite(c.old_orvo->data(), 1, c.old_orvo->size(), file);
      std::fclose(file);
    }
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_STATE_HOME", (data / "state").c_str(), 1);
    DeployWithWritesCutShort();

    EXPECT_EQ(FileNamesIn(folder),
              c.old_orvo ? std::set<std::string>{"orvo.dll"} : std::set<std::string>{})
        << c.what << ": no cut-off library and no temporary file may be left";
    if (c.old_orvo) {
      EXPECT_EQ(platform::ReadWholeFile(platform::FromUtf8((folder / "orvo.dll").string())),
                *c.old_orvo)
          << c.what;
    }
    // The cause goes to the failure log, naming the file and the system's reason.
    const std::string log = ReadText(data / "state/nightfold/nightfold.log");
    EXPECT_NE(log.find("deploy: " + (folder / "orvo.dll").string()), std::string::npos)
        << c.what << ": " << log;
    EXPECT_NE(log.find(std::strerror(EFBIG)), std::string::npos) << c.what << ": " << log;
  }
}

TEST_F(EngineDeploymentTest, ALibraryThatCouldNotBeWrittenIsReportedByNameWhenBound) {
  DeployWithWritesCutShort();
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  EngineFolder = platform::FromUtf8(temp.path().string() + "/Vantril/vl20/");
  EXPECT_EXIT(BindEngineLibraries(), ::testing::ExitedWithCode(0), "Vantril: Error open orvo.dll");
}

// The section names of a 64-bit ELF image.
std::vector<std::string> SectionNames(const EngineImage& image) {
  std::vector<std::string> names;
  if (image.size < sizeof(Elf64_Ehdr) || std::memcmp(image.bytes, ELFMAG, SELFMAG) != 0 ||
      image.bytes[EI_CLASS] != ELFCLASS64)
    return names;
  Elf64_Ehdr header;
  std::memcpy(&header, image.bytes, sizeof header);
  const auto section = [&](std::size_t index) {
    Elf64_Shdr entry{};
    const std::size_t at = header.e_shoff + index * sizeof entry;
    if (at + sizeof entry <= image.size) std::memcpy(&entry, image.bytes + at, sizeof entry);
    return entry;
  };
  const Elf64_Shdr strings = section(header.e_shstrndx);
  for (std::size_t i = 0; i < header.e_shnum; ++i) {
    const std::size_t at = strings.sh_offset + section(i).sh_name;
    if (at >= image.size) continue;
    const auto* name = reinterpret_cast<const char*>(image.bytes + at);
    names.emplace_back(name, strnlen(name, image.size - at));
  }
  return names;
}

TEST_F(EngineDeploymentTest, TheBuiltInImagesCarryNoDebugInformationAndStillBind) {
  for (const EngineImage& image : EmbeddedEngineImages()) {
    const std::string file = platform::ToUtf8(image.file_name);
    const std::vector<std::string> sections = SectionNames(image);
    ASSERT_NE(std::find(sections.begin(), sections.end(), ".dynsym"), sections.end())
        << file << " must be a shared object with its dynamic symbols";
    for (const std::string& name : sections)
      EXPECT_FALSE(name.starts_with(".debug")) << file << " " << name;
  }
  // Every exported name survives in the written files.
  DeployEngineLibraries();
  BindEngineLibraries();
  ExpectEveryNameBound();
}

TEST_F(EngineDeploymentTest, WithoutADataFolderTheLibrariesGoBelowTheCurrentFolder) {
  unsetenv("XDG_DATA_HOME");
  unsetenv("HOME");
  const fs::path saved = fs::current_path();
  fs::current_path(temp.path());
  DeployEngineLibraries();
  EXPECT_EQ(EngineFolder, u"Vantril/vl20/");
  EXPECT_TRUE(fs::is_regular_file(temp.path() / "Vantril/vl20/orvu.dll"));
  fs::current_path(saved);
}

// Binding ends the program on failure, so each failure runs in a child process; with no display
// the child's message box is written to standard error as "caption: text".
class EngineBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
  }
  void UseFolder(const fs::path& folder) {
    EngineFolder = platform::FromUtf8(folder.string() + "/");
  }
  fs::path Fakes(std::string_view set) const { return fs::path(NF_FAKE_ENGINE_DIR) / set; }
  test::TempFolder temp;
};

TEST_F(EngineBindingTest, BindsEveryNameOfTheThreeLibraries) {
  UseFolder(Fakes("good"));
  BindEngineLibraries();
  ExpectEveryNameBound();
}

TEST_F(EngineBindingTest, EachFailureNamesItsLibraryAndEndsWithCodeZero) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // fake set/file -> file name here
    const char* message;
  };
  const Case cases[] = {
      {"orvo.dll missing",
       {{"good/orva.dll", "orva.dll"}, {"good/orvu.dll", "orvu.dll"}},
       "Vantril: Error open orvo.dll"},
      {"orvo.dll lacks its names",
       {{"good/orva.dll", "orvo.dll"}, {"good/orva.dll", "orva.dll"}},
       "Vantril: Error open orvo.dll"},
      {"orva.dll missing",
       {{"good/orvo.dll", "orvo.dll"}, {"good/orvu.dll", "orvu.dll"}},
       "Vantril: Error open orva.dll"},
      {"orvu.dll missing",
       {{"good/orvo.dll", "orvo.dll"}, {"good/orva.dll", "orva.dll"}},
       "Vantril: Error open orvu.dll"},
      {"decoder reports an error",
       {{"orvo_error/orvo.dll", "orvo.dll"},
        {"good/orva.dll", "orva.dll"},
        {"good/orvu.dll", "orvu.dll"}},
       "Vantril: Error Orvo Library"},
  };
  for (const Case& c : cases) {
    const fs::path folder = temp.path() / c.what;
    fs::create_directories(folder);
    for (const auto& [from, to] : c.files)
      fs::copy_file(fs::path(NF_FAKE_ENGINE_DIR) / from, folder / to);
    UseFolder(folder);
    EXPECT_EXIT(BindEngineLibraries(), ::testing::ExitedWithCode(0), c.message) << c.what;
  }
}

}  // namespace
}  // namespace nf::app
