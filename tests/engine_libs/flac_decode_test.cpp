// FLAC through orvu.dll, compared bit for bit with the flac tool's own decoding.
#include <gtest/gtest.h>

#include "engine/decoder_engine.h"
#include "tests/engine_libs/expect_decoding.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {
namespace {
namespace fs = std::filesystem;

struct Case {
  const char* file;
  SignalFormat format;
  std::int64_t frames;
  const char* flac_options = "";
};

TEST(FlacDecoding, MatchesTheFlacToolBitForBit) {
  const Case cases[] = {
      {"s16-44k.flac", {2, 16, 44100}, 20000},
      {"s24-96k.flac", {2, 24, 96000}, 20000},
      {"s16-192k.flac", {2, 16, 192000}, 20000},
      {"s24-384k.flac", {2, 24, 384000}, 20000},
      {"s16-mono.flac", {1, 16, 44100}, 20000},
      {"s24-six.flac", {6, 24, 96000}, 12000},
      {"s24-eight.flac", {8, 24, 48000}, 9000},
      {"s8.flac", {2, 8, 44100}, 9000},
      {"s32.flac", {2, 32, 48000}, 9000},
      {"s16-768k.flac", {2, 16, 768000}, 20000},
      {"s24-705k-mono.flac", {1, 24, 705600}, 20000},
      {"no-seektable.flac", {2, 24, 44100}, 20000, "--no-seektable"},
      {"dense-seektable.flac", {2, 16, 44100}, 20000, "-S 100x"},
      {"odd-blocks.flac", {2, 16, 44100}, 20000, "--blocksize=1152 -8"},
      {"tiny-blocks.flac", {2, 16, 48000}, 3000, "--blocksize=192 --lax"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::vector<std::int32_t> signal =
        SeededSignal(c.frames, c.format.channels, c.format.bits, 23);
    const fs::path file = folder / c.file;
    ASSERT_TRUE(MakeWithFlac(signal, c.format, file, c.flac_options));
    const std::vector<float> reference =
        FlacToolStereoFloat(file, c.format.channels, c.format.bits);
    ASSERT_EQ(FirstDifference(reference, StereoFloat(signal, c.format.channels, c.format.bits)),
              -1);
    ExpectDecodes(file, c.format.rate, c.frames, reference, 8 * 3001);
  }
}

// An encoder writing to a pipe cannot go back to fill in the total; the length is then found
// by walking the frames, with or without a seek table.
TEST(FlacDecoding, FindsTheLengthWhenStreamInfoHasNoTotal) {
  TempFolder folder;
  const SignalFormat format{2, 16, 44100};
  const std::int64_t frames = 30001;
  const std::vector<std::int32_t> signal = SeededSignal(frames, 2, 16, 3);
  for (const char* options : {"--no-seektable", ""}) {
    SCOPED_TRACE(options);
    const fs::path file = folder / "no-total.flac";
    ASSERT_TRUE(MakeWithFlac(signal, format, file, options));
    ClearFlacTotalSamples(file);
    ExpectDecodes(file, format.rate, frames, StereoFloat(signal, 2, 16), 8 * 3001);
  }
}

}  // namespace
}  // namespace nf::test
