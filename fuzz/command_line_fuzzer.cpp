// CCommandLineArgs splitting any text: every argument is there and owned,
// the arguments appear in the text in order, a plain argument holds no white
// space and a quoted one no quote (but a closing one a combining mark follows),
// and IsSwitch looks at the first unit only.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cmdline/command_line_args.h"
#include "text/white_space.h"

namespace {

void Fail(const char *what) {
  std::fprintf(stderr, "command line: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 4) return 0;
  // The first byte picks the quote character, a printable ASCII one as every
  // character the splitting compares is a unit of its own; after the first
  // two bytes comes the text.
  const WCHAR quote = static_cast<WCHAR>(0x21 + data[0] % 94);
  std::vector<WCHAR> text;
  for (size_t i = 2; i + 1 < size; i += 2) {
    WCHAR unit = static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  // Empty text splits the process's own command line: not this input.
  if (text.empty()) return 0;
  text.push_back(0);

  CCommandLineArgs args(quote);
  if (args.Parse(text.data()) != TRUE) Fail("Parse did not return 1");
  if (args.m_nArgs < 0) Fail("a negative count");
  if (args.m_nArgs > 0 && args.m_ppArgs == nullptr) Fail("arguments without their array");
  if (args.m_nArgs > static_cast<int>(text.size())) Fail("more arguments than units");

  const WCHAR *cursor = text.data();
  const WCHAR *end = text.data() + text.size() - 1;
  for (int i = 0; i < args.m_nArgs; ++i) {
    if (args.m_ppArgs[i] == nullptr) Fail("a missing argument");
    const CString &argument = *args.m_ppArgs[i];
    const int length = argument.GetLength();
    const WCHAR *units = argument;
    bool white = false, quoted = false;
    for (int k = 0; k < length; ++k) {
      if (units[k] == 0) Fail("a terminator inside an argument");
      white = white || IsSpace(units[k]);
      quoted = quoted || units[k] == quote;
    }
    // White space comes only from a quoted token, which keeps no quote but
    // the closing one when a combining mark follows it: the step past the
    // closing quote (CharNextW) takes the mark along, and then the quote is
    // not the argument's last unit.
    if (white && quoted) {
      int last = length - 1;
      while (last >= 0 && units[last] != quote) --last;
      for (int k = 0; k < last; ++k) {
        if (units[k] == quote) Fail("a quoted argument with a quote inside");
      }
      if (CharNextW(units + last) != units + length) Fail("a quoted argument with a quote inside");
    }
    // Each argument's units stand in the text after the previous one's.
    const WCHAR *found = nullptr;
    for (const WCHAR *p = cursor; p + length <= end && found == nullptr; ++p) {
      bool same = true;
      for (int k = 0; k < length && same; ++k) same = p[k] == units[k];
      if (same) found = p;
    }
    if (found == nullptr) Fail("an argument that is not in the text in order");
    cursor = found + length;
    bool expected = length > 0 && (units[0] == '-' || units[0] == '/');
    if ((args.IsSwitch(i) != FALSE) != expected) Fail("IsSwitch disagrees with the first unit");
  }
  return 0;
}
