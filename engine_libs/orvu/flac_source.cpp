// flac_source.cpp — libFLAC underneath. Samples become sample / 2^(bits - 1); mono is doubled
// and of more channels the first two are taken. Damage ends the data where it starts: a frame
// that fails its check, lost synchronisation or a frame out of sequence delivers nothing, so
// no sample is invented and none is moved. Seeking is exact to the sample.
#include "engine_libs/orvu/flac_source.h"

#include <FLAC/stream_decoder.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/engine_codes.h"

namespace nf::orvu {
namespace {

constexpr std::size_t MaxBlockFrames = 65535;  // the format's limit on a frame's block size

struct DecoderDeleter {
  void operator()(FLAC__StreamDecoder* decoder) const { FLAC__stream_decoder_delete(decoder); }
};

class FlacSource {
 public:
  explicit FlacSource(int fd) : fd_(fd) {}
  ~FlacSource() {
    decoder_.reset();
    close(fd_);
  }
  FlacSource(const FlacSource&) = delete;
  FlacSource& operator=(const FlacSource&) = delete;

  std::int32_t Open(OpenedFlac& opened);
  std::int64_t Read(float* out, std::int64_t frames);
  bool Seek(std::int64_t frame);
  std::int64_t FilePosition() const;

 private:
  bool Rewind();
  bool SeekWithIndex(std::int64_t frame);
  bool SeekByDecoding(std::int64_t frame);
  bool LastSampleDecodes(std::int64_t total);
  std::int64_t ScanLength();
  std::int64_t TakePending(float* out, std::int64_t frames);
  bool ClearFailedState();
  FLAC__StreamDecoderState State() const { return FLAC__stream_decoder_get_state(decoder_.get()); }

  FLAC__StreamDecoderWriteStatus OnFrame(const FLAC__Frame& frame,
                                         const FLAC__int32* const buffer[]);
  void OnMetadata(const FLAC__StreamMetadata& metadata);

  static FLAC__StreamDecoderReadStatus ReadBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[],
                                                 size_t* bytes, void* self);
  static FLAC__StreamDecoderSeekStatus SeekBytes(const FLAC__StreamDecoder*, FLAC__uint64 offset,
                                                 void* self);
  static FLAC__StreamDecoderTellStatus TellBytes(const FLAC__StreamDecoder*, FLAC__uint64* offset,
                                                 void* self);
  static FLAC__StreamDecoderLengthStatus FileLength(const FLAC__StreamDecoder*,
                                                    FLAC__uint64* length, void* self);
  static FLAC__bool AtEnd(const FLAC__StreamDecoder*, void* self);

  int fd_;
  std::int64_t file_size_ = 0;
  std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter> decoder_;

  bool have_info_ = false;
  std::uint32_t rate_ = 0;
  std::uint32_t channels_ = 0;
  std::uint32_t bits_ = 0;
  std::uint64_t info_total_ = 0;  // 0 when the encoder did not know it
  std::int64_t length_ = 0;

  // The request being filled by the frame callback; null while seeking or scanning.
  float* dest_ = nullptr;
  std::int64_t dest_room_ = 0;
  std::int64_t dest_filled_ = 0;
  // Frames decoded beyond a request (or the first frame after a seek), interleaved stereo.
  std::vector<float> pending_;
  std::size_t pending_at_ = 0;      // in floats
  std::int64_t next_sample_ = 0;    // the sample number the next frame must start at
  std::int64_t discard_until_ = 0;  // while seeking by decoding: samples before it are dropped
  bool damaged_ = false;            // an error was reported: nothing more is delivered
  bool ended_ = false;
};

FlacSource* Self(void* self) {
  return static_cast<FlacSource*>(self);
}

FLAC__StreamDecoderReadStatus FlacSource::ReadBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[],
                                                    size_t* bytes, void* self) {
  ssize_t got;
  do {
    got = read(Self(self)->fd_, buffer, *bytes);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    *bytes = 0;
    return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
  }
  *bytes = static_cast<size_t>(got);
  return got == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM
                  : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

FLAC__StreamDecoderSeekStatus FlacSource::SeekBytes(const FLAC__StreamDecoder*, FLAC__uint64 offset,
                                                    void* self) {
  return lseek(Self(self)->fd_, static_cast<off_t>(offset), SEEK_SET) < 0
             ? FLAC__STREAM_DECODER_SEEK_STATUS_ERROR
             : FLAC__STREAM_DECODER_SEEK_STATUS_OK;
}

FLAC__StreamDecoderTellStatus FlacSource::TellBytes(const FLAC__StreamDecoder*,
                                                    FLAC__uint64* offset, void* self) {
  const off_t at = lseek(Self(self)->fd_, 0, SEEK_CUR);
  if (at < 0) return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
  *offset = static_cast<FLAC__uint64>(at);
  return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus FlacSource::FileLength(const FLAC__StreamDecoder*,
                                                       FLAC__uint64* length, void* self) {
  *length = static_cast<FLAC__uint64>(Self(self)->file_size_);
  return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool FlacSource::AtEnd(const FLAC__StreamDecoder*, void* self) {
  return lseek(Self(self)->fd_, 0, SEEK_CUR) >= Self(self)->file_size_;
}

void FlacSource::OnMetadata(const FLAC__StreamMetadata& metadata) {
  if (metadata.type != FLAC__METADATA_TYPE_STREAMINFO) return;
  const FLAC__StreamMetadata_StreamInfo& info = metadata.data.stream_info;
  have_info_ = true;
  rate_ = info.sample_rate;
  channels_ = info.channels;
  bits_ = info.bits_per_sample;
  info_total_ = info.total_samples;
}

FLAC__StreamDecoderWriteStatus FlacSource::OnFrame(const FLAC__Frame& frame,
                                                   const FLAC__int32* const buffer[]) {
  const FLAC__FrameHeader& header = frame.header;
  if (damaged_) return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;  // the silenced bad frame
  if (header.number_type != FLAC__FRAME_NUMBER_TYPE_SAMPLE_NUMBER ||
      static_cast<std::int64_t>(header.number.sample_number) != next_sample_ ||
      header.channels == 0 || header.bits_per_sample == 0 || header.bits_per_sample > 32) {
    damaged_ = true;
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
  }
  const std::int64_t first = next_sample_;
  const std::int64_t count = header.blocksize;
  next_sample_ += count;

  const std::int64_t skip = std::clamp<std::int64_t>(discard_until_ - first, 0, count);
  const std::int64_t take = dest_ ? std::min(count - skip, dest_room_ - dest_filled_) : 0;
  const float scale = std::ldexp(1.0f, -static_cast<int>(header.bits_per_sample - 1));
  const FLAC__int32* left = buffer[0];
  const FLAC__int32* right = buffer[header.channels > 1 ? 1 : 0];
  auto convert = [&](std::int64_t from, std::int64_t to, float* out) {
    for (std::int64_t i = from; i < to; ++i, out += 2) {
      out[0] = static_cast<float>(left[i]) * scale;
      out[1] = static_cast<float>(right[i]) * scale;
    }
  };
  if (take > 0) convert(skip, skip + take, dest_ + 2 * dest_filled_);
  dest_filled_ += take;
  // Never grows past its reservation (the largest FLAC block), so nothing can throw here,
  // inside libFLAC's C frames.
  pending_.resize(static_cast<std::size_t>(2 * (count - skip - take)));
  pending_at_ = 0;
  convert(skip + take, count, pending_.data());
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

// Back to the first frame, through the metadata again; false when that fails.
bool FlacSource::Rewind() {
  ClearFailedState();
  damaged_ = false;
  if (!FLAC__stream_decoder_reset(decoder_.get()) ||
      !FLAC__stream_decoder_process_until_end_of_metadata(decoder_.get()))
    return false;
  pending_.clear();
  pending_at_ = 0;
  next_sample_ = 0;
  const bool clean = !damaged_;
  damaged_ = false;
  ended_ = false;
  return clean && have_info_ &&
         (State() == FLAC__STREAM_DECODER_SEARCH_FOR_FRAME_SYNC ||
          State() == FLAC__STREAM_DECODER_END_OF_STREAM);
}

// A failed seek or an aborted frame leaves the decoder unusable until it is flushed.
bool FlacSource::ClearFailedState() {
  const FLAC__StreamDecoderState state = State();
  if (state == FLAC__STREAM_DECODER_SEEK_ERROR || state == FLAC__STREAM_DECODER_ABORTED)
    return FLAC__stream_decoder_flush(decoder_.get());
  return true;
}

std::int64_t FlacSource::TakePending(float* out, std::int64_t frames) {
  const std::int64_t available = static_cast<std::int64_t>(pending_.size() - pending_at_) / 2;
  const std::int64_t n = std::min(available, frames);
  if (n <= 0) return 0;
  std::memcpy(out, pending_.data() + pending_at_, static_cast<std::size_t>(n) * 2 * sizeof(float));
  pending_at_ += static_cast<std::size_t>(2 * n);
  return n;
}

std::int64_t FlacSource::Read(float* out, std::int64_t frames) {
  std::int64_t done = TakePending(out, frames);
  while (done < frames && !ended_) {
    dest_ = out + 2 * done;
    dest_room_ = frames - done;
    dest_filled_ = 0;
    const std::int64_t before = next_sample_;
    const bool ok = FLAC__stream_decoder_process_single(decoder_.get());
    dest_ = nullptr;
    done += dest_filled_;
    // No new frame means the end, damage or a decoder failure: the data ends here either way.
    if (!ok || damaged_ || next_sample_ == before) ended_ = true;
  }
  return done;
}

// libFLAC's own seek (seek table or bisection), which hands over the target frame from the
// target sample on.
bool FlacSource::SeekWithIndex(std::int64_t frame) {
  if (!ClearFailedState()) return false;
  next_sample_ = frame;
  const bool ok =
      FLAC__stream_decoder_seek_absolute(decoder_.get(), static_cast<FLAC__uint64>(frame));
  return ok && !damaged_ && pending_.size() > pending_at_;
}

// The slow but sure way, for files where libFLAC's seek fails: decode from the start and drop
// what lies before the target.
bool FlacSource::SeekByDecoding(std::int64_t frame) {
  if (!Rewind()) return false;
  discard_until_ = frame;
  while (pending_.size() == pending_at_ && !damaged_) {
    const std::int64_t before = next_sample_;
    if (!FLAC__stream_decoder_process_single(decoder_.get()) || next_sample_ == before) break;
  }
  discard_until_ = 0;
  return !damaged_ && pending_.size() > pending_at_;
}

bool FlacSource::Seek(std::int64_t frame) {
  pending_.clear();
  pending_at_ = 0;
  damaged_ = false;
  ended_ = false;
  if (frame >= length_) {  // at the end: nothing to decode, only reads of 0 follow
    ended_ = true;
    next_sample_ = frame;
    return frame == length_;
  }
  if (SeekWithIndex(frame)) return true;
  pending_.clear();
  pending_at_ = 0;
  damaged_ = false;
  return SeekByDecoding(frame);
}

std::int64_t FlacSource::FilePosition() const {
  FLAC__uint64 position = 0;
  return FLAC__stream_decoder_get_decode_position(decoder_.get(), &position)
             ? static_cast<std::int64_t>(position)
             : -1;
}

// A STREAMINFO count is trusted only when its last sample can be decoded: a file cut short
// (a broken copy or download) is measured by a scan instead.
bool FlacSource::LastSampleDecodes(std::int64_t total) {
  return SeekWithIndex(total - 1) && pending_.size() - pending_at_ == 2;
}

// Walks the frames without reconstructing them, up to the end or the first damage.
std::int64_t FlacSource::ScanLength() {
  if (!Rewind()) return 0;
  std::int64_t samples = 0;
  for (;;) {
    const bool ok = FLAC__stream_decoder_skip_single_frame(decoder_.get());
    if (!ok || damaged_ || State() != FLAC__STREAM_DECODER_SEARCH_FOR_FRAME_SYNC) break;
    samples += FLAC__stream_decoder_get_blocksize(decoder_.get());
  }
  return samples;
}

std::int32_t FlacSource::Open(OpenedFlac& opened) {
  // Only a FLAC stream (perhaps behind an ID3v2 tag) is handed to libFLAC, which would otherwise
  // search a whole foreign file for a frame.
  char magic[4] = {};
  struct stat status {};
  if (pread(fd_, magic, sizeof magic, 0) != sizeof magic ||
      (std::memcmp(magic, "fLaC", 4) != 0 && std::memcmp(magic, "ID3", 3) != 0) ||
      fstat(fd_, &status) != 0)
    return engine::EngineErrorFileFormat;
  file_size_ = status.st_size;

  pending_.reserve(2 * MaxBlockFrames);
  decoder_.reset(FLAC__stream_decoder_new());
  if (!decoder_) return engine::EngineErrorMemory;
  FLAC__stream_decoder_set_md5_checking(decoder_.get(), false);
  const FLAC__StreamDecoderInitStatus init = FLAC__stream_decoder_init_stream(
      decoder_.get(), ReadBytes, SeekBytes, TellBytes, FileLength, AtEnd,
      [](const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const buffer[],
         void* self) { return Self(self)->OnFrame(*frame, buffer); },
      [](const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* self) {
        Self(self)->OnMetadata(*metadata);
      },
      [](const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* self) {
        Self(self)->damaged_ = true;
      },
      this);
  if (init == FLAC__STREAM_DECODER_INIT_STATUS_MEMORY_ALLOCATION_ERROR)
    return engine::EngineErrorMemory;
  if (init != FLAC__STREAM_DECODER_INIT_STATUS_OK) return engine::EngineErrorFileFormat;
  if (!Rewind() || rate_ == 0 || channels_ == 0 || channels_ > 8 || bits_ < 4 || bits_ > 32)
    return engine::EngineErrorFileFormat;

  const auto total = static_cast<std::int64_t>(info_total_);
  length_ = total > 0 && LastSampleDecodes(total) ? total : ScanLength();
  if (!Rewind()) return engine::EngineErrorFileFormat;

  opened.rate = rate_;
  opened.frames = length_;
  return engine::EngineOk;
}

}  // namespace

const OrvoSourceOps FlacSourceOps = {
    [](void* source, float* out, std::int64_t frames) { return Self(source)->Read(out, frames); },
    [](void* source, std::int64_t frame) -> std::int32_t { return Self(source)->Seek(frame); },
    [](void* source) { return Self(source)->FilePosition(); },
    [](void* source) { delete Self(source); },
};

std::int32_t OpenFlacSource(int fd, OpenedFlac& opened) {
  std::unique_ptr<FlacSource> source;
  try {
    source = std::make_unique<FlacSource>(fd);
  } catch (...) {
    close(fd);
    throw;
  }
  const std::int32_t code = source->Open(opened);
  if (code == engine::EngineOk) opened.source = source.release();
  return code;
}

}  // namespace nf::orvu
