// alsa_test_config.h — an ALSA configuration written for one test, in a temporary folder that
// ALSA is pointed at ($XDG_CONFIG_HOME/alsa/asoundrc, with $HOME moved there as well so that no
// ~/.asoundrc of the machine's user joins in). The devices record what they are given through
// ALSA's own file plug-in, one raw file per device, over ALSA's null device or over a fake
// sound card with fixed abilities. Make it before the first ALSA call of the test process.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_folder.h"

namespace nf::test {

// A sound card with fixed abilities (the plug-in of tests/support/fake_sound_card).
struct FakeCard {
  std::vector<std::string> formats{};  // ALSA names: "S16_LE", "FLOAT_LE", ...
  std::vector<unsigned> rates{};
  unsigned channels = 2;
  std::string chmap{};     // "FL,FR"; empty: the card names no positions
  bool exclusive = false;  // one user at a time
  long xrun_after = -1;    // report one underrun after this many frames
};

class AlsaTestConfig {
 public:
  AlsaTestConfig();

  // ALSA's null device, with a channel map when one is given ("FL,FR,RL,RR").
  static std::string NullDevice(std::string_view chmap = {});
  std::string Card(const FakeCard& card);

  // A device listed by its hint: the file plug-in recording into RecordingOf(name), writing
  // through `slave` (configuration text, e.g. NullDevice()).
  void AddRecorded(std::string_view name, std::string_view description, std::string_view slave);
  // Configuration text as it is (devices without hints, and the like).
  void AddText(std::string_view text);
  // Writes the configuration; call again after adding more.
  void Write() const;

  std::filesystem::path RecordingOf(std::string_view name) const;
  std::vector<unsigned char> Recording(std::string_view name) const;
  const std::filesystem::path& folder() const { return folder_.path(); }

 private:
  TempFolder folder_;
  std::string text_;
  bool card_type_declared_ = false;
  int cards_ = 0;
};

}  // namespace nf::test
