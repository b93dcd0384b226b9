// The calls of orvo.dll as the program makes them: set-up, paths, handles, error codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "engine/decoder_engine.h"
#include "platform/platform.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {
namespace {
namespace fs = std::filesystem;
using namespace engine;

constexpr std::int64_t Frames = 5000;

class EngineApi : public ::testing::Test {
 protected:
  const DecoderEngine& orvo = RealDecoder();
  TempFolder folder;

  fs::path Wav(const std::string& name, int rate = 44100) {
    const fs::path file = folder / name;
    EXPECT_TRUE(MakeWithSox(SeededSignal(Frames, 2, 16, 1), {2, 16, rate}, file, "-b 16"));
    return file;
  }
};

TEST_F(EngineApi, TheProgramsSetUpCallsSucceedAndLeaveNoErrorCode) {
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);  // right after loading
  EXPECT_EQ(orvo.Orvo_Init(0, 44100, OrvoInitNoSound, nullptr, nullptr), 1);
  EXPECT_EQ(orvo.Orvo_SetDevice(0), 1);
  EXPECT_EQ(orvo.Orvo_SetConfig(OrvoConfigBuffer, 0), 1);
  EXPECT_EQ(orvo.Orvo_SetConfig(OrvoConfigUnicodePaths, 1), 1);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);
  // Re-initialisation goes through Orvo_Free; a second Init without it is refused.
  EXPECT_EQ(orvo.Orvo_Init(0, 96000, OrvoInitNoSound, nullptr, nullptr), 0);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorAlready);
  EXPECT_EQ(orvo.Orvo_Free(), 1);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);
  EXPECT_EQ(orvo.Orvo_Init(0, 96000, OrvoInitNoSound, nullptr, nullptr), 1);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);
}

TEST_F(EngineApi, RefusesWhatItDoesNotOffer) {
  const std::u16string path = platform::FromUtf8(Wav("a.wav").string());
  struct Case {
    const char* what;
    std::function<std::int32_t()> call;
    std::int32_t code;
  };
  const Case cases[] = {
      {"a device other than none", [&] { return orvo.Orvo_SetDevice(1); }, EngineErrorDevice},
      {"Init on a device", [&] { return orvo.Orvo_Init(2, 44100, 0, nullptr, nullptr); },
       EngineErrorDevice},
      {"an unknown option", [&] { return orvo.Orvo_SetConfig(7, 1); }, EngineErrorIllegalParameter},
      {"a memory stream",
       [&] {
         return std::int32_t(orvo.Orvo_StreamCreateFile(1, path.c_str(), 0, 0, OrvoPlayFlags));
       },
       EngineErrorIllegalParameter},
      {"part of a file",
       [&] {
         return std::int32_t(orvo.Orvo_StreamCreateFile(0, path.c_str(), 44, 0, OrvoPlayFlags));
       },
       EngineErrorIllegalParameter},
      {"no path",
       [&] { return std::int32_t(orvo.Orvo_StreamCreateFile(0, nullptr, 0, 0, OrvoPlayFlags)); },
       EngineErrorIllegalParameter},
      {"FLAC without a path",
       [&] {
         return std::int32_t(orvo.Orvo_FLAC_StreamCreateFile(0, nullptr, 0, 0, OrvoPlayFlags));
       },
       EngineErrorIllegalParameter},
      {"samples other than float",
       [&] {
         return std::int32_t(orvo.Orvo_StreamCreateFile(0, path.c_str(), 0, 0, OrvoStreamUnicode));
       },
       EngineErrorSampleFormat},
      {"an empty path",
       [&] { return std::int32_t(orvo.Orvo_StreamCreateFile(0, u"", 0, 0, OrvoPlayFlags)); },
       EngineErrorFileOpen},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), 0) << c.what;
    EXPECT_EQ(orvo.Orvo_ErrorGetCode(), c.code) << c.what;
  }
}

// UTF-16 when the flag or option 42 says so, else the file-system name itself (UTF-8).
TEST_F(EngineApi, PathsArriveAsUtf16OrAsFileSystemNames) {
  const fs::path file = Wav("Ünïcødé ♫ 𝄞.wav");
  const std::u16string utf16 = platform::FromUtf8(file.string());
  const std::string utf8 = file.string();
  const std::uint32_t ansi_flags = OrvoPlayFlags & ~OrvoStreamUnicode;

  std::uint32_t handle = orvo.Orvo_StreamCreateFile(0, utf16.c_str(), 0, 0, OrvoPlayFlags);
  EXPECT_NE(handle, 0u);
  orvo.Orvo_StreamFree(handle);
  handle = orvo.Orvo_StreamCreateFile(0, utf8.c_str(), 0, 0, ansi_flags);
  EXPECT_NE(handle, 0u);
  orvo.Orvo_StreamFree(handle);
  // Without the flag a UTF-16 text is a one-letter name (its first byte, then a zero).
  EXPECT_EQ(orvo.Orvo_StreamCreateFile(0, utf16.c_str(), 0, 0, ansi_flags), 0u);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorFileOpen);
  ASSERT_EQ(orvo.Orvo_SetConfig(OrvoConfigUnicodePaths, 1), 1);
  handle = orvo.Orvo_StreamCreateFile(0, utf16.c_str(), 0, 0, ansi_flags);
  EXPECT_NE(handle, 0u);
  orvo.Orvo_StreamFree(handle);

  // A file name that is not UTF-8 travels as the program's escaped UTF-16, to the same file.
  const fs::path raw_name = folder / std::string("caf\xE9.wav");
  fs::copy_file(file, raw_name);
  handle = orvo.Orvo_StreamCreateFile(0, platform::FromUtf8(raw_name.string()).c_str(), 0, 0,
                                      OrvoPlayFlags);
  EXPECT_NE(handle, 0u);
  EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, 0), Frames * 8);
  orvo.Orvo_StreamFree(handle);
}

TEST_F(EngineApi, StreamCallsReportLengthRateSecondsAndFilePosition) {
  const std::uint32_t handle = OpenStream(Wav("a.wav", 96000), OrvoProbeFlags);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(orvo.Orvo_ChannelSetDevice(handle, 0), 1);
  EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, OrvoPosByte), Frames * 8);
  float rate = 0;
  EXPECT_EQ(orvo.Orvo_ChannelGetAttribute(handle, OrvoAttribFreq, &rate), 1);
  EXPECT_EQ(rate, 96000.0f);
  EXPECT_DOUBLE_EQ(orvo.Orvo_ChannelBytes2Seconds(handle, 96000 * 8 * 3), 3.0);
  EXPECT_EQ(orvo.Orvo_StreamGetFilePosition(handle, 0), 44);  // after the WAV header
  std::vector<std::uint8_t> buffer(8 * 100);
  EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, buffer.data(), 800), 800);
  EXPECT_EQ(orvo.Orvo_StreamGetFilePosition(handle, 0), 44 + 400);
  EXPECT_EQ(orvo.Orvo_ChannelUpdate(handle, 0), 1);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);
  // Modes and attributes other than those the program uses are refused.
  EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, 1), -1);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorIllegalParameter);
  EXPECT_EQ(orvo.Orvo_ChannelGetAttribute(handle, 2, &rate), 0);
  EXPECT_EQ(orvo.Orvo_ChannelGetAttribute(handle, OrvoAttribFreq, nullptr), 0);
  EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, buffer.data(), -8), -1);
  EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, nullptr, 8), -1);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorIllegalParameter);
  EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, buffer.data(), 0), 0);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);
  EXPECT_EQ(orvo.Orvo_StreamFree(handle), 1);
}

TEST_F(EngineApi, EveryCallOnAHandleThatIsNotOpenFails) {
  const std::uint32_t freed = OpenStream(Wav("a.wav"));
  ASSERT_NE(freed, 0u);
  ASSERT_EQ(orvo.Orvo_StreamFree(freed), 1);
  for (const std::uint32_t handle : {0u, freed, 0xDEADBEEFu}) {
    SCOPED_TRACE(handle);
    float value = 0;
    std::uint8_t buffer[8];
    auto expect_refused = [&](auto result, auto failure) {
      EXPECT_EQ(result, failure);
      EXPECT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorIllegalParameter);
    };
    expect_refused(orvo.Orvo_ChannelGetData(handle, buffer, 8), -1);
    expect_refused(orvo.Orvo_ChannelGetLength(handle, 0), std::int64_t{-1});
    expect_refused(orvo.Orvo_ChannelGetPosition(handle, 0), std::int64_t{-1});
    expect_refused(orvo.Orvo_ChannelSetPosition(handle, 0, 0), 0);
    expect_refused(orvo.Orvo_ChannelGetAttribute(handle, 1, &value), 0);
    expect_refused(orvo.Orvo_ChannelSetDevice(handle, 0), 0);
    expect_refused(orvo.Orvo_ChannelStop(handle), 0);
    expect_refused(orvo.Orvo_ChannelUpdate(handle, 0), 0);
    expect_refused(orvo.Orvo_ChannelBytes2Seconds(handle, 8), -1.0);
    expect_refused(orvo.Orvo_StreamGetFilePosition(handle, 0), std::int64_t{-1});
    expect_refused(orvo.Orvo_StreamFree(handle), 0);
  }
}

TEST_F(EngineApi, FreeReleasesEveryStream) {
  const fs::path file = Wav("a.wav");
  std::vector<std::uint32_t> handles;
  for (int i = 0; i < 3; ++i) handles.push_back(OpenStream(file));
  EXPECT_EQ(std::set<std::uint32_t>(handles.begin(), handles.end()).size(), 3u);
  EXPECT_EQ(orvo.Orvo_Free(), 1);
  for (const std::uint32_t handle : handles) {
    EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, 0), -1);
    EXPECT_EQ(orvo.Orvo_ErrorGetCode(), EngineErrorIllegalParameter);
  }
  // Handles are not handed out again at once, so a stale one cannot reach a new stream.
  EXPECT_EQ(std::count(handles.begin(), handles.end(), OpenStream(file)), 0);
}

TEST_F(EngineApi, StopEndsTheDataUntilTheNextPosition) {
  const std::uint32_t handle = OpenStream(Wav("a.wav"));
  ASSERT_NE(handle, 0u);
  std::vector<std::uint8_t> buffer(8 * Frames);
  ASSERT_EQ(orvo.Orvo_ChannelGetData(handle, buffer.data(), 800), 800);
  EXPECT_EQ(orvo.Orvo_ChannelStop(handle), 1);
  EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, buffer.data(), 800), 0);
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);
  ASSERT_EQ(orvo.Orvo_ChannelSetPosition(handle, 800, 0), 1);
  EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, buffer.data(), 8 * Frames), 8 * (Frames - 100));
  orvo.Orvo_StreamFree(handle);
}

}  // namespace
}  // namespace nf::test
