// main.cpp — the process entry. For now the program has its platform, its playlist and its
// playback state, but no window and no engine yet: it says so and ends.
#include <cstdio>

int main() {
  std::puts("Nightfold: the window and the audio engine are not built yet; nothing to show.");
  return 0;
}
