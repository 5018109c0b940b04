// Finding an earlier drive bar and the bookmark of a drive, in the registry
// and in INI files.
#include "app/drive_bar.h"

#include "drivebar/file_manager_store.h"
#include "settings/old_platform.h"
#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::Wide;

namespace {

const char kBookmarks[] = "Favorites";
const char kToolbars[] = "MainFrame Settings\\Toolbars";

// A fresh store of one kind, with the roots a run would build for it.
struct StoreUnderTest {
  explicit StoreUnderTest(StoreKind kind) {
    if (kind == StoreKind::Registry) {
      store = MakeRegistryStore(Narrow(registry.BasePath()), "");
    } else {
      store = MakeIniStore(folder.File("settings.ini"), "");
    }
    store->BindRoots(layoutRoot, globalRoot);
  }

  testing_support::ScopedRegistry registry;
  testing_support::TempDir folder;
  std::unique_ptr<FileManagerStore> store;
  CSettingsRoot layoutRoot;
  CSettingsRoot globalRoot;
};

class StoreTest : public testing::TestWithParam<StoreKind> {
 protected:
  StoreTest() : m_underTest(GetParam()), m_store(m_underTest.store) {}

  StoreUnderTest m_underTest;
  std::unique_ptr<FileManagerStore> &m_store;
  const CSettingsRoot &m_layoutRoot = m_underTest.layoutRoot;
  const CSettingsRoot &m_globalRoot = m_underTest.globalRoot;
};

std::string KindName(const testing::TestParamInfo<StoreKind> &info) {
  return StoreKindName(info.param);
}

// ---- FindDriveBookmark ------------------------------------------------------------------

using FindDriveBookmarkTest = StoreTest;

// The bookmark's result is 1 + its index in the enumeration, whatever order
// the platform enumerates in.
int ExpectedPosition(FileManagerStore &store, const std::string &name) {
  std::vector<std::string> names = store.EnumerationOrder(StoreRoot::Global, kBookmarks);
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i) + 1;
  }
  return 0;
}

int Find(const CSettingsRoot &globalRoot, char letter) {
  CSettingsKey bookmarks;
  globalRoot.OpenInto(bookmarks, Wide(kBookmarks).c_str(), TRUE);
  return FindDriveBookmark(bookmarks, static_cast<WCHAR>(letter));
}

TEST_P(FindDriveBookmarkTest, FindsEachDrivesBookmark) {
  for (const char *name : {"00_A", "01_C", "02_D"}) {
    m_store->SetString(StoreRoot::Global, kBookmarks, name, std::string(1, name[3]) + ":\\");
  }
  for (const char *name : {"00_A", "01_C", "02_D"}) {
    int expected = ExpectedPosition(*m_store, name);
    ASSERT_NE(expected, 0);
    EXPECT_EQ(Find(m_globalRoot, name[3]), expected) << name;
  }
  EXPECT_EQ(Find(m_globalRoot, 'E'), 0);
}

// An entry without a name ahead of the bookmarks: the unnamed value, or one
// that is no string (in the registry the unnamed value of type 0, in an INI
// file a line "=C:\"), which enumerates just as the end of the list does.
struct LeadingEntry {
  const char *name;
  void (*add)(FileManagerStore &store);
};

class LeadingEntryTest : public testing::TestWithParam<std::tuple<StoreKind, LeadingEntry>> {};

TEST_P(LeadingEntryTest, HidesNoBookmark) {
  StoreUnderTest underTest(std::get<0>(GetParam()));
  FileManagerStore &store = *underTest.store;
  // Written first, so that the registry too hands it out ahead of the rest;
  // in an INI file "@" and "" sort ahead of digits.
  std::get<1>(GetParam()).add(store);
  store.SetString(StoreRoot::Global, kBookmarks, "00_C", "C:\\");
  store.SetString(StoreRoot::Global, kBookmarks, "01_D", "D:\\");
  ASSERT_EQ(store.EnumerationOrder(StoreRoot::Global, kBookmarks).front(), "");
  EXPECT_EQ(Find(underTest.globalRoot, 'C'), ExpectedPosition(store, "00_C"));
  EXPECT_EQ(Find(underTest.globalRoot, 'D'), ExpectedPosition(store, "01_D"));
  EXPECT_GE(Find(underTest.globalRoot, 'C'), 2);
}

// Values that are no bookmark of drive C, and values that are: a name of
// four units ending in the letter, whatever comes before it, whose text is
// the drive's root.
struct NameCase {
  const char *name;
  const char *text;
  bool isBookmarkOfC;
};

class BookmarkNameRule : public testing::TestWithParam<std::tuple<StoreKind, NameCase>> {};

TEST_P(BookmarkNameRule, FourUnitsEndingInTheLetterAndTheRoot) {
  StoreUnderTest underTest(std::get<0>(GetParam()));
  const NameCase &nameCase = std::get<1>(GetParam());
  underTest.store->SetString(StoreRoot::Global, kBookmarks, nameCase.name, nameCase.text);
  EXPECT_EQ(Find(underTest.globalRoot, 'C'), nameCase.isBookmarkOfC ? 1 : 0);
}

TEST_P(FindDriveBookmarkTest, MissingOrEmptyFavoritesHaveNoBookmark) {
  EXPECT_EQ(Find(m_globalRoot, 'C'), 0);
  m_store->CreateKey(StoreRoot::Global, kBookmarks);
  EXPECT_EQ(Find(m_globalRoot, 'C'), 0);
}

TEST_P(FindDriveBookmarkTest, ThousandValuesAreAllSearched) {
  for (int i = 0; i < 1000; ++i) {
    m_store->SetString(StoreRoot::Global, kBookmarks, ("value" + std::to_string(i)).c_str(), "x");
  }
  m_store->SetString(StoreRoot::Global, kBookmarks, "zz_C", "C:\\");
  int expected = ExpectedPosition(*m_store, "zz_C");
  ASSERT_NE(expected, 0);
  EXPECT_EQ(Find(m_globalRoot, 'C'), expected);
}

INSTANTIATE_TEST_SUITE_P(Stores, FindDriveBookmarkTest,
                         testing::Values(StoreKind::Registry, StoreKind::Ini), KindName);
INSTANTIATE_TEST_SUITE_P(
    Leading, LeadingEntryTest,
    testing::Combine(testing::Values(StoreKind::Registry, StoreKind::Ini),
                     testing::Values(LeadingEntry{"Unnamed",
                                                  [](FileManagerStore &store) {
                                                    store.SetString(StoreRoot::Global, kBookmarks,
                                                                    nullptr, "");
                                                  }},
                                     LeadingEntry{"Nameless",
                                                  [](FileManagerStore &store) {
                                                    store.AddNamelessValue(StoreRoot::Global,
                                                                           kBookmarks, "C:\\");
                                                  }})),
    [](const testing::TestParamInfo<std::tuple<StoreKind, LeadingEntry>> &info) {
      return StoreKindName(std::get<0>(info.param)) + std::string(std::get<1>(info.param).name);
    });
INSTANTIATE_TEST_SUITE_P(
    Names, BookmarkNameRule,
    testing::Combine(testing::Values(StoreKind::Registry, StoreKind::Ini),
                     testing::Values(NameCase{"05_c", "C:\\", false}, NameCase{"C", "C:\\", false},
                                     NameCase{"0_C", "C:\\", false}, NameCase{"abc", "C:\\", false},
                                     NameCase{"100_C", "C:\\", false},
                                     NameCase{"05_CC", "C:\\", false},
                                     NameCase{"TEMC", "C:\\Temp", false},
                                     NameCase{"My_C", "C:\\Users", false},
                                     NameCase{"05_C", "C:", false}, NameCase{"05_C", "", false},
                                     NameCase{"05_C", "C:\\", true}, NameCase{"XYZC", "C:\\", true},
                                     NameCase{"FF_C", "c:\\", true})));

// ---- FindDriveBarToolbar ----------------------------------------------------------------

using FindDriveBarToolbarTest = StoreTest;

std::string FindToolbar(const CSettingsRoot &layoutRoot) {
  CSettingsKey toolbars;
  layoutRoot.OpenInto(toolbars, Wide(kToolbars).c_str(), TRUE);
  CString name;
  EXPECT_TRUE(FindDriveBarToolbar(toolbars, name));
  return Narrow(WString(name));
}

TEST_P(FindDriveBarToolbarTest, FindsTheMarkedToolbarWhateverTheCase) {
  m_store->SetDword(StoreRoot::Layout, kToolbars, "nToolbars", 3);
  m_store->SetString(StoreRoot::Layout, std::string(kToolbars) + "\\0_60159", nullptr, "Standard");
  m_store->SetDword(StoreRoot::Layout, std::string(kToolbars) + "\\1_60160", "nButtons", 2);
  m_store->SetString(StoreRoot::Layout, std::string(kToolbars) + "\\2_60161", nullptr,
                     "drivebar_f2");
  EXPECT_EQ(FindToolbar(m_layoutRoot), "2_60161");
}

TEST_P(FindDriveBarToolbarTest, NoMarkedToolbarGivesEmptyName) {
  m_store->SetDword(StoreRoot::Layout, kToolbars, "nToolbars", 2);
  m_store->SetString(StoreRoot::Layout, std::string(kToolbars) + "\\0_60159", nullptr,
                     "DRIVEBAR_F3");
  m_store->SetDword(StoreRoot::Layout, std::string(kToolbars) + "\\1_60160", "nButtons", 2);
  EXPECT_EQ(FindToolbar(m_layoutRoot), "");
}

// An INI section named as the toolbars' with a backslash after it lists as
// a sub-key without a name, ahead of all others.
TEST(FindDriveBarToolbarIni, NamelessSectionHidesNoToolbar) {
  StoreUnderTest underTest(StoreKind::Ini);
  FileManagerStore &store = *underTest.store;
  store.SetDword(StoreRoot::Layout, kToolbars, "nToolbars", 2);
  store.SetString(StoreRoot::Layout, std::string(kToolbars) + "\\", nullptr, "x");
  store.SetString(StoreRoot::Layout, std::string(kToolbars) + "\\1_60160", nullptr, "DRIVEBAR_F2");
  EXPECT_EQ(FindToolbar(underTest.layoutRoot), "1_60160");
}

// Names that can't all be listed (an old platform's profile calls take no
// more than 32,760 units): when the drive bar or a drive's bookmark may be
// among the names left out, the run adds neither a second drive bar nor a
// second bookmark, and says it could not write the drive bar. Bookmarks that
// are among the names listed are found as ever.
enum class LeftOut { Toolbars, Bookmarks, OtherValues };

class UnlistedNames : public testing::TestWithParam<LeftOut> {};

TEST_P(UnlistedNames, AddNothingThatMayBeThere) {
  const LeftOut leftOut = GetParam();
  StoreUnderTest underTest(StoreKind::Ini);
  testing_support::ScopedEnvironment drives("ADDBAR_DRIVES", "ACD");
  WString filler;
  for (int i = 0; i < 300; ++i) {
    WString name = Wide(std::to_string(100000 + i)) + WString(120, 'f');
    filler += leftOut == LeftOut::Toolbars ? TEXT("[vantrove_UC\\") + name + TEXT("]\r\nv=1\r\n")
                                           : name + TEXT("=1\r\n");
  }
  WString bookmarks;
  WCHAR list[260] = {0};
  const DWORD units = GetLogicalDriveStringsW(260, list);
  for (DWORD i = 0; i + 4 <= units; i += 4) {
    bookmarks += WString(TEXT("zz_")) + list[i] + TEXT("=") + WString(list + i, 3) + TEXT("\r\n");
  }
  const WString toolbar =
      TEXT("[vantrove_UC\\MainFrame Settings\\Toolbars\\0_60159]\r\n@=DRIVEBAR_F2\r\n");
  const WString favorites = TEXT("[vantrove_UC.global\\Favorites]\r\n");
  WString text = TEXT("[vantrove_UC\\MainFrame Settings\\Toolbars]\r\nnToolbars=1\r\n")
      TEXT("[vantrove_UC.global]\r\nnCustMenuIcons=3\r\n");
  if (leftOut == LeftOut::Toolbars) text += filler + toolbar + favorites + bookmarks;
  if (leftOut == LeftOut::Bookmarks) text += toolbar + favorites + filler + bookmarks;
  if (leftOut == LeftOut::OtherValues) text += toolbar + favorites + bookmarks + filler;
  const WString file = underTest.folder.File("settings.ini");
  testing_support::WriteBytes(file, testing_support::Utf16File(text));
  const std::string before = testing_support::ReadBytes(file);

  g_oldPlatform = 1;
  CSettingsKey toolbars;
  underTest.layoutRoot.OpenInto(toolbars, Wide(kToolbars).c_str(), TRUE);
  CString message;
  int buttons = InstallDriveBar(underTest.layoutRoot, underTest.globalRoot, toolbars, message);
  toolbars.Close();
  g_oldPlatform = -1;
  if (leftOut == LeftOut::OtherValues) {
    EXPECT_EQ(Narrow(WString(message)), "");
    EXPECT_EQ(buttons, static_cast<int>(units / 4));
    return;
  }
  EXPECT_EQ(buttons, 0);
  EXPECT_EQ(Narrow(WString(message)), "cannot write toolbar settings");
  EXPECT_TRUE(testing_support::ReadBytes(file) == before) << "the file changed";
}

std::string LeftOutName(const testing::TestParamInfo<LeftOut> &info) {
  const char *names[] = {"Toolbars", "Bookmarks", "OtherValues"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Listings, UnlistedNames,
                         testing::Values(LeftOut::Toolbars, LeftOut::Bookmarks,
                                         LeftOut::OtherValues),
                         LeftOutName);

INSTANTIATE_TEST_SUITE_P(Stores, FindDriveBarToolbarTest,
                         testing::Values(StoreKind::Registry, StoreKind::Ini), KindName);

}  // namespace
