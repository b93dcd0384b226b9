// ui.h — the user interface's front door: the window's shared state and its painters.
// It includes no other subsystem's header, so the playlist may read the paging state.
#pragma once

#include <cstdint>

namespace nf::ui {

// --- Playlist panels: paging ----------------------------------------------------------------

inline constexpr std::int8_t PageStep = 8;      // entries one page step moves
inline constexpr std::int8_t RowsPerPage = 16;  // rows shown per panel
inline std::int32_t PageIndex = 0;              // the first row shown is PageIndex * PageStep

}  // namespace nf::ui
