// decoder_fixtures.h — audio files made in the test run from a seeded signal by independent
// tools (sox, the flac encoder), and those tools' own decodings of them, turned into the
// 2-channel float samples that the decoder engine must deliver bit for bit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace nf::test {

// A new folder under the system's temporary folder, removed with its contents at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A signal of `frames` frames of `channels` interleaved `bits`-bit signed samples (held
// right-justified): each channel a different tone under seeded noise, with both extremes, zero
// and -1 at fixed places so that scaling and sign errors show.
std::vector<std::int32_t> SeededSignal(std::int64_t frames, int channels, int bits,
                                       std::uint64_t seed);

struct SignalFormat {
  int channels = 2;
  int bits = 16;
  int rate = 44100;
};

// Runs a shell command quietly; true when it exits with 0.
bool RunTool(const std::string& command);
std::string Quoted(const std::filesystem::path& path);

// Raw little-endian signed PCM, `bits` / 8 bytes a sample.
void WriteRawPcm(const std::filesystem::path& path, const std::vector<std::int32_t>& samples,
                 int bits);
std::vector<std::int32_t> ReadRawPcm(const std::filesystem::path& path, int bits);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// sox writes `out` from the signal; `sox_output` are sox's output options, e.g.
// "-e floating-point -b 32" or "-t aifc -b 16". Dithering is off, so integer files hold the
// signal as given.
bool MakeWithSox(const std::vector<std::int32_t>& signal, SignalFormat format,
                 const std::filesystem::path& out, const std::string& sox_output);
// The flac encoder writes `out` from the signal, with extra options such as "--no-seektable".
bool MakeWithFlac(const std::vector<std::int32_t>& signal, SignalFormat format,
                  const std::filesystem::path& out, const std::string& flac_options = "");

// What sox decodes from `file`, read as 32-bit integers and turned into float by x / 2^31.
std::vector<float> SoxStereoFloat(const std::filesystem::path& file, int channels);
// What `flac -d` decodes from `file`, raw, turned into float by x / 2^(bits - 1).
std::vector<float> FlacToolStereoFloat(const std::filesystem::path& file, int channels, int bits);
// The signal itself by that rule, for checking the references.
std::vector<float> StereoFloat(const std::vector<std::int32_t>& signal, int channels, int bits);
// The first two channels of interleaved values (or the one, twice), as float.
std::vector<float> FirstTwoChannels(const std::vector<double>& interleaved, int channels);

// Rewrites a big-endian AIFF-C made by sox as little-endian ('sowt') with the same samples.
bool MakeLittleEndianAifc(const std::filesystem::path& big_endian, int bits,
                          const std::filesystem::path& out);
// Zeroes the total-samples count (and the MD5 sum) of a FLAC file's STREAMINFO, as an encoder
// writing to a pipe leaves it.
void ClearFlacTotalSamples(const std::filesystem::path& flac);
// Points every entry of a FLAC file's seek table at wrong places in the file (keeping their
// order), as a careless tag editor might; false when the file has no seek table.
bool ScrambleFlacSeekTable(const std::filesystem::path& flac);
// A WAV of IEEE float samples (32 or 64 bits), written here byte by byte: `values` interleaved.
void WriteFloatWav(const std::filesystem::path& out, const std::vector<double>& values,
                   int channels, int rate, int bits);

// Where the first bits differ, or -1 when both hold the same floats bit for bit.
std::int64_t FirstDifference(const std::vector<float>& a, const std::vector<float>& b);

}  // namespace nf::test
