// The process command line the stand-in hands out through GetCommandLineW.
#pragma once

#include <windows.h>

#include "common/unicode.h"

namespace standin {

// Builds one Windows command line from argv, so that the core's splitting
// gives back the same arguments. Argument 0 gets backslashes (see host_path.h).
// Returns false, with the index of the offending argument, when an argument
// can't be written so (it holds a quote and needs quoting, or begins with one).
bool BuildCommandLine(int argc, char **argv, WString &commandLine, int &badArgument);

// Makes `commandLine` the text GetCommandLineW returns from now on.
void SetProcessCommandLine(const WString &commandLine);

}  // namespace standin
