// The decoder libraries as files the program deploys: their names, what they export, and the
// order in which they load.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "engine/decoder_engine.h"
#include "platform/platform.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {
namespace {
namespace fs = std::filesystem;

// The output of a command, whole.
std::string CommandOutput(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  return output;
}

std::set<std::string> ExportedNames(const fs::path& library) {
  std::istringstream lines(CommandOutput("nm -D --defined-only " + Quoted(library)));
  std::set<std::string> names;
  for (std::string address, kind, name; lines >> address >> kind >> name;) names.insert(name);
  return names;
}

void* Load(const fs::path& library) {
  return platform::LoadLibraryFile(platform::FromUtf8(library.string()));
}

TEST(DecoderLibraries, AreNamedAsDeployedWithOrvoAsSonameAndNeededByOrvu) {
  EXPECT_EQ(BuiltOrvo().filename(), "orvo.dll");
  EXPECT_EQ(BuiltOrvu().filename(), "orvu.dll");
  const std::string orvo = CommandOutput("readelf -d " + Quoted(BuiltOrvo()));
  const std::string orvu = CommandOutput("readelf -d " + Quoted(BuiltOrvu()));
  EXPECT_NE(orvo.find("Library soname: [orvo.dll]"), std::string::npos) << orvo;
  EXPECT_NE(orvu.find("Shared library: [orvo.dll]"), std::string::npos) << orvu;
  // No search path of its own: orvu.dll must not find orvo.dll beside it unaided.
  EXPECT_EQ(orvu.find("RPATH"), std::string::npos) << orvu;
  EXPECT_EQ(orvu.find("RUNPATH"), std::string::npos) << orvu;
}

TEST(DecoderLibraries, ExportTheirCAbiAndNothingElse) {
  std::set<std::string> orvo_names = {"OrvoPlugin_OpenFile", "OrvoPlugin_AddStream",
                                      "OrvoPlugin_SetError"};
  std::set<std::string> orvu_names;
#define NF_ORVO_NAME(result, name, params) orvo_names.insert(#name);
#define NF_ORVU_NAME(result, name, params) orvu_names.insert(#name);
  NF_ORVO_FUNCTIONS(NF_ORVO_NAME)
  NF_ORVU_FUNCTIONS(NF_ORVU_NAME)
  EXPECT_EQ(ExportedNames(BuiltOrvo()), orvo_names);
  EXPECT_EQ(ExportedNames(BuiltOrvu()), orvu_names);
}

TEST(DecoderLibraries, OrvuDoesNotLoadBeforeOrvo) {
  TempFolder folder;
  fs::copy_file(BuiltOrvo(), folder / "orvo.dll");
  fs::copy_file(BuiltOrvu(), folder / "orvu.dll");
  EXPECT_EQ(Load(folder / "orvu.dll"), nullptr);
  // The failed attempt leaves nothing behind: in the right order both load.
  ASSERT_NE(Load(folder / "orvo.dll"), nullptr);
  EXPECT_NE(Load(folder / "orvu.dll"), nullptr);
}

TEST(DecoderLibraries, LoadInOrderAndBindEveryNameTheProgramBinds) {
  TempFolder folder;
  EXPECT_EQ(LoadRealDecoder(folder.path()), std::vector<std::string>{});
  // A FLAC stream made through orvu.dll is a stream of orvo.dll.
  const fs::path flac = folder / "tone.flac";
  ASSERT_TRUE(MakeWithFlac(SeededSignal(1000, 2, 16, 7), {2, 16, 44100}, flac));
  const std::u16string path = platform::FromUtf8(flac.string());
  const engine::DecoderEngine& orvo = engine::decoder_engine;
  const std::uint32_t handle =
      orvo.Orvo_FLAC_StreamCreateFile(0, path.c_str(), 0, 0, engine::OrvoPlayFlags);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, 0), 8000);
  EXPECT_EQ(orvo.Orvo_StreamFree(handle), 1);
}

}  // namespace
}  // namespace nf::test
