// Stored settings the program did not expect, and stores it can't write:
// each ends in a clear box, never in a crash.
#include <algorithm>
#include <cstdlib>

#include "drivebar_e2e/drive_bar_run.h"

using testing_support::ProgramRun;

namespace {

const Scenario kStores[] = {{StoreKind::Registry, ""}, {StoreKind::Ini, ""}};

using BadInput = DriveBarRunTest;

TEST_P(BadInput, ThousandValuesInFavorites) {
  FileManagerStore &store = m_run.Store();
  store.SetString(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"), nullptr, "DRIVEBAR_F2");
  m_run.AddOtherValues(1000);
  std::vector<std::string> bookmarks = store.ValueNames(StoreRoot::Global, kBookmarks);
  // Bookmark 1000 would be 3E8: three hex digits, which no run would know
  // again, so each run would add another and its button would run none.
  // (Opening "Favorites" for writing may have made room for it in the store.)
  DriveBarRun::ExpectError(m_run.RunAddbar(), "no room for more bookmarks");
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks), bookmarks);
  EXPECT_TRUE(store.ValueNames(StoreRoot::Global, kBookmarkIcons).empty());
  EXPECT_EQ(store.ValueNames(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162")),
            std::vector<std::string>{""});
}

TEST_P(BadInput, ValueNamesThatAreNoBookmarks) {
  FileManagerStore &store = m_run.Store();
  std::vector<Drive> drives = DriveBarRun::Drives();
  std::string letter(1, static_cast<char>(drives[0].letter));
  for (const std::string &name :
       std::vector<std::string>{letter, "ab", "x_" + letter, "000_" + letter, "0_" + letter}) {
    store.SetString(StoreRoot::Global, kBookmarks, name.c_str(), drives[0].root);
  }
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
  EXPECT_EQ(store.ValueNames(StoreRoot::Global, kBookmarks).size(), 5 + drives.size());
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks,
                         DriveBarRun::BookmarkName(5, drives[0].letter).c_str()),
            drives[0].root);
}

// A user's bookmark named like the drive's but opening another folder: the
// drive gets a bookmark of its own, numbered past a name already there, and
// the user's stay as they were.
TEST_P(BadInput, BookmarkOfAnotherFolderIsNotTheDrives) {
  FileManagerStore &store = m_run.Store();
  std::vector<Drive> drives = DriveBarRun::Drives();
  const std::string letter(1, static_cast<char>(drives[0].letter));
  const std::string temp = "TEM" + letter, taken = DriveBarRun::BookmarkName(2, drives[0].letter);
  store.SetString(StoreRoot::Global, kBookmarks, temp.c_str(), letter + ":\\Temp");
  store.SetString(StoreRoot::Global, kBookmarks, taken.c_str(), letter + ":\\Users");
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());

  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks, temp.c_str()), letter + ":\\Temp");
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks, taken.c_str()), letter + ":\\Users");
  std::vector<std::string> names = store.EnumerationOrder(StoreRoot::Global, kBookmarks);
  std::vector<DWORD> ids;
  for (size_t i = 0; i < drives.size(); ++i) {
    // Numbered by the values there when written: 2 is taken for the first
    // drive alone, the name being the letter's too.
    DWORD number = static_cast<DWORD>(i == 0 ? 3 : 2 + i);
    std::string name = DriveBarRun::BookmarkName(number, drives[i].letter);
    EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks, name.c_str()), drives[i].root);
    ids.push_back(40100 +
                  static_cast<DWORD>(std::find(names.begin(), names.end(), name) - names.begin()));
  }
  m_run.ExpectToolbar("3_60162", ids);
}

TEST_P(BadInput, LowerCaseBookmarkIsNotTheDrives) {
  FileManagerStore &store = m_run.Store();
  std::vector<Drive> drives = DriveBarRun::Drives();
  WCHAR lower = static_cast<WCHAR>(drives[0].letter - 'A' + 'a');
  store.SetString(StoreRoot::Global, kBookmarks, DriveBarRun::BookmarkName(5, lower).c_str(),
                  drives[0].root);
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
  EXPECT_EQ(store.String(StoreRoot::Global, kBookmarks,
                         DriveBarRun::BookmarkName(1, drives[0].letter).c_str()),
            drives[0].root);
}

TEST_P(BadInput, ToolbarWithoutUnnamedValue) {
  FileManagerStore &store = m_run.Store();
  store.SetDword(StoreRoot::Layout, kToolbars, "nToolbars", 1);
  store.SetDword(StoreRoot::Layout, DriveBarRun::ToolbarKey("0_60159"), "nButtons", 5);
  DriveBarRun::ExpectDone(m_run.RunAddbar(), DriveBarRun::Drives().size());
  EXPECT_EQ(store.SubKeys(StoreRoot::Layout, kToolbars),
            (std::vector<std::string>{"0_60159", "1_60160"}));
  EXPECT_EQ(store.ValueNames(StoreRoot::Layout, DriveBarRun::ToolbarKey("0_60159")),
            std::vector<std::string>{"nButtons"});
  EXPECT_EQ(store.Dword(StoreRoot::Layout, DriveBarRun::ToolbarKey("0_60159"), "nButtons"), 5u);
}

TEST_P(BadInput, UnwritableStoreIsReportedAndKeptAsItWas) {
  FileManagerStore &store = m_run.Store();
  if (!store.MakeUnwritable()) GTEST_SKIP() << "this store can't be made unwritable here";
  std::string before = store.Snapshot();
  DriveBarRun::ExpectError(m_run.RunAddbar(), "cannot write toolbar settings");
  EXPECT_TRUE(store.Snapshot() == before) << "the store changed";
}

TEST_P(BadInput, UnwritableStoreWithAnExistingDriveBar) {
  FileManagerStore &store = m_run.Store();
  DriveBarRun::ExpectDone(m_run.RunAddbar(), DriveBarRun::Drives().size());
  // Something for the next run to write back.
  store.SetBinary(StoreRoot::Layout, DriveBarRun::ToolbarKey("3_60162"), "nCmdIds", "");
  if (!store.MakeUnwritable()) GTEST_SKIP() << "this store can't be made unwritable here";
  std::string before = store.Snapshot();
  DriveBarRun::ExpectError(m_run.RunAddbar(), "cannot write toolbar settings");
  EXPECT_TRUE(store.Snapshot() == before) << "the store changed";
}

// The store's mutex can't be made (the stand-in's object folder is a file):
// the run must not go on unguarded, and changes nothing.
TEST_P(BadInput, StoreMutexThatCantBeMadeChangesNothing) {
  SKIP_UNLESS_STANDIN("the object folder is the stand-in's");
  FileManagerStore &store = m_run.Store();
  std::string before = store.Snapshot();
  testing_support::WriteBytes(
      testing_support::Wide(std::getenv("ADDBAR_WINDOWS")) + testing_support::Wide(".objects"), "");
  DriveBarRun::ExpectError(m_run.RunAddbar(),
                           "cannot keep other addbar runs off these settings; nothing was changed");
  EXPECT_TRUE(store.Snapshot() == before) << "the store changed";
}

INSTANTIATE_TEST_SUITE_P(Stores, BadInput, testing::ValuesIn(kStores), ScenarioName);

// "nCmdIds" of any length is written whole again.
class StoredCommandIds : public testing::TestWithParam<std::tuple<Scenario, size_t>> {
 protected:
  DriveBarRun m_run{std::get<0>(GetParam())};
};

TEST_P(StoredCommandIds, AreReplacedWhatTheirLength) {
  FileManagerStore &store = m_run.Store();
  const std::string key = DriveBarRun::ToolbarKey("3_60162");
  store.SetString(StoreRoot::Layout, key, nullptr, "DRIVEBAR_F2");
  store.SetBinary(StoreRoot::Layout, key, "nCmdIds", std::string(std::get<1>(GetParam()), '\x5A'));
  std::vector<Drive> drives = DriveBarRun::Drives();
  DriveBarRun::ExpectDone(m_run.RunAddbar(), drives.size());
  std::vector<DWORD> ids;
  for (size_t i = 0; i < drives.size(); ++i) ids.push_back(40100 + static_cast<DWORD>(i));
  m_run.ExpectToolbar("3_60162", ids);
}

INSTANTIATE_TEST_SUITE_P(Lengths, StoredCommandIds,
                         testing::Combine(testing::ValuesIn(kStores),
                                          testing::Values(size_t{0}, size_t{3}, size_t{7},
                                                          size_t{401})));

}  // namespace
