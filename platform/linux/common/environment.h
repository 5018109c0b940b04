// The environment variables that steer the stand-in: each is read here and
// nowhere else, and the enumeration below lists them all. The README's table
// of variables, addbar(1) and `addbar --help` name the same ones
// (scripts/standin-variables.py checks that they do).
#pragma once

#include <string>

namespace standin {

enum class StandinVariable {
  Registry,        // ADDBAR_REGISTRY: the registry store file
  Answers,         // ADDBAR_ANSWERS: the answers to the message boxes
  Drives,          // ADDBAR_DRIVES: the drive letters
  Windows,         // ADDBAR_WINDOWS: the folder of the stand-in's windows
  WindowsDir,      // ADDBAR_WINDOWS_DIR: the Windows folder
  LockPatienceMs,  // ADDBAR_LOCK_PATIENCE_MS: how long a held store lock is waited for
  CommandLine,     // ADDBAR_COMMAND_LINE: for tests, the whole command line
};

// The variable's name, such as "ADDBAR_REGISTRY".
const char *VariableName(StandinVariable variable);

// Its value; null when it is not set.
const char *VariableValue(StandinVariable variable);

// Its value; empty when it is not set.
std::string VariableText(StandinVariable variable);

// A variable of the host's own (HOME, XDG_CONFIG_HOME, WINEPREFIX, ...): its
// value, empty when it is not set. These are read where they are used.
std::string HostVariable(const char *name);

}  // namespace standin
