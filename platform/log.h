// log.h — where a failure's cause goes. The user sees the message box the program specifies; an
// engineer needs the reason behind it (the ALSA or SDL text, the file, the call). Each failure
// is one line on standard error and in a small log file,
//   $XDG_STATE_HOME/nightfold/nightfold.log   (default ~/.local/state/nightfold/nightfold.log)
// which keeps only its last LogKeptLines lines. Safe from any thread; it needs nothing of ours, so
// the engine libraries use it too (each with its own copy).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nf::platform {

inline constexpr std::size_t LogKeptLines = 400;

// Writes "<local time> <source>: <cause>" as one line. Never fails visibly: a log that cannot be
// written loses the line, and standard error still has it.
void LogFailure(std::string_view source, std::string_view cause);

// The log file's path, or empty when neither $XDG_STATE_HOME (absolute) nor $HOME is set.
std::string LogFilePath();

}  // namespace nf::platform
