// The Selection text of the time-frame dialog, shared by the dialog and the
// headless runner, and the character counting it rests on.
//
// Texts are UTF-8 and counted in characters (code points), never in bytes,
// so that a frame code such as "MAÑANA" takes the same 10 places as an
// ASCII one and two selected codes always split at character 10.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_document.h"

namespace enlacor {

// SelectedFrames holds at most two frame codes of 10 characters.
inline constexpr std::size_t kSelectedFramesLength = 20;

// The Selection text of a closed dialog: for each selected item, in list
// order, the first 10 characters of its text, padded with blanks to exactly
// 10 characters.
std::string BuildSelection(const std::vector<std::string>& items, const std::vector<bool>& selected);

// SelectedFrames when the document offers fewer than two frames, so that no
// dialog is shown: the first JORNADAS entry's field 0, trimmed, cut to 20
// characters; empty when there is no entry.
std::string OnlyFrameSelection(const std::vector<Entry>& frames);

// The frame codes that SelectedFrames names, in table text (windows-1252),
// trimmed: with exactly 20 characters, characters 1-10 and 11-20; otherwise
// its first 10 characters and an empty second code (one frame chosen).
struct ChosenFrames {
  std::string first;
  std::string second;
};
ChosenFrames SplitSelectedFrames(std::string_view selected_frames);

// The number of characters of UTF-8 text (a stray byte counts as one).
std::size_t CharacterCount(std::string_view utf8);

// The first `count` characters of UTF-8 text; all of it when shorter.
std::string FirstCharacters(std::string_view utf8, std::size_t count);

}  // namespace enlacor
