// orva_recovery_test.cpp — the output thread brings a device back after an underrun, counts
// it, and loses no sample of the music. Linked with the library's parts, to read the count.
#include <gtest/gtest.h>

#include "engine_libs/orva/orva_exports.h"
#include "tests/engine_libs/orva/orva_test_kit.h"
#include "tests/support/alsa_test_config.h"

namespace nf::test {
namespace {

using namespace std::chrono_literals;

engine::AsioOutput LinkedOrva() {
  engine::AsioOutput table;
#define NF_LINK_ORVA(result, name, params) table.name = &::name;
  NF_ORVA_FUNCTIONS(NF_LINK_ORVA)
#undef NF_LINK_ORVA
  return table;
}

TEST(OrvaRecovery, AnUnderrunIsRecoveredCountedAndLosesNothing) {
  AlsaTestConfig alsa;
  alsa.AddRecorded("nf_card", "Nightfold card",
                   alsa.Card({.formats = {"FLOAT_LE"}, .rates = {48000}, .xrun_after = 6000}));
  alsa.Write();
  const engine::AsioOutput orva = LinkedOrva();
  MusicSource music(FiniteSamples(9600, 31));  // 200 ms
  ASSERT_TRUE(StartPair(orva, DeviceIndex(orva, "nf_card"), 48000.0, 0, music));
  ASSERT_TRUE(music.WaitForSamples(music.samples().size(), 10s));
  EXPECT_TRUE(orva.Orva_ASIO_IsStarted());
  EXPECT_EQ(orva::UnderrunCount(), 1u);
  ASSERT_TRUE(orva.Orva_ASIO_ChannelReset(0, -1, engine::OrvaResetStop));
  ASSERT_TRUE(orva.Orva_ASIO_Stop());
  ASSERT_TRUE(orva.Orva_ASIO_Free());

  const std::vector<std::uint32_t> recorded = FloatBitsOf(alsa.Recording("nf_card"));
  const std::vector<std::uint32_t> expected = BitsOf(music.samples());
  ASSERT_GE(recorded.size(), expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), recorded.begin()));
}

}  // namespace
}  // namespace nf::test
