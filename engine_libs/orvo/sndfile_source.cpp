// sndfile_source.cpp — libsndfile underneath, with the conversion to float done here: integer
// samples are read as left-justified 32-bit values and divided by 2^31, which is sample /
// 2^(bits - 1) exactly; float samples pass through, double samples are rounded to float once.
#include "engine_libs/orvo/sndfile_source.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/engine_codes.h"

namespace nf::orvo {
namespace {

constexpr std::int64_t BlockFrames = 4096;
constexpr float IntScale = 0x1p-31f;

enum class SampleKind { Int, Float, Double };

// libsndfile keeps the failure of an open in globals; two threads opening at once must not
// interleave there.
std::mutex open_mutex;

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

// Bytes one sample takes in the file, for the sample types that are decoded; 0 for the rest.
int StoredSampleBytes(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      return 1;
    case SF_FORMAT_PCM_16:
      return 2;
    case SF_FORMAT_PCM_24:
      return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
      return 4;
    case SF_FORMAT_DOUBLE:
      return 8;
    default:
      return 0;
  }
}

bool IsWavOrAiff(int major) {
  return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64 ||
         major == SF_FORMAT_AIFF;
}

// Copies the first two channels (or the one, twice) of `frames` interleaved samples to `out`.
template <typename Sample>
void ToStereoFloat(const Sample* in, int channels, std::int64_t frames, float scale, float* out) {
  if (channels == 2) {
    for (std::int64_t i = 0; i < 2 * frames; ++i) out[i] = static_cast<float>(in[i]) * scale;
    return;
  }
  const int right = channels > 1 ? 1 : 0;
  for (std::int64_t i = 0; i < frames; ++i, in += channels) {
    out[2 * i] = static_cast<float>(in[0]) * scale;
    out[2 * i + 1] = static_cast<float>(in[right]) * scale;
  }
}

class SndfileSource {
 public:
  SndfileSource(int fd, std::unique_ptr<SNDFILE, SndfileCloser>&& file, int channels,
                SampleKind kind)
      : fd_(fd), file_(std::move(file)), channels_(channels), kind_(kind) {}
  ~SndfileSource() {
    file_.reset();
    close(fd_);
  }

  std::int64_t Read(float* out, std::int64_t frames) {
    std::int64_t done = 0;
    while (done < frames) {
      const std::int64_t want = std::min(frames - done, BlockFrames);
      const std::int64_t got = ReadBlock(want, out + 2 * done);
      done += got;
      if (got < want) break;
    }
    return done;
  }

  bool Seek(std::int64_t frame) { return sf_seek(file_.get(), frame, SEEK_SET) == frame; }
  std::int64_t FilePosition() const { return lseek(fd_, 0, SEEK_CUR); }

 private:
  std::int64_t ReadBlock(std::int64_t frames, float* out) {
    switch (kind_) {
      case SampleKind::Int:
        return Convert(ints_, frames, IntScale, out, sf_readf_int);
      case SampleKind::Float:
        return Convert(floats_, frames, 1.0f, out, sf_readf_float);
      case SampleKind::Double:
        return Convert(doubles_, frames, 1.0f, out, sf_readf_double);
    }
    return 0;
  }

  template <typename Sample, typename ReadFn>
  std::int64_t Convert(std::vector<Sample>& block, std::int64_t frames, float scale, float* out,
                       ReadFn read) {
    block.resize(static_cast<std::size_t>(BlockFrames * channels_));
    const std::int64_t got = std::max<sf_count_t>(read(file_.get(), block.data(), frames), 0);
    ToStereoFloat(block.data(), channels_, got, scale, out);
    return got;
  }

  int fd_;
  std::unique_ptr<SNDFILE, SndfileCloser> file_;
  int channels_;
  SampleKind kind_;
  std::vector<int> ints_;
  std::vector<float> floats_;
  std::vector<double> doubles_;
};

SndfileSource* Self(void* source) {
  return static_cast<SndfileSource*>(source);
}

const OrvoSourceOps SndfileOps = {
    [](void* source, float* out, std::int64_t frames) { return Self(source)->Read(out, frames); },
    [](void* source, std::int64_t frame) -> std::int32_t { return Self(source)->Seek(frame); },
    [](void* source) { return Self(source)->FilePosition(); },
    [](void* source) { delete Self(source); },
};

}  // namespace

std::int32_t OpenSndfileSource(int fd, OpenedSource& opened) {
  SF_INFO info{};
  std::unique_ptr<SNDFILE, SndfileCloser> file;
  {
    std::lock_guard lock(open_mutex);
    file.reset(sf_open_fd(fd, SFM_READ, &info, /*close_desc=*/0));
  }
  struct stat status {};
  const int major = info.format & SF_FORMAT_TYPEMASK;
  const int subtype = info.format & SF_FORMAT_SUBMASK;
  std::int32_t code = engine::EngineOk;
  if (!file || !IsWavOrAiff(major) || info.samplerate <= 0 || info.channels <= 0 ||
      info.frames < 0 || fstat(fd, &status) != 0) {
    code = engine::EngineErrorFileFormat;
  } else if (StoredSampleBytes(subtype) == 0) {
    code = engine::EngineErrorSampleFormat;
  }
  if (code != engine::EngineOk) {
    file.reset();
    close(fd);
    return code;
  }

  // A header may claim more frames than the file can hold; the length is what is there.
  const std::int64_t frame_bytes = std::int64_t{StoredSampleBytes(subtype)} * info.channels;
  const std::int64_t frames = std::min<std::int64_t>(info.frames, status.st_size / frame_bytes);
  const SampleKind kind = subtype == SF_FORMAT_FLOAT    ? SampleKind::Float
                          : subtype == SF_FORMAT_DOUBLE ? SampleKind::Double
                                                        : SampleKind::Int;
  std::unique_ptr<SndfileSource> source;
  try {
    source = std::make_unique<SndfileSource>(fd, std::move(file), info.channels, kind);
  } catch (...) {
    close(fd);
    throw;
  }
  opened.ops = &SndfileOps;
  opened.source = source.release();
  opened.rate = static_cast<std::uint32_t>(info.samplerate);
  opened.frames = frames;
  return engine::EngineOk;
}

}  // namespace nf::orvo
