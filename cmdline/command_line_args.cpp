#include "cmdline/command_line_args.h"

#include <new>

#include "text/white_space.h"

CCommandLineArgs::CCommandLineArgs(WCHAR chQuote)
    : m_nArgs(0), m_ppArgs(nullptr), m_bQuotedArg(FALSE), m_chQuote(chQuote) {}

CCommandLineArgs::~CCommandLineArgs() {
  if (m_ppArgs == nullptr) return;
  for (int i = 0; i < m_nArgs; ++i) delete m_ppArgs[i];
  delete[] m_ppArgs;
}

LPCWSTR CCommandLineArgs::NextTokenStart(LPCWSTR end) {
  if (*end == 0) return nullptr;
  LPCWSTR p = end;
  while (IsSpace(*p)) p = CharNextW(p);
  return p;
}

LPCWSTR CCommandLineArgs::FindTokenEnd(LPCWSTR p) const {
  if (p == nullptr || *p == 0) return nullptr;
  if (*p == m_chQuote) {
    LPCWSTR q = CharNextW(p);
    while (*q != 0 && *q != m_chQuote) q = CharNextW(q);
    if (*q == m_chQuote) return CharNextW(q);
    // No closing quote: the token runs to the end, white space and all.
    return p + lstrlenW(p);
  }
  LPCWSTR q = p;
  while (*q != 0 && !IsSpace(*q)) q = CharNextW(q);
  return q;
}

BOOL CCommandLineArgs::Parse(LPCWSTR text) {
  m_bQuotedArg = FALSE;
  CString work(text);
  if (work.IsEmpty()) {
    LPCWSTR processLine = GetCommandLineW();
    work = processLine != nullptr ? processLine : TEXT("");
  }
  work.TrimLeft();
  work.TrimRight();

  int count = 0;
  for (LPCWSTR p = work, e; (e = FindTokenEnd(p)) != nullptr; p = NextTokenStart(e)) ++count;
  if (count == 0) return TRUE;

  // Out of memory, the list keeps the arguments made so far: every entry
  // below m_nArgs is present.
  m_ppArgs = new (std::nothrow) CString *[count];
  if (m_ppArgs == nullptr) return TRUE;

  int index = 0;
  for (LPCWSTR p = work, e; (e = FindTokenEnd(p)) != nullptr; p = NextTokenStart(e), ++index) {
    CString *argument = new (std::nothrow) CString(p, static_cast<int>(e - p));
    if (argument == nullptr) break;
    if (argument->GetAt(0) == m_chQuote && argument->GetLength() > 0) {
      if (index >= 1) m_bQuotedArg = TRUE;
      *argument = argument->Mid(1);
      int length = argument->GetLength();
      if (length > 0 && argument->GetAt(length - 1) == m_chQuote)
        *argument = argument->Left(length - 1);
    }
    m_ppArgs[index] = argument;
    m_nArgs = index + 1;
  }
  return TRUE;
}

BOOL CCommandLineArgs::IsSwitch(int index) const {
  LPCWSTR argument = *m_ppArgs[index];
  return argument[0] == '-' || argument[0] == '/';
}
