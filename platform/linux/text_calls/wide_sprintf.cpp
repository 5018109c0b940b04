// wvsprintfW and wsprintfW: the formatter with the output limit of 1024 units
// (terminator included) that Windows sets for these calls.
#include <windows.h>

#include <cstdarg>
#include <cstdint>

#include "common/unicode.h"
#include "text_calls/ansi_code_page.h"
#include "text_calls/format_conversion.h"

namespace {

using standin::ArgumentSize;
using standin::FormatConversion;

constexpr int kLimit = 1024;

// Writes at most kLimit - 1 units and counts everything it was given.
class BoundedOutput {
 public:
  explicit BoundedOutput(LPWSTR out) : m_out(out) {}

  void Put(WCHAR unit) {
    if (m_total < kLimit - 1) m_out[m_total] = unit;
    ++m_total;
  }
  void Repeat(WCHAR unit, int count) {
    for (int i = 0; i < count; ++i) Put(unit);
  }
  bool Full() const { return m_total >= kLimit - 1; }

  // An output that reaches the last unit of the limit counts as cut short:
  // it ends at kLimit - 1 units and the result is kLimit.
  int Finish() {
    if (Full()) {
      m_out[kLimit - 1] = 0;
      return kLimit;
    }
    m_out[m_total] = 0;
    return m_total;
  }

 private:
  LPWSTR m_out;
  int m_total = 0;
};

// va_list is an array type on some hosts; wrapping it keeps one cursor that
// helper functions can advance.
struct Arguments {
  va_list list;
};

void PutPadded(BoundedOutput &out, const FormatConversion &conversion, standin::WStringView text) {
  int padding =
      conversion.width > static_cast<int>(text.size()) ? conversion.width - text.size() : 0;
  if (!conversion.leftAlign) out.Repeat(' ', padding);
  for (WCHAR unit : text) out.Put(unit);
  if (conversion.leftAlign) out.Repeat(' ', padding);
}

standin::WString WideFromAnsi(LPCSTR text) {
  standin::WString wide;
  for (; *text != 0; ++text) wide += standin::WideFromAnsi(*text);
  return wide;
}

const WCHAR kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};

void PutString(BoundedOutput &out, const FormatConversion &conversion, Arguments &args, bool ansi) {
  standin::WString converted;
  standin::WStringView text;
  if (ansi) {
    LPCSTR narrow = va_arg(args.list, LPCSTR);
    converted = narrow != nullptr ? WideFromAnsi(narrow) : standin::WString(kNull);
    text = converted;
  } else {
    LPCWSTR wide = va_arg(args.list, LPCWSTR);
    text = wide != nullptr ? standin::WStringView(wide) : standin::WStringView(kNull);
  }
  // A precision of 0 (or none) sets no maximum.
  if (conversion.precision > 0 && static_cast<int>(text.size()) > conversion.precision) {
    text = text.substr(0, conversion.precision);
  }
  PutPadded(out, conversion, text);
}

// A character argument of value 0 is left out entirely.
void PutCharacter(BoundedOutput &out, const FormatConversion &conversion, Arguments &args,
                  bool ansi) {
  int value = va_arg(args.list, int);
  WCHAR unit = ansi ? standin::WideFromAnsi(static_cast<CHAR>(value)) : static_cast<WCHAR>(value);
  if (unit == 0) return;
  PutPadded(out, conversion, standin::WStringView(&unit, 1));
}

struct Number {
  uint64_t magnitude;
  bool negative;
};

Number ReadSigned(const FormatConversion &conversion, Arguments &args) {
  int64_t value;
  switch (conversion.size) {
    case ArgumentSize::Int64:
      value = va_arg(args.list, long long);
      break;
    case ArgumentSize::Pointer:
      value = va_arg(args.list, intptr_t);
      break;
    case ArgumentSize::Short:
      value = static_cast<int16_t>(va_arg(args.list, int));
      break;
    default:
      value = va_arg(args.list, int);
      break;
  }
  if (value < 0) return Number{0 - static_cast<uint64_t>(value), true};
  return Number{static_cast<uint64_t>(value), false};
}

// `shortIsNarrowed`: the documented short conversions (hu) cut the value to 16 bits.
uint64_t ReadUnsigned(const FormatConversion &conversion, Arguments &args, bool shortIsNarrowed) {
  switch (conversion.size) {
    case ArgumentSize::Int64:
      return va_arg(args.list, unsigned long long);
    case ArgumentSize::Pointer:
      return va_arg(args.list, uintptr_t);
    case ArgumentSize::Short:
      if (shortIsNarrowed) return static_cast<uint16_t>(va_arg(args.list, unsigned int));
      return va_arg(args.list, unsigned int);
    default:
      return va_arg(args.list, unsigned int);
  }
}

// The precision is the least number of units of sign and digits (at least 1).
// Zero padding fills the width with digits; a hexadecimal prefix stands
// outside the width.
void PutNumber(BoundedOutput &out, const FormatConversion &conversion, Number number, unsigned base,
               bool upper, int precision, const char *prefix) {
  char digits[24];
  int count = 0;
  const char *symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  uint64_t rest = number.magnitude;
  do {
    digits[count++] = symbols[rest % base];
    rest /= base;
  } while (rest != 0);

  int signWidth = number.negative ? 1 : 0;
  int digitWidth = precision - signWidth > count ? precision - signWidth : count;
  if (conversion.zeroPad && !conversion.leftAlign && conversion.width > signWidth + digitWidth) {
    digitWidth = conversion.width - signWidth;
  }
  int padding =
      conversion.width > signWidth + digitWidth ? conversion.width - signWidth - digitWidth : 0;
  if (!conversion.leftAlign) out.Repeat(' ', padding);
  for (const char *p = prefix; *p != 0; ++p) out.Put(*p);
  if (number.negative) out.Put('-');
  out.Repeat('0', digitWidth - count);
  while (count > 0) out.Put(digits[--count]);
  if (conversion.leftAlign) out.Repeat(' ', padding);
}

void PutConversion(BoundedOutput &out, const FormatConversion &conversion, Arguments &args) {
  int precision = conversion.precision > 0 ? conversion.precision : 1;
  bool wideSize = conversion.size == ArgumentSize::Long || conversion.size == ArgumentSize::Wide;
  switch (conversion.type) {
    case 'c':
      PutCharacter(out, conversion, args, conversion.size == ArgumentSize::Short);
      break;
    case 'C':  // only the l size makes it wide; w does so for strings alone
      PutCharacter(out, conversion, args, conversion.size != ArgumentSize::Long);
      break;
    case 's':
      PutString(out, conversion, args, conversion.size == ArgumentSize::Short);
      break;
    case 'S':
      PutString(out, conversion, args, !wideSize);
      break;
    case 'd':
    case 'i':
      PutNumber(out, conversion, ReadSigned(conversion, args), 10, false, precision, "");
      break;
    case 'u':
      PutNumber(out, conversion, Number{ReadUnsigned(conversion, args, true), false}, 10, false,
                precision, "");
      break;
    case 'x':
    case 'X': {
      bool upper = conversion.type == 'X';
      const char *prefix = conversion.hexPrefix ? (upper ? "0X" : "0x") : "";
      PutNumber(out, conversion, Number{ReadUnsigned(conversion, args, false), false}, 16, upper,
                precision, prefix);
      break;
    }
    case 'p': {
      // Upper-case hexadecimal, zero-padded to the width of a pointer whatever
      // width the format asks for.
      FormatConversion pointer = conversion;
      pointer.size = ArgumentSize::Pointer;
      pointer.width = static_cast<int>(2 * sizeof(void *));
      pointer.zeroPad = true;
      PutNumber(out, pointer, Number{ReadUnsigned(pointer, args, false), false}, 16, true,
                precision, conversion.hexPrefix ? "0X" : "");
      break;
    }
    default: {
      // Not a conversion: the character itself is written, and no argument used.
      WCHAR unit = conversion.type;
      PutPadded(out, conversion, standin::WStringView(&unit, 1));
      break;
    }
  }
}

}  // namespace

int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist) {
  if (lpOut == nullptr || lpFmt == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  BoundedOutput out(lpOut);
  Arguments args;
  va_copy(args.list, arglist);
  LPCWSTR p = lpFmt;
  while (*p != 0 && !out.Full()) {
    if (*p != '%') {
      out.Put(*p++);
      continue;
    }
    FormatConversion conversion;
    p = standin::ParseFormatConversion(p + 1, conversion);
    if (conversion.type == 0) break;
    PutConversion(out, conversion, args);
  }
  va_end(args.list);
  return out.Finish();
}

int wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...) {
  va_list arglist;
  va_start(arglist, lpFmt);
  int result = wvsprintfW(lpOut, lpFmt, arglist);
  va_end(arglist);
  return result;
}
