#include "drivebar_e2e/drive_bar_run.h"

#include <cstdio>

using testing_support::BoxAnswer;
using testing_support::Narrow;
using testing_support::ProgramRequest;
using testing_support::ProgramRun;
using testing_support::Wide;

const char kToolbars[] = "MainFrame Settings\\Toolbars";
const char kBookmarks[] = "Favorites";
const char kBookmarkIcons[] = "Favorites_icons";

const Scenario kAllScenarios[4] = {{StoreKind::Registry, ""},
                                   {StoreKind::Registry, "work"},
                                   {StoreKind::Ini, ""},
                                   {StoreKind::Ini, "work"}};

std::string ScenarioName(const testing::TestParamInfo<Scenario> &info) {
  std::string name = StoreKindName(info.param.kind);
  return name + (*info.param.layout == '\0' ? "DefaultLayout" : "NamedLayout");
}

namespace {

const char kClosing[] = "without arguments, it adds the lumenrail in default registry layout";

std::string IniSectionPrefix(const char *layout) {
  std::string prefix = "vantrove_UC";
  return *layout == '\0' ? prefix : prefix + "." + layout;
}

}  // namespace

DriveBarRun::DriveBarRun(const Scenario &scenario)
    : m_scenario(scenario),
      m_registry(Wide("Software\\Harrowmede Plc")),
      m_windows("ADDBAR_WINDOWS", Narrow(m_folder.File("windows")).c_str()),
      m_drives("ADDBAR_DRIVES", "ACD") {
  if (scenario.kind == StoreKind::Registry) {
    m_store = MakeRegistryStore("Software\\Harrowmede Plc", scenario.layout);
  } else {
    WString file = m_folder.File("settings.ini");
    testing_support::WriteBytes(
        file, testing_support::Utf16File(Wide("[" + IniSectionPrefix(scenario.layout) + "\\" +
                                              kToolbars + "]\r\nnToolbars=3\r\n")));
    m_store = MakeIniStore(file, scenario.layout);
  }
  m_store->SetDword(StoreRoot::Layout, kToolbars, "nToolbars", 3);
}

std::vector<Drive> DriveBarRun::Drives() {
  WCHAR buffer[260] = {0};
  DWORD length = GetLogicalDriveStringsW(260, buffer);
  std::vector<Drive> drives;
  for (DWORD i = 0; i + 4 <= length && length < 260; i += 4) {
    drives.push_back(Drive{buffer[i], Narrow(WString(buffer + i, 3))});
  }
  return drives;
}

ProgramRun DriveBarRun::RunAddbar(const std::vector<BoxAnswer> &answers) {
  ProgramRequest request;
  request.program = testing_support::BuiltProgram(ADDBAR_PROGRAM_PATH);
  request.arguments = m_store->ProgramOptions();
  request.workingDirectory = m_folder.Path();
  request.answers = answers;
  ProgramRun run = testing_support::RunProgram(request);
  EXPECT_TRUE(run.ended) << run.failure << "\n" << run.diagnostics;
  return run;
}

std::unique_ptr<BackgroundProgram> DriveBarRun::StartFileManager(
    const std::vector<WString> &options) {
  std::vector<WString> arguments = m_store->ProgramOptions();
  arguments.insert(arguments.end(), options.begin(), options.end());
  std::unique_ptr<BackgroundProgram> program(
      new BackgroundProgram(testing_support::BuiltProgram(FM_STANDIN_PROGRAM_PATH), arguments));
  EXPECT_TRUE(program->Started());
  EXPECT_TRUE(program->WaitForOutput("window: vantrove_CommPort\n", kPatienceMs))
      << program->Output();
  return program;
}

void DriveBarRun::SendCloseCommand() {
  HWND window = FindWindowW(nullptr, Wide("vantrove_CommPort").c_str());
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_COMMAND, 0xE102, 0);
}

void DriveBarRun::ExpectDone(const ProgramRun &run, size_t buttons) {
  ASSERT_EQ(run.boxes.size(), 1u) << run.diagnostics;
  std::string text =
      "added 'drivebar' with " + std::to_string(buttons) + " buttons\nPlease restart your vantrove";
  EXPECT_EQ(Narrow(run.boxes[0].caption), "done");
  EXPECT_EQ(Narrow(run.boxes[0].text), text);
  EXPECT_EQ(run.exitCode, testing_support::ObservableExitCode(static_cast<int>(text.size())));
}

void DriveBarRun::ExpectError(const ProgramRun &run, const std::string &error) {
  ASSERT_EQ(run.boxes.size(), 1u) << run.diagnostics;
  std::string text = error + "\n\nUSAGE:\n" +
                     Narrow(testing_support::ProgramFileName(Wide("addbar"))) +
                     " [/S:layout /I:ini_file]\n" + kClosing;
  EXPECT_EQ(Narrow(run.boxes[0].caption), "Error");
  EXPECT_EQ(Narrow(run.boxes[0].text), text);
  EXPECT_EQ(run.exitCode, testing_support::ObservableExitCode(static_cast<int>(text.size())));
}

std::string DriveBarRun::ToolbarKey(const std::string &name) {
  return std::string(kToolbars) + "\\" + name;
}

std::string DriveBarRun::ToolbarName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "%X_%05d", static_cast<unsigned>(number), 60159 + number);
  return name;
}

void DriveBarRun::ExpectToolbar(const std::string &name, const std::vector<DWORD> &commandIds) {
  const std::string key = ToolbarKey(name);
  EXPECT_EQ(m_store->Dword(StoreRoot::Layout, key, "binState"), 129u);
  EXPECT_EQ(m_store->Dword(StoreRoot::Layout, key, "binTBFlags"), 7u);
  EXPECT_EQ(m_store->Dword(StoreRoot::Layout, key, "nButtons"), commandIds.size());
  std::string bytes;
  EXPECT_TRUE(m_store->GetBinary(StoreRoot::Layout, key, "nCmdIds", bytes));
  EXPECT_EQ(bytes, IdBytes(commandIds));
}

std::string DriveBarRun::IdBytes(const std::vector<DWORD> &commandIds) {
  std::string bytes;
  for (DWORD id : commandIds) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((id >> shift) & 0xFF);
  }
  return bytes;
}

std::string DriveBarRun::BookmarkName(DWORD number, WCHAR letter) {
  char name[16];
  std::snprintf(name, sizeof name, "%02X_%c", static_cast<unsigned>(number),
                static_cast<char>(letter));
  return name;
}

void DriveBarRun::AddOtherValues(int count) {
  // The fourth character is a digit: no drive's letter.
  for (int i = 0; i < count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "x%03d", i);
    m_store->SetString(StoreRoot::Global, kBookmarks, name, "somewhere");
  }
}
