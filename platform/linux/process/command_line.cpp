#include "process/command_line.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/host_path.h"
#include "common/unicode.h"

namespace standin {

namespace {

WString CommandLineFromProc();

// The text stays alive for the whole process, as the real command line does.
// A program started without the stand-in's entry (a test program) gets its
// own argv, as the kernel recorded it.
WString &ProcessCommandLine() {
  static WString *text = new WString(CommandLineFromProc());
  return *text;
}

bool IsWhiteSpace(WCHAR unit) {
  WORD type = 0;
  return GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, &unit, 1, &type) && (type & C1_SPACE);
}

bool NeedsQuotes(const WString &argument) {
  if (argument.empty()) return true;
  for (WCHAR unit : argument) {
    if (IsWhiteSpace(unit)) return true;
  }
  return false;
}

WString CommandLineFromProc() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  size_t start = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\0') {
      arguments.push_back(raw.substr(start, i - start));
      start = i + 1;
    }
  }
  std::vector<char *> argv;
  for (std::string &argument : arguments) argv.push_back(argument.data());
  WString commandLine;
  int bad = 0;
  if (!BuildCommandLine(static_cast<int>(argv.size()), argv.data(), commandLine, bad))
    commandLine.clear();
  return commandLine;
}

}  // namespace

bool BuildCommandLine(int argc, char **argv, WString &commandLine, int &badArgument) {
  commandLine.clear();
  for (int i = 0; i < argc; ++i) {
    // Arguments keep their bytes: one that names a file names the same file.
    WString argument = i == 0 ? FromHostPath(argv[i]) : FromHostBytes(argv[i]);
    bool hasQuote = argument.find(u'"') != WString::npos;
    bool quoted = NeedsQuotes(argument) || (!argument.empty() && argument[0] == u'"');
    // A quoted token ends at its next quote and a quote can't be escaped, so
    // such an argument has no spelling that splits back into itself.
    if (quoted && hasQuote) {
      badArgument = i;
      return false;
    }
    if (i > 0) commandLine += u' ';
    if (quoted) {
      commandLine += u'"';
      commandLine += argument;
      commandLine += u'"';
    } else {
      commandLine += argument;
    }
  }
  return true;
}

void SetProcessCommandLine(const WString &commandLine) { ProcessCommandLine() = commandLine; }

}  // namespace standin

LPWSTR WINAPI GetCommandLineW(void) { return standin::ProcessCommandLine().data(); }
