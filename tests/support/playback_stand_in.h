// playback_stand_in.h — tests of the window and the list stand in for the playback side: they
// write its storage through `playing::`, as a play would, and ResetPlaybackState puts all of it
// back as a new program has it, so no test leaves a play behind for the next.
#pragma once

#include "playback/internal/playback_variables.h"
#include "playback/playback_state.h"

namespace nf::test {

namespace playing = playback::internal;

void ResetPlaybackState();

}  // namespace nf::test
