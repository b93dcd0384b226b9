// Files that are missing, foreign, cut short or damaged: each gets its error code, or the audio
// up to the damage; none crashes, hangs or reads past a buffer (this runs under ASan too).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/decoder_engine.h"
#include "platform/platform.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {
namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t Frames = 40000;

// The header of a RIFF or FORM chunk, found by walking the chunks; npos when absent.
std::size_t FindChunk(const Bytes& bytes, const char* tag) {
  const bool big_endian = std::memcmp(bytes.data(), "FORM", 4) == 0;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    if (std::memcmp(&bytes[at], tag, 4) == 0) return at;
    std::size_t size = 0;
    for (int b = 0; b < 4; ++b)
      size |= std::size_t{bytes[at + 4 + b]} << (8 * (big_endian ? 3 - b : b));
    at += 8 + size + (size & 1);
  }
  return std::string::npos;
}

void PutLittle(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int b = 0; b < size; ++b) bytes[at + b] = static_cast<std::uint8_t>(value >> (8 * b));
}

void PutBig(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int b = 0; b < size; ++b)
    bytes[at + b] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - b)));
}

class BadInput : public ::testing::Test {
 protected:
  const engine::DecoderEngine& orvo = RealDecoder();
  TempFolder folder;
  const std::vector<std::int32_t> signal = SeededSignal(Frames, 2, 16, 41);
  const std::vector<float> reference = StereoFloat(signal, 2, 16);

  fs::path Good(const char* name) {
    const fs::path file = folder / name;
    const SignalFormat format{2, 16, 44100};
    const bool made = file.extension() == ".flac" ? MakeWithFlac(signal, format, file)
                                                  : MakeWithSox(signal, format, file, "-b 16");
    EXPECT_TRUE(made) << name;
    return file;
  }
  fs::path Written(const char* name, const Bytes& bytes) {
    WriteBytes(folder / name, bytes);
    return folder / name;
  }
  fs::path Edited(const char* name, const char* from, const std::function<void(Bytes&)>& edit) {
    Bytes bytes = ReadBytes(Good(from));
    edit(bytes);
    return Written(name, bytes);
  }
  std::uint32_t Create(const fs::path& file, bool flac) {
    const std::u16string path = platform::FromUtf8(file.string());
    return (flac ? orvo.Orvo_FLAC_StreamCreateFile : orvo.Orvo_StreamCreateFile)(
        0, path.c_str(), 0, 0, engine::OrvoPlayFlags);
  }
};

TEST_F(BadInput, RefusedFilesGiveTheirErrorCode) {
  using engine::EngineErrorFileFormat, engine::EngineErrorFileOpen, engine::EngineErrorSampleFormat;
  const Bytes text = {'N', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o', '\n'};
  const Bytes wav = ReadBytes(Good("good.wav"));
  const Bytes aiff = ReadBytes(Good("good.aiff"));
  const Bytes flac = ReadBytes(Good("good.flac"));
  fs::create_directory(folder / "folder.wav");
  fs::create_directory(folder / "folder.flac");
  ASSERT_TRUE(RunTool("mkfifo " + Quoted(folder / "pipe.wav")));
  ASSERT_TRUE(RunTool("mkfifo " + Quoted(folder / "pipe.flac")));
  ASSERT_TRUE(MakeWithSox(signal, {2, 16, 44100}, folder / "ulaw.wav", "-e u-law"));

  struct Case {
    fs::path file;
    bool flac;  // opened with the FLAC plug-in
    std::int32_t code;
  };
  const Case cases[] = {
      {folder / "missing.wav", false, EngineErrorFileOpen},
      {folder / "missing.flac", true, EngineErrorFileOpen},
      {folder / "folder.wav", false, EngineErrorFileOpen},
      {folder / "folder.flac", true, EngineErrorFileOpen},
      {folder / "pipe.wav", false, EngineErrorFileOpen},
      {folder / "pipe.flac", true, EngineErrorFileOpen},
      {Written("empty.wav", {}), false, EngineErrorFileFormat},
      {Written("empty.flac", {}), true, EngineErrorFileFormat},
      {Written("text.wav", text), false, EngineErrorFileFormat},
      {Written("text.aiff", text), false, EngineErrorFileFormat},
      {Written("text.flac", text), true, EngineErrorFileFormat},
      {Written("cut-header.wav", Bytes(wav.begin(), wav.begin() + 30)), false,
       EngineErrorFileFormat},
      {Written("cut-header.aiff", Bytes(aiff.begin(), aiff.begin() + 40)), false,
       EngineErrorFileFormat},
      {Written("cut-header.flac", Bytes(flac.begin(), flac.begin() + 30)), true,
       EngineErrorFileFormat},
      {Written("only-magic.flac", Bytes(flac.begin(), flac.begin() + 4)), true,
       EngineErrorFileFormat},
      {folder / "good.flac", false, EngineErrorFileFormat},  // FLAC is the plug-in's
      {folder / "good.wav", true, EngineErrorFileFormat},
      {folder / "good.aiff", true, EngineErrorFileFormat},
      {Edited("no-channels.wav", "good.wav",
              [](Bytes& b) { PutLittle(b, FindChunk(b, "fmt ") + 8 + 2, 0, 2); }),
       false, EngineErrorFileFormat},
      {Edited("no-rate.wav", "good.wav",
              [](Bytes& b) { PutLittle(b, FindChunk(b, "fmt ") + 8 + 4, 0, 4); }),
       false, EngineErrorFileFormat},
      {Edited("no-rate.flac", "good.flac", [](Bytes& b) { b[18] = b[19] = 0, b[20] &= 0x0F; }),
       true, EngineErrorFileFormat},
      {folder / "ulaw.wav", false, EngineErrorSampleFormat},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.filename().string());
    EXPECT_EQ(Create(c.file, c.flac), 0u);
    EXPECT_EQ(orvo.Orvo_ErrorGetCode(), c.code);
  }
}

// Where a header promises more than the file holds, the stream is what the file holds, its
// length included.
TEST_F(BadInput, HeadersThatPromiseTooMuchGiveWhatIsThere) {
  const fs::path files[] = {
      Edited("long-data.wav", "good.wav",
             [](Bytes& b) { PutLittle(b, FindChunk(b, "data") + 4, 0x7FFFFFF0, 4); }),
      Edited("long-riff.wav", "good.wav", [](Bytes& b) { PutLittle(b, 4, 0xFFFFFFF0, 4); }),
      Edited("absurd-frames.aiff", "good.aiff",
             [](Bytes& b) { PutBig(b, FindChunk(b, "COMM") + 8 + 2, 0xFFFFFFF0, 4); }),
      Edited("long-ssnd.aiff", "good.aiff",
             [](Bytes& b) { PutBig(b, FindChunk(b, "SSND") + 4, 0x7FFFFFF0, 4); }),
  };
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::uint32_t handle = Create(file, false);
    ASSERT_NE(handle, 0u) << orvo.Orvo_ErrorGetCode();
    EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, 0), Frames * 8);
    EXPECT_EQ(FirstDifference(ReadToEnd(handle), reference), -1);
    orvo.Orvo_StreamFree(handle);
  }
}

// Cut short, or damaged in the middle: the audio before the damage, exactly, then the end.
TEST_F(BadInput, DamagedFlacGivesTheAudioUpToTheDamage) {
  const Bytes flac = ReadBytes(Good("good.flac"));
  struct Case {
    const char* name;
    Bytes bytes;
    bool length_is_exact;  // the length is what is delivered, not what STREAMINFO promised
    bool intact = false;   // nothing in it is damage: all the audio comes
  };
  Bytes corrupt = flac;
  for (std::size_t i = 0; i < 64; ++i) corrupt[flac.size() / 2 + i] ^= 0x5A;
  Bytes corrupt_without_total = corrupt;
  corrupt_without_total[8 + 13] &= 0xF0;
  std::fill(corrupt_without_total.begin() + 8 + 14, corrupt_without_total.begin() + 8 + 34, 0);
  // Tags before the stream (ID3v2) and after its last frame (ID3v1) are not damage.
  Bytes tagged = flac;
  const std::string v1 = "TAG" + std::string(125, ' ');
  tagged.insert(tagged.end(), v1.begin(), v1.end());
  const Bytes v2 = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 20};  // a 20-byte tag body follows
  tagged.insert(tagged.begin(), 20, 0);
  tagged.insert(tagged.begin(), v2.begin(), v2.end());
  const Case cases[] = {
      {"cut.flac", Bytes(flac.begin(), flac.begin() + flac.size() * 6 / 10), true},
      {"cut-in-first-frame.flac", Bytes(flac.begin(), flac.begin() + 8500), true},
      {"corrupt.flac", corrupt, false},
      {"corrupt-no-total.flac", corrupt_without_total, true},
      {"tagged.flac", tagged, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::uint32_t handle = Create(Written(c.name, c.bytes), true);
    ASSERT_NE(handle, 0u) << orvo.Orvo_ErrorGetCode();
    const std::vector<float> delivered = ReadToEnd(handle, 8 * 3000);
    const std::vector<float> prefix(
        reference.begin(), reference.begin() + static_cast<std::ptrdiff_t>(
                                                   std::min(delivered.size(), reference.size())));
    EXPECT_EQ(FirstDifference(delivered, prefix), -1);
    if (c.intact) {
      EXPECT_EQ(delivered.size(), reference.size());
    } else {
      EXPECT_LT(delivered.size(), reference.size());
      EXPECT_EQ(delivered.size() % (2 * 4096), 0u);  // whole frames before the damage
    }
    const std::int64_t length = orvo.Orvo_ChannelGetLength(handle, 0);
    if (c.length_is_exact) {
      EXPECT_EQ(length, static_cast<std::int64_t>(delivered.size()) * 4);
    } else {
      EXPECT_GE(length, static_cast<std::int64_t>(delivered.size()) * 4);
    }
    std::uint8_t more[64];
    EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, more, sizeof more), 0);
    // Seeking back before the damage works, and exactly; past the end is refused.
    const bool reaches_frame_108 = delivered.size() >= 2 * 108;
    EXPECT_EQ(orvo.Orvo_ChannelSetPosition(handle, 8 * 100, 0), reaches_frame_108 ? 1 : 0);
    if (reaches_frame_108) {
      EXPECT_EQ(orvo.Orvo_ChannelGetData(handle, more, sizeof more), 64);
      EXPECT_EQ(std::memcmp(more, reference.data() + 200, 64), 0);
    }
    orvo.Orvo_StreamFree(handle);
  }
}

}  // namespace
}  // namespace nf::test
