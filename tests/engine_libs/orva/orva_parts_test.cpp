// orva_parts_test.cpp — the output library's inner rules: the exact integer forms of a float
// sample and their bytes, and the stereo pairs of a channel map.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "engine_libs/orva/channel_map.h"
#include "engine_libs/orva/sample_convert.h"

namespace nf::orva {
namespace {

TEST(FloatToInteger, ScalesRoundsToNearestEvenAndClipsOutsideMinusOneToOne) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const float below_one = std::nextafter(1.0f, 0.0f);
  struct Case {
    float sample;
    int bits;
    std::int32_t expected;
  };
  for (const Case& c : {
           Case{0.0f, 16, 0},
           {-0.0f, 16, 0},
           {1.0f, 16, 32767},  // the top of [-1, 1) is one step below 1.0
           {-1.0f, 16, -32768},
           {1.5f, 16, 32767},
           {-2.0f, 16, -32768},
           {infinity, 16, 32767},
           {-infinity, 16, -32768},
           {nan, 16, 0},
           {12345.0f / 32768, 16, 12345},
           {0.5f / 32768, 16, 0},  // halves go to the even neighbour
           {1.5f / 32768, 16, 2},
           {2.5f / 32768, 16, 2},
           {-1.5f / 32768, 16, -2},
           {below_one, 16, 32767},
           {0.25f, 24, 0x200000},
           {-8388608.0f / 8388608, 24, -8388608},
           {-123456.0f / 8388608, 24, -123456},
           {1.0f, 24, 8388607},
           {1.0f, 32, 2147483647},
           {-1.0f, 32, std::numeric_limits<std::int32_t>::min()},
           {below_one, 32, 2147483520},  // exact: 2^31 - 2^7
           {0x123456 * 256.0f / 2147483648.0f, 32, 0x12345600},
           {std::numeric_limits<float>::denorm_min(), 32, 0},
       })
    EXPECT_EQ(FloatToInteger(c.sample, c.bits), c.expected) << c.sample << " in " << c.bits;
}

TEST(ConvertSamples, WritesEachFormatLittleEndian) {
  const std::vector<float> samples = {-1.0f / 8388608, 0x123456 / 8388608.0f};
  struct Case {
    SampleFormat format;
    std::vector<unsigned char> bytes;
  };
  for (const Case& c : {
           Case{SampleFormat::S24Packed, {0xFF, 0xFF, 0xFF, 0x56, 0x34, 0x12}},
           {SampleFormat::S24In32, {0xFF, 0xFF, 0xFF, 0xFF, 0x56, 0x34, 0x12, 0x00}},
           {SampleFormat::S32, {0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x56, 0x34, 0x12}},
           {SampleFormat::S16, {0x00, 0x00, 0x34, 0x12}},  // 0x1234.56 rounds down
       }) {
    std::vector<unsigned char> out(samples.size() * BytesPerSample(c.format));
    ConvertSamples(samples.data(), samples.size(), c.format, out.data());
    EXPECT_EQ(out, c.bytes) << FormatName(c.format);
  }
  std::vector<unsigned char> out(8);
  ConvertSamples(samples.data(), samples.size(), SampleFormat::Float32, out.data());
  EXPECT_EQ(std::memcmp(out.data(), samples.data(), 8), 0);
}

TEST(FurtherPairStarts, MarksEachLeftRightPairAfterTheFirst) {
  struct Case {
    std::vector<unsigned> map;
    std::size_t channels;
    std::vector<std::uint32_t> starts;
  };
  const unsigned inverted_rl = SND_CHMAP_RL | SND_CHMAP_PHASE_INVERSE;
  for (const Case& c : {
           Case{{}, 2, {0, 0}},  // no map: nothing known
           {{}, 4, {0, 0, 0, 0}},
           {{SND_CHMAP_FL, SND_CHMAP_FR}, 2, {0, 0}},
           {{SND_CHMAP_FL, SND_CHMAP_FR, SND_CHMAP_RL, SND_CHMAP_RR}, 4, {0, 0, 1, 0}},
           {{SND_CHMAP_FL, SND_CHMAP_FR, SND_CHMAP_FC, SND_CHMAP_LFE, SND_CHMAP_RL, SND_CHMAP_RR},
            6,
            {0, 0, 0, 0, 1, 0}},
           {{SND_CHMAP_FL, SND_CHMAP_FR, SND_CHMAP_RL, SND_CHMAP_RR, SND_CHMAP_FC, SND_CHMAP_LFE,
             SND_CHMAP_SL, SND_CHMAP_SR},
            8,
            {0, 0, 1, 0, 0, 0, 1, 0}},
           {{SND_CHMAP_FC, SND_CHMAP_FL, SND_CHMAP_FR}, 3, {0, 1, 0}},
           {{SND_CHMAP_FR, SND_CHMAP_FL, SND_CHMAP_RR, SND_CHMAP_RL}, 4, {0, 0, 0, 0}},
           {{SND_CHMAP_MONO, SND_CHMAP_MONO}, 2, {0, 0}},
           {{SND_CHMAP_FL, SND_CHMAP_FR, SND_CHMAP_FL, SND_CHMAP_FR}, 4, {0, 0, 1, 0}},
           {{SND_CHMAP_FL, SND_CHMAP_FR, inverted_rl, SND_CHMAP_RR}, 4, {0, 0, 1, 0}},
           {{SND_CHMAP_FL, SND_CHMAP_FR}, 4, {0, 0, 0, 0}},  // a map of another size
       })
    EXPECT_EQ(FurtherPairStarts(c.map, c.channels), c.starts);
}

TEST(ChannelName, NamesTheNumberAndTheKnownPosition) {
  const std::vector<unsigned> map = {SND_CHMAP_FL, SND_CHMAP_FR, SND_CHMAP_UNKNOWN};
  EXPECT_EQ(ChannelName(0, map), "Output 1 (FL)");
  EXPECT_EQ(ChannelName(2, map), "Output 3");
  EXPECT_EQ(ChannelName(1, {}), "Output 2");
}

}  // namespace
}  // namespace nf::orva
