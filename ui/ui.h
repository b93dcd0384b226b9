// ui.h — the user interface's front door: the window's object numbers, palette and fonts, its
// shared state (paging, now playing, the click point) and its painters.
//
// Ownership: the user interface alone writes the state below (the palette once, by InitPalette;
// the paging by the panels and the now-playing display; the rest by the modules named beside
// it). Nothing below the user interface reads it: the list and the playback side learn nothing
// of the window but what their notifications tell it.
#pragma once

#include <cstdint>
#include <string>

#include "playlist/playlist.h"

namespace nf::ui {

// --- Object numbers: windows, elements, images, fonts -----------------------------------------

inline constexpr int MainWindow = 20;

inline constexpr int CloseButton = 30;
inline constexpr int MinimizeButton = 31;
inline constexpr int CaptionStrip = 32;
inline constexpr int RateIndicator = 33;
inline constexpr int PlayButton = 34;
inline constexpr int StopButton = 35;
inline constexpr int NextButton = 36;
inline constexpr int PauseButton = 37;
inline constexpr int OpenButton = 38;
inline constexpr int ClearButton = 39;
inline constexpr int TotalTimeDisplay = 40;
inline constexpr int BackgroundCanvas = 42;
inline constexpr int LeftPanel = 43;
inline constexpr int RightPanel = 45;
inline constexpr int PageUpArrow = 48;
inline constexpr int PageDownArrow = 49;

inline constexpr int BackgroundImage = 41;
inline constexpr int LeftPanelImage = 44;
inline constexpr int RightPanelImage = 46;
inline constexpr int RowStripImage = 47;

inline constexpr int RowFont = 1;
inline constexpr int CaptionFont = 2;
inline constexpr int ButtonFont = 3;
inline constexpr int DialogFont = 4;

// --- Palette: colours stored as 0xBBGGRR, set by InitPalette -----------------------------------

inline std::uint32_t WindowColor = 0;
inline std::uint32_t ButtonHoverColor = 0;
inline std::uint32_t ButtonTextColor = 0;
inline std::uint32_t PlayLitColor = 0;
inline std::uint32_t PausedColor = 0;
inline std::uint32_t CaptionBackColor = 0;
inline std::uint32_t CaptionTextColor = 0;
inline std::uint32_t CloseBackColor = 0;
inline std::uint32_t MinimizeBackColor = 0;
inline std::uint32_t MinimizeHoverColor = 0;
inline std::uint32_t RowColor = 0;
inline std::uint32_t CurrentRowColor = 0;
inline std::uint32_t ProgressColor = 0;
inline std::uint32_t DialogBackColor = 0;
inline std::uint32_t DialogTextColor = 0;
inline std::uint32_t DialogHoverColor = 0;
inline std::uint32_t DialogGreyColor = 0;
// The right panel's two colours are fixed values of its painter.
inline constexpr std::uint32_t MirrorRowColor = 0x193136;
inline constexpr std::uint32_t MirrorCurrentRowColor = 0x294146;

// --- Main window geometry ----------------------------------------------------------------------

inline constexpr int MainWindowWidth = 999;
inline constexpr int MainWindowHeight = 599;
inline constexpr int PanelWidth = 310;
inline constexpr int PanelHeight = 416;
inline constexpr int RowHeight = 26;

// --- Playlist panels: paging ----------------------------------------------------------------

inline constexpr std::int8_t PageStep = 8;      // entries one page step moves
inline constexpr std::int8_t RowsPerPage = 16;  // rows shown per panel
inline std::int32_t PageIndex = 0;  // the first row shown is PageIndex * PageStep; panels and
                                    // the now-playing display write it

// --- Event loop: where the last left-button press was, in screen coordinates --------------------

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};
inline ScreenPoint ClickPoint;  // written by the event loop

// --- Now-playing display -------------------------------------------------------------------------

inline std::u16string NowPlayingTitle;    // the playing row's text, copied at every tick
inline std::int64_t LastShownSecond = 0;  // second of music last drawn; -2 before a play draws
inline playlist::EntryIdType LastSeenEntryId = 0;  // entry the list was last renumbered for;
                                                   // 0 after stop
inline std::int32_t PlayingRow = 0;  // row of the playing entry on the page shown, from 1

// What the now-playing display asks of the transport when the output has run dry. The
// transport installs its routines here; an empty slot is passed over.
struct TransportCalls {
  void (*StopPlayback)(std::uint8_t keep) = nullptr;
  void (*ResetTransportButtons)() = nullptr;
};
inline TransportCalls Transport;

// --- Skin and main window --------------------------------------------------------------------

void InitPalette();
// Opens the four fonts; says so once when one of them cannot be found at all.
void LoadFonts();
// Creates and paints the whole main window, invisible (alpha 0), and installs the painters as
// the playlist's notifications.
void BuildMainWindow();
// 0 invisible .. 255 opaque; nothing for a window that does not exist.
void SetWindowAlpha(int window, std::uint8_t alpha);

// Button painters: hovered is 1 while the mouse is over the button.
void PaintStopButton(std::uint8_t hovered);
void PaintPlayButton(std::uint8_t hovered);
void PaintPauseButton(std::uint8_t hovered);
void PaintNextButton(std::uint8_t hovered);
void PaintOpenButton(std::uint8_t hovered);
void PaintClearButton(std::uint8_t hovered);
void PaintCloseButton(std::uint8_t hovered);
void PaintMinimizeButton(std::uint8_t hovered);

// --- Playlist panels -----------------------------------------------------------------------------

void RedrawPanels();
// Draws one appended entry's row, placed by its index as if the first page were shown.
void DrawNewRow(std::int32_t index, const std::u16string& display_title);
void ResetPanels();
void PaintPageArrows(std::uint8_t shown);
// Makes the row under ClickPoint current (a click below the last entry changes nothing).
void SelectClickedRow();
void PageUp();
void PageDown();
// The list's notice that the current entry moved one place from `from`: keeps it on the page
// shown, then redraws both panels.
void FollowMovedEntry(std::int32_t from, playlist::MoveDirection direction);
// The page that keeps an entry moved from `from` in view, given the page shown.
std::int32_t PageKeepingMovedEntry(std::int32_t page, std::int32_t from,
                                   playlist::MoveDirection direction);
// Repaints the playing row plainly, without its progress colouring.
void PaintPlayingRow();

// --- Now-playing and time displays -----------------------------------------------------------

// Handler of timer 117 while a play runs.
void NowPlayingTick();
void PaintTotalTime();
// text: the rate in kHz with one decimal ("44.1"), or empty for a blank indicator.
void PaintRateIndicator(const std::u16string& text);

// The texts and rules the displays use.
std::u16string TotalTimeText(std::int64_t total_bytes, std::int32_t sample_rate);
std::u16string RateIndicatorText(const std::u16string& khz);
// The played part of a title: (played x characters) / length + 1 whole characters.
std::u16string ProgressPrefix(const std::u16string& title, std::int64_t played_bytes,
                              std::int64_t length_bytes);
// The page to show once the entry at `index` starts playing, given the page shown.
std::int32_t PageFollowingEntry(std::int32_t page, std::int32_t index);

}  // namespace nf::ui
