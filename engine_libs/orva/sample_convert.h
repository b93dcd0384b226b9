// sample_convert.h — turning the mixed 32-bit float frames into the bytes a device takes: float
// as it is, or an exact integer form. No dither: the music was decoded from integers, and at
// full level those integers must come back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nf::orva {

// The sample formats the library writes, widest first after float (the order of preference).
enum class SampleFormat { Float32, S32, S24In32, S24Packed, S16 };

inline constexpr SampleFormat kFormatPreference[] = {SampleFormat::Float32, SampleFormat::S32,
                                                     SampleFormat::S24In32, SampleFormat::S24Packed,
                                                     SampleFormat::S16};

std::size_t BytesPerSample(SampleFormat format);
const char* FormatName(SampleFormat format);

// One float sample as a signed integer of `bits` bits: scaled by 2^(bits-1), rounded to the
// nearest (ties to even), clipped to the integer's range, so that [-1, 1) maps onto it and
// 1.0 or more gives its largest value. NaN gives 0.
std::int32_t FloatToInteger(float sample, int bits);

// Writes `count` samples in `format`, little-endian, to `out` (BytesPerSample each).
void ConvertSamples(const float* samples, std::size_t count, SampleFormat format, void* out);

}  // namespace nf::orva
