// Short codes: unique codes of at most 10 characters made from longer codes.
//
// AllocateShortCode turns a base text into a short code by testing candidates
// against a used-code list and records the result there. The five callers
// (subjects and tasks, teachers, rooms, groups) share this one allocator and
// differ only in AllocationSettings. The lists compare windows-1252 text
// without regard to letter case (FoldCase): "MAT" equals "mat", "Á" equals
// "á", "A" differs from "Á".
//
// The allocator never hands out a code that a list has already given out as
// the tables will hold it: besides the candidate itself, a candidate is taken
// when its code (after the length cut) equals a code already given out, case
// and trailing blanks aside. So the twelfth entry on one 9-character stem gets
// MATEMATI11, not MATEMATI10 again, and "SALA USOS" after "SALA USOS " gets
// "SALA USOS1". Every code that does not repeat an earlier one is the code the
// plain search from suffix 1 gives. When the length cut has no new code left
// on a stem (after about a hundred entries on one 9-character stem), the
// code keeps its whole suffix and as much of the stem as fits: MATEMA1000.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace enlacor {

inline constexpr std::size_t kShortCodeLength = 10;

// The length cut: a text longer than 10 characters becomes its first 8
// characters followed by its last 2; a shorter one stays as it is.
std::string CutToShortCode(std::string_view candidate);

// An ordered list of texts, duplicates allowed. Adding appends at the end;
// nothing is ever removed. The membership tests answer what a scan from the
// start would answer, in constant time.
class UsedCodeList {
 public:
  // Whether the list holds `text`, letter case aside.
  bool Contains(std::string_view text) const;
  // Whether the list holds a text whose short code (CutToShortCode) equals
  // `code`, letter case and trailing blanks aside: whether `code` has already
  // been given out as a table would hold it.
  bool HoldsCode(std::string_view code) const;
  void Add(std::string text);

  std::size_t Size() const { return texts_.size(); }
  const std::vector<std::string>& Texts() const { return texts_; }

  // Where the suffix search on `stem` may start. Every lower suffix has
  // already been found taken on this list, and stays taken because the list
  // only grows, so the search gives what a search from 1 would give.
  std::size_t& SuffixSearchStart(std::string_view stem);

 private:
  std::vector<std::string> texts_;
  std::unordered_set<std::string> folded_texts_;
  std::unordered_set<std::string> folded_codes_;
  std::unordered_map<std::string, std::size_t> suffix_starts_;  // folded stem -> first suffix to test
};

enum class RecordedForm {
  kCode,       // the candidate after the length cut
  kCandidate,  // the candidate before the length cut (groups)
};

struct AllocationSettings {
  bool trim_after_cut;
  RecordedForm recorded;
};

inline constexpr AllocationSettings kSubjectAndTaskCodes{false, RecordedForm::kCode};
inline constexpr AllocationSettings kTeacherCodes{false, RecordedForm::kCode};
inline constexpr AllocationSettings kRoomCodes{true, RecordedForm::kCode};
inline constexpr AllocationSettings kGroupCodes{true, RecordedForm::kCandidate};

// Allocates the short code for `base` (already trimmed, windows-1252) and
// adds exactly one text to `used`. Cannot fail.
std::string AllocateShortCode(std::string_view base, UsedCodeList& used, AllocationSettings settings);

// The duplicate filter on long codes: false when `seen` already holds the
// long code (case aside); otherwise records it and returns true.
bool TakeLongCode(std::string_view long_code, UsedCodeList& seen);

}  // namespace enlacor
