// --help and --version on Linux. They are answered only as the one argument
// after the program name: any other command line is the program's own, which
// ignores them as the Windows program does.
#pragma once

#include <cstdio>

#include "entry/program_about.h"

namespace standin {

enum class SoleOption { None, Help, Version };

SoleOption FindSoleOption(int argc, char **argv);

// Writes the answer to `out`; returns the exit status: 0, or 1 when it could
// not be written.
int AnswerSoleOption(SoleOption option, const ProgramAbout &about, std::FILE *out);

}  // namespace standin
