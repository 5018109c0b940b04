// Finding an earlier drive bar and the bookmark of a drive, in the registry
// and in INI files.
#include "app/drive_bar.h"

#include "drivebar/file_manager_store.h"
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

TEST_P(FindDriveBookmarkTest, UnnamedValueHidesNoBookmark) {
  // Written first, so that the registry too hands it out ahead of the rest;
  // in an INI file "@" sorts ahead of digits.
  m_store->SetString(StoreRoot::Global, kBookmarks, nullptr, "");
  m_store->SetString(StoreRoot::Global, kBookmarks, "00_C", "C:\\");
  m_store->SetString(StoreRoot::Global, kBookmarks, "01_D", "D:\\");
  ASSERT_EQ(m_store->EnumerationOrder(StoreRoot::Global, kBookmarks).front(), "");
  EXPECT_EQ(Find(m_globalRoot, 'C'), ExpectedPosition(*m_store, "00_C"));
  EXPECT_EQ(Find(m_globalRoot, 'D'), ExpectedPosition(*m_store, "01_D"));
  EXPECT_GE(Find(m_globalRoot, 'C'), 2);
}

// Names that are no bookmark of drive C, and names that are, whatever comes
// before the fourth character.
struct NameCase {
  const char *name;
  bool isBookmarkOfC;
};

class BookmarkNameRule : public testing::TestWithParam<std::tuple<StoreKind, NameCase>> {};

TEST_P(BookmarkNameRule, OnlyTheFourthCharacterCounts) {
  StoreUnderTest underTest(std::get<0>(GetParam()));
  const NameCase &nameCase = std::get<1>(GetParam());
  underTest.store->SetString(StoreRoot::Global, kBookmarks, nameCase.name, "C:\\");
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
    Names, BookmarkNameRule,
    testing::Combine(testing::Values(StoreKind::Registry, StoreKind::Ini),
                     testing::Values(NameCase{"05_c", false}, NameCase{"C", false},
                                     NameCase{"0_C", false}, NameCase{"abc", false},
                                     NameCase{"100_C", false}, NameCase{"05_CC", false},
                                     NameCase{"05_C", true}, NameCase{"XYZC", true},
                                     NameCase{"FF_C", true})));

// ---- FindDriveBarToolbar ----------------------------------------------------------------

using FindDriveBarToolbarTest = StoreTest;

std::string FindToolbar(const CSettingsRoot &layoutRoot) {
  CSettingsKey toolbars;
  layoutRoot.OpenInto(toolbars, Wide(kToolbars).c_str(), TRUE);
  return Narrow(WString(FindDriveBarToolbar(toolbars)));
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

INSTANTIATE_TEST_SUITE_P(Stores, FindDriveBarToolbarTest,
                         testing::Values(StoreKind::Registry, StoreKind::Ini), KindName);

}  // namespace
