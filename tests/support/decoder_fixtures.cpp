// decoder_fixtures.cpp — fixture files made and decoded by sox and flac, in a folder per test.
#include "tests/support/decoder_fixtures.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace nf::test {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = fs::temp_directory_path() / ("nf-test-" + std::to_string(random()));
    if (fs::create_directory(path_)) return;
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::vector<std::int32_t> SeededSignal(std::int64_t frames, int channels, int bits,
                                       std::uint64_t seed) {
  const double top = std::ldexp(1.0, bits - 1);
  const auto max = static_cast<std::int64_t>(top) - 1;
  const auto min = -static_cast<std::int64_t>(top);
  std::uint64_t state = seed;
  auto next_random = [&state] {  // splitmix64: the same numbers on every machine
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  };
  std::vector<std::int32_t> samples(static_cast<std::size_t>(frames * channels));
  for (std::int64_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      const double tone = 0.6 * std::sin(0.0123 * (c + 1) * static_cast<double>(i) + c);
      const double noise = 0.05 * (static_cast<double>(next_random() >> 11) * 0x1p-53 * 2 - 1);
      auto value = static_cast<std::int64_t>(std::llround((tone + noise) * top));
      // Fixed marks: the extremes, zero and the smallest steps, per channel at its own frame.
      const std::int64_t mark = (i - 1 - c) % 97;
      if (mark == 0) value = max;
      if (mark == 1) value = min;
      if (mark == 2) value = 0;
      if (mark == 3) value = -1;
      if (mark == 4) value = 1;
      samples[static_cast<std::size_t>(i * channels + c)] =
          static_cast<std::int32_t>(std::clamp(value, min, max));
    }
  }
  return samples;
}

bool RunTool(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Quoted(const fs::path& path) {
  std::string quoted = "'";
  for (const char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WriteRawPcm(const fs::path& path, const std::vector<std::int32_t>& samples, int bits) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(samples.size() * static_cast<std::size_t>(bits / 8));
  for (const std::int32_t sample : samples)
    for (int b = 0; b < bits / 8; ++b)
      bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(sample) >> (8 * b)));
  WriteBytes(path, bytes);
}

std::vector<std::int32_t> ReadRawPcm(const fs::path& path, int bits) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  const std::size_t width = static_cast<std::size_t>(bits / 8);
  std::vector<std::int32_t> samples(bytes.size() / width);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    std::uint32_t value = 0;
    for (std::size_t b = 0; b < width; ++b) value |= std::uint32_t{bytes[i * width + b]} << (8 * b);
    // Move the sample's sign bit to the top, then back down with the sign.
    samples[i] = static_cast<std::int32_t>(value << (32 - bits)) >> (32 - bits);
  }
  return samples;
}

namespace {

fs::path RawBeside(const fs::path& file, const char* what) {
  return fs::path(file.string() + "." + what + ".raw");
}

std::string RawInput(SignalFormat format) {
  return "-t raw -e signed-integer -L -b " + std::to_string(format.bits) + " -r " +
         std::to_string(format.rate) + " -c " + std::to_string(format.channels);
}

}  // namespace

bool MakeWithSox(const std::vector<std::int32_t>& signal, SignalFormat format, const fs::path& out,
                 const std::string& sox_output) {
  const fs::path raw = RawBeside(out, "signal");
  WriteRawPcm(raw, signal, format.bits);
  return RunTool("sox -D " + RawInput(format) + " " + Quoted(raw) + " " + sox_output + " " +
                 Quoted(out));
}

bool MakeWithFlac(const std::vector<std::int32_t>& signal, SignalFormat format, const fs::path& out,
                  const std::string& flac_options) {
  const fs::path raw = RawBeside(out, "signal");
  WriteRawPcm(raw, signal, format.bits);
  // Rates above 655,350 Hz are outside the streamable subset; --lax lets the encoder write them.
  const std::string lax = format.rate > 655350 ? " --lax" : "";
  return RunTool("flac -s -f --force-raw-format --endian=little --sign=signed --channels=" +
                 std::to_string(format.channels) + " --bps=" + std::to_string(format.bits) +
                 " --sample-rate=" + std::to_string(format.rate) + lax + " " + flac_options +
                 " -o " + Quoted(out) + " " + Quoted(raw));
}

std::vector<float> FirstTwoChannels(const std::vector<double>& interleaved, int channels) {
  const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
  std::vector<float> stereo(2 * frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const double* frame = interleaved.data() + i * static_cast<std::size_t>(channels);
    stereo[2 * i] = static_cast<float>(frame[0]);
    stereo[2 * i + 1] = static_cast<float>(frame[channels > 1 ? 1 : 0]);
  }
  return stereo;
}

std::vector<float> StereoFloat(const std::vector<std::int32_t>& signal, int channels, int bits) {
  const double unit = std::ldexp(1.0, bits - 1);
  std::vector<double> exact(signal.size());
  std::transform(signal.begin(), signal.end(), exact.begin(),
                 [unit](std::int32_t x) { return static_cast<double>(x) / unit; });
  return FirstTwoChannels(exact, channels);
}

std::vector<float> SoxStereoFloat(const fs::path& file, int channels) {
  const fs::path raw = RawBeside(file, "sox");
  if (!RunTool("sox " + Quoted(file) + " -t raw -e signed-integer -b 32 -L " + Quoted(raw)))
    return {};
  return StereoFloat(ReadRawPcm(raw, 32), channels, 32);
}

std::vector<float> FlacToolStereoFloat(const fs::path& file, int channels, int bits) {
  const fs::path raw = RawBeside(file, "flac");
  if (!RunTool("flac -d -s -f --force-raw-format --endian=little --sign=signed -o " + Quoted(raw) +
               " " + Quoted(file)))
    return {};
  return StereoFloat(ReadRawPcm(raw, bits), channels, bits);
}

bool MakeLittleEndianAifc(const fs::path& big_endian, int bits, const fs::path& out) {
  std::vector<std::uint8_t> bytes = ReadBytes(big_endian);
  auto be32 = [&](std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
  };
  if (bytes.size() < 12 || std::memcmp(&bytes[8], "AIFC", 4) != 0) return false;
  bool changed_comm = false, swapped = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::size_t size = be32(at + 4);
    const std::size_t data = at + 8;
    if (data + size > bytes.size()) return false;
    if (std::memcmp(&bytes[at], "COMM", 4) == 0 && size >= 22) {
      std::memcpy(&bytes[data + 18], "sowt", 4);  // after channels, frames, bits and the rate
      changed_comm = true;
    } else if (std::memcmp(&bytes[at], "SSND", 4) == 0 && size >= 8) {
      const std::size_t width = static_cast<std::size_t>(bits / 8);
      for (std::size_t s = data + 8; s + width <= data + size; s += width)
        std::reverse(bytes.begin() + static_cast<std::ptrdiff_t>(s),
                     bytes.begin() + static_cast<std::ptrdiff_t>(s + width));
      swapped = true;
    }
    at = data + size + (size & 1);
  }
  WriteBytes(out, bytes);
  return changed_comm && swapped;
}

void ClearFlacTotalSamples(const fs::path& flac) {
  std::vector<std::uint8_t> bytes = ReadBytes(flac);
  // STREAMINFO follows "fLaC" and its 4-byte block header; the 36-bit count starts in the low
  // half of its byte 13 and the MD5 sum follows it.
  bytes[8 + 13] &= 0xF0;
  std::fill(bytes.begin() + 8 + 14, bytes.begin() + 8 + 34, 0);
  WriteBytes(flac, bytes);
}

bool ScrambleFlacSeekTable(const fs::path& flac) {
  std::vector<std::uint8_t> bytes = ReadBytes(flac);
  bool found = false;
  // Metadata blocks follow "fLaC": a byte of last-flag and type, 3 bytes of length, the data.
  for (std::size_t at = 4; at + 4 <= bytes.size();) {
    const bool last = bytes[at] & 0x80;
    const int type = bytes[at] & 0x7F;
    const std::size_t length =
        std::size_t{bytes[at + 1]} << 16 | std::size_t{bytes[at + 2]} << 8 | bytes[at + 3];
    const std::size_t data = at + 4;
    if (type == 3) {  // SEEKTABLE: points of sample number, byte offset and frame samples
      for (std::size_t point = data; point + 18 <= data + length && point + 18 <= bytes.size();
           point += 18) {
        std::uint64_t offset = 0;
        for (int b = 0; b < 8; ++b) offset = offset << 8 | bytes[point + 8 + b];
        offset = offset * 3 + 1000;
        for (int b = 7; b >= 0; --b, offset >>= 8)
          bytes[point + 8 + b] = static_cast<std::uint8_t>(offset);
      }
      found = true;
    }
    if (last) break;
    at = data + length;
  }
  WriteBytes(flac, bytes);
  return found;
}

void WriteFloatWav(const fs::path& out, const std::vector<double>& values, int channels, int rate,
                   int bits) {
  std::vector<std::uint8_t> bytes;
  auto put = [&](std::uint64_t value, int size) {
    for (int b = 0; b < size; ++b) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
  };
  auto tag = [&](const char* four) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(four[i]));
  };
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(values.size()) * (bits / 8);
  tag("RIFF");
  put(4 + 24 + 8 + data_bytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(3, 2);  // WAVE_FORMAT_IEEE_FLOAT
  put(static_cast<std::uint64_t>(channels), 2);
  put(static_cast<std::uint64_t>(rate), 4);
  put(static_cast<std::uint64_t>(rate * channels * bits / 8), 4);
  put(static_cast<std::uint64_t>(channels * bits / 8), 2);
  put(static_cast<std::uint64_t>(bits), 2);
  tag("data");
  put(data_bytes, 4);
  for (const double value : values) {
    if (bits == 32)
      put(std::bit_cast<std::uint32_t>(static_cast<float>(value)), 4);
    else
      put(std::bit_cast<std::uint64_t>(value), 8);
  }
  WriteBytes(out, bytes);
}

std::int64_t FirstDifference(const std::vector<float>& a, const std::vector<float>& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i)
    if (std::bit_cast<std::uint32_t>(a[i]) != std::bit_cast<std::uint32_t>(b[i]))
      return static_cast<std::int64_t>(i);
  return a.size() == b.size() ? -1 : static_cast<std::int64_t>(common);
}

}  // namespace nf::test
