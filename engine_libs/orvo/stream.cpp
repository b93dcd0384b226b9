// stream.cpp — byte-exact reading and positioning over a frame source.
#include "engine_libs/orvo/stream.h"

#include <algorithm>
#include <cstring>

#include "engine_libs/orvo/error_code.h"

namespace nf::orvo {
namespace {

// Frames decoded per call into the source: small enough that a stop is seen quickly, large
// enough that the per-call cost vanishes against the decoding.
constexpr std::int64_t BlockFrames = 16384;

}  // namespace

Stream::Stream(const OrvoSourceOps& ops, void* source, std::uint32_t rate, std::int64_t frames)
    : ops_(ops), rate_(rate), frames_(frames), source_(source) {}

Stream::~Stream() {
  if (source_) ops_.close(source_);
}

void Stream::Stop() {
  stopped_.store(true, std::memory_order_release);
}

void Stream::Close() {
  Stop();
  std::lock_guard lock(mutex_);
  if (source_) ops_.close(source_);
  source_ = nullptr;
}

// Brings the source to `frame`, seeking only when it is elsewhere, so that reading on from
// where the last read ended costs nothing.
bool Stream::SyncSource(std::int64_t frame) {
  if (source_synced_ && source_frame_ == frame) return true;
  if (frame >= frames_) {  // nothing to read there; the seek is left to a later position
    source_frame_ = frame;
    source_synced_ = false;
    return true;
  }
  if (!ops_.seek(source_, frame)) {
    source_synced_ = false;
    return false;
  }
  source_frame_ = frame;
  source_synced_ = true;
  source_ended_ = false;
  return true;
}

// Decodes whole frames from source_frame_ on, never past the stream's length, in blocks so
// that a stop from another thread ends a long read early.
std::int64_t Stream::ReadFrames(std::uint8_t* out, std::int64_t frames) {
  frames = std::min(frames, frames_ - source_frame_);
  if (frames <= 0) return 0;
  const bool aligned = reinterpret_cast<std::uintptr_t>(out) % alignof(float) == 0;
  if (!aligned) bounce_.resize(2 * std::min(frames, BlockFrames));
  std::int64_t done = 0;
  while (done < frames && !source_ended_ && !stopped_.load(std::memory_order_acquire)) {
    const std::int64_t want = std::min(frames - done, BlockFrames);
    std::uint8_t* at = out + done * BytesPerFrame;
    float* target = aligned ? reinterpret_cast<float*>(at) : bounce_.data();
    const std::int64_t got = std::clamp<std::int64_t>(ops_.read(source_, target, want), 0, want);
    if (!aligned) std::memcpy(at, bounce_.data(), got * BytesPerFrame);
    done += got;
    source_frame_ += got;
    if (got < want) source_ended_ = true;
  }
  return done;
}

// Decodes the frame that position_ points into, for reads that start or end inside a frame.
bool Stream::LoadPartialFrame() {
  partial_valid_ = SyncSource(position_ / BytesPerFrame) && source_synced_ &&
                   ReadFrames(reinterpret_cast<std::uint8_t*>(partial_), 1) == 1;
  return partial_valid_;
}

std::int32_t Stream::Read(void* out, std::int32_t bytes) {
  if (bytes < 0 || (out == nullptr && bytes > 0))
    return Fail(engine::EngineErrorIllegalParameter, -1);
  std::lock_guard lock(mutex_);
  if (!source_) return Fail(engine::EngineErrorIllegalParameter, -1);
  if (stopped_.load(std::memory_order_acquire)) return 0;
  auto* dest = static_cast<std::uint8_t*>(out);
  std::int64_t done = 0;

  // The rest of a frame that an earlier position or read left half delivered.
  if (position_ % BytesPerFrame != 0 && bytes > 0) {
    if (!partial_valid_ && !LoadPartialFrame()) return 0;
    const std::int64_t offset = position_ % BytesPerFrame;
    const std::int64_t n = std::min<std::int64_t>(BytesPerFrame - offset, bytes);
    std::memcpy(dest, reinterpret_cast<std::uint8_t*>(partial_) + offset, n);
    done += n;
    position_ += n;
    partial_valid_ = position_ % BytesPerFrame != 0;
  }

  const std::int64_t whole = (bytes - done) / BytesPerFrame;
  if (whole > 0) {
    if (!SyncSource(position_ / BytesPerFrame)) return static_cast<std::int32_t>(done);
    const std::int64_t got = source_synced_ ? ReadFrames(dest + done, whole) : 0;
    done += got * BytesPerFrame;
    position_ += got * BytesPerFrame;
    if (got < whole) return static_cast<std::int32_t>(done);
  }

  // A request that ends inside a frame: decode that frame and keep the rest for the next read.
  const std::int64_t rest = bytes - done;
  if (rest > 0 && LoadPartialFrame()) {
    std::memcpy(dest + done, partial_, rest);
    done += rest;
    position_ += rest;
  }
  return static_cast<std::int32_t>(done);
}

bool Stream::SetPosition(std::int64_t byte) {
  if (byte < 0 || byte > length_bytes()) return Fail(engine::EngineErrorIllegalParameter, false);
  std::lock_guard lock(mutex_);
  if (!source_) return Fail(engine::EngineErrorIllegalParameter, false);
  if (!SyncSource(byte / BytesPerFrame)) return Fail(engine::EngineErrorNotAvailable, false);
  stopped_.store(false, std::memory_order_release);
  source_ended_ = false;
  position_ = byte;
  partial_valid_ = false;
  return true;
}

std::int64_t Stream::Position() {
  std::lock_guard lock(mutex_);
  if (!source_) return Fail(engine::EngineErrorIllegalParameter, std::int64_t{-1});
  return position_;
}

std::int64_t Stream::FilePosition() {
  std::lock_guard lock(mutex_);
  if (!source_) return Fail(engine::EngineErrorIllegalParameter, std::int64_t{-1});
  return ops_.file_position(source_);
}

}  // namespace nf::orvo
