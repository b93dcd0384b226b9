// orva_devices_test.cpp — orva.dll's devices: which it lists and how it names them, opening
// (and being refused a device another program holds), the rates it accepts and its channels.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/asio_output.h"
#include "engine/engine_codes.h"
#include "tests/engine_libs/orva/orva_binding.h"
#include "tests/engine_libs/orva/orva_test_kit.h"
#include "tests/support/alsa_test_config.h"

namespace nf::test {
namespace {

using engine::OrvaInitPlay;
using engine::OrvaInitProbe;

struct Listed {
  std::string name;
  std::string driver;
};

std::vector<Listed> ListAll(const engine::AsioOutput& orva) {
  std::vector<Listed> listed;
  engine::OrvaDeviceInfo info{};
  for (std::uint32_t d = 0; orva.Orva_ASIO_GetDeviceInfo(d, &info); ++d)
    listed.push_back({static_cast<const char*>(info.name), info.driver});
  return listed;
}

TEST(OrvaBinding, EveryNameOfTheTableIsExported) {
  const engine::AsioOutput orva = LoadOrva();
#define NF_EXPECT_BOUND(result, name, params) EXPECT_NE(orva.name, nullptr) << #name;
  NF_ORVA_FUNCTIONS(NF_EXPECT_BOUND)
#undef NF_EXPECT_BOUND
}

TEST(OrvaDevices, ListsTheDevicesDeclaredWithHintsByTheirDescriptions) {
  AlsaTestConfig alsa;
  alsa.AddRecorded("nf_stereo", "Nightfold stéréo ♪", AlsaTestConfig::NullDevice("FL,FR"));
  alsa.AddText("pcm.nf_unlisted { type null }");  // declared, but with no hint for people
  alsa.AddRecorded("nf_quad", "Nightfold quad\nfour outputs",
                   AlsaTestConfig::NullDevice("FL,FR,RL,RR"));
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();

  const std::vector<Listed> listed = ListAll(orva);
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorDevice);
  std::vector<std::string> drivers;
  for (const auto& device : listed) drivers.push_back(device.driver);
  const auto position = [&](std::string_view driver) {
    return std::find(drivers.begin(), drivers.end(), driver) - drivers.begin();
  };
  // No sound card on a test machine: ALSA's null device, then ours in the order declared.
  ASSERT_LT(position("null"), static_cast<long>(drivers.size()));
  ASSERT_LT(position("nf_stereo"), static_cast<long>(drivers.size()));
  ASSERT_LT(position("nf_quad"), static_cast<long>(drivers.size()));
  EXPECT_LT(position("nf_stereo"), position("nf_quad"));
  EXPECT_EQ(position("nf_unlisted"), static_cast<long>(drivers.size()));
  EXPECT_EQ(listed[position("null")].name,
            "Discard all samples (playback) or generate zero samples (capture)");
  EXPECT_EQ(listed[position("nf_stereo")].name, "Nightfold stéréo ♪");
  EXPECT_EQ(listed[position("nf_quad")].name, "Nightfold quad, four outputs");

  ASSERT_TRUE(orva.Orva_ASIO_SetUnicode(1));
  engine::OrvaDeviceInfo info{};
  ASSERT_TRUE(
      orva.Orva_ASIO_GetDeviceInfo(static_cast<std::uint32_t>(position("nf_stereo")), &info));
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(info.name)), u"Nightfold stéréo ♪");
  EXPECT_STREQ(info.driver, "nf_stereo");
}

TEST(OrvaDevices, ListsAtMostTwelve) {
  AlsaTestConfig alsa;
  for (int n = 1; n <= 14; ++n)
    alsa.AddRecorded("nf_many" + std::to_string(n), "Output " + std::to_string(n),
                     AlsaTestConfig::NullDevice());
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();
  EXPECT_EQ(ListAll(orva).size(), 12u);
  engine::OrvaDeviceInfo info{};
  EXPECT_FALSE(orva.Orva_ASIO_GetDeviceInfo(12, &info));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorDevice);
  EXPECT_FALSE(orva.Orva_ASIO_GetDeviceInfo(0, nullptr));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorIllegalParameter);
}

TEST(OrvaDevices, InitOpensOneDeviceAndFreeReleasesIt) {
  AlsaTestConfig alsa;
  alsa.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();
  const int device = DeviceIndex(orva, "nf_stereo");
  ASSERT_GE(device, 0);

  EXPECT_TRUE(orva.Orva_ASIO_Free());  // nothing open: harmless
  EXPECT_FALSE(orva.Orva_ASIO_Init(device, 2));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorIllegalParameter);
  EXPECT_FALSE(orva.Orva_ASIO_Init(40, OrvaInitPlay));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorDevice);
  ASSERT_TRUE(orva.Orva_ASIO_Init(device, OrvaInitProbe));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineOk);
  EXPECT_FALSE(orva.Orva_ASIO_Init(device, OrvaInitPlay));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorAlready);
  // A device opened to probe its rates does not play.
  EXPECT_FALSE(orva.Orva_ASIO_Start(0, 0));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorNotInitialized);
  EXPECT_TRUE(orva.Orva_ASIO_Free());
  EXPECT_TRUE(orva.Orva_ASIO_Free());
  EXPECT_TRUE(orva.Orva_ASIO_Init(device, OrvaInitPlay));
  EXPECT_TRUE(orva.Orva_ASIO_Free());
}

// "Another program": this test, opening the card through ALSA itself.
snd_pcm_t* OpenDirectly(const char* name, int& error) {
  snd_pcm_t* pcm = nullptr;
  error = snd_pcm_open(&pcm, name, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  return error < 0 ? nullptr : pcm;
}

TEST(OrvaDevices, ADeviceThatAnotherProgramHoldsIsNoFreeDriver) {
  AlsaTestConfig alsa;
  alsa.AddRecorded("nf_card", "Nightfold card",
                   alsa.Card({.formats = {"S32_LE"}, .rates = {44100}, .exclusive = true}));
  alsa.AddText("pcm.nf_gone { type hw card 31 hint { show on description \"Unplugged\" } }");
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();
  const int card = DeviceIndex(orva, "nf_card");
  ASSERT_GE(card, 0);

  int error = 0;
  snd_pcm_t* held = OpenDirectly("nf_card", error);
  ASSERT_NE(held, nullptr) << snd_strerror(error);
  for (std::uint32_t flags : {OrvaInitProbe, OrvaInitPlay}) {
    EXPECT_FALSE(orva.Orva_ASIO_Init(card, flags));
    EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorDriver);
  }
  snd_pcm_close(held);

  ASSERT_TRUE(orva.Orva_ASIO_Init(card, OrvaInitPlay));
  EXPECT_EQ(OpenDirectly("nf_card", error), nullptr);  // now the library holds it
  EXPECT_EQ(error, -EBUSY);
  EXPECT_TRUE(orva.Orva_ASIO_Free());
  held = OpenDirectly("nf_card", error);
  EXPECT_NE(held, nullptr);
  if (held) snd_pcm_close(held);

  const int gone = DeviceIndex(orva, "nf_gone");
  ASSERT_GE(gone, 0);
  EXPECT_FALSE(orva.Orva_ASIO_Init(gone, OrvaInitProbe));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorDriver);
}

TEST(OrvaDevices, CheckRateFollowsTheDevicesRateListWithResamplingOff) {
  AlsaTestConfig alsa;
  alsa.AddRecorded(
      "nf_rates", "Nightfold rates",
      alsa.Card({.formats = {"FLOAT_LE"}, .rates = {44100, 48000, 88200, 96000, 192000}}));
  alsa.AddRecorded("nf_int16", "Nightfold 16-bit",
                   alsa.Card({.formats = {"S16_LE"}, .rates = {48000}}));
  // ALSA's plug device would resample anything to its slave's 96 kHz; switched off, it is
  // a 96 kHz device.
  alsa.AddText(
      "pcm.nf_plug { type plug slave { pcm { type null } rate 96000 } "
      "hint { show on description \"Nightfold plug\" } }");
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();

  EXPECT_FALSE(orva.Orva_ASIO_CheckRate(44100.0));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorNotInitialized);

  struct Case {
    const char* device;
    std::vector<double> accepted, refused;
  };
  for (const Case& c : {Case{"nf_rates",
                             {44100, 48000, 88200, 96000, 192000},
                             {22050, 44100.5, 176400, 352800, 384000, 705600, 768000, 0, -44100}},
                        Case{"nf_int16", {48000}, {44100, 96000}},
                        Case{"nf_plug", {96000}, {44100, 48000, 192000}}}) {
    const int device = DeviceIndex(orva, c.device);
    ASSERT_GE(device, 0) << c.device;
    ASSERT_TRUE(orva.Orva_ASIO_Init(device, OrvaInitProbe)) << c.device;
    for (double rate : c.accepted) EXPECT_TRUE(orva.Orva_ASIO_CheckRate(rate)) << c.device << rate;
    for (double rate : c.refused) {
      EXPECT_FALSE(orva.Orva_ASIO_CheckRate(rate)) << c.device << " " << rate;
      EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorSampleRate);
    }
    EXPECT_TRUE(orva.Orva_ASIO_Free());
  }
}

TEST(OrvaDevices, SetRateAndGetRate) {
  AlsaTestConfig alsa;
  alsa.AddRecorded("nf_rates", "Nightfold rates",
                   alsa.Card({.formats = {"FLOAT_LE"}, .rates = {48000, 96000}}));
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();
  EXPECT_EQ(orva.Orva_ASIO_GetRate(), 0.0);
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorNotInitialized);
  ASSERT_TRUE(orva.Orva_ASIO_Init(DeviceIndex(orva, "nf_rates"), OrvaInitPlay));
  EXPECT_EQ(orva.Orva_ASIO_GetRate(), 48000.0);  // before any is set: one the device runs at
  EXPECT_TRUE(orva.Orva_ASIO_SetRate(96000.0));
  EXPECT_EQ(orva.Orva_ASIO_GetRate(), 96000.0);
  EXPECT_FALSE(orva.Orva_ASIO_SetRate(44100.0));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorSampleRate);
  EXPECT_EQ(orva.Orva_ASIO_GetRate(), 96000.0);
  EXPECT_TRUE(orva.Orva_ASIO_Free());
}

TEST(OrvaDevices, ChannelInfoMarksWhereTheChannelMapStartsAFurtherStereoPair) {
  AlsaTestConfig alsa;
  alsa.AddRecorded("nf_stereo", "stereo", AlsaTestConfig::NullDevice("FL,FR"));
  alsa.AddRecorded("nf_quad", "quad", AlsaTestConfig::NullDevice("FL,FR,RL,RR"));
  alsa.AddRecorded("nf_octo", "eight", AlsaTestConfig::NullDevice("FL,FR,RL,RR,FC,LFE,SL,SR"));
  alsa.AddRecorded("nf_unmapped", "no map", AlsaTestConfig::NullDevice());
  alsa.AddRecorded(
      "nf_six", "six",
      alsa.Card(
          {.formats = {"S32_LE"}, .rates = {48000}, .channels = 6, .chmap = "FL,FR,FC,LFE,RL,RR"}));
  alsa.AddRecorded("nf_four_unnamed", "four unnamed",
                   alsa.Card({.formats = {"S32_LE"}, .rates = {48000}, .channels = 4}));
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();

  struct Case {
    const char* device;
    std::vector<std::uint32_t> groups;
  };
  for (const Case& c :
       {Case{"nf_stereo", {0, 0}}, Case{"nf_quad", {0, 0, 1, 0}},
        Case{"nf_octo", {0, 0, 1, 0, 0, 0, 1, 0}}, Case{"nf_unmapped", {0, 0}},
        Case{"nf_six", {0, 0, 0, 0, 1, 0}}, Case{"nf_four_unnamed", {0, 0, 0, 0}}}) {
    ASSERT_TRUE(orva.Orva_ASIO_Init(DeviceIndex(orva, c.device), OrvaInitProbe)) << c.device;
    std::vector<std::uint32_t> groups;
    engine::OrvaChannelInfo info{};
    for (int channel = 0; orva.Orva_ASIO_ChannelGetInfo(0, channel, &info); ++channel) {
      groups.push_back(info.group);
      EXPECT_EQ(info.format, engine::OrvaFormatFloat);
    }
    EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorIllegalParameter);
    EXPECT_EQ(groups, c.groups) << c.device;
    EXPECT_TRUE(orva.Orva_ASIO_Free());
  }

  ASSERT_TRUE(orva.Orva_ASIO_Init(DeviceIndex(orva, "nf_quad"), OrvaInitProbe));
  engine::OrvaChannelInfo info{};
  ASSERT_TRUE(orva.Orva_ASIO_ChannelGetInfo(0, 2, &info));
  EXPECT_STREQ(info.name, "Output 3 (RL)");
  EXPECT_FALSE(orva.Orva_ASIO_ChannelGetInfo(1, 0, &info));  // there are no inputs
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorIllegalParameter);
  EXPECT_TRUE(orva.Orva_ASIO_Free());
  EXPECT_FALSE(orva.Orva_ASIO_ChannelGetInfo(0, 0, &info));
  EXPECT_EQ(orva.Orva_ASIO_ErrorGetCode(), engine::EngineErrorNotInitialized);
}

TEST(OrvaDevices, ChannelCallsCheckTheirArguments) {
  AlsaTestConfig alsa;
  alsa.AddRecorded("nf_stereo", "stereo", AlsaTestConfig::NullDevice("FL,FR"));
  alsa.Write();
  const engine::AsioOutput orva = LoadOrva();
  const auto code = [&] { return orva.Orva_ASIO_ErrorGetCode(); };

  // The whole output's level is kept without a device; everything else needs one.
  EXPECT_TRUE(orva.Orva_ASIO_ChannelSetVolume(0, -1, 0.0f));
  EXPECT_FALSE(orva.Orva_ASIO_ChannelSetVolume(0, -1, -0.5f));
  EXPECT_EQ(code(), engine::EngineErrorIllegalParameter);
  EXPECT_FALSE(orva.Orva_ASIO_ChannelEnable(0, 0, &MusicSource::Proc, nullptr));
  EXPECT_EQ(code(), engine::EngineErrorNotInitialized);
  EXPECT_FALSE(orva.Orva_ASIO_Stop());
  EXPECT_EQ(code(), engine::EngineErrorNotInitialized);
  EXPECT_FALSE(orva.Orva_ASIO_ControlPanel());
  EXPECT_EQ(code(), engine::EngineErrorNotInitialized);
  EXPECT_NE(orva.Orva_ASIO_GetVersion(), 0u);

  ASSERT_TRUE(orva.Orva_ASIO_Init(DeviceIndex(orva, "nf_stereo"), OrvaInitPlay));
  EXPECT_FALSE(orva.Orva_ASIO_ControlPanel());
  EXPECT_EQ(code(), engine::EngineErrorNotAvailable);
  EXPECT_FALSE(orva.Orva_ASIO_ChannelEnable(0, 2, &MusicSource::Proc, nullptr));
  EXPECT_EQ(code(), engine::EngineErrorIllegalParameter);
  EXPECT_FALSE(orva.Orva_ASIO_ChannelEnable(1, 0, &MusicSource::Proc, nullptr));
  EXPECT_EQ(code(), engine::EngineErrorIllegalParameter);
  EXPECT_FALSE(orva.Orva_ASIO_ChannelJoin(0, 0, 0));
  EXPECT_EQ(code(), engine::EngineErrorIllegalParameter);
  EXPECT_FALSE(orva.Orva_ASIO_ChannelSetFormat(0, 0, 18));
  EXPECT_EQ(code(), engine::EngineErrorSampleFormat);
  EXPECT_TRUE(orva.Orva_ASIO_ChannelSetFormat(0, 0, engine::OrvaFormatFloat));
  EXPECT_FALSE(orva.Orva_ASIO_ChannelSetVolume(0, 5, 1.0f));
  EXPECT_EQ(code(), engine::EngineErrorIllegalParameter);
  EXPECT_TRUE(orva.Orva_ASIO_ChannelSetVolume(0, 1, 0.5f));
  EXPECT_FALSE(orva.Orva_ASIO_Stop());
  EXPECT_EQ(code(), engine::EngineErrorStart);
  EXPECT_FALSE(orva.Orva_ASIO_IsStarted());
  EXPECT_TRUE(orva.Orva_ASIO_Free());
}

}  // namespace
}  // namespace nf::test
