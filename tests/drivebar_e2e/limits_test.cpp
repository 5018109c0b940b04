// The limits of a new drive bar (toolbars, bookmarks), the icon count, and
// an existing drive bar found again.
#include "drivebar_e2e/drive_bar_run.h"

using testing_support::ProgramRun;

namespace {

const Scenario kStores[] = {{StoreKind::Registry, ""}, {StoreKind::Ini, ""}};

using ExistingDriveBar = DriveBarRunTest;

TEST_P(ExistingDriveBar, MarkerIsFoundInAnyCaseAndKept) {
  FileManagerStore &store = m_run.Store();
  store.SetDword(StoreRoot::Layout, kToolbars, "nToolbars", 9);
  store.SetString(StoreRoot::Layout, DriveBarRun::ToolbarKey("7_60166"), nullptr, "drivebar_f2");
  size_t drives = DriveBarRun::Drives().size();
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives);
  EXPECT_EQ(store.SubKeys(StoreRoot::Layout, kToolbars), std::vector<std::string>{"7_60166"});
  EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), 9u);
  EXPECT_EQ(store.String(StoreRoot::Layout, DriveBarRun::ToolbarKey("7_60166"), nullptr),
            "drivebar_f2");
  EXPECT_EQ(store.Dword(StoreRoot::Layout, DriveBarRun::ToolbarKey("7_60166"), "nButtons"), drives);
}

TEST_P(ExistingDriveBar, IsNeverRefusedForTooManyBookmarks) {
  FileManagerStore &store = m_run.Store();
  store.SetString(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"), nullptr, "DRIVEBAR_F2");
  m_run.AddOtherValues(120);
  size_t drives = DriveBarRun::Drives().size();
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives);
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks).size(), 120 + drives);
  // Bookmark numbers from 0x78 on.
  WCHAR first = DriveBarRun::Drives().front().letter;
  EXPECT_EQ(
      store.String(StoreRoot::Global, kBookmarks, DriveBarRun::BookmarkName(120, first).c_str()),
      DriveBarRun::Drives().front().root);
}

INSTANTIATE_TEST_SUITE_P(Stores, ExistingDriveBar, testing::ValuesIn(kStores), ScenarioName);

// ---- "nToolbars" ----------------------------------------------------------------------

// The count as the file manager, a user or another program may have left it;
// with `toolbars` the keys 0_60159 … of other toolbars are there too, each
// holding "nButtons" 7. The new drive bar never takes one of them, and the
// count written is the new toolbar's number + 1, never one that wrapped.
struct ToolbarCountCase {
  const char *name;
  int toolbars;
  void (*count)(FileManagerStore &store);
  const char *toolbarKey;  // null: refused
  DWORD countAfter;
};

class ToolbarCount : public testing::TestWithParam<std::tuple<Scenario, ToolbarCountCase>> {
 protected:
  DriveBarRun m_run{std::get<0>(GetParam())};
};

std::string OtherToolbarKey(int number) {
  return DriveBarRun::ToolbarKey(DriveBarRun::ToolbarName(number));
}

TEST_P(ToolbarCount, NamesTheNewToolbarOrRefusesIt) {
  const ToolbarCountCase &count = std::get<1>(GetParam());
  FileManagerStore &store = m_run.Store();
  for (int i = 0; i < count.toolbars; ++i) {
    store.SetDword(StoreRoot::Layout, OtherToolbarKey(i), "nButtons", 7);
  }
  count.count(store);
  std::string before = store.Snapshot();
  ProgramRun run = m_run.RunAddbar();
  if (count.toolbarKey == nullptr) {
    DriveBarRun::ExpectError(run, "max toolbars # reached");
    EXPECT_TRUE(store.Snapshot() == before) << "the store changed";
    return;
  }
  DriveBarRun::ExpectDone(run, DriveBarRun::Drives().size());
  EXPECT_EQ(store.String(StoreRoot::Layout, DriveBarRun::ToolbarKey(count.toolbarKey), nullptr),
            "DRIVEBAR_F2");
  EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), count.countAfter);
  for (int i = 0; i < count.toolbars; ++i) {
    EXPECT_EQ(store.ValueNames(StoreRoot::Layout, OtherToolbarKey(i)),
              std::vector<std::string>{"nButtons"});
    EXPECT_EQ(store.Dword(StoreRoot::Layout, OtherToolbarKey(i), "nButtons"), 7u);
  }
}

void SetCount(FileManagerStore &store, DWORD value) {
  store.SetDword(StoreRoot::Layout, kToolbars, "nToolbars", value);
}

void RemoveCount(FileManagerStore &store) {
  // The key must still be there, so another value stays.
  store.SetString(StoreRoot::Layout, kToolbars, "other", "x");
  store.DeleteValue(StoreRoot::Layout, kToolbars, "nToolbars");
}

void TextCount(FileManagerStore &store) {
  store.SetString(StoreRoot::Layout, kToolbars, "nToolbars", "five");
}

std::string CountName(const testing::TestParamInfo<std::tuple<Scenario, ToolbarCountCase>> &info) {
  return StoreKindName(std::get<0>(info.param).kind) + std::string(std::get<1>(info.param).name);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ToolbarCount,
    testing::Combine(
        testing::ValuesIn(kStores),
        testing::Values(
            ToolbarCountCase{"Fifteen", 0, [](FileManagerStore &s) { SetCount(s, 15); }, "F_60174",
                             16},
            ToolbarCountCase{"Sixteen", 0, [](FileManagerStore &s) { SetCount(s, 16); }, nullptr,
                             16},
            ToolbarCountCase{"Huge", 0, [](FileManagerStore &s) { SetCount(s, 0x7FFFFFFF); },
                             nullptr, 0x7FFFFFFF},
            ToolbarCountCase{"Absent", 0, RemoveCount, "0_60159", 1},
            // Toolbar keys of other names leave key 0 free.
            ToolbarCountCase{"AbsentBesideOtherNames", 0,
                             [](FileManagerStore &s) {
                               s.SetDword(StoreRoot::Layout, std::string(kToolbars) + "\\Std",
                                          "nButtons", 7);
                               s.SetDword(StoreRoot::Layout, std::string(kToolbars) + "\\Addr",
                                          "nButtons", 7);
                               RemoveCount(s);
                             },
                             "0_60159", 1},
            ToolbarCountCase{"Text", 0, TextCount, "0_60159", 1},
            ToolbarCountCase{"AllBitsSet", 0, [](FileManagerStore &s) { SetCount(s, 0xFFFFFFFF); },
                             "0_60159", 1},
            // From here the keys of toolbars 0 to 2 are there.
            ToolbarCountCase{"AbsentBesideToolbars", 3, RemoveCount, "3_60162", 4},
            ToolbarCountCase{"TextBesideToolbars", 3, TextCount, "3_60162", 4},
            ToolbarCountCase{"AllBitsSetBesideToolbars", 3,
                             [](FileManagerStore &s) { SetCount(s, 0xFFFFFFFF); }, "3_60162", 4},
            ToolbarCountCase{"TopBitBesideToolbars", 3,
                             [](FileManagerStore &s) { SetCount(s, 0x80000000); }, "3_60162", 4},
            ToolbarCountCase{"TooLowBesideToolbars", 3, [](FileManagerStore &s) { SetCount(s, 1); },
                             "3_60162", 4},
            ToolbarCountCase{"TakenUpToTheLimit", 16, [](FileManagerStore &s) { SetCount(s, 2); },
                             nullptr, 2})),
    CountName);

// ---- Room for bookmarks -------------------------------------------------------------------

struct RoomCase {
  const char *name;
  int belowLimit;  // values already in "Favorites": 100 - drives - belowLimit
  bool refused;
};

class BookmarkRoom : public testing::TestWithParam<std::tuple<Scenario, RoomCase>> {
 protected:
  DriveBarRun m_run{std::get<0>(GetParam())};
};

TEST_P(BookmarkRoom, NewDriveBarNeedsBookmarksAndDrivesBelowAHundred) {
  const RoomCase &room = std::get<1>(GetParam());
  const int drives = static_cast<int>(DriveBarRun::Drives().size());
  const int values = 100 - drives - room.belowLimit;
  m_run.AddOtherValues(values);
  FileManagerStore &store = m_run.Store();
  std::vector<std::string> bookmarks = store.ValueNames(StoreRoot::Global, kBookmarks);
  ProgramRun run = m_run.RunAddbar();
  if (room.refused) {
    // Opening "Favorites" for writing may have made room for it in the
    // store, but no bookmark and no toolbar is written.
    DriveBarRun::ExpectError(run, "no room for more bookmarks");
    EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks), bookmarks);
    EXPECT_TRUE(store.ValueNames(StoreRoot::Global, kBookmarkIcons).empty());
    EXPECT_TRUE(store.SubKeys(StoreRoot::Layout, kToolbars).empty());
    EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), 3u);
  } else {
    DriveBarRun::ExpectDone(run, static_cast<size_t>(drives));
    EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks).size(),
              static_cast<size_t>(values + drives));
  }
}

std::string RoomName(const testing::TestParamInfo<std::tuple<Scenario, RoomCase>> &info) {
  return StoreKindName(std::get<0>(info.param).kind) + std::string(std::get<1>(info.param).name);
}

// With three drives: 96 values pass, 97 are refused.
INSTANTIATE_TEST_SUITE_P(Room, BookmarkRoom,
                         testing::Combine(testing::ValuesIn(kStores),
                                          testing::Values(RoomCase{"OneBelow", 1, false},
                                                          RoomCase{"AtTheLimit", 0, true},
                                                          RoomCase{"Beyond", -5, true})),
                         RoomName);

// ---- "nCustMenuIcons" -----------------------------------------------------------------------

struct IconCountCase {
  const char *name;
  DWORD stored;
  int bookmarksAfter;
  DWORD expected;
};

class IconCount : public testing::TestWithParam<std::tuple<Scenario, IconCountCase>> {
 protected:
  DriveBarRun m_run{std::get<0>(GetParam())};
};

TEST_P(IconCount, IsRaisedToTheBookmarkCountOnly) {
  const IconCountCase &icons = std::get<1>(GetParam());
  const int drives = static_cast<int>(DriveBarRun::Drives().size());
  m_run.AddOtherValues(icons.bookmarksAfter - drives);
  FileManagerStore &store = m_run.Store();
  store.SetDword(StoreRoot::Global, "", "nCustMenuIcons", icons.stored);
  DriveBarRun::ExpectDone(m_run.RunAddbar(), static_cast<size_t>(drives));
  EXPECT_EQ(store.Dword(StoreRoot::Global, "", "nCustMenuIcons"), icons.expected);
}

std::string IconName(const testing::TestParamInfo<std::tuple<Scenario, IconCountCase>> &info) {
  return StoreKindName(std::get<0>(info.param).kind) + std::string(std::get<1>(info.param).name);
}

INSTANTIATE_TEST_SUITE_P(Icons, IconCount,
                         testing::Combine(testing::ValuesIn(kStores),
                                          testing::Values(IconCountCase{"Higher", 50, 40, 50},
                                                          IconCountCase{"Lower", 10, 12, 12},
                                                          IconCountCase{"Equal", 12, 12, 12})),
                         IconName);

}  // namespace
