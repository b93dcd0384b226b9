// pcm_device.h — one open ALSA playback device: what it can do (channels, channel map, rates,
// sample formats) and the few calls the output thread makes on it. ALSA wants the calls on one
// handle serialised, so every member takes the device's lock.
#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine_libs/orva/sample_convert.h"

namespace nf::orva {

// How a started device runs.
struct PcmSetup {
  unsigned rate = 0;
  SampleFormat format = SampleFormat::Float32;
  snd_pcm_uframes_t period_frames = 0;
  snd_pcm_uframes_t buffer_frames = 0;
};

class PcmDevice {
 public:
  // Opens the device without waiting for it: a device another program holds fails at once
  // (-EBUSY) instead of blocking until it is free. nullptr with the ALSA error otherwise.
  static std::unique_ptr<PcmDevice> Open(const std::string& driver, int& error);
  ~PcmDevice();
  PcmDevice(const PcmDevice&) = delete;
  PcmDevice& operator=(const PcmDevice&) = delete;

  // The device's output channels: its largest channel count where that is a real limit, else
  // (plug-ins take any count) the size of its largest channel map, else 2.
  std::size_t ChannelCount() const { return channels_; }
  // The channel positions for ChannelCount() channels; empty when the device names none.
  const std::vector<unsigned>& ChannelPositions() const { return positions_; }

  // True when the device runs at exactly `rate` with ALSA's resampling off, in a sample
  // format the library writes.
  bool RunsAt(unsigned rate);
  // The first format of kFormatPreference the device takes at `rate`, if any.
  std::optional<SampleFormat> BestFormat(unsigned rate);
  // Any rate the device runs at, preferring the common ones; 0 when it takes no format at all.
  unsigned SomeRate();

  // Sets the device up to play at `rate` with periods near `period_frames` (0: ~10 ms) and
  // starts it once its buffer is full. 0, or the ALSA error.
  int Configure(unsigned rate, snd_pcm_uframes_t period_frames, PcmSetup& setup);

  // Blocking write of interleaved frames; frames written or a negative ALSA error.
  snd_pcm_sframes_t Write(const void* frames, snd_pcm_uframes_t count);
  // Brings the device back after an underrun or a suspend; 0, or the error if it cannot.
  int Recover(int error);
  // Starts a device that has a full buffer but has not started by itself (ALSA's null device
  // plays what it is given at once, so its buffer never looks full enough to start).
  int StartIfPrepared();
  // True while the device runs and keeps nothing of what it was given: ALSA's null and file
  // devices take any amount at once, so their writes never block.
  bool HoldsNothing();
  void Drop();

 private:
  explicit PcmDevice(snd_pcm_t* pcm) : pcm_(pcm) {}
  void LearnChannels();
  int PlaybackParams(snd_pcm_hw_params_t* params);

  std::mutex lock_;
  snd_pcm_t* pcm_;
  std::size_t channels_ = 2;
  std::vector<unsigned> positions_;
  snd_pcm_uframes_t buffer_frames_ = 0;
};

}  // namespace nf::orva
