// Two threads on the engine as the program uses it: the main thread probes its own streams
// while the audio thread reads another, and a stream may be freed while it is being read.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "engine/decoder_engine.h"
#include "platform/platform.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {
namespace {
namespace fs = std::filesystem;
using namespace engine;

constexpr std::int64_t Frames = 200000;

class TwoThreads : public ::testing::Test {
 protected:
  const DecoderEngine& orvo = RealDecoder();
  TempFolder folder;
  const std::vector<std::int32_t> signal = SeededSignal(Frames, 2, 16, 8);
  const std::vector<float> reference = StereoFloat(signal, 2, 16);

  fs::path Make(const char* name) {
    const fs::path file = folder / name;
    const bool made = file.extension() == ".flac"
                          ? MakeWithFlac(signal, {2, 16, 44100}, file)
                          : MakeWithSox(signal, {2, 16, 44100}, file, "-b 16");
    EXPECT_TRUE(made);
    return file;
  }
};

TEST_F(TwoThreads, ErrorCodesBelongToTheThreadThatCalled) {
  const fs::path good = Make("good.flac");
  EXPECT_EQ(OpenStream(folder / "missing.wav"), 0u);
  ASSERT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorFileOpen);
  std::int32_t fresh = -2, after_success = -2;
  std::thread other([&] {
    fresh = orvo.Orvo_ErrorGetCode();
    const std::uint32_t handle = OpenStream(good);
    after_success = handle ? orvo.Orvo_ErrorGetCode() : -3;
    orvo.Orvo_StreamFree(handle);
  });
  other.join();
  EXPECT_EQ(fresh, 0);
  EXPECT_EQ(after_success, 0);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorFileOpen);
}

TEST_F(TwoThreads, TheMainThreadProbesWhileTheAudioThreadDecodes) {
  const fs::path played = Make("played.flac");
  const fs::path probed_wav = Make("probed.wav");
  const fs::path probed_flac = Make("probed.flac");
  const std::uint32_t playing = OpenStream(played);
  ASSERT_NE(playing, 0u);
  std::atomic<bool> done{false};
  std::vector<float> decoded;
  std::thread audio([&] {
    decoded = ReadToEnd(playing, 4096 * 8);
    done = true;
  });
  int probes = 0, good_probes = 0;
  while (!done || probes < 4) {
    for (const fs::path& file : {probed_wav, probed_flac, folder / "missing.flac"}) {
      const std::uint32_t probe = OpenStream(file, OrvoProbeFlags);
      float rate = 0;
      if (probe && orvo.Orvo_ChannelGetLength(probe, 0) == Frames * 8 &&
          orvo.Orvo_ChannelGetAttribute(probe, OrvoAttribFreq, &rate) && rate == 44100.0f)
        ++good_probes;
      if (probe) orvo.Orvo_StreamFree(probe);
      ++probes;
    }
  }
  audio.join();
  EXPECT_EQ(good_probes, probes * 2 / 3);
  EXPECT_EQ(FirstDifference(decoded, reference), -1);
  orvo.Orvo_StreamFree(playing);
}

// Freeing a stream that the other thread is reading waits for that read: the read either ends
// early or completes, and the bytes it gave are right; after the free the handle is gone.
TEST_F(TwoThreads, FreeingAStreamWhileItIsReadWaitsForTheRead) {
  for (const char* name : {"freed.wav", "freed.flac"}) {
    SCOPED_TRACE(name);
    const fs::path file = Make(name);
    for (int round = 0; round < 3; ++round) {
      const std::uint32_t handle = OpenStream(file);
      ASSERT_NE(handle, 0u);
      std::atomic<bool> started{false};
      std::vector<std::uint8_t> bytes(Frames * 8);
      std::int64_t total = 0;
      std::int32_t last = 0;
      std::thread audio([&] {
        started = true;
        for (;;) {
          last = orvo.Orvo_ChannelGetData(handle, bytes.data() + total, 8 * 1024);
          if (last <= 0) break;
          total += last;
        }
      });
      while (!started) std::this_thread::yield();
      EXPECT_EQ(orvo.Orvo_StreamFree(handle), 1);
      audio.join();
      EXPECT_TRUE(last == 0 || last == -1) << last;
      std::vector<float> delivered(static_cast<std::size_t>(total) / 4);
      if (total > 0) std::memcpy(delivered.data(), bytes.data(), static_cast<std::size_t>(total));
      EXPECT_EQ(FirstDifference(delivered, std::vector<float>(reference.begin(),
                                                              reference.begin() + total / 4)),
                -1);
      EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, bytes.data(), 8), -1);
    }
  }
}

}  // namespace
}  // namespace nf::test
