// The drive bar as the built program writes it: a first run, a run that
// finds it again, and drives that gained a bookmark since.
#include <algorithm>

#include "drivebar_e2e/drive_bar_run.h"

using testing_support::ProgramRun;
using testing_support::ScopedEnvironment;

namespace {

using FirstRun = DriveBarRunTest;

TEST_P(FirstRun, AddsToolbarBookmarksAndIcons) {
  std::vector<Drive> drives = DriveBarRun::Drives();
  ASSERT_FALSE(drives.empty());
  ProgramRun run = m_run.RunAddbar();
  DriveBarRun::ExpectDone(run, drives.size());

  FileManagerStore &store = m_run.Store();
  EXPECT_EQ(store.SubKeys(StoreRoot::Layout, kToolbars), std::vector<std::string>{"3_60162"});
  EXPECT_EQ(store.String(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"), nullptr),
            "DRIVEBAR_F2");
  EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), 4u);
  std::vector<DWORD> ids;
  for (size_t i = 0; i < drives.size(); ++i) {
    const Drive &drive = drives[i];
    std::string name = DriveBarRun::BookmarkName(static_cast<DWORD>(i), drive.letter);
    EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks, name.c_str()), drive.root);
    std::string icon(1, static_cast<char>(drive.letter));
    EXPECT_EQ(store.String(StoreRoot::Global, kBookmarkIcons, icon.c_str()), drive.root);
    ids.push_back(40100 + static_cast<DWORD>(i));
  }
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks).size(), drives.size());
  EXPECT_EQ(store.Dword(StoreRoot::Global, "", "nCustMenuIcons"), drives.size());
  m_run.ExpectToolbar("3_60162", ids);
}

TEST_P(FirstRun, SecondRunAddsNothingAndWritesTheSameIds) {
  std::vector<Drive> drives = DriveBarRun::Drives();
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
  FileManagerStore &store = m_run.Store();
  const std::string key = DriveBarRun::ToolbarKey("3_60162");
  std::string firstIds;
  ASSERT_TRUE(store.GetBinary(StoreRoot::Layout, key, "nCmdIds", firstIds));
  std::vector<std::string> bookmarks = store.ValueNames(StoreRoot::Global, kBookmarks);
  // Damaged since: the next run writes the buttons whole again.
  store.SetBinary(StoreRoot::Layout, key, "nCmdIds",
                  std::string("\x01\x02\x03\x04\x05\x06\x07", 7));
  store.SetDword(StoreRoot::Layout, key, "nButtons", 99);
  store.SetDword(StoreRoot::Layout, key, "binState", 1);

  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
  EXPECT_EQ(store.SubKeys(StoreRoot::Layout, kToolbars), std::vector<std::string>{"3_60162"});
  EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), 4u);
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks), bookmarks);
  std::string secondIds;
  EXPECT_TRUE(store.GetBinary(StoreRoot::Layout, key, "nCmdIds", secondIds));
  EXPECT_EQ(secondIds, firstIds);
  EXPECT_EQ(store.Dword(StoreRoot::Layout, key, "nButtons"), drives.size());
  EXPECT_EQ(store.Dword(StoreRoot::Layout, key, "binState"), 129u);
}

TEST_P(FirstRun, DriveWithoutBookmarkGetsOnlyItsOwn) {
  std::vector<Drive> drives = DriveBarRun::Drives();
  FileManagerStore &store = m_run.Store();
  // Every drive but the last has a bookmark already, after a value of
  // another kind.
  store.SetString(StoreRoot::Global, kBookmarks, "zz", "elsewhere");
  for (size_t i = 0; i + 1 < drives.size(); ++i) {
    std::string name = DriveBarRun::BookmarkName(static_cast<DWORD>(i + 1), drives[i].letter);
    store.SetString(StoreRoot::Global, kBookmarks, name.c_str(), drives[i].root);
  }
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());

  const Drive &last = drives.back();
  std::string added = DriveBarRun::BookmarkName(static_cast<DWORD>(drives.size()), last.letter);
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks, added.c_str()), last.root);
  std::vector<std::string> names = store.EnumerationOrder(StoreRoot::Global, kBookmarks);
  EXPECT_EQ(names.size(), drives.size() + 1);
  // Every drive has its icon entry, also those whose bookmark was there.
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarkIcons).size(), drives.size());
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarkIcons,
                         std::string(1, static_cast<char>(last.letter)).c_str()),
            last.root);
  // Each button runs its bookmark by its position in the enumeration.
  std::vector<DWORD> ids;
  for (size_t i = 0; i < drives.size(); ++i) {
    DWORD number = static_cast<DWORD>(i + 1 < drives.size() ? i + 1 : drives.size());
    std::string name = DriveBarRun::BookmarkName(number, drives[i].letter);
    size_t position = std::find(names.begin(), names.end(), name) - names.begin();
    ids.push_back(40100 + static_cast<DWORD>(position));
  }
  m_run.ExpectToolbar("3_60162", ids);
}

// An entry without a name in "Favorites": the unnamed value, or one that is
// no string (in the registry the unnamed value of type 0, in an INI file a
// line "=C:\"), which enumerates just as the end of the list does. Every run
// finds the bookmarks after it: the drive bar is written, no bookmark comes
// twice, and the buttons run the bookmarks where the enumeration has them.
class NamelessBookmarkValue : public testing::TestWithParam<std::tuple<Scenario, bool>> {
 protected:
  DriveBarRun m_run{std::get<0>(GetParam())};
};

TEST_P(NamelessBookmarkValue, HidesNoBookmarkFromLaterRuns) {
  std::vector<Drive> drives = DriveBarRun::Drives();
  FileManagerStore &store = m_run.Store();
  if (std::get<1>(GetParam())) {
    store.AddNamelessValue(StoreRoot::Global, kBookmarks, drives[0].root);
  } else {
    store.SetString(StoreRoot::Global, kBookmarks, nullptr, "bookmarks");
  }
  for (int run = 0; run < 2; ++run) {
    DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
    std::vector<std::string> names = store.EnumerationOrder(StoreRoot::Global, kBookmarks);
    ASSERT_EQ(names.size(), drives.size() + 1);
    std::vector<DWORD> ids;
    for (size_t i = 0; i < drives.size(); ++i) {
      std::string name = DriveBarRun::BookmarkName(static_cast<DWORD>(1 + i), drives[i].letter);
      size_t position = std::find(names.begin(), names.end(), name) - names.begin();
      ASSERT_LT(position, names.size()) << name;
      ids.push_back(40100 + static_cast<DWORD>(position));
    }
    m_run.ExpectToolbar("3_60162", ids);
  }
}

std::string NamelessName(const testing::TestParamInfo<std::tuple<Scenario, bool>> &info) {
  return StoreKindName(std::get<0>(info.param).kind) +
         std::string(std::get<1>(info.param) ? "Nameless" : "Unnamed");
}

INSTANTIATE_TEST_SUITE_P(Stores, NamelessBookmarkValue,
                         testing::Combine(testing::Values(Scenario{StoreKind::Registry, ""},
                                                          Scenario{StoreKind::Ini, "work"}),
                                          testing::Bool()),
                         NamelessName);

// Named bookmarks come before the drives' in an INI section's sorted listing,
// after them in the registry's order: either way each button runs the
// bookmark at the position the enumeration gives it, from the first run on.
TEST_P(FirstRun, NewBookmarksAmongNamedOnesRunTheirDrives) {
  std::vector<Drive> drives = DriveBarRun::Drives();
  FileManagerStore &store = m_run.Store();
  store.SetString(StoreRoot::Global, kBookmarks, "Home", "C:\\Users");
  store.SetString(StoreRoot::Global, kBookmarks, "Work", "C:\\Work");
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());

  std::vector<std::string> names = store.EnumerationOrder(StoreRoot::Global, kBookmarks);
  std::vector<DWORD> ids;
  for (size_t i = 0; i < drives.size(); ++i) {
    std::string name = DriveBarRun::BookmarkName(static_cast<DWORD>(2 + i), drives[i].letter);
    size_t position = std::find(names.begin(), names.end(), name) - names.begin();
    ASSERT_LT(position, names.size()) << name;
    ids.push_back(40100 + static_cast<DWORD>(position));
  }
  m_run.ExpectToolbar("3_60162", ids);
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
  m_run.ExpectToolbar("3_60162", ids);
}

INSTANTIATE_TEST_SUITE_P(Stores, FirstRun, testing::ValuesIn(kAllScenarios), ScenarioName);

// ---- With the stand-in's drives A:, C: and D: -------------------------------------------

class StandInDrives : public testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override { SKIP_UNLESS_STANDIN("the drives are chosen by ADDBAR_DRIVES"); }
  DriveBarRun m_run{GetParam()};
};

TEST_P(StandInDrives, FirstRunNamesAndNumbersAsTheFileManagerDoes) {
  ProgramRun run = m_run.RunAddbar();
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.exitCode, 60u);
  FileManagerStore &store = m_run.Store();
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks),
            (std::vector<std::string>{"00_A", "01_C", "02_D"}));
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks, "01_C"), "C:\\");
  std::string ids;
  store.GetBinary(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"), "nCmdIds", ids);
  EXPECT_EQ(ids, std::string("\xA4\x9C\x00\x00\xA5\x9C\x00\x00\xA6\x9C\x00\x00", 12));
}

TEST_P(StandInDrives, NewDriveGetsTheNextBookmark) {
  DriveBarRun::ExpectDone(m_run.RunAddbar(), 3);
  ScopedEnvironment drives("ADDBAR_DRIVES", "ACDE");
  DriveBarRun::ExpectDone(m_run.RunAddbar(), 4);
  FileManagerStore &store = m_run.Store();
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks),
            (std::vector<std::string>{"00_A", "01_C", "02_D", "03_E"}));
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarkIcons, "E"), "E:\\");
  m_run.ExpectToolbar("3_60162", {40100, 40101, 40102, 40103});
  EXPECT_EQ(store.Dword(StoreRoot::Global, "", "nCustMenuIcons"), 4u);
}

// ADDBAR_DRIVES as users may write it: letters of either case, repeats,
// digits, more than 26.
struct DriveLettersCase {
  const char *letters;
  size_t buttons;
  const char *lastBookmark;
};

class DriveLetters : public testing::TestWithParam<DriveLettersCase> {
 protected:
  void SetUp() override { SKIP_UNLESS_STANDIN("the drives are chosen by ADDBAR_DRIVES"); }
  DriveBarRun m_run{Scenario{StoreKind::Ini, ""}};
};

TEST_P(DriveLetters, CountOnceEachInLetterOrder) {
  ScopedEnvironment drives("ADDBAR_DRIVES", GetParam().letters);
  DriveBarRun::ExpectDone(m_run.RunAddbar(), GetParam().buttons);
  std::vector<std::string> names = m_run.Store().ValueNames(StoreRoot::Global, kBookmarks);
  ASSERT_EQ(names.size(), GetParam().buttons);
  if (!names.empty()) {
    EXPECT_EQ(names.back(), GetParam().lastBookmark);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Letters, DriveLetters,
    testing::Values(DriveLettersCase{"dca", 3, "02_D"}, DriveLettersCase{"CCDDAA", 3, "02_D"},
                    DriveLettersCase{"C1D2a3", 3, "02_D"},
                    DriveLettersCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZABCD", 26, "19_Z"},
                    DriveLettersCase{"", 0, ""}, DriveLettersCase{"123", 0, ""}));

TEST_P(StandInDrives, EmptyDriveListWritesAnEmptyDriveBar) {
  ScopedEnvironment drives("ADDBAR_DRIVES", "");
  DriveBarRun::ExpectDone(m_run.RunAddbar(), 0);
  m_run.ExpectToolbar("3_60162", {});
  EXPECT_TRUE(m_run.Store().ValueNames(StoreRoot::Global, kBookmarks).empty());
}

INSTANTIATE_TEST_SUITE_P(Stores, StandInDrives, testing::ValuesIn(kAllScenarios), ScenarioName);

}  // namespace
