// Positions and reads as the track loader and the CUE reader use them: exact to the frame (and
// to the byte), the same slices as a full decoding, and a clean end.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/decoder_engine.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {
namespace {
namespace fs = std::filesystem;

constexpr std::int64_t Frames = 50000;
constexpr std::int64_t CueFrame = 37 * 588;  // INDEX 00:00:37 at 44.1 kHz

// One file of each kind of stream, made from one signal; the reference is the signal itself,
// which the decoding tests tie to sox and flac.
enum class Damage { None, NoTotal, WrongSeekTable };

struct Kind {
  const char* file;
  int channels;
  int bits;
  const char* maker_options;
  Damage damage = Damage::None;
};

const Kind Kinds[] = {
    {"stereo.wav", 2, 16, "-b 16"},
    {"mono.wav", 1, 8, "-e unsigned-integer -b 8"},
    {"six.aiff", 6, 24, "-t aiff -b 24"},
    {"seektable.flac", 2, 16, ""},
    {"no-seektable.flac", 2, 24, "--no-seektable"},
    {"no-total.flac", 2, 16, "--no-seektable", Damage::NoTotal},
    {"no-total-seektable.flac", 2, 16, "-S 5x", Damage::NoTotal},
    {"wrong-seektable.flac", 2, 16, "-S 20x", Damage::WrongSeekTable},
    {"six.flac", 6, 24, "-S 3x"},
};

class Streams : public ::testing::Test {
 protected:
  const engine::DecoderEngine& orvo = RealDecoder();
  TempFolder folder;

  // Makes the kind's file and opens it; `reference` gets the whole decoding.
  std::uint32_t Open(const Kind& kind, std::vector<float>& reference) {
    const SignalFormat format{kind.channels, kind.bits, 44100};
    const std::vector<std::int32_t> signal = SeededSignal(Frames, kind.channels, kind.bits, 99);
    const fs::path file = folder / kind.file;
    const bool made = file.extension() == ".flac"
                          ? MakeWithFlac(signal, format, file, kind.maker_options)
                          : MakeWithSox(signal, format, file, kind.maker_options);
    if (!made) return 0;
    if (kind.damage == Damage::NoTotal) ClearFlacTotalSamples(file);
    if (kind.damage == Damage::WrongSeekTable && !ScrambleFlacSeekTable(file)) return 0;
    reference = StereoFloat(signal, kind.channels, kind.bits);
    return OpenStream(file);
  }

  std::vector<float> Read(std::uint32_t handle, std::int32_t bytes, std::int32_t& got) {
    std::vector<float> floats(static_cast<std::size_t>(bytes + 7) / 4);
    got = orvo.Orvo_ChannelGetData(handle, floats.data(), bytes);
    floats.resize(static_cast<std::size_t>(std::max(got, 0)) / 4);
    return floats;
  }
};

std::vector<float> Slice(const std::vector<float>& all, std::int64_t frame, std::int64_t frames) {
  const auto from = static_cast<std::size_t>(std::min<std::int64_t>(2 * frame, all.size()));
  const auto to =
      static_cast<std::size_t>(std::min<std::int64_t>(2 * (frame + frames), all.size()));
  return {all.begin() + static_cast<std::ptrdiff_t>(from),
          all.begin() + static_cast<std::ptrdiff_t>(to)};
}

TEST_F(Streams, SeekingToAnyFrameReadsTheSameSliceAsAFullDecoding) {
  // First, block edges, the CUE-like offset, the last frame and the end; then backwards.
  const std::int64_t positions[] = {0,          1,      4095,     4096, 4097, CueFrame,
                                    Frames - 1, Frames, CueFrame, 4096, 1,    0};
  const std::int32_t request = 8 * 1000;
  for (const Kind& kind : Kinds) {
    SCOPED_TRACE(kind.file);
    std::vector<float> reference;
    const std::uint32_t handle = Open(kind, reference);
    ASSERT_NE(handle, 0u) << orvo.Orvo_ErrorGetCode();
    EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, 0), Frames * 8);
    for (const std::int64_t frame : positions) {
      SCOPED_TRACE(frame);
      ASSERT_EQ(orvo.Orvo_ChannelSetPosition(handle, frame * 8, 0), 1);
      EXPECT_EQ(orvo.Orvo_ChannelGetPosition(handle, 0), frame * 8);
      std::int32_t got = 0;
      const std::vector<float> data = Read(handle, request, got);
      EXPECT_EQ(got, 8 * std::min<std::int64_t>(1000, Frames - frame));
      EXPECT_EQ(FirstDifference(data, Slice(reference, frame, 1000)), -1);
      EXPECT_EQ(orvo.Orvo_ChannelGetPosition(handle, 0), frame * 8 + got);
    }
    orvo.Orvo_StreamFree(handle);
  }
}

TEST_F(Streams, AReadAcrossTheEndGivesTheRestThenZero) {
  for (const Kind& kind : Kinds) {
    SCOPED_TRACE(kind.file);
    std::vector<float> reference;
    const std::uint32_t handle = Open(kind, reference);
    ASSERT_NE(handle, 0u);
    ASSERT_EQ(orvo.Orvo_ChannelSetPosition(handle, (Frames - 10) * 8, 0), 1);
    std::int32_t got = 0;
    EXPECT_EQ(FirstDifference(Read(handle, 8 * 100, got), Slice(reference, Frames - 10, 10)), -1);
    EXPECT_EQ(got, 80);
    EXPECT_TRUE(Read(handle, 8 * 100, got).empty());
    EXPECT_EQ(got, 0);
    EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);  // the end is not a failure
    EXPECT_EQ(orvo.Orvo_ChannelGetPosition(handle, 0), Frames * 8);
    orvo.Orvo_StreamFree(handle);
  }
}

// A chunk as large as the loader asks for, in one call, and reads of odd byte counts that
// split frames, join up to the same bytes.
TEST_F(Streams, LargeReadsAndOddSizedReadsGiveTheSameBytes) {
  for (const Kind& kind : Kinds) {
    SCOPED_TRACE(kind.file);
    std::vector<float> reference;
    const std::uint32_t handle = Open(kind, reference);
    ASSERT_NE(handle, 0u);
    std::int32_t got = 0;
    EXPECT_EQ(FirstDifference(Read(handle, 81'607'680, got), reference), -1);
    EXPECT_EQ(got, Frames * 8);

    ASSERT_EQ(orvo.Orvo_ChannelSetPosition(handle, 0, 0), 1);
    EXPECT_EQ(FirstDifference(ReadToEnd(handle, 13), reference), -1);

    // A byte position inside a frame: the next read starts at that byte.
    const std::int64_t byte = 8 * CueFrame + 3;
    ASSERT_EQ(orvo.Orvo_ChannelSetPosition(handle, byte, 0), 1);
    std::uint8_t bytes[21];
    ASSERT_EQ(orvo.Orvo_ChannelGetData(handle, bytes, sizeof bytes), 21);
    EXPECT_EQ(
        std::memcmp(bytes, reinterpret_cast<const std::uint8_t*>(reference.data()) + byte, 21), 0);
    EXPECT_EQ(orvo.Orvo_ChannelGetPosition(handle, 0), byte + 21);
    orvo.Orvo_StreamFree(handle);
  }
}

TEST_F(Streams, PositionsOutsideTheDataAreRefusedAndChangeNothing) {
  std::vector<float> reference;
  for (const Kind& kind : {Kinds[0], Kinds[3]}) {
    SCOPED_TRACE(kind.file);
    const std::uint32_t handle = Open(kind, reference);
    ASSERT_NE(handle, 0u);
    ASSERT_EQ(orvo.Orvo_ChannelSetPosition(handle, 800, 0), 1);
    for (const std::int64_t byte : {std::int64_t{-8}, Frames * 8 + 1, Frames * 800}) {
      EXPECT_EQ(orvo.Orvo_ChannelSetPosition(handle, byte, 0), 0) << byte;
      EXPECT_EQ(orvo.Orvo_ErrorGetCode(), engine::EngineErrorIllegalParameter);
    }
    EXPECT_EQ(orvo.Orvo_ChannelGetPosition(handle, 0), 800);
    std::int32_t got = 0;
    EXPECT_EQ(FirstDifference(Read(handle, 80, got), Slice(reference, 100, 10)), -1);
    orvo.Orvo_StreamFree(handle);
  }
}

}  // namespace
}  // namespace nf::test
