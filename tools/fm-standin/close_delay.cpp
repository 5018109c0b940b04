#include "tools/fm-standin/close_delay.h"

namespace {

const DWORD kLongestDelayMs = 24 * 60 * 60 * 1000;

bool IsDigit(WCHAR unit) { return unit >= TEXT('0') && unit <= TEXT('9'); }

// "12", "1.2", ".5", "3." in seconds; false for anything else.
bool ParseSeconds(const CString &text, DWORD &milliseconds) {
  const int length = text.GetLength();
  int position = 0;
  unsigned long long whole = 0;
  bool anyDigit = false;
  while (position < length && IsDigit(text.GetAt(position))) {
    whole = whole * 10 + static_cast<unsigned>(text.GetAt(position) - TEXT('0'));
    if (whole > kLongestDelayMs / 1000) return false;
    anyDigit = true;
    ++position;
  }
  unsigned long long fraction = 0;  // in milliseconds; later digits are dropped
  if (position < length && text.GetAt(position) == TEXT('.')) {
    ++position;
    unsigned long long scale = 100;
    while (position < length && IsDigit(text.GetAt(position))) {
      fraction += scale * static_cast<unsigned>(text.GetAt(position) - TEXT('0'));
      scale /= 10;
      anyDigit = true;
      ++position;
    }
  }
  if (!anyDigit || position != length) return false;
  unsigned long long total = whole * 1000 + fraction;
  if (total > kLongestDelayMs) return false;
  milliseconds = static_cast<DWORD>(total);
  return true;
}

}  // namespace

BOOL ReadCloseDelay(const CCommandLineArgs &args, CloseDelay &delay) {
  delay = CloseDelay();
  for (int i = 1; i < args.m_nArgs; ++i) {
    if (!args.IsSwitch(i)) continue;
    const CString &argument = *args.m_ppArgs[i];
    WCHAR letter = argument.GetAt(1);
    if (letter != TEXT('D') && letter != TEXT('d')) continue;
    // As with /S: and /I:, the value starts at the fourth unit.
    CString value = argument.Mid(3);
    delay = CloseDelay();
    if (lstrcmpiW(value, TEXT("never")) == 0) {
      delay.never = true;
    } else if (!ParseSeconds(value, delay.milliseconds)) {
      return FALSE;
    }
  }
  return TRUE;
}
