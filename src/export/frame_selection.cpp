#include "export/frame_selection.h"

#include <optional>

#include "exchange/text_codec.h"

namespace enlacor {
namespace {

constexpr std::size_t kCodeLength = 10;
static_assert(kSelectedFramesLength == 2 * kCodeLength);

// The byte after the character that starts at `at`: a character is a byte
// and the continuation bytes after it, so a stray byte counts as one.
std::size_t NextCharacter(std::string_view utf8, std::size_t at) {
  ++at;
  while (at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80) ++at;
  return at;
}

}  // namespace

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < utf8.size(); at = NextCharacter(utf8, at)) ++count;
  return count;
}

std::string FirstCharacters(std::string_view utf8, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t taken = 0; at < utf8.size() && taken < count; ++taken) at = NextCharacter(utf8, at);
  return std::string(utf8.substr(0, at));
}

ChosenFrames SplitSelectedFrames(std::string_view selected_frames) {
  const std::string text = ToTableText(selected_frames).text.substr(0, kSelectedFramesLength);
  if (text.size() == kSelectedFramesLength) {
    return {Trim(text.substr(0, kCodeLength)), Trim(text.substr(kCodeLength))};
  }
  return {Trim(text.substr(0, kCodeLength)), std::string()};
}

std::string BuildSelection(const std::vector<std::string>& items, const std::vector<bool>& selected) {
  std::string selection;
  for (std::size_t i = 0; i < items.size() && i < selected.size(); ++i) {
    if (!selected[i]) continue;
    const std::string code = FirstCharacters(items[i], kCodeLength);
    selection += code;
    selection.append(kCodeLength - CharacterCount(code), ' ');
  }
  return selection;
}

std::string OnlyFrameSelection(const std::vector<Entry>& frames) {
  const auto code = frames.empty() ? std::nullopt : frames.front().FieldAt(0);
  return code ? FirstCharacters(Trim(code->Text()), kSelectedFramesLength) : std::string();
}

}  // namespace enlacor
