// Short codes: unique codes of at most 10 characters made from longer codes.
//
// AllocateShortCode turns a base text into a short code by testing candidates
// against a used-code list and records the result there. The five callers
// (subjects and tasks, teachers, rooms, groups) share this one allocator and
// differ only in AllocationSettings. The lists compare windows-1252 text
// without regard to letter case (FoldCase): "MAT" equals "mat", "Á" equals
// "á", "A" differs from "Á".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace enlacor {

// An ordered list of texts, duplicates allowed, with a case-insensitive
// membership test. Contains answers what a scan from the start would answer,
// in constant time.
class UsedCodeList {
 public:
  bool Contains(std::string_view text) const;
  void Add(std::string text);
  std::size_t Size() const { return texts_.size(); }
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  std::vector<std::string> texts_;
  std::unordered_map<std::string, std::size_t> folded_;  // folded text -> count
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

// Allocates the short code for `base` (already trimmed) and adds exactly one
// text to `used`.
std::string AllocateShortCode(std::string_view base, UsedCodeList& used, AllocationSettings settings);

// The duplicate filter on long codes: false when `seen` already holds the
// long code (case aside); otherwise records it and returns true.
bool TakeLongCode(std::string_view long_code, UsedCodeList& seen);

}  // namespace enlacor
