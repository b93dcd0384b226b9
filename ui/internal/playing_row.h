// playing_row.h — inside the user interface: the one way the playing row of the left panel is
// drawn, by the plain repaint of the panels and by the now-playing tick.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nf::ui {

// Erases row `row` (1 = top) of the left panel with its strip of the backdrop, then draws the
// title in the current-row colour and, over its beginning, `played` in the progress colour.
// Nothing for a row off the page.
void DrawPlayingRow(std::int32_t row, const std::u16string& title, std::u16string_view played);

}  // namespace nf::ui
