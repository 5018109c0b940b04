// FindWindowW and SendMessageW against windows the test owns: real windows
// under Wine, stand-in windows on Linux.
#include <windows.h>

#include <atomic>
#include <thread>

#include "platform_ui/owned_window.h"
#include "support/test_support.h"

using testing_support::Wide;

namespace {

// Titles no other program on the machine uses; each case adds its own tail.
WString UniqueTitle(const char *tail) {
  return Wide("addbar window test ") + Wide(std::to_string(GetCurrentProcessId())) + Wide(" ") +
         Wide(tail);
}

// Windows of the stand-in live in a folder of this test's own; the real
// calls under Wine don't look at the variable.
class WindowTest : public testing::Test {
 protected:
  WindowTest()
      : m_folder(testing_support::Narrow(m_temp.File("windows")).c_str()),
        m_windows("ADDBAR_WINDOWS", m_folder.c_str()) {}

 private:
  testing_support::TempDir m_temp;
  std::string m_folder;
  testing_support::ScopedEnvironment m_windows;
};

using FindWindowTest = WindowTest;

struct TitleCase {
  const char *created;  // UTF-8
  const char *searched;
};

class FindWindowByTitle : public WindowTest, public testing::WithParamInterface<TitleCase> {};

TEST_P(FindWindowByTitle, FindsTheWindowWhateverTheCase) {
  OwnedWindow window(UniqueTitle(GetParam().created));
  ASSERT_TRUE(window.IsOpen());
  EXPECT_NE(FindWindowW(nullptr, UniqueTitle(GetParam().searched).c_str()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Titles, FindWindowByTitle,
                         testing::Values(TitleCase{"vantrove_CommPort", "vantrove_CommPort"},
                                         TitleCase{"vantrove_CommPort", "VANTROVE_commport"},
                                         TitleCase{"a/b\\c .. %41 @x", "A/B\\C .. %41 @X"},
                                         TitleCase{"Fen\xC3\xAAtre \xC3\x9C",
                                                   "fen\xC3\xAAtre \xC3\xBC"},
                                         TitleCase{"x", "X"}));

TEST_F(FindWindowTest, LongTitleIsFoundWhole) {
  std::string longTail(300, 'q');
  OwnedWindow window(UniqueTitle(longTail.c_str()));
  ASSERT_TRUE(window.IsOpen());
  EXPECT_NE(FindWindowW(nullptr, UniqueTitle(longTail.c_str()).c_str()), nullptr);
  std::string shorter(299, 'q');
  EXPECT_EQ(FindWindowW(nullptr, UniqueTitle(shorter.c_str()).c_str()), nullptr);
}

TEST_F(FindWindowTest, OtherTitlesAndPrefixesAreNotFound) {
  OwnedWindow window(UniqueTitle("vantrove_CommPort"));
  ASSERT_TRUE(window.IsOpen());
  for (const char *other : {"vantrove_CommPor", "vantrove_CommPort ", "vantrove CommPort"}) {
    EXPECT_EQ(FindWindowW(nullptr, UniqueTitle(other).c_str()), nullptr) << other;
  }
}

TEST_F(FindWindowTest, DestroyedWindowIsGone) {
  OwnedWindow window(UniqueTitle("destroyed"));
  ASSERT_TRUE(window.IsOpen());
  ASSERT_NE(FindWindowW(nullptr, UniqueTitle("destroyed").c_str()), nullptr);
  window.Destroy();
  EXPECT_EQ(FindWindowW(nullptr, UniqueTitle("destroyed").c_str()), nullptr);
}

TEST_F(FindWindowTest, OneOfTwoWindowsWithTheSameTitle) {
  OwnedWindow first(UniqueTitle("twin"));
  OwnedWindow second(UniqueTitle("twin"));
  ASSERT_TRUE(first.IsOpen() && second.IsOpen());
  EXPECT_NE(FindWindowW(nullptr, UniqueTitle("twin").c_str()), nullptr);
  first.Destroy();
  EXPECT_NE(FindWindowW(nullptr, UniqueTitle("twin").c_str()), nullptr);
  second.Destroy();
  EXPECT_EQ(FindWindowW(nullptr, UniqueTitle("twin").c_str()), nullptr);
}

using SendMessageTest = WindowTest;

struct SentCase {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT answer;
};

class SendMessageToWindow : public WindowTest, public testing::WithParamInterface<SentCase> {};

TEST_P(SendMessageToWindow, DeliversTheNumbersAndReturnsTheAnswer) {
  const SentCase &sent = GetParam();
  OwnedWindow window(UniqueTitle("send"), sent.answer);
  ASSERT_TRUE(window.IsOpen());
  HWND found = FindWindowW(nullptr, UniqueTitle("send").c_str());
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(SendMessageW(found, sent.message, sent.wParam, sent.lParam), sent.answer);
  std::vector<ReceivedMessage> received = window.Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, sent.message);
  EXPECT_EQ(received[0].wParam, sent.wParam);
  EXPECT_EQ(received[0].lParam, sent.lParam);
}

INSTANTIATE_TEST_SUITE_P(Messages, SendMessageToWindow,
                         testing::Values(SentCase{WM_COMMAND, 0xE102, 0, 0},
                                         SentCase{WM_USER + 7, 0xFFFFFFFF, -1, 12345},
                                         SentCase{WM_USER, 0, 0x7FFFFFFF, -2}));

TEST_F(SendMessageTest, WaitsForTheWindowsAnswer) {
  OwnedWindow window(UniqueTitle("slow"), 7, Answers::HeldUntilReleased);
  ASSERT_TRUE(window.IsOpen());
  HWND found = FindWindowW(nullptr, UniqueTitle("slow").c_str());
  ASSERT_NE(found, nullptr);
  std::atomic<bool> returned{false};
  LRESULT answer = 0;
  std::thread sender([&] {
    answer = SendMessageW(found, WM_USER + 1, 1, 2);
    returned = true;
  });
  ASSERT_TRUE(window.WaitUntilReceived(1));
  // The window has the message and holds its answer: the sender still waits.
  EXPECT_FALSE(returned);
  window.ReleaseAnswers();
  sender.join();
  EXPECT_EQ(answer, 7);
}

TEST_F(SendMessageTest, EachMessageArrivesOnceInOrder) {
  OwnedWindow window(UniqueTitle("order"));
  ASSERT_TRUE(window.IsOpen());
  HWND found = FindWindowW(nullptr, UniqueTitle("order").c_str());
  ASSERT_NE(found, nullptr);
  for (WPARAM i = 0; i < 5; ++i) SendMessageW(found, WM_USER + 2, i, 0);
  std::vector<ReceivedMessage> received = window.Received();
  ASSERT_EQ(received.size(), 5u);
  for (WPARAM i = 0; i < 5; ++i) EXPECT_EQ(received[i].wParam, i);
}

TEST_F(SendMessageTest, DestroyedWindowGivesZeroAndInvalidHandle) {
  OwnedWindow window(UniqueTitle("gone"), 99);
  ASSERT_TRUE(window.IsOpen());
  HWND found = FindWindowW(nullptr, UniqueTitle("gone").c_str());
  ASSERT_NE(found, nullptr);
  window.Destroy();
  SetLastError(0);
  EXPECT_EQ(SendMessageW(found, WM_USER + 3, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(SendMessageTest, MadeUpHandleGivesZeroAndInvalidHandle) {
  SetLastError(0);
  EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0xDEAD0)), WM_USER, 0, 0),
            0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

}  // namespace
