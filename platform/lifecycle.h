// lifecycle.h — bringing the platform up at start and taking it down at the one exit.
#pragma once

namespace nf::platform {

// Prepares the platform runtime before anything else runs.
void StartPlatform();
// Releases what the platform holds (windows, fonts, the window system's connection). Loaded
// libraries stay mapped until the process ends.
void EndPlatform();

}  // namespace nf::platform
