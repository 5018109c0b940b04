// The Linux process start: argv becomes one Windows command line, then the
// program's own entry point runs, as it does on Windows.
#include <windows.h>

#include <cstdio>

#include "common/environment.h"
#include "common/unicode.h"
#include "entry/settings_trouble.h"
#include "entry/sole_option.h"
#include "process/command_line.h"
#include "ui/error_box_note.h"

extern "C" void WINAPI ProcessEntry(void);

int main(int argc, char **argv) {
  standin::SetErrorBoxNote(standin::NoteSettingsTrouble);
  // A test can hand over a command line no argv spells (white space only, an
  // unclosed quote): then it is the whole command line, as on Windows, where
  // the starter chooses it freely.
  if (const char *given = standin::VariableValue(standin::StandinVariable::CommandLine)) {
    standin::SetProcessCommandLine(standin::FromHostBytes(given));
    ProcessEntry();
  }
  standin::SoleOption sole = standin::FindSoleOption(argc, argv);
  if (sole != standin::SoleOption::None) {
    return standin::AnswerSoleOption(sole, standin::kProgramAbout, stdout);
  }
  standin::WString commandLine;
  int badArgument = 0;
  if (!standin::BuildCommandLine(argc, argv, commandLine, badArgument)) {
    std::fprintf(stderr,
                 "%s: argument %d can't be passed on a Windows command line: an argument that "
                 "holds a quote must not begin with one nor hold white space\n",
                 argc > 0 ? argv[0] : "addbar", badArgument);
    return 255;
  }
  standin::SetProcessCommandLine(commandLine);
  ProcessEntry();
  return 0;  // ProcessEntry ends the process itself.
}
