#include "text_calls/format_conversion.h"

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

LPCWSTR ParseFormatConversion(LPCWSTR text, FormatConversion &conversion) {
  conversion = FormatConversion();
  if (*text == '-') conversion.leftAlign = true, ++text;
  if (*text == '#') conversion.hexPrefix = true, ++text;
  if (*text == '0') conversion.zeroPad = true, ++text;
  text = ReadNumber(text, conversion.width);
  if (*text == '.') text = ReadNumber(text + 1, conversion.precision);

  if (*text == 'l') {
    conversion.size = ArgumentSize::Long, ++text;
  } else if (*text == 'h') {
    conversion.size = ArgumentSize::Short, ++text;
  } else if (*text == 'w') {
    conversion.size = ArgumentSize::Wide, ++text;
  } else if (*text == 'I') {
    ++text;
    if (text[0] == '6' && text[1] == '4') {
      conversion.size = ArgumentSize::Int64, text += 2;
    } else if (text[0] == '3' && text[1] == '2') {
      conversion.size = ArgumentSize::Int32, text += 2;
    } else {
      conversion.size = ArgumentSize::Pointer;
    }
  }
  conversion.type = *text;
  return *text != 0 ? text + 1 : text;
}

}  // namespace standin
