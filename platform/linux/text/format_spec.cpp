#include "text/format_spec.h"

namespace standin {

static bool IsDigit(WCHAR unit) { return unit >= '0' && unit <= '9'; }

// Large widths are clamped: the output stops at 1024 units anyway.
static LPCWSTR ReadNumber(LPCWSTR text, int &number) {
  number = 0;
  while (IsDigit(*text)) {
    if (number < 100000) number = number * 10 + (*text - '0');
    ++text;
  }
  return text;
}

LPCWSTR ParseFormatSpec(LPCWSTR text, FormatSpec &spec) {
  spec = FormatSpec();
  if (*text == '-') spec.leftAlign = true, ++text;
  if (*text == '#') spec.hexPrefix = true, ++text;
  if (*text == '0') spec.zeroPad = true, ++text;
  text = ReadNumber(text, spec.width);
  if (*text == '.') text = ReadNumber(text + 1, spec.precision);

  if (*text == 'l') {
    spec.size = ArgumentSize::Long, ++text;
  } else if (*text == 'h') {
    spec.size = ArgumentSize::Short, ++text;
  } else if (*text == 'w') {
    spec.size = ArgumentSize::Wide, ++text;
  } else if (*text == 'I') {
    ++text;
    if (text[0] == '6' && text[1] == '4') {
      spec.size = ArgumentSize::Int64, text += 2;
    } else if (text[0] == '3' && text[1] == '2') {
      spec.size = ArgumentSize::Int32, text += 2;
    } else {
      spec.size = ArgumentSize::Pointer;
    }
  }
  spec.type = *text;
  return *text != 0 ? text + 1 : text;
}

}  // namespace standin
