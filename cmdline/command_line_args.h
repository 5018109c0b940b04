// CCommandLineArgs: splits a command line into arguments. Argument 0 is the
// program path; a token that begins with the quote character loses that quote
// and, when it ends with one, the closing quote too.
#pragma once

#include <windows.h>

#include "text/cstring.h"

class CCommandLineArgs {
 public:
  explicit CCommandLineArgs(WCHAR chQuote);
  ~CCommandLineArgs();
  CCommandLineArgs(const CCommandLineArgs &) = delete;
  CCommandLineArgs &operator=(const CCommandLineArgs &) = delete;

  // Null or empty text splits the process's command line. Call once, on a
  // fresh object. Always returns 1.
  BOOL Parse(LPCWSTR text);

  // Whether argument `index` begins with '-' or '/'. The index must be valid.
  BOOL IsSwitch(int index) const;

  // Where the token that begins at `p` ends; null when no token begins there.
  LPCWSTR FindTokenEnd(LPCWSTR p) const;

  int m_nArgs;
  CString **m_ppArgs;
  BOOL m_bQuotedArg;
  WCHAR m_chQuote;

 private:
  // The start of the token after the one that ended at `end`, or null.
  static LPCWSTR NextTokenStart(LPCWSTR end);
};
