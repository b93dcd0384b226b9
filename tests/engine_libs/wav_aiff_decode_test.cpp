// WAV and AIFF through orvo.dll, compared bit for bit with sox's decoding of the same files.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/decoder_engine.h"
#include "tests/engine_libs/expect_decoding.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {
namespace {
namespace fs = std::filesystem;

constexpr std::int64_t Frames = 3001;  // not a multiple of any block size

struct Case {
  const char* file;
  SignalFormat format;
  const char* sox_output;
  bool extensible = false;  // sox writes WAVE_FORMAT_EXTENSIBLE for it
};

bool IsExtensibleWav(const fs::path& file) {
  const std::vector<std::uint8_t> bytes = ReadBytes(file);
  return bytes.size() > 22 && bytes[20] == 0xFE && bytes[21] == 0xFF;
}

// Decodes `file` and checks it against sox and against the signal it was made from.
void ExpectDecodesLikeSox(const fs::path& file, SignalFormat format,
                          const std::vector<std::int32_t>& signal) {
  const std::vector<float> reference = SoxStereoFloat(file, format.channels);
  ASSERT_EQ(reference.size(), 2u * Frames);
  // The fixture holds the signal as made, so sox is compared with a known truth.
  ASSERT_EQ(FirstDifference(reference, StereoFloat(signal, format.channels, format.bits)), -1);
  ExpectDecodes(file, format.rate, Frames, reference, 8 * 1001);
}

TEST(WavAiffDecoding, MatchesSoxBitForBit) {
  const Case cases[] = {
      {"u8-mono.wav", {1, 8, 44100}, "-e unsigned-integer -b 8"},
      {"s16-stereo.wav", {2, 16, 44100}, "-e signed-integer -b 16"},
      {"s24-stereo.wav", {2, 24, 96000}, "-e signed-integer -b 24", true},
      {"s24-mono.wav", {1, 24, 192000}, "-e signed-integer -b 24", true},
      {"s32-stereo.wav", {2, 32, 48000}, "-e signed-integer -b 32", true},
      {"f32-stereo.wav", {2, 24, 96000}, "-e floating-point -b 32"},
      {"f64-stereo.wav", {2, 32, 44100}, "-e floating-point -b 64"},
      {"s16-six.wav", {6, 16, 48000}, "-e signed-integer -b 16", true},
      {"s8-mono.aiff", {1, 8, 44100}, "-t aiff -e signed-integer -b 8"},
      {"s16-stereo.aiff", {2, 16, 44100}, "-t aiff -b 16"},
      {"s24-stereo.aif", {2, 24, 384000}, "-t aiff -b 24"},
      {"s32-mono.aiff", {1, 32, 88200}, "-t aiff -b 32"},
      {"s16-six.aiff", {6, 16, 48000}, "-t aiff -b 16"},
      {"s16-stereo-c.aif", {2, 16, 44100}, "-t aifc -b 16"},
      {"f32-stereo-c.aif", {2, 24, 176400}, "-t aifc -e floating-point -b 32"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::vector<std::int32_t> signal =
        SeededSignal(Frames, c.format.channels, c.format.bits, 11);
    const fs::path file = folder / c.file;
    ASSERT_TRUE(MakeWithSox(signal, c.format, file, c.sox_output));
    if (file.extension() == ".wav") {
      EXPECT_EQ(IsExtensibleWav(file), c.extensible);
    }
    ExpectDecodesLikeSox(file, c.format, signal);
  }
}

TEST(WavAiffDecoding, ReadsLittleEndianAifc) {
  TempFolder folder;
  for (const SignalFormat format : {SignalFormat{2, 16, 44100}, SignalFormat{1, 24, 96000}}) {
    SCOPED_TRACE(format.bits);
    const std::vector<std::int32_t> signal = SeededSignal(Frames, format.channels, format.bits, 5);
    const fs::path big = folder / "big.aif";
    const fs::path little = folder / "little.aif";
    ASSERT_TRUE(MakeWithSox(signal, format, big, "-t aifc -b " + std::to_string(format.bits)));
    ASSERT_TRUE(MakeLittleEndianAifc(big, format.bits, little));
    ExpectDecodesLikeSox(little, format, signal);
  }
}

// Float samples pass through untouched, whatever sox would make of them: beyond full scale,
// negative zero, the tiniest values. Doubles are rounded to float once.
TEST(WavAiffDecoding, PassesFloatSamplesThroughAndRoundsDoublesOnce) {
  const std::vector<double> values = {
      0.0,   -0.0, 1.0,     -1.0,  1.5,    -3.25,  1e-30,
      1e-40, 0.1,  1.0 / 3, 1e300, -1e300, 1e-300, std::numeric_limits<float>::max(),
      0.7,   -0.7};
  TempFolder folder;
  for (const int bits : {32, 64}) {
    SCOPED_TRACE(bits);
    for (const int channels : {1, 2}) {
      const fs::path file = folder / ("float" + std::to_string(bits) + ".wav");
      WriteFloatWav(file, values, channels, 48000, bits);
      const std::uint32_t handle = OpenStream(file);
      ASSERT_NE(handle, 0u);
      std::vector<double> stored = values;
      if (bits == 32)  // what the 32-bit file holds
        for (double& value : stored) value = static_cast<float>(value);
      EXPECT_EQ(FirstDifference(ReadToEnd(handle), FirstTwoChannels(stored, channels)), -1);
      RealDecoder().Orvo_StreamFree(handle);
    }
  }
}

}  // namespace
}  // namespace nf::test
