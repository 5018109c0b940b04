// The built program, run as a user would: the final box, its text and the
// exit code for each way a run can end before the drive bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addbar_version.h"
#include "support/program_runner.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const char kClosing[] = "without arguments, it adds the lumenrail in default registry layout";
const char kCannotFind[] = "cannot find INI file:\n";
const char kCannotLocate[] = "cannot locate toolbar settings";
const char kToolbarsSection[] = "MainFrame Settings\\Toolbars";

WString Usage(const WString &programName) {
  return Wide("\n\nUSAGE:\n") + programName + Wide(" [/S:layout /I:ini_file]\n") + Wide(kClosing);
}

bool StartsWith(const WString &text, const WString &prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Shown(const ProgramRun &run) {
  std::string list = "boxes shown:";
  for (const ShownBox &box : run.boxes)
    list += "\n  [" + Narrow(box.caption) + "] " + Narrow(box.text);
  return list + "\n" + run.diagnostics;
}

// An INI file as the user would keep it: UTF-16LE with a byte-order mark.
std::string IniFile(const std::string &lines) { return Utf16File(Wide(lines)); }

std::string ToolbarsSection(const std::string &prefix) {
  return "[" + prefix + "\\" + kToolbarsSection + "]\r\nnToolbars=0\r\n";
}

// Every run gets a copy of the program in a folder of its own, so that the
// folder beside it holds only what a test puts there, and a working folder
// of its own. Registry runs see a registry without the file manager's keys.
class AddbarRun : public testing::Test {
 protected:
  void SetUp() override {
    m_program = m_programFolder.File(ProgramFileName(Wide("addbar")));
    ASSERT_TRUE(CopyProgram(BuiltProgram(ADDBAR_PROGRAM_PATH), m_program));
    m_moduleDirectory = PathAsProgramSees(m_programFolder.Path()) + Wide("\\");
  }

  ProgramRequest Request(const std::vector<std::string> &arguments) const {
    ProgramRequest request;
    request.program = m_program;
    for (const std::string &argument : arguments) request.arguments.push_back(Wide(argument));
    request.workingDirectory = m_workFolder.Path();
    // No running file manager may answer: a window folder of our own, inside
    // a folder of the test's, as the stand-in keeps its mutexes beside it.
    request.environment.emplace_back("ADDBAR_WINDOWS", Narrow(m_windowsFolder.File("windows")));
    // The stand-in's Windows folder, where bare INI file names are read: empty.
    request.environment.emplace_back("ADDBAR_WINDOWS_DIR", Narrow(m_systemFolder.Path()));
    return request;
  }

  // Runs and checks what every run must give: one box, the exit code being
  // the length of its text.
  ShownBox RunToOneBox(const ProgramRequest &request) {
    ProgramRun run = RunProgram(request);
    EXPECT_TRUE(run.ended) << run.failure << "\n" << run.diagnostics;
    EXPECT_EQ(1u, run.boxes.size()) << Shown(run);
    if (run.boxes.empty()) return ShownBox();
    const ShownBox &box = run.boxes.back();
    EXPECT_EQ(ObservableExitCode(static_cast<int>(box.text.size())), run.exitCode)
        << "text length " << box.text.size();
    return box;
  }

  // The text of an error box (the platform's default caption).
  WString RunToError(const ProgramRequest &request) {
    ShownBox box = RunToOneBox(request);
    EXPECT_EQ(Wide("Error"), box.caption) << Narrow(box.text);
    return box.text;
  }

  // Got past the toolbar settings: the drive bar step either reports its
  // buttons or its own error, never one of the errors before it.
  void RunPastTheToolbarSettings(const ProgramRequest &request) {
    ShownBox box = RunToOneBox(request);
    if (box.caption == Wide("done")) {
      EXPECT_TRUE(StartsWith(box.text, Wide("added 'drivebar' with "))) << Narrow(box.text);
    } else {
      EXPECT_EQ(Wide("Error"), box.caption);
      EXPECT_FALSE(StartsWith(box.text, Wide(kCannotFind))) << Narrow(box.text);
      EXPECT_FALSE(StartsWith(box.text, Wide(kCannotLocate))) << Narrow(box.text);
      EXPECT_FALSE(box.text.empty());
    }
  }

  WString ErrorText(const std::string &error) const {
    return Wide(error) + Usage(ProgramFileName(Wide("addbar")));
  }

  WString CannotFind(const WString &given) const {
    return Wide(kCannotFind) + m_moduleDirectory + given + Usage(ProgramFileName(Wide("addbar")));
  }

  TempDir m_programFolder;
  TempDir m_workFolder;
  TempDir m_windowsFolder;
  TempDir m_systemFolder;
  WString m_program;
  WString m_moduleDirectory;
  ScopedProgramRegistry m_registry{Wide("Software\\Harrowmede Plc")};
};

// The code of a failure is the length of its text, which can pass 255. A
// Linux shell would see the low 8 bits: 316 units would read as "done" (60).
// There such a code arrives as 255, the code of no success; Windows keeps it.
class FailureCodeBeyond255 : public AddbarRun, public testing::WithParamInterface<size_t> {};

TEST_P(FailureCodeBeyond255, NeverReadsAsAnotherOutcome) {
  const size_t length = GetParam();
  const size_t fixed = CannotFind(WString()).size();
  ASSERT_LT(fixed, length);
  WString given(length - fixed, WCHAR('x'));
  ProgramRun run = RunProgram(Request({"/I:" + Narrow(given)}));
  ASSERT_TRUE(run.ended) << run.failure << "\n" << run.diagnostics;
  ASSERT_EQ(1u, run.boxes.size()) << Shown(run);
  EXPECT_EQ(CannotFind(given), run.boxes[0].text);
  EXPECT_EQ(CurrentPlatform() == Platform::LinuxStandIn ? 255u : static_cast<DWORD>(length),
            run.exitCode);
}

// Whole texts that would wrap to 0, to "done"'s 60 and 61, and to Cancel's 100.
INSTANTIATE_TEST_SUITE_P(Table, FailureCodeBeyond255, testing::Values(256u, 316u, 317u, 356u));

TEST_F(AddbarRun, AnOverlongIniPathIsCutByTheFormattingLimit) {
  // Windows carries at most 32,767 units of command line; the stand-in and
  // Wine carry more. Either is far beyond the 1024-unit limit.
  size_t length = CurrentPlatform() == Platform::Windows ? 32000 : 33000;
  WString given(length, WCHAR('x'));
  ProgramRun run = RunProgram(Request({"/I:" + Narrow(given)}));
  ASSERT_TRUE(run.ended) << run.failure << "\n" << run.diagnostics.substr(0, 2000);
  ASSERT_EQ(1u, run.boxes.size());
  const WString &text = run.boxes[0].text;
  EXPECT_EQ(ObservableExitCode(static_cast<int>(text.size())), run.exitCode);
  WString usage = Usage(ProgramFileName(Wide("addbar")));
  ASSERT_GT(text.size(), usage.size());
  WString error = text.substr(0, text.size() - usage.size());
  EXPECT_EQ(usage, text.substr(error.size()));
  // The formatted error stops at the platform's 1024 units.
  EXPECT_GE(error.size(), 1023u);
  EXPECT_LE(error.size(), 1024u);
  WString full = Wide(kCannotFind) + m_moduleDirectory + given;
  EXPECT_EQ(full.substr(0, error.size()), error);
}

// ---- Toolbar settings not found -------------------------------------------------------

struct RegistryCase {
  std::vector<std::string> arguments;
  const char *existingKey;  // created before the run; null = none
  bool located;
};

class RegistryRun : public AddbarRun, public testing::WithParamInterface<RegistryCase> {};

TEST_P(RegistryRun, LooksForTheToolbarsUnderTheLayoutRoot) {
  if (GetParam().existingKey != nullptr) {
    HKEY key = nullptr;
    WString path = Wide(GetParam().existingKey);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
  }
  if (GetParam().located) {
    RunPastTheToolbarSettings(Request(GetParam().arguments));
  } else {
    EXPECT_EQ(ErrorText(kCannotLocate), RunToError(Request(GetParam().arguments)));
  }
}

const char kDefaultToolbars[] =
    "Software\\Harrowmede Plc\\vantrove_UC\\MainFrame Settings\\Toolbars";
const char kWorkToolbars[] =
    "Software\\Harrowmede Plc\\vantrove_UC.work\\MainFrame Settings\\Toolbars";

INSTANTIATE_TEST_SUITE_P(Table, RegistryRun,
                         testing::Values(RegistryCase{{}, nullptr, false},
                                         RegistryCase{{"/S:work"}, nullptr, false},
                                         RegistryCase{{"/Q:foo", "foo"}, nullptr, false},
                                         RegistryCase{{}, kDefaultToolbars, true},
                                         RegistryCase{{"/Q:foo", "foo"}, kDefaultToolbars, true},
                                         RegistryCase{{"/S:work"}, kDefaultToolbars, false},
                                         RegistryCase{{"-s:work"}, kWorkToolbars, true},
                                         RegistryCase{{}, kWorkToolbars, false},
                                         // Too short for a layout: the default one.
                                         RegistryCase{{"/S:"}, kDefaultToolbars, true},
                                         RegistryCase{{"/Sxwork"}, kWorkToolbars, true}));

// --help and --version that are not the sole argument, or not spelt so, are
// ignored by the Linux program too (see SoleInfoOption below).
INSTANTIATE_TEST_SUITE_P(
    InfoOptions, RegistryRun,
    testing::Values(RegistryCase{{"--version", "--help"}, kDefaultToolbars, true},
                    RegistryCase{{"/S:work", "--version"}, kWorkToolbars, true},
                    RegistryCase{{"--help", "-s:work"}, kWorkToolbars, true},
                    RegistryCase{{"--VERSION"}, nullptr, false},
                    RegistryCase{{"-help"}, nullptr, false},
                    RegistryCase{{"--version="}, nullptr, false}));

struct IniCase {
  std::vector<std::string> options;  // after /I:settings.ini
  std::string contents;
  bool located;
};

class IniRun : public AddbarRun, public testing::WithParamInterface<IniCase> {};

TEST_P(IniRun, LooksForTheToolbarsSectionUnderTheLayoutPrefix) {
  WString ini = m_workFolder.File("settings.ini");
  WriteBytes(ini, IniFile(GetParam().contents));
  std::vector<std::string> arguments{"/I:" + Narrow(ini)};
  arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
  if (GetParam().located) {
    RunPastTheToolbarSettings(Request(arguments));
  } else {
    EXPECT_EQ(ErrorText(kCannotLocate), RunToError(Request(arguments)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniRun,
    testing::Values(IniCase{{}, ToolbarsSection("vantrove_UC"), true},
                    IniCase{{}, "[vantrove_UC\\MainFrame Settings]\r\nx=1\r\n", false},
                    // A section without lines counts as missing.
                    IniCase{{}, "[vantrove_UC\\MainFrame Settings\\Toolbars]\r\n", false},
                    IniCase{{"/S:work"}, ToolbarsSection("vantrove_UC.work"), true},
                    IniCase{{"/S:work"}, ToolbarsSection("vantrove_UC"), false},
                    // The registry path is no section prefix.
                    IniCase{{}, ToolbarsSection("Software\\Harrowmede Plc\\vantrove_UC"), false}));

// ---- Where the INI file is found ----------------------------------------------------------

enum class Folder { None, Work, Program, Elsewhere };

struct IniLookupCase {
  const char *label;
  // The file with the toolbar settings and its folder; none for a file that
  // is found nowhere.
  Folder fileIn;
  const char *fileName;
  // The /I: value: `given` as written, or in that folder (the folder itself
  // when `given` is empty).
  Folder givenIn;
  const char *given;
  bool readOnly;
};

std::string LookupName(const testing::TestParamInfo<IniLookupCase> &info) {
  return info.param.label;
}
void PrintTo(const IniLookupCase &c, std::ostream *out) { *out << c.label; }

class IniLookup : public AddbarRun, public testing::WithParamInterface<IniLookupCase> {
 protected:
  const TempDir *FolderOf(Folder folder) const {
    switch (folder) {
      case Folder::Work:
        return &m_workFolder;
      case Folder::Program:
        return &m_programFolder;
      case Folder::Elsewhere:
        return &m_elsewhere;
      case Folder::None:
        break;
    }
    return nullptr;
  }
  WString Given() const {
    const TempDir *folder = FolderOf(GetParam().givenIn);
    if (folder == nullptr) return Wide(GetParam().given);
    return *GetParam().given == 0 ? folder->Path() : folder->File(GetParam().given);
  }
  TempDir m_elsewhere;
};

// Found: the run gets past the toolbar settings, which only the file meant
// holds; namesakes where a wrong look-up would read (beside the program, the
// stand-in's Windows folder) hold none and stay as they were. Not found: the
// error names the path retried beside the program.
TEST_P(IniLookup, ReadsTheFileWhereTheLookUpFindsIt) {
  const IniLookupCase &c = GetParam();
  WriteBytes(m_elsewhere.File("present.ini"), IniFile(ToolbarsSection("vantrove_UC")));
  if (c.fileIn == Folder::None) {
    EXPECT_EQ(CannotFind(Given()), RunToError(Request({"/I:" + Narrow(Given())})));
    return;
  }
  const WString file = FolderOf(c.fileIn)->File(c.fileName);
  WriteBytes(file, IniFile(ToolbarsSection("vantrove_UC")));
  const std::string decoy = IniFile("[other]\r\nx=1\r\n");
  std::vector<WString> decoys{m_systemFolder.File(c.fileName)};
  if (c.fileIn != Folder::Program) decoys.push_back(m_programFolder.File(c.fileName));
  for (const WString &path : decoys) WriteBytes(path, decoy);
  const std::string before = ReadBytes(file);
  if (c.readOnly) MakeReadOnly(file);

  RunPastTheToolbarSettings(Request({"/I:" + Narrow(Given())}));
  for (const WString &path : decoys) EXPECT_EQ(decoy, ReadBytes(path)) << Narrow(path);
  if (c.readOnly) {
    EXPECT_EQ(before, ReadBytes(file));
    MakeWritable(file);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniLookup,
    testing::Values(
        IniLookupCase{"BesideTheProgram", Folder::Program, "settings.ini", Folder::None,
                      "settings.ini", false},
        // A path with a folder in it is read where it points.
        IniLookupCase{"DotBackslashInTheWorkingFolder", Folder::Work, "settings.ini", Folder::None,
                      ".\\settings.ini", false},
        IniLookupCase{"DotSlashInTheWorkingFolder", Folder::Work, "settings.ini", Folder::None,
                      "./settings.ini", false},
        // The profile calls would read a bare name in the Windows folder; the
        // file found in the working folder is the one read.
        IniLookupCase{"BareNameInTheWorkingFolder", Folder::Work, "settings.ini", Folder::None,
                      "settings.ini", false},
        // A ':' past the second unit names no drive: still a bare name.
        IniLookupCase{"BareNameWithAColonInTheWorkingFolder", Folder::Work, "ab:c.ini",
                      Folder::None, "ab:c.ini", false},
        // Read, and never changed.
        IniLookupCase{"ReadOnlyFile", Folder::Work, "settings.ini", Folder::Work, "settings.ini",
                      true},
        IniLookupCase{"MissingFile", Folder::None, nullptr, Folder::None, "missing.ini", false},
        // A folder is no INI file.
        IniLookupCase{"AFolder", Folder::None, nullptr, Folder::Elsewhere, "", false},
        IniLookupCase{"InAMissingFolder", Folder::None, nullptr, Folder::None, "no-folder\\x.ini",
                      false},
        IniLookupCase{"WildCardMatchingNothing", Folder::None, nullptr, Folder::Elsewhere,
                      "nothing*.ini", false},
        // Appended to the program's folder all the same.
        IniLookupCase{"AbsolutePath", Folder::None, nullptr, Folder::Elsewhere, "gone.ini", false}),
    LookupName);

// ---- Command lines no argument list spells ---------------------------------------------

TEST_F(AddbarRun, AWhiteSpaceCommandLineNamesTheProgramByItsModule) {
  ProgramRequest request = Request({});
  request.useRawCommandLine = true;
  request.rawCommandLine = Wide(" \t ");
  EXPECT_EQ(ErrorText(kCannotLocate), RunToError(request));
}

TEST_F(AddbarRun, AnUnclosedQuoteRunsToTheEndOfTheLine) {
  ProgramRequest request = Request({});
  request.useRawCommandLine = true;
  // Trailing blanks are trimmed before the line is split; inner ones stay.
  request.rawCommandLine = Wide("C:\\tools\\addbar.exe \"/I:my  missing.ini  ");
  WString expected =
      Wide(kCannotFind) + m_moduleDirectory + Wide("my  missing.ini") + Usage(Wide("addbar.exe"));
  EXPECT_EQ(expected, RunToError(request));
}

// ---- --help and --version ------------------------------------------------------------

// The Linux program answers them when one of them is the sole argument, on
// standard output and without running. The Windows program has no such
// options: it ignores them as any other argument and runs as without any.
class SoleInfoOption : public AddbarRun, public testing::WithParamInterface<const char *> {};

TEST_P(SoleInfoOption, IsAnsweredOnLinuxAndIgnoredOnWindows) {
  const std::string option = GetParam();
  if (CurrentPlatform() != Platform::LinuxStandIn) {
    EXPECT_EQ(ErrorText(kCannotLocate), RunToError(Request({option})));
    return;
  }
  ProgramRun run = RunProgram(Request({option}));
  ASSERT_TRUE(run.ended) << run.failure << "\n" << run.diagnostics;
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty()) << Shown(run);
  if (option == "--version") {
    EXPECT_EQ("addbar " ADDBAR_VERSION_TEXT "\n", run.diagnostics);
  } else {
    EXPECT_EQ(0u, run.diagnostics.rfind("Usage: addbar [/S:layout] [/I:ini_file]\n", 0))
        << run.diagnostics;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, SoleInfoOption, testing::Values("--version", "--help"));

// A command line handed over whole is a Windows one, also on Linux: the word
// is an ignored argument there.
TEST_F(AddbarRun, AVersionOptionInAWholeCommandLineIsIgnored) {
  ProgramRequest request = Request({});
  request.useRawCommandLine = true;
  request.rawCommandLine = Wide("addbar.exe --version");
  EXPECT_EQ(Wide(kCannotLocate) + Usage(Wide("addbar.exe")), RunToError(request));
}

}  // namespace

// ---- A registry store that can't be read ------------------------------------------------

struct DamagedStoreCase {
  const char *label;
  std::string bytes;
};

class DamagedRegistryStore : public AddbarRun,
                             public testing::WithParamInterface<DamagedStoreCase> {};

// The toolbar settings can't be found in a store that doesn't read, and the
// store keeps every byte: a run never writes over what it could not read.
TEST_P(DamagedRegistryStore, IsReportedAsMissingToolbarsAndLeftAsItWas) {
  SKIP_UNLESS_STANDIN("the registry store file is the Linux stand-in's");
  WString store = m_workFolder.File("registry.reg");
  WriteBytes(store, GetParam().bytes);
  ProgramRequest request = Request({});
  request.environment.emplace_back("ADDBAR_REGISTRY", Narrow(store));
  EXPECT_EQ(ErrorText(kCannotLocate), RunToError(request)) << GetParam().label;
  EXPECT_EQ(GetParam().bytes, ReadBytes(store)) << GetParam().label;
}

const std::string kStoreHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kToolbarsKeyLine =
    "[HKEY_CURRENT_USER\\Software\\Harrowmede Plc\\vantrove_UC\\MainFrame Settings\\Toolbars]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedRegistryStore,
    testing::Values(
        DamagedStoreCase{"empty", ""},
        DamagedStoreCase{"not a registry export", "just some text\n"},
        DamagedStoreCase{"8-bit instead of UTF-16", kStoreHeader + kToolbarsKeyLine},
        DamagedStoreCase{"cut in the middle of a value",
                         Utf16File(Wide(kStoreHeader + kToolbarsKeyLine + "\"nToolbars\"=dwo"))},
        DamagedStoreCase{"cut in the middle of a unit",
                         Utf16File(Wide(kStoreHeader + kToolbarsKeyLine)) + std::string(1, 'x')},
        DamagedStoreCase{"no header",
                         Utf16File(Wide(kToolbarsKeyLine + "\"nToolbars\"=dword:0\r\n"))}));
