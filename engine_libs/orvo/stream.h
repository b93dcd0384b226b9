// stream.h — one decoding stream as the channel calls see it: bytes of interleaved 2-channel
// float at exact byte positions, over a source that decodes whole frames; and the lock that
// lets one thread free a stream while another is reading it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "engine_libs/orvo/orvo_plugin.h"

namespace nf::orvo {

inline constexpr std::int64_t BytesPerFrame = 8;  // two 32-bit floats

class Stream {
 public:
  // Takes the source over; it is closed by Close() or the destructor.
  Stream(const OrvoSourceOps& ops, void* source, std::uint32_t rate, std::int64_t frames);
  ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  std::uint32_t rate() const { return rate_; }
  std::int64_t length_bytes() const { return frames_ * BytesPerFrame; }

  // These return the engine's failure value (-1 or false) with the thread's error code set.
  // Read gives fewer bytes than asked only where the data ends, and 0 after that.
  std::int32_t Read(void* out, std::int32_t bytes);
  bool SetPosition(std::int64_t byte);
  std::int64_t Position();
  std::int64_t FilePosition();

  // Ends the data without waiting: a read under way returns what it has, and later reads give 0
  // until the next SetPosition. Safe from any thread.
  void Stop();
  // Stops, waits for a read under way to return, and closes the source; every call after it
  // fails as for an unknown handle.
  void Close();

 private:
  bool SyncSource(std::int64_t frame);
  std::int64_t ReadFrames(std::uint8_t* out, std::int64_t frames);
  bool LoadPartialFrame();

  const OrvoSourceOps ops_;
  const std::uint32_t rate_;
  const std::int64_t frames_;
  std::atomic<bool> stopped_{false};

  std::mutex mutex_;               // guards everything below; held for the whole of every call
  void* source_;                   // null once closed
  std::int64_t position_ = 0;      // byte offset of the next read
  std::int64_t source_frame_ = 0;  // the frame the source delivers next, when synced
  bool source_synced_ = true;      // false after a failed seek, or at the end without a seek
  bool source_ended_ = false;      // the source gave less than asked: its data ends there
  bool partial_valid_ = false;     // partial_ holds the frame that position_ points into
  float partial_[2] = {};
  std::vector<float> bounce_;  // for a caller's buffer that is not float-aligned
};

}  // namespace nf::orvo
