#include "app/run_options.h"

#include <gtest/gtest.h>

#include <string>

#include "app/settings_location.h"
#include "support/test_support.h"

using testing_support::Wide;

namespace {

WString Text(const CString &text) { return WString(static_cast<LPCWSTR>(text)); }

const char kRegistryBase[] = "Software\\Harrowmede Plc\\vantrove_UC";

struct OptionCase {
  std::string commandLine;
  std::string iniPath;
  std::string layout;
  std::string layoutRootPath;  // registry mode
  std::string globalRootPath;
  std::string layoutPrefix;  // INI mode: the section prefixes
  std::string globalPrefix;
};

class RunOptionCases : public testing::TestWithParam<OptionCase> {
 protected:
  void SetUp() override {
    WString line = Wide(GetParam().commandLine);
    m_args.Parse(line.c_str());
  }
  CCommandLineArgs m_args{'"'};
};

TEST_P(RunOptionCases, ReadsTheLastIAndSOptions) {
  CString iniPath, layout;
  ReadRunOptions(m_args, iniPath, layout);
  EXPECT_EQ(Wide(GetParam().iniPath), Text(iniPath));
  EXPECT_EQ(Wide(GetParam().layout), Text(layout));
}

TEST_P(RunOptionCases, BuildsBothRegistryRootsUnderTheCurrentUser) {
  CString iniPath, layout, baseKeyPath;
  ReadRunOptions(m_args, iniPath, layout);
  CSettingsRoot globalRoot, layoutRoot;
  BuildSettingsRoots(layout, baseKeyPath, globalRoot, layoutRoot);
  EXPECT_EQ(Wide(GetParam().layoutRootPath), Text(layoutRoot.m_path));
  EXPECT_EQ(Wide(GetParam().globalRootPath), Text(globalRoot.m_path));
  EXPECT_EQ(HKEY_CURRENT_USER, layoutRoot.m_hive);
  EXPECT_EQ(HKEY_CURRENT_USER, globalRoot.m_hive);
  EXPECT_TRUE(layoutRoot.m_iniPath.IsEmpty());
  EXPECT_TRUE(globalRoot.m_iniPath.IsEmpty());
}

TEST_P(RunOptionCases, BindingToAnIniFileGivesTheSectionPrefixes) {
  CString iniPath, layout, baseKeyPath;
  ReadRunOptions(m_args, iniPath, layout);
  CSettingsRoot globalRoot, layoutRoot;
  BuildSettingsRoots(layout, baseKeyPath, globalRoot, layoutRoot);
  CString file(TEXT("C:\\settings\\vantrove.ini"));
  BindRootsToIniFile(baseKeyPath, file, layoutRoot, globalRoot);
  EXPECT_EQ(Wide(GetParam().layoutPrefix), Text(layoutRoot.m_path));
  EXPECT_EQ(Wide(GetParam().globalPrefix), Text(globalRoot.m_path));
  EXPECT_EQ(Text(file), Text(layoutRoot.m_iniPath));
  EXPECT_EQ(Text(file), Text(globalRoot.m_iniPath));
  EXPECT_EQ(HKEY_CURRENT_USER, layoutRoot.m_hive);
}

const std::string kBase = kRegistryBase;
const std::string kGlobal = kBase + ".global";
const std::string kWork = kBase + ".work";

OptionCase Case(const char *line, const char *ini, const char *layout, const std::string &root,
                const char *layoutPrefix, const char *globalPrefix) {
  return OptionCase{line, ini, layout, root, kGlobal, layoutPrefix, globalPrefix};
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunOptionCases,
    testing::Values(
        Case("addbar.exe", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        Case("addbar.exe /S:work", "", "work", kWork, "vantrove_UC.work",
             "vantrove_UC.work.global"),
        Case("addbar.exe -s:work", "", "work", kWork, "vantrove_UC.work",
             "vantrove_UC.work.global"),
        Case("addbar.exe /I:x.ini /S:work", "x.ini", "work", kWork, "vantrove_UC.work",
             "vantrove_UC.work.global"),
        Case("addbar.exe -i:C:\\x.ini", "C:\\x.ini", "", kBase, "vantrove_UC",
             "vantrove_UC.global"),
        // Too short for a value: the same as no /S: option.
        Case("addbar.exe /S", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        Case("addbar.exe /S:", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        Case("addbar.exe /Sx", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        Case("addbar.exe /I", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        // The third unit is not looked at.
        Case("addbar.exe /Sxwork", "", "work", kWork, "vantrove_UC.work",
             "vantrove_UC.work.global"),
        Case("addbar.exe /S:a /S:b", "", "b", kBase + ".b", "vantrove_UC.b",
             "vantrove_UC.b.global"),
        Case("addbar.exe /I:a.ini /I:b.ini", "b.ini", "", kBase, "vantrove_UC",
             "vantrove_UC.global"),
        // Other letters, stray words and argument 0 are never options.
        Case("addbar.exe /Q:foo foo", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        Case("/S:zero", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        Case("addbar.exe S:work", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        Case("addbar.exe / -", "", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        // A quoted option keeps its blanks; a quote inside a word stays.
        Case("addbar.exe \"/I:my file.ini\"", "my file.ini", "", kBase, "vantrove_UC",
             "vantrove_UC.global"),
        Case("addbar.exe /I:\"my", "\"my", "", kBase, "vantrove_UC", "vantrove_UC.global"),
        // A layout with a backslash: the INI prefix is its last component.
        Case("addbar.exe /S:a\\b", "", "a\\b", kBase + ".a\\b", "b", "b.global")));

}  // namespace
