// playback_stand_in.cpp — puts the playback state back as start-up leaves it.
#include "tests/support/playback_stand_in.h"

namespace nf::test {

void ResetPlaybackState() {
  playback::ResetPlayback();
  for (auto* counter :
       {&playing::CueEnd, &playing::StagingFill, &playing::FeedState, &playing::StopRequested,
        &playing::ReadBuffer, &playing::FillA, &playing::ReadA, &playing::FillB, &playing::ReadB,
        &playing::BufferSwitched, &playing::Starved, &playing::CopiedBytes, &playing::PlayRate})
    counter->store(0);
  playing::FillTarget = 1;
  playing::CurrentStream = 0;
  playing::AudioThreadId = 0;
  playing::PlayState = playback::Stopped;
  playing::NextEntry = 0;
  playing::Paused = 0;
  playing::PlayLit = 0;
}

}  // namespace nf::test
