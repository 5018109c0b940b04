// What a Linux program of addbar's tells about itself when asked with a sole
// --help or --version. Each program that starts through this entry defines
// kProgramAbout once.
#pragma once

namespace standin {

struct ProgramAbout {
  const char *name;   // as in "<name> <version>"
  const char *usage;  // the --help text, ending with a line feed
};

extern const ProgramAbout kProgramAbout;

}  // namespace standin
