// addbar.exe from the unpacked Windows zip (zip_test.sh unpacks it), run as a
// user would on a copy of the sample INI file: a first run adds the drive bar.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/program_runner.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

TEST(UnpackedZip, AddsTheDriveBarToACopyOfTheSampleIniFile) {
  TempDir work;
  const WString ini = work.File("settings.ini");
  WriteBytes(ini, ReadBytes(BuiltProgram(SAMPLE_INI_PATH)));
  const WString toolbars = Wide("vantrove_UC\\MainFrame Settings\\Toolbars");
  const WString count = Wide("nToolbars");
  ASSERT_EQ(3u, GetPrivateProfileIntW(toolbars.c_str(), count.c_str(), 0, ini.c_str()));

  ProgramRequest request;
  request.program = BuiltProgram(UNPACKED_PROGRAM_PATH);
  request.arguments.push_back(Wide("/I:") + ini);
  request.workingDirectory = work.Path();
  ProgramRun run = RunProgram(request);

  ASSERT_TRUE(run.ended) << run.failure << "\n" << run.diagnostics;
  EXPECT_EQ(60u, run.exitCode);
  ASSERT_EQ(1u, run.boxes.size());
  EXPECT_EQ(Wide("done"), run.boxes[0].caption);
  EXPECT_EQ(0u, run.boxes[0].text.find(Wide("added 'drivebar' with ")))
      << Narrow(run.boxes[0].text);
  // The drive bar is one toolbar more than the sample's three.
  EXPECT_EQ(4u, GetPrivateProfileIntW(toolbars.c_str(), count.c_str(), 0, ini.c_str()));
}

}  // namespace
