#include "export/short_code.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "exchange/text_codec.h"

namespace enlacor {
namespace {

// Windows-1252 bytes of a UTF-8 literal.
std::string Ansi(const std::string& utf8) { return ToTableText(utf8).text; }

struct Allocation {
  std::string base;
  std::string code;
};

struct AllocationCase {
  const char* name;
  AllocationSettings settings;
  std::vector<Allocation> sequence;  // on one list, in this order
};

std::vector<Allocation> OnOneStem(const std::string& prefix, int first, int last, const std::string& code_prefix) {
  std::vector<Allocation> sequence;
  for (int n = first; n <= last; ++n) sequence.push_back({prefix + std::to_string(n), code_prefix + std::to_string(n)});
  return sequence;
}

std::vector<Allocation> Join(std::vector<std::vector<Allocation>> parts) {
  std::vector<Allocation> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const AllocationCase kAllocationCases[] = {
    {"WorkedExample", kSubjectAndTaskCodes,
     Join({{{"MATEMATICAS", "MATEMATICA"},
            {"MATEMATICAS II", "MATEMATIC1"},
            {"MATEMATICAS III", "MATEMATIC2"},
            {"FIS", "FIS"},
            {"fis", "fis1"}},
           // Seven more on the stem take 3 to 9, the next one the cut 10; the
           // one after it must not repeat MATEMATI10.
           OnOneStem("MATEMATICAS ", 3, 9, "MATEMATIC"),
           {{"MATEMATICAS X", "MATEMATI10"}, {"MATEMATICAS XI", "MATEMATI11"}, {"MATEMATICAS XII", "MATEMATI12"}}})},
    {"EmptyBases", kSubjectAndTaskCodes, {{"", ""}, {"", "1"}, {"", "2"}}},
    {"TenCharactersTaken", kSubjectAndTaskCodes, {{"ABCDEFGHIJ", "ABCDEFGHIJ"}, {"ABCDEFGHIJ", "ABCDEFGHI1"}}},
    {"ShortBaseKeepsAll", kSubjectAndTaskCodes, {{"FIS", "FIS"}, {"FIS", "FIS1"}, {"FIS", "FIS2"}}},
    {"CaseIsNotNew", kTeacherCodes, {{"JGP", "JGP"}, {"jgp", "jgp1"}, {"Jgp", "Jgp2"}}},
    {"AccentedCapitalsFold", kTeacherCodes, {{Ansi("ÁNGEL"), Ansi("ÁNGEL")}, {Ansi("ángel"), Ansi("ángel1")}}},
    {"AccentsNeverFoldAway", kTeacherCodes, {{Ansi("ÁNGEL"), Ansi("ÁNGEL")}, {"ANGEL", "ANGEL"}, {"angel", "angel1"}}},
    {"TeacherKeepsBlankAfterCut", kTeacherCodes, {{"SALA USOS MULTIPLES", "SALA USOS "}}},
    {"RoomTrimsAfterCut", kRoomCodes, {{"SALA USOS MULTIPLES", "SALA USOS"}, {"SALA USOS", "SALA USOS1"}}},
    // A code and one with a final blank are one code once a table holds them.
    {"BlankRepeatAfter", kTeacherCodes, {{"SALA USOS MULTIPLES", "SALA USOS "}, {"SALA USOS", "SALA USOS1"}}},
    {"BlankRepeatBefore", kSubjectAndTaskCodes, {{"SALA USOS", "SALA USOS"}, {"SALA USOS MULTIPLES", "SALA USOS1"}}},
    {"GroupsOnOneStem", kGroupCodes,
     Join({{{"ABCDEFGHIJKL", "ABCDEFGHIJ"}, {"ABCDEFGHIJXY", "ABCDEFGHI1"}},
           OnOneStem("ABCDEFGHIJ-", 2, 9, "ABCDEFGHI"),
           {{"ABCDEFGHIJ-10", "ABCDEFGH10"},
            // Recorded long, ABCDEFGHI10 must still keep the code ABCDEFGH10 out.
            {"ABCDEFGH10", "ABCDEFGH11"},
            // ... and the suffix search on the long stem steps over ABCDEFGH11.
            {"ABCDEFGHIJ-11", "ABCDEFGH12"}}})},
};

void PrintTo(const AllocationCase& c, std::ostream* out) { *out << c.name; }

class AllocationTest : public ::testing::TestWithParam<AllocationCase> {};

TEST_P(AllocationTest, GivesTheCodesInOrderAndRecordsOneTextEach) {
  const AllocationCase& c = GetParam();
  UsedCodeList used;
  for (std::size_t i = 0; i < c.sequence.size(); ++i) {
    const Allocation& step = c.sequence[i];
    EXPECT_EQ(AllocateShortCode(step.base, used, c.settings), step.code) << "entry " << i + 1 << " base " << step.base;
    EXPECT_EQ(used.Size(), i + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Sequences, AllocationTest, ::testing::ValuesIn(kAllocationCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AllocationTest, GroupsRecordTheCandidateOthersTheCode) {
  for (const auto& [settings, recorded] : std::vector<std::pair<AllocationSettings, std::string>>{
           {kSubjectAndTaskCodes, "MATEMATI10"}, {kGroupCodes, "MATEMATIC10"}}) {
    UsedCodeList used;
    AllocateShortCode("MATEMATICAS", used, settings);
    for (int n = 1; n <= 9; ++n) AllocateShortCode("MATEMATICAS " + std::to_string(n), used, settings);
    EXPECT_EQ(AllocateShortCode("MATEMATICAS 10", used, settings), "MATEMATI10");
    EXPECT_EQ(used.Texts().back(), recorded);
  }
}

TEST(UsedCodeListTest, ComparesWindows1252TextCaseAside) {
  struct Pair {
    std::string stored, asked;
    bool found;
  };
  const Pair pairs[] = {
      {"MAT", "mat", true},          {Ansi("Á"), Ansi("á"), true}, {Ansi("Ñ"), Ansi("ñ"), true},
      {Ansi("Ü"), Ansi("ü"), true},  {Ansi("Š"), Ansi("š"), true}, {Ansi("Œ"), Ansi("œ"), true},
      {"A", Ansi("Á"), false},       {"a", Ansi("á"), false},      {"MAT", "MAT ", false},
      {"MAT", "MATE", false},
  };
  for (const Pair& p : pairs) {
    UsedCodeList used;
    used.Add(p.stored);
    EXPECT_EQ(used.Contains(p.asked), p.found) << p.stored << " / " << p.asked;
  }
}

TEST(LongCodeFilterTest, TakesEachLongCodeOnceCaseAside) {
  UsedCodeList seen;
  EXPECT_TRUE(TakeLongCode("MATE1", seen));
  EXPECT_TRUE(TakeLongCode("MATE2", seen));
  EXPECT_FALSE(TakeLongCode("mate1", seen));
  EXPECT_TRUE(TakeLongCode("", seen));
  EXPECT_FALSE(TakeLongCode("", seen));
  // Long codes are compared whole, not by their short form.
  EXPECT_TRUE(TakeLongCode("MATEMATICAS_1", seen));
  EXPECT_TRUE(TakeLongCode("MATEMATICAS_2", seen));
  EXPECT_EQ(seen.Size(), 5u);
}

// The allocator as a plain scan: every candidate tested from suffix 1 against
// every text recorded so far.
std::string ReferenceAllocation(const std::string& base, std::vector<std::string>& recorded,
                                AllocationSettings settings) {
  const auto rstrip = [](std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  };
  std::vector<std::string> given;
  for (const std::string& r : recorded) given.push_back(rstrip(CutToShortCode(r)));
  const auto taken = [&](const std::string& candidate) {
    const std::string code = rstrip(CutToShortCode(candidate));
    for (std::size_t i = 0; i < recorded.size(); ++i) {
      if (EqualsIgnoringCase(recorded[i], candidate) || EqualsIgnoringCase(given[i], code)) return true;
    }
    return false;
  };
  std::string stem = base.substr(0, 10);
  if (settings.trim_after_cut) stem = Trim(stem);
  std::string candidate = stem;
  if (taken(stem)) {
    if (stem.size() == 10) stem.pop_back();
    // Past this suffix the cut gives no new code: keep the whole suffix.
    const long long whole_suffix_from = stem.size() == 9 ? 1000 : static_cast<long long>(std::pow(10, 11 - stem.size()));
    for (long long n = 1;; ++n) {
      const std::string digits = std::to_string(n);
      candidate = n < whole_suffix_from ? stem + digits : stem.substr(0, 10 - digits.size()) + digits;
      if (!taken(candidate)) break;
    }
  }
  const std::string code = CutToShortCode(candidate);
  recorded.push_back(settings.recorded == RecordedForm::kCode ? code : candidate);
  return code;
}

TEST(AllocationTest, MatchesAPlainScanOnCrowdedStems) {
  // Bases drawn from a few stems, in both cases, some cut to a blank, some
  // already looking like suffixed or cut codes, so that candidates collide.
  const std::vector<std::string> shapes = {"ABCDEFGHIJKL", "abcdefghijZZ", "ABCDEFGHI", "ABCDEFGH1", "ABCDEFGH10",
                                           "ABCDEFGH12", "SALA USOS X", "SALA USOS", "sala usos1", "A", "", "A1"};
  for (AllocationSettings settings : {kSubjectAndTaskCodes, kRoomCodes, kGroupCodes}) {
    UsedCodeList used;
    std::vector<std::string> recorded;
    unsigned state = 7;
    for (int i = 0; i < 160; ++i) {
      state = state * 1103515245u + 12345u;
      const std::string& base = shapes[(state >> 16) % shapes.size()];
      ASSERT_EQ(AllocateShortCode(base, used, settings), ReferenceAllocation(base, recorded, settings))
          << "entry " << i + 1 << " base " << base;
    }
    EXPECT_EQ(used.Texts(), recorded);
  }
}

// A code as the tables tell codes apart: case and trailing blanks aside.
std::string AsStored(std::string code) {
  while (!code.empty() && code.back() == ' ') code.pop_back();
  for (char& c : code) c = FoldCase(c);
  return code;
}

TEST(AllocationTest, NeverRepeatsACodeOnOneCrowdedStem) {
  for (AllocationSettings settings : {kSubjectAndTaskCodes, kGroupCodes}) {
    UsedCodeList used;
    std::set<std::string> given;
    std::vector<std::string> codes;
    for (int i = 0; i < 1500; ++i) {
      const std::string code = AllocateShortCode("MATEMATICAS " + std::to_string(i), used, settings);
      ASSERT_LE(code.size(), 10u);
      ASSERT_TRUE(given.insert(AsStored(code)).second) << "entry " << i + 1 << " repeats " << code;
      codes.push_back(code);
    }
    EXPECT_EQ(codes[1], "MATEMATIC1");
    EXPECT_EQ(codes[10], "MATEMATI10");
    EXPECT_EQ(codes[99], "MATEMATI99");
    // Suffixes 100 to 109 cut to endings that 10 to 99 left free.
    EXPECT_EQ(codes[100], "MATEMATI00");
    EXPECT_EQ(codes[109], "MATEMATI09");
    // Then no cut code is left: the whole suffix stays.
    EXPECT_EQ(codes[110], "MATEMA1000");
    EXPECT_EQ(codes[1499], "MATEMA2389");
  }
}

}  // namespace
}  // namespace enlacor
