// alsa_test_config.cpp — writing the tests' ALSA configuration.
#include "tests/support/alsa_test_config.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace nf::test {
namespace {

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::filesystem::path ConfigHome(const std::filesystem::path& folder) {
  return folder / "config";
}

}  // namespace

AlsaTestConfig::AlsaTestConfig() {
  std::filesystem::create_directories(ConfigHome(folder()) / "alsa");
  setenv("XDG_CONFIG_HOME", ConfigHome(folder()).c_str(), 1);
  setenv("HOME", folder().c_str(), 1);
  Write();
}

std::string AlsaTestConfig::NullDevice(std::string_view chmap) {
  if (chmap.empty()) return "{ type null }";
  return "{ type null chmap [ " + Quoted(chmap) + " ] }";
}

std::string AlsaTestConfig::Card(const FakeCard& card) {
  if (!card_type_declared_) {
    text_ += "pcm_type.nf_fake_card { lib " + Quoted(NF_FAKE_CARD_MODULE) + " }\n";
    card_type_declared_ = true;
  }
  std::string text = "{ type nf_fake_card formats [";
  for (const auto& format : card.formats) text += " " + Quoted(format);
  text += " ] rates [";
  for (unsigned rate : card.rates) text += " " + std::to_string(rate);
  text += " ] channels " + std::to_string(card.channels);
  if (!card.chmap.empty()) text += " chmap " + Quoted(card.chmap);
  if (card.exclusive)
    text += " lock " + Quoted((folder() / ("card" + std::to_string(++cards_) + ".lock")).string());
  if (card.xrun_after >= 0) text += " xrun_after " + std::to_string(card.xrun_after);
  return text + " }";
}

void AlsaTestConfig::AddRecorded(std::string_view name, std::string_view description,
                                 std::string_view slave) {
  text_ += "pcm." + std::string(name) + " {\n  type file\n  slave.pcm " + std::string(slave) +
           "\n  file " + Quoted(RecordingOf(name).string()) + "\n  format \"raw\"\n" +
           "  hint { show on description " + Quoted(description) + " }\n}\n";
}

void AlsaTestConfig::AddText(std::string_view text) {
  text_ += text;
  text_ += "\n";
}

void AlsaTestConfig::Write() const {
  std::ofstream(ConfigHome(folder()) / "alsa" / "asoundrc", std::ios::trunc) << text_;
}

std::filesystem::path AlsaTestConfig::RecordingOf(std::string_view name) const {
  return folder() / (std::string(name) + ".raw");
}

std::vector<unsigned char> AlsaTestConfig::Recording(std::string_view name) const {
  std::ifstream file(RecordingOf(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace nf::test
