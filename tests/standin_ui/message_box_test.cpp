// The stand-in's message boxes: how they are written to standard error, read
// back, and answered.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/ui/box_answers.h"
#include "platform/linux/ui/box_buttons.h"
#include "platform/linux/ui/box_report.h"
#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::ScopedEnvironment;
using testing_support::Wide;

namespace {

// ---- Buttons and answers ---------------------------------------------------------

struct DefaultCase {
  UINT style;
  int expected;
};

class DefaultButton : public testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultButton, IsTheNamedButtonOfTheBox) {
  EXPECT_EQ(GetParam().expected, standin::DefaultButtonOf(GetParam().style))
      << std::hex << GetParam().style;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultButton,
    testing::Values(DefaultCase{MB_OK, IDOK}, DefaultCase{MB_OK | MB_ICONERROR, IDOK},
                    DefaultCase{MB_OKCANCEL | MB_ICONWARNING, IDOK},
                    DefaultCase{MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                    DefaultCase{MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                    DefaultCase{MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
                    DefaultCase{MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
                    DefaultCase{MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
                    // A button the box doesn't have, or Help: the first one.
                    DefaultCase{MB_YESNO | MB_DEFBUTTON3, IDYES},
                    DefaultCase{MB_OK | MB_DEFBUTTON4, IDOK},
                    DefaultCase{MB_OK | MB_HELP | MB_DEFBUTTON2, IDOK}));

struct AnswerCase {
  UINT style;
  const char *word;
  int expected;  // 0 = presses nothing
};

class AnswerWord : public testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerWord, PressesTheButtonItNames) {
  EXPECT_EQ(GetParam().expected, standin::ButtonForAnswer(GetParam().style, GetParam().word))
      << GetParam().word;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AnswerWord,
    testing::Values(
        AnswerCase{MB_OKCANCEL, "ok", IDOK}, AnswerCase{MB_OKCANCEL, "cancel", IDCANCEL},
        AnswerCase{MB_OKCANCEL, " Cancel\r", IDCANCEL}, AnswerCase{MB_OKCANCEL, "OK", IDOK},
        // Escape closes an OK-only box with OK.
        AnswerCase{MB_OK, "cancel", IDOK}, AnswerCase{MB_OK | MB_ICONERROR, "ok", IDOK},
        AnswerCase{MB_YESNO, "cancel", 0}, AnswerCase{MB_YESNO, "no", IDNO},
        AnswerCase{MB_YESNO, "ok", 0}, AnswerCase{MB_OKCANCEL, "maybe", 0},
        AnswerCase{MB_OKCANCEL, "", 0}, AnswerCase{MB_CANCELTRYCONTINUE, "try again", IDTRYAGAIN},
        AnswerCase{MB_OK | MB_HELP, "help", 0}));

TEST(ScriptedAnswers, ComeOnePerBoxInOrder) {
  ScopedEnvironment answers("ADDBAR_ANSWERS", "ok,cancel,,ok");
  std::vector<std::string> expected{"ok", "cancel", "", "ok", "", ""};
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(expected[i], standin::ScriptedAnswer(static_cast<int>(i))) << i;
}

TEST(ScriptedAnswers, NoneWithoutTheVariable) {
  ScopedEnvironment answers("ADDBAR_ANSWERS", nullptr);
  EXPECT_EQ("", standin::ScriptedAnswer(0));
  EXPECT_TRUE(standin::SplitAnswers("").empty());
}

// ---- The report on standard error ------------------------------------------------------

class BoxReportRoundTrip : public testing::TestWithParam<const char *> {};

TEST_P(BoxReportRoundTrip, GivesBackTheExactText) {
  standin::BoxText text = Wide(GetParam());
  standin::BoxText caption = Wide("caption\nof two lines");
  std::string output = "noise before\n" + standin::FormatBoxOpening(caption, text, 0x31) +
                       "noise between\n" + standin::FormatBoxClosing(IDCANCEL) + "after";
  std::vector<standin::BoxReport> boxes = standin::ParseBoxReports(output);
  ASSERT_EQ(1u, boxes.size()) << output;
  EXPECT_EQ(Narrow(text), Narrow(boxes[0].text));
  EXPECT_EQ(Narrow(caption), Narrow(boxes[0].caption));
  EXPECT_EQ(0x31u, boxes[0].style);
  EXPECT_EQ(IDCANCEL, boxes[0].answer);
}

INSTANTIATE_TEST_SUITE_P(Texts, BoxReportRoundTrip,
                         testing::Values("", "one line", "two\nlines", "ends with\n", "\n\n",
                                         "cr lf\r\nkept", "[message box] end",
                                         "\n[message box] end\n[message box] begin",
                                         "text: caption: style: answer: 7",
                                         "Gr\xC3\xBC\xC3\x9F"
                                         "e \xE2\x9C\x93 \xF0\x9F\x98\x80"));

TEST(BoxReport, ListsBoxesInOrderAndOneLeftOpen) {
  std::string output = standin::FormatBoxOpening(Wide("first"), Wide("a"), 0) +
                       standin::FormatBoxClosing(IDOK) +
                       standin::FormatBoxOpening(Wide("second"), Wide("b"), 1);
  std::vector<standin::BoxReport> boxes = standin::ParseBoxReports(output);
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ("first", Narrow(boxes[0].caption));
  EXPECT_EQ(IDOK, boxes[0].answer);
  EXPECT_EQ("second", Narrow(boxes[1].caption));
  EXPECT_EQ(0, boxes[1].answer) << "never answered";
}

// ---- MessageBoxW itself ------------------------------------------------------------------

// Standard input from /dev/null, so that a box never waits for a terminal.
class NoTerminal {
 public:
  NoTerminal() : m_saved(dup(STDIN_FILENO)) {
    int null = open("/dev/null", O_RDONLY);
    dup2(null, STDIN_FILENO);
    close(null);
  }
  ~NoTerminal() {
    dup2(m_saved, STDIN_FILENO);
    close(m_saved);
  }

 private:
  int m_saved;
};

struct ShownCase {
  const char *answers;  // the same for every box; null = unset
  LPCWSTR caption;
  UINT style;
  int expected;
  const char *expectedCaption;
};

class MessageBoxStandIn : public testing::TestWithParam<ShownCase> {};

TEST_P(MessageBoxStandIn, ReportsTheBoxAndReturnsItsAnswer) {
  const ShownCase &c = GetParam();
  // The answer list is read per box by its place in the process's sequence,
  // so every place gets the same word here.
  std::string list;
  for (int i = 0; c.answers != nullptr && i < 200; ++i)
    list += std::string(i ? "," : "") + c.answers;
  ScopedEnvironment answers("ADDBAR_ANSWERS", c.answers == nullptr ? nullptr : list.c_str());
  NoTerminal noTerminal;
  testing::internal::CaptureStderr();
  int answer = MessageBoxW(nullptr, TEXT("line one\nline two"), c.caption, c.style);
  std::string output = testing::internal::GetCapturedStderr();

  EXPECT_EQ(c.expected, answer);
  std::vector<standin::BoxReport> boxes = standin::ParseBoxReports(output);
  ASSERT_EQ(1u, boxes.size()) << output;
  EXPECT_EQ(c.expectedCaption, Narrow(boxes[0].caption));
  EXPECT_EQ("line one\nline two", Narrow(boxes[0].text));
  EXPECT_EQ(c.style, boxes[0].style);
  EXPECT_EQ(c.expected, boxes[0].answer);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageBoxStandIn,
    testing::Values(ShownCase{nullptr, nullptr, MB_ICONERROR, IDOK, "Error"},
                    ShownCase{nullptr, TEXT("done"), MB_ICONINFORMATION, IDOK, "done"},
                    ShownCase{nullptr, nullptr, MB_OKCANCEL | MB_ICONWARNING, IDOK, "Error"},
                    ShownCase{nullptr, TEXT(""), MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL, ""},
                    ShownCase{"cancel", nullptr, MB_OKCANCEL | MB_ICONWARNING, IDCANCEL, "Error"},
                    ShownCase{"ok", nullptr, MB_OKCANCEL | MB_DEFBUTTON2, IDOK, "Error"},
                    ShownCase{"cancel", nullptr, MB_OK, IDOK, "Error"},
                    // An answer the box has no button for: its default button.
                    ShownCase{"bogus", nullptr, MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL, "Error"},
                    ShownCase{"cancel", nullptr, MB_YESNO | MB_DEFBUTTON2, IDNO, "Error"}));

}  // namespace
