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

// Ended between the new toolbar's marker and the count that takes it in.
TEST_P(InterruptedRun, MarkedToolbarGetsCounted) {
  FileManagerStore &store = m_run.Store();
  store.SetString(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"), nullptr, "DRIVEBAR_F2");
  const size_t drives = DriveBarRun::Drives().size();
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives);

  EXPECT_EQ(store.SubKeys(StoreRoot::Layout, kToolbars), std::vector<std::string>{"3_60162"});
  EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), 4u);
  EXPECT_EQ(store.Dword(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"), "nButtons"), drives);
  // Counted once: the next run leaves the count alone.
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives);
  EXPECT_EQ(store.Dword(StoreRoot::Layout, kToolbars, "nToolbars"), 4u);
}

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
