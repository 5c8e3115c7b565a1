#include "cli/frame_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/text_codec.h"

namespace enlacor {
namespace {

std::string DocumentWithFrames(const std::vector<std::string>& codes) {
  std::string xml = "<SERVICIO><SALIDAS><listasal seq=\"JORNADAS\">";
  for (const std::string& code : codes) {
    xml += "<listasal><salida>" + code + "</salida><salida>Marco " + code +
           "</salida><salida>01/09/2024</salida></listasal>";
  }
  return xml + "</listasal></SALIDAS></SERVICIO>";
}

struct AnswerCase {
  const char* name;
  std::vector<std::string> frames;  // JORNADAS field 0, as written
  std::vector<std::string> codes;   // --frames
  std::optional<std::string> selection;  // nullopt: no dialog
};

class FrameAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(FrameAnswerTest, AnswersLikeTheDialog) {
  const auto& c = GetParam();
  const auto answer = AnswerFrameDialog(ExchangeDocument::Parse(DocumentWithFrames(c.frames)), c.codes);
  EXPECT_EQ(answer.frame_count, c.frames.size());
  ASSERT_EQ(answer.dialog.has_value(), c.selection.has_value());
  if (c.selection) {
    EXPECT_TRUE(answer.dialog->Accepted);
    EXPECT_EQ(answer.dialog->Selection, *c.selection);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameAnswerTest,
    ::testing::Values(
        AnswerCase{"one_of_two", {"MANANA", "TARDE"}, {"TARDE"}, "TARDE     "},
        // Named in any order, selected in list order.
        AnswerCase{"list_order", {"MANANA", "TARDE"}, {"TARDE", "MANANA"}, "MANANA    TARDE     "},
        // The dialog lists field 0 untrimmed; the code matches it trimmed.
        AnswerCase{"untrimmed_item", {" M1 ", "T1"}, {"M1"}, " M1       "},
        AnswerCase{"long_code_cut", {"JORNADA_CONTINUA", "T1"}, {"JORNADA_CONTINUA"}, "JORNADA_CO"},
        AnswerCase{"same_code_twice", {"M1", "T1"}, {"M1", "M1"}, "M1        "},
        AnswerCase{"single_frame_no_dialog", {"M1"}, {}, std::nullopt},
        AnswerCase{"single_frame_named", {"M1"}, {"M1"}, std::nullopt},
        AnswerCase{"no_frames", {}, {}, std::nullopt}),
    [](const auto& info) { return info.param.name; });

struct RefusalCase {
  const char* name;
  std::vector<std::string> frames;
  std::vector<std::string> codes;
};

class FrameRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FrameRefusalTest, RefusesAndListsTheFrames) {
  const auto& c = GetParam();
  const auto document = ExchangeDocument::Parse(DocumentWithFrames(c.frames));
  try {
    AnswerFrameDialog(document, c.codes);
    FAIL() << "accepted";
  } catch (const FrameUsageError& e) {
    const std::string message = e.what();
    for (const std::string& code : c.frames) {
      EXPECT_NE(message.find("\n  " + Trim(code) + "  Marco"), std::string::npos) << message;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameRefusalTest,
    ::testing::Values(RefusalCase{"missing", {"MANANA", "TARDE"}, {}},
                      RefusalCase{"unknown", {"MANANA", "TARDE"}, {"NOCHE"}},
                      RefusalCase{"case_differs", {"MANANA", "TARDE"}, {"manana"}},
                      RefusalCase{"three", {"M1", "M2", "M3"}, {"M1", "M2", "M3"}},
                      RefusalCase{"empty_code", {"MANANA", "TARDE"}, {"MANANA", ""}},
                      // Two frames share a code: naming it would select both.
                      RefusalCase{"shared_code_selects_three", {"M1", " M1", "T1"}, {"M1", "T1"}},
                      RefusalCase{"unknown_single", {"M1"}, {"T1"}},
                      RefusalCase{"none_to_name", {}, {"M1"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace enlacor
