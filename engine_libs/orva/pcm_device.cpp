// pcm_device.cpp — opening, probing and driving one ALSA playback device.
#include "engine_libs/orva/pcm_device.h"

#include <algorithm>

namespace nf::orva {
namespace {

// A channel range wider than this is a plug-in's "any count", not a device's outputs.
constexpr unsigned kMostChannels = 1024;
// About 10 ms a period and 80 ms of buffer: short enough that a stop cuts nothing still
// wanted, long enough to ride out a busy moment at normal priority.
constexpr unsigned kPeriodMicroseconds = 10000;
constexpr unsigned kBufferMicroseconds = 80000;
constexpr unsigned kPeriodsWhenSized = 8;

constexpr unsigned kCommonRates[] = {44100, 48000, 88200, 96000, 176400, 192000, 352800, 384000};

struct HwParamsFree {
  void operator()(snd_pcm_hw_params_t* params) const { snd_pcm_hw_params_free(params); }
};
using HwParams = std::unique_ptr<snd_pcm_hw_params_t, HwParamsFree>;

HwParams NewHwParams() {
  snd_pcm_hw_params_t* params = nullptr;
  if (snd_pcm_hw_params_malloc(&params) < 0) return nullptr;
  return HwParams(params);
}

struct SwParamsFree {
  void operator()(snd_pcm_sw_params_t* params) const { snd_pcm_sw_params_free(params); }
};

struct ChmapsFree {
  void operator()(snd_pcm_chmap_query_t** maps) const { snd_pcm_free_chmaps(maps); }
};

snd_pcm_format_t AlsaFormat(SampleFormat format) {
  switch (format) {
    case SampleFormat::Float32:
      return SND_PCM_FORMAT_FLOAT_LE;
    case SampleFormat::S32:
      return SND_PCM_FORMAT_S32_LE;
    case SampleFormat::S24In32:
      return SND_PCM_FORMAT_S24_LE;
    case SampleFormat::S24Packed:
      return SND_PCM_FORMAT_S24_3LE;
    case SampleFormat::S16:
      return SND_PCM_FORMAT_S16_LE;
  }
  return SND_PCM_FORMAT_UNKNOWN;
}

}  // namespace

std::unique_ptr<PcmDevice> PcmDevice::Open(const std::string& driver, int& error) {
  snd_pcm_t* pcm = nullptr;
  error = snd_pcm_open(&pcm, driver.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (error < 0) return nullptr;
  std::unique_ptr<PcmDevice> device(new PcmDevice(pcm));
  // Opened, it may block: the output thread waits in its writes for room in the buffer.
  error = snd_pcm_nonblock(pcm, 0);
  if (error < 0) return nullptr;
  device->LearnChannels();
  return device;
}

PcmDevice::~PcmDevice() {
  snd_pcm_close(pcm_);
}

void PcmDevice::LearnChannels() {
  HwParams params = NewHwParams();
  unsigned most = 0;
  if (params && snd_pcm_hw_params_any(pcm_, params.get()) >= 0)
    snd_pcm_hw_params_get_channels_max(params.get(), &most);
  std::unique_ptr<snd_pcm_chmap_query_t*, ChmapsFree> maps(snd_pcm_query_chmaps(pcm_));

  channels_ = 2;
  if (most > 0 && most <= kMostChannels) {
    channels_ = most;
  } else if (maps && params) {
    unsigned largest = 0;
    for (auto** map = maps.get(); *map; ++map) {
      const unsigned count = (*map)->map.channels;
      if (count > largest && snd_pcm_hw_params_test_channels(pcm_, params.get(), count) == 0)
        largest = count;
    }
    if (largest > 0) channels_ = largest;
  }
  positions_.clear();
  if (!maps) return;
  for (auto** map = maps.get(); *map; ++map) {
    if ((*map)->map.channels != channels_) continue;
    positions_.assign((*map)->map.pos, (*map)->map.pos + channels_);
    return;
  }
}

int PcmDevice::PlaybackParams(snd_pcm_hw_params_t* params) {
  int error = snd_pcm_hw_params_any(pcm_, params);
  if (error >= 0) error = snd_pcm_hw_params_set_rate_resample(pcm_, params, 0);
  if (error >= 0) error = snd_pcm_hw_params_set_access(pcm_, params, SND_PCM_ACCESS_RW_INTERLEAVED);
  if (error >= 0)
    error = snd_pcm_hw_params_set_channels(pcm_, params, static_cast<unsigned>(channels_));
  return error;
}

std::optional<SampleFormat> PcmDevice::BestFormat(unsigned rate) {
  std::lock_guard hold(lock_);
  HwParams base = NewHwParams();
  HwParams trial = NewHwParams();
  if (!base || !trial || PlaybackParams(base.get()) < 0) return std::nullopt;
  for (SampleFormat format : kFormatPreference) {
    snd_pcm_hw_params_copy(trial.get(), base.get());
    if (snd_pcm_hw_params_set_format(pcm_, trial.get(), AlsaFormat(format)) < 0) continue;
    if (snd_pcm_hw_params_test_rate(pcm_, trial.get(), rate, 0) == 0) return format;
  }
  return std::nullopt;
}

bool PcmDevice::RunsAt(unsigned rate) {
  return rate > 0 && BestFormat(rate).has_value();
}

unsigned PcmDevice::SomeRate() {
  for (unsigned rate : kCommonRates)
    if (RunsAt(rate)) return rate;
  unsigned lowest = 0;
  {
    std::lock_guard hold(lock_);
    HwParams params = NewHwParams();
    if (!params || PlaybackParams(params.get()) < 0) return 0;
    snd_pcm_hw_params_get_rate_min(params.get(), &lowest, nullptr);
  }
  return RunsAt(lowest) ? lowest : 0;
}

int PcmDevice::Configure(unsigned rate, snd_pcm_uframes_t period_frames, PcmSetup& setup) {
  const std::optional<SampleFormat> format = BestFormat(rate);
  if (!format) return -EINVAL;
  std::lock_guard hold(lock_);
  HwParams params = NewHwParams();
  if (!params) return -ENOMEM;
  int error = PlaybackParams(params.get());
  if (error >= 0) error = snd_pcm_hw_params_set_format(pcm_, params.get(), AlsaFormat(*format));
  if (error >= 0) error = snd_pcm_hw_params_set_rate(pcm_, params.get(), rate, 0);
  if (error < 0) return error;
  // "Near" settings only narrow what is left; when one cannot be met, ALSA's choice stands.
  if (period_frames == 0) {
    unsigned buffer_time = kBufferMicroseconds, period_time = kPeriodMicroseconds;
    snd_pcm_hw_params_set_buffer_time_near(pcm_, params.get(), &buffer_time, nullptr);
    snd_pcm_hw_params_set_period_time_near(pcm_, params.get(), &period_time, nullptr);
  } else {
    snd_pcm_uframes_t buffer_frames = period_frames * kPeriodsWhenSized;
    snd_pcm_hw_params_set_period_size_near(pcm_, params.get(), &period_frames, nullptr);
    snd_pcm_hw_params_set_buffer_size_near(pcm_, params.get(), &buffer_frames);
  }
  if ((error = snd_pcm_hw_params(pcm_, params.get())) < 0) return error;

  setup.rate = rate;
  setup.format = *format;
  snd_pcm_hw_params_get_period_size(params.get(), &setup.period_frames, nullptr);
  snd_pcm_hw_params_get_buffer_size(params.get(), &setup.buffer_frames);
  buffer_frames_ = setup.buffer_frames;

  snd_pcm_sw_params_t* raw_sw = nullptr;
  if (snd_pcm_sw_params_malloc(&raw_sw) < 0) return -ENOMEM;
  std::unique_ptr<snd_pcm_sw_params_t, SwParamsFree> sw(raw_sw);
  error = snd_pcm_sw_params_current(pcm_, sw.get());
  // Start once the buffer is full, so that the first periods already have room to spare.
  if (error >= 0)
    error = snd_pcm_sw_params_set_start_threshold(pcm_, sw.get(), setup.buffer_frames);
  if (error >= 0) error = snd_pcm_sw_params_set_avail_min(pcm_, sw.get(), setup.period_frames);
  if (error >= 0) error = snd_pcm_sw_params(pcm_, sw.get());
  return error < 0 ? error : 0;
}

snd_pcm_sframes_t PcmDevice::Write(const void* frames, snd_pcm_uframes_t count) {
  std::lock_guard hold(lock_);
  return snd_pcm_writei(pcm_, frames, count);
}

int PcmDevice::Recover(int error) {
  std::lock_guard hold(lock_);
  return snd_pcm_recover(pcm_, error, 1);
}

int PcmDevice::StartIfPrepared() {
  std::lock_guard hold(lock_);
  return snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED ? snd_pcm_start(pcm_) : 0;
}

bool PcmDevice::HoldsNothing() {
  std::lock_guard hold(lock_);
  if (snd_pcm_state(pcm_) != SND_PCM_STATE_RUNNING) return false;
  const snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_);
  return room >= 0 && static_cast<snd_pcm_uframes_t>(room) >= buffer_frames_;
}

void PcmDevice::Drop() {
  std::lock_guard hold(lock_);
  snd_pcm_drop(pcm_);
}

}  // namespace nf::orva
