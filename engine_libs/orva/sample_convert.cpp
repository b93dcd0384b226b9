// sample_convert.cpp — float to the device's sample format.
#include "engine_libs/orva/sample_convert.h"

#include <cmath>
#include <cstring>

namespace nf::orva {

std::size_t BytesPerSample(SampleFormat format) {
  switch (format) {
    case SampleFormat::Float32:
    case SampleFormat::S32:
    case SampleFormat::S24In32:
      return 4;
    case SampleFormat::S24Packed:
      return 3;
    case SampleFormat::S16:
      return 2;
  }
  return 4;
}

const char* FormatName(SampleFormat format) {
  switch (format) {
    case SampleFormat::Float32:
      return "FLOAT_LE";
    case SampleFormat::S32:
      return "S32_LE";
    case SampleFormat::S24In32:
      return "S24_LE";
    case SampleFormat::S24Packed:
      return "S24_3LE";
    case SampleFormat::S16:
      return "S16_LE";
  }
  return "?";
}

std::int32_t FloatToInteger(float sample, int bits) {
  const double largest = std::ldexp(1.0, bits - 1) - 1.0;
  const double smallest = -std::ldexp(1.0, bits - 1);
  // A float times a power of two is exact in double; only the rounding below changes anything.
  const double scaled = std::nearbyint(static_cast<double>(sample) * std::ldexp(1.0, bits - 1));
  if (std::isnan(scaled)) return 0;
  if (scaled >= largest) return static_cast<std::int32_t>(largest);
  if (scaled <= smallest) return static_cast<std::int32_t>(smallest);
  return static_cast<std::int32_t>(scaled);
}

void ConvertSamples(const float* samples, std::size_t count, SampleFormat format, void* out) {
  auto* bytes = static_cast<unsigned char*>(out);
  switch (format) {
    case SampleFormat::Float32:
      std::memcpy(out, samples, count * sizeof(float));
      return;
    case SampleFormat::S32:
    case SampleFormat::S24In32: {
      const int bits = format == SampleFormat::S32 ? 32 : 24;
      for (std::size_t i = 0; i < count; ++i) {
        // S24_LE keeps its value sign-extended in the 32-bit container.
        const std::int32_t value = FloatToInteger(samples[i], bits);
        std::memcpy(bytes + 4 * i, &value, 4);
      }
      return;
    }
    case SampleFormat::S24Packed:
      for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<std::uint32_t>(FloatToInteger(samples[i], 24));
        bytes[3 * i] = static_cast<unsigned char>(value);
        bytes[3 * i + 1] = static_cast<unsigned char>(value >> 8);
        bytes[3 * i + 2] = static_cast<unsigned char>(value >> 16);
      }
      return;
    case SampleFormat::S16:
      for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<std::int16_t>(FloatToInteger(samples[i], 16));
        std::memcpy(bytes + 2 * i, &value, 2);
      }
      return;
  }
}

}  // namespace nf::orva
