// fake_sound_card.cpp — an ALSA plug-in (type "nf_fake_card") that behaves like a sound card
// with fixed abilities, for the output library's tests: only the sample formats, rates and
// channel count its configuration lists, a fixed channel map, and, given a lock file, only one
// user at a time (a second open fails with EBUSY, as a card does while another program holds
// it). It plays at once whatever it is given, so it never blocks; `xrun_after` makes it report
// one underrun after that many frames. ALSA's file plug-in stacked on it records the bytes.
//
//   pcm.card { type nf_fake_card formats [ "S16_LE" ] rates [ 44100 48000 ] channels 2
//              chmap "FL,FR" lock "/tmp/x/card.lock" xrun_after 4096 }
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct FakeCard {
  snd_pcm_ioplug_t io{};
  std::vector<unsigned> formats;
  std::vector<unsigned> rates;
  unsigned channels = 2;
  std::string chmap;
  std::string lock_path;
  int lock_fd = -1;
  long xrun_after = -1;
  bool xrun_reported = false;
};

FakeCard* CardOf(snd_pcm_ioplug_t* io) {
  return static_cast<FakeCard*>(io->private_data);
}

void Release(FakeCard* card) {
  if (card->lock_fd >= 0) close(card->lock_fd);  // closing drops the lock
  if (card->io.poll_fd >= 0) close(card->io.poll_fd);
  delete card;
}

int Start(snd_pcm_ioplug_t*) {
  return 0;
}
int Stop(snd_pcm_ioplug_t*) {
  return 0;
}

// Running, everything written has been played: the hardware position is the application's.
snd_pcm_sframes_t Pointer(snd_pcm_ioplug_t* io) {
  FakeCard* card = CardOf(io);
  if (io->state != SND_PCM_STATE_RUNNING) return static_cast<snd_pcm_sframes_t>(io->hw_ptr);
  if (card->xrun_after >= 0 && !card->xrun_reported &&
      io->appl_ptr >= static_cast<snd_pcm_uframes_t>(card->xrun_after)) {
    card->xrun_reported = true;
    return -EPIPE;
  }
  return static_cast<snd_pcm_sframes_t>(io->appl_ptr);
}

snd_pcm_sframes_t Transfer(snd_pcm_ioplug_t*, const snd_pcm_channel_area_t*, snd_pcm_uframes_t,
                           snd_pcm_uframes_t size) {
  return static_cast<snd_pcm_sframes_t>(size);
}

int Close(snd_pcm_ioplug_t* io) {
  Release(CardOf(io));
  return 0;
}

snd_pcm_chmap_t* ParsedMap(const FakeCard& card) {
  return card.chmap.empty() ? nullptr : snd_pcm_chmap_parse_string(card.chmap.c_str());
}

snd_pcm_chmap_query_t** QueryChmaps(snd_pcm_ioplug_t* io) {
  snd_pcm_chmap_t* map = ParsedMap(*CardOf(io));
  if (!map) return nullptr;
  auto** list = static_cast<snd_pcm_chmap_query_t**>(std::calloc(2, sizeof(void*)));
  auto* entry = static_cast<snd_pcm_chmap_query_t*>(
      std::malloc(sizeof(snd_pcm_chmap_query_t) + map->channels * sizeof(unsigned)));
  entry->type = SND_CHMAP_TYPE_FIXED;
  entry->map.channels = map->channels;
  std::memcpy(entry->map.pos, map->pos, map->channels * sizeof(unsigned));
  std::free(map);
  list[0] = entry;
  return list;
}

snd_pcm_chmap_t* GetChmap(snd_pcm_ioplug_t* io) {
  return ParsedMap(*CardOf(io));
}

const snd_pcm_ioplug_callback_t kCallbacks = [] {
  snd_pcm_ioplug_callback_t callbacks{};
  callbacks.start = Start;
  callbacks.stop = Stop;
  callbacks.pointer = Pointer;
  callbacks.transfer = Transfer;
  callbacks.close = Close;
  callbacks.query_chmaps = QueryChmaps;
  callbacks.get_chmap = GetChmap;
  return callbacks;
}();

int ReadConfig(snd_config_t* conf, FakeCard& card) {
  snd_config_iterator_t i, next;
  snd_config_for_each(i, next, conf) {
    snd_config_t* node = snd_config_iterator_entry(i);
    const char* id = nullptr;
    if (snd_config_get_id(node, &id) < 0) continue;
    const std::string key = id;
    if (key == "comment" || key == "type" || key == "hint") continue;
    const char* text = nullptr;
    long number = 0;
    if (key == "formats" || key == "rates") {
      snd_config_iterator_t j, next_j;
      snd_config_for_each(j, next_j, node) {
        snd_config_t* item = snd_config_iterator_entry(j);
        if (key == "formats" && snd_config_get_string(item, &text) >= 0) {
          const snd_pcm_format_t format = snd_pcm_format_value(text);
          if (format == SND_PCM_FORMAT_UNKNOWN) return -EINVAL;
          card.formats.push_back(static_cast<unsigned>(format));
        } else if (key == "rates" && snd_config_get_integer(item, &number) >= 0) {
          card.rates.push_back(static_cast<unsigned>(number));
        } else {
          return -EINVAL;
        }
      }
    } else if (key == "channels" && snd_config_get_integer(node, &number) >= 0) {
      card.channels = static_cast<unsigned>(number);
    } else if (key == "chmap" && snd_config_get_string(node, &text) >= 0) {
      card.chmap = text;
    } else if (key == "lock" && snd_config_get_string(node, &text) >= 0) {
      card.lock_path = text;
    } else if (key == "xrun_after" && snd_config_get_integer(node, &number) >= 0) {
      card.xrun_after = number;
    } else {
      SNDERR("nf_fake_card: unknown or malformed field %s", id);
      return -EINVAL;
    }
  }
  return card.formats.empty() || card.rates.empty() ? -EINVAL : 0;
}

int Constrain(FakeCard& card) {
  snd_pcm_ioplug_t* io = &card.io;
  const unsigned access[] = {SND_PCM_ACCESS_RW_INTERLEAVED};
  int error = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_ACCESS, 1, access);
  if (error >= 0)
    error = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_FORMAT,
                                          static_cast<unsigned>(card.formats.size()),
                                          card.formats.data());
  if (error >= 0)
    error = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_CHANNELS, card.channels,
                                            card.channels);
  if (error >= 0)
    error = snd_pcm_ioplug_set_param_list(
        io, SND_PCM_IOPLUG_HW_RATE, static_cast<unsigned>(card.rates.size()), card.rates.data());
  if (error >= 0) error = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIODS, 2, 1024);
  if (error >= 0)
    error = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 1 << 22);
  if (error >= 0)
    error = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_BUFFER_BYTES, 128, 1 << 26);
  return error;
}

}  // namespace

extern "C" {

SND_PCM_PLUGIN_DEFINE_FUNC(nf_fake_card) {
  (void)root;
  if (stream != SND_PCM_STREAM_PLAYBACK) return -EINVAL;
  auto* card = new FakeCard;
  card->io.poll_fd = -1;
  int error = ReadConfig(conf, *card);
  if (error < 0) {
    Release(card);
    return error;
  }
  if (!card->lock_path.empty()) {
    card->lock_fd = open(card->lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (card->lock_fd < 0 || flock(card->lock_fd, LOCK_EX | LOCK_NB) < 0) {
      Release(card);
      return -EBUSY;
    }
  }
  card->io.poll_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);  // always ready, like null's
  card->io.poll_events = POLLOUT;
  card->io.version = SND_PCM_IOPLUG_VERSION;
  card->io.name = "Nightfold fake sound card";
  card->io.flags = SND_PCM_IOPLUG_FLAG_BOUNDARY_WA;
  card->io.mmap_rw = 0;
  card->io.callback = &kCallbacks;
  card->io.private_data = card;
  error = snd_pcm_ioplug_create(&card->io, name, stream, mode);
  if (error < 0) {
    Release(card);
    return error;
  }
  error = Constrain(*card);
  if (error < 0) {
    snd_pcm_ioplug_delete(&card->io);  // calls Close
    return error;
  }
  *pcmp = card->io.pcm;
  return 0;
}

SND_PCM_PLUGIN_SYMBOL(nf_fake_card)

}  // extern "C"
