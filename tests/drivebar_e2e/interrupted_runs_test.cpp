// What a run leaves when it ends early (killed, or a write failed), and the
// next run finishing the job: one drive bar, counted once, every drive with
// its bookmark and icon entry. The kill test (tests/robustness) reaches these
// states by killing runs; here each is set up by hand, in both builds.
#include "drivebar_e2e/drive_bar_run.h"

namespace {

using InterruptedRun = DriveBarRunTest;

// Icon entries: a drive gets one where it has none, as a run leaves it that
// ended between a bookmark and its icon entry; an entry that is there, empty
// or not, is the user's and stays, whether the drive's bookmark was there or
// is new.
struct IconEntryCase {
  const char *name;
  bool bookmarkThere;
  const char *entryBefore;  // null: none
  const char *entryAfter;   // null: the drive's root
};

class IconEntry : public testing::TestWithParam<std::tuple<Scenario, IconEntryCase>> {
 protected:
  DriveBarRun m_run{std::get<0>(GetParam())};
};

TEST_P(IconEntry, IsAddedOnlyWhereThereIsNone) {
  const IconEntryCase &entry = std::get<1>(GetParam());
  std::vector<Drive> drives = DriveBarRun::Drives();
  FileManagerStore &store = m_run.Store();
  const std::string icon(1, static_cast<char>(drives[0].letter));
  if (entry.bookmarkThere) {
    const std::string first = DriveBarRun::BookmarkName(0, drives[0].letter);
    store.SetString(StoreRoot::Global, kBookmarks, first.c_str(), drives[0].root);
  }
  if (entry.entryBefore != nullptr) {
    store.SetString(StoreRoot::Global, kBookmarkIcons, icon.c_str(), entry.entryBefore);
  }
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());

  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks).size(), drives.size());
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarkIcons, icon.c_str()),
            entry.entryAfter != nullptr ? entry.entryAfter : drives[0].root);
  for (size_t i = 1; i < drives.size(); ++i) {
    std::string other(1, static_cast<char>(drives[i].letter));
    EXPECT_EQ(store.String(StoreRoot::Global, kBookmarkIcons, other.c_str()), drives[i].root);
  }
}

std::string IconEntryName(const testing::TestParamInfo<std::tuple<Scenario, IconEntryCase>> &info) {
  return StoreKindName(std::get<0>(info.param).kind) + std::string(std::get<1>(info.param).name);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, IconEntry,
    testing::Combine(
        testing::Values(Scenario{StoreKind::Registry, ""}, Scenario{StoreKind::Ini, "work"}),
        testing::Values(IconEntryCase{"MissingForABookmark", true, nullptr, nullptr},
                        IconEntryCase{"EmptyForABookmark", true, "", ""},
                        IconEntryCase{"OtherForABookmark", true, "X:\\x.ico", "X:\\x.ico"},
                        IconEntryCase{"EmptyForANewBookmark", false, "", ""},
                        IconEntryCase{"OtherForANewBookmark", false, "X:\\x.ico", "X:\\x.ico"})),
    IconEntryName);

// "nToolbars" beside a drive bar that is there. Only the state a run leaves
// that ended between marking its new drive bar and counting it is mended: the
// count that run read still names the drive bar's key, itself or past keys
// in use. Any other count is the file manager's and stays as it is.
struct DriveBarCountCase {
  const char *name;
  int toolbarsInUse;  // keys 0_60159 … holding "nButtons"
  const char *driveBar;
  void (*count)(FileManagerStore &store);
  const char *countAfter;  // as text; null: no count
};

class DriveBarCount : public testing::TestWithParam<std::tuple<Scenario, DriveBarCountCase>> {
 protected:
  DriveBarRun m_run{std::get<0>(GetParam())};
};

std::string CountText(FileManagerStore &store) {
  DWORD number = 0;
  if (store.GetDword(StoreRoot::Layout, kToolbars, "nToolbars", number)) {
    return std::to_string(number);
  }
  std::string text;
  return store.GetString(StoreRoot::Layout, kToolbars, "nToolbars", text) ? text : "none";
}

TEST_P(DriveBarCount, IsMendedOnlyAfterARunEndedBeforeIt) {
  const DriveBarCountCase &count = std::get<1>(GetParam());
  FileManagerStore &store = m_run.Store();
  for (int i = 0; i < count.toolbarsInUse; ++i) {
    store.SetDword(StoreRoot::Layout, DriveBarRun::ToolbarKey(DriveBarRun::ToolbarName(i)),
                   "nButtons", 7);
  }
  store.SetString(StoreRoot::Layout, DriveBarRun::ToolbarKey(count.driveBar), nullptr,
                  "DRIVEBAR_F2");
  store.SetString(StoreRoot::Layout, kToolbars, "other", "x");
  store.DeleteValue(StoreRoot::Layout, kToolbars, "nToolbars");
  if (count.count != nullptr) count.count(store);
  const size_t drives = DriveBarRun::Drives().size();
  // Counted once: the next run leaves the count alone.
  for (int run = 0; run < 2; ++run) {
    DriveBarRun::ExpectDone(m_run.RunAddbar(), drives);
    EXPECT_EQ(CountText(store), count.countAfter != nullptr ? count.countAfter : "none");
    EXPECT_EQ(store.Dword(StoreRoot::Layout, DriveBarRun::ToolbarKey(count.driveBar), "nButtons"),
              drives);
  }
}

void CountOf(FileManagerStore &store, DWORD value) {
  store.SetDword(StoreRoot::Layout, kToolbars, "nToolbars", value);
}

std::string DriveBarCountName(
    const testing::TestParamInfo<std::tuple<Scenario, DriveBarCountCase>> &info) {
  return StoreKindName(std::get<0>(info.param).kind) + std::string(std::get<1>(info.param).name);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, DriveBarCount,
    testing::Combine(
        testing::Values(Scenario{StoreKind::Registry, ""}, Scenario{StoreKind::Ini, "work"}),
        testing::Values(DriveBarCountCase{"ItsOwnNumber", 0, "3_60162",
                                          [](FileManagerStore &s) { CountOf(s, 3); }, "4"},
                        DriveBarCountCase{"PastKeysInUse", 3, "3_60162",
                                          [](FileManagerStore &s) { CountOf(s, 1); }, "4"},
                        DriveBarCountCase{"AbsentWithKeyZeroItsOwn", 0, "0_60159", nullptr, "1"},
                        DriveBarCountCase{"BelowItNamingAFreeKey", 0, "3_60162",
                                          [](FileManagerStore &s) { CountOf(s, 2); }, "2"},
                        DriveBarCountCase{"FarBelowIt", 0, "5_60164",
                                          [](FileManagerStore &s) { CountOf(s, 3); }, "3"},
                        DriveBarCountCase{"Absent", 0, "4_60163", nullptr, nullptr},
                        DriveBarCountCase{"Text", 0, "4_60163",
                                          [](FileManagerStore &s) {
                                            s.SetString(StoreRoot::Layout, kToolbars, "nToolbars",
                                                        "four");
                                          },
                                          "four"})),
    DriveBarCountName);

// Ended right after creating the new toolbar's key (a registry key can be
// empty; an INI section exists only with a line).
TEST_P(InterruptedRun, EmptyToolbarKeyIsTakenAgain) {
  if (GetParam().kind != StoreKind::Registry) GTEST_SKIP() << "only a registry key is empty";
  FileManagerStore &store = m_run.Store();
  store.CreateKey(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"));
  DriveBarRun::ExpectDone(m_run.RunAddbar(), DriveBarRun::Drives().size());

  EXPECT_EQ(store.SubKeys(StoreRoot::Layout, kToolbars), std::vector<std::string>{"3_60162"});
  EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), 4u);
}

INSTANTIATE_TEST_SUITE_P(Stores, InterruptedRun,
                         testing::Values(Scenario{StoreKind::Registry, ""},
                                         Scenario{StoreKind::Ini, "work"}),
                         ScenarioName);

}  // namespace
