#include "export/short_code.h"

#include <algorithm>

#include "exchange/text_codec.h"

namespace enlacor {
namespace {

// A code as a table gives it back: without its trailing blanks.
std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  return text.substr(0, count);
}

std::string Stem(std::string_view base, bool trim_after_cut) {
  const std::string_view cut = FirstCharacters(base, kShortCodeLength);
  return trim_after_cut ? Trim(cut) : std::string(cut);
}

bool IsTaken(const UsedCodeList& used, const std::string& candidate) {
  return used.Contains(candidate) || used.HoldsCode(CutToShortCode(candidate));
}

// The suffix from which the length cut gives no code that a lower suffix has
// not given already: past it, a stem of 9 characters, for instance, has been
// tried with every ending from 00 to 99 after its first 8 characters.
std::size_t CutCodesExhaustedFrom(std::size_t stem_length) {
  const std::size_t digits = stem_length >= kShortCodeLength - 1 ? 3 : 11 - stem_length;
  std::size_t bound = 1;
  for (std::size_t i = 0; i < digits; ++i) bound *= 10;
  return bound;
}

// The candidate with suffix n. Once the length cut has no new code left for
// the stem, the candidate keeps the whole suffix and as much of the stem as
// fits in 10 characters (MATEMA1000), so the search always ends.
std::string Suffixed(const std::string& stem, std::size_t n) {
  const std::string digits = std::to_string(n);
  if (n < CutCodesExhaustedFrom(stem.size())) return stem + digits;
  return stem.substr(0, kShortCodeLength - std::min(digits.size(), kShortCodeLength)) + digits;
}

// The first candidate, for n = 1, 2, ..., that the list does not hold.
std::string FirstFreeSuffixed(std::string stem, UsedCodeList& used) {
  if (stem.size() == kShortCodeLength) stem.pop_back();
  std::size_t& n = used.SuffixSearchStart(stem);
  while (IsTaken(used, Suffixed(stem, n))) ++n;
  return Suffixed(stem, n);
}

}  // namespace

std::string CutToShortCode(std::string_view candidate) {
  if (candidate.size() <= kShortCodeLength) return std::string(candidate);
  return std::string(candidate.substr(0, 8)) + std::string(candidate.substr(candidate.size() - 2));
}

bool UsedCodeList::Contains(std::string_view text) const {
  return folded_texts_.count(FoldedText(text)) != 0;
}

bool UsedCodeList::HoldsCode(std::string_view code) const {
  return folded_codes_.count(FoldedText(WithoutTrailingBlanks(code))) != 0;
}

void UsedCodeList::Add(std::string text) {
  folded_texts_.insert(FoldedText(text));
  folded_codes_.insert(FoldedText(WithoutTrailingBlanks(CutToShortCode(text))));
  texts_.push_back(std::move(text));
}

std::size_t& UsedCodeList::SuffixSearchStart(std::string_view stem) {
  return suffix_starts_.try_emplace(FoldedText(stem), 1).first->second;
}

std::string AllocateShortCode(std::string_view base, UsedCodeList& used, AllocationSettings settings) {
  // 1. Cut the base to the stem; 2. test it; 3. otherwise the first free
  // suffixed candidate.
  std::string stem = Stem(base, settings.trim_after_cut);
  const std::string candidate = IsTaken(used, stem) ? FirstFreeSuffixed(std::move(stem), used) : stem;
  // 4. Length cut; 5. record.
  std::string code = CutToShortCode(candidate);
  used.Add(settings.recorded == RecordedForm::kCode ? code : candidate);
  return code;
}

bool TakeLongCode(std::string_view long_code, UsedCodeList& seen) {
  if (seen.Contains(long_code)) return false;
  seen.Add(std::string(long_code));
  return true;
}

}  // namespace enlacor
