// One conversion of a wsprintf format: %[-][#][0][width][.precision][size]type.
// The flags are recognised only in that order, each at most once; anything
// else after the percent sign is the type.
#pragma once

#include <windows.h>

namespace standin {

enum class ArgumentSize { Default, Short, Long, Wide, Int32, Int64, Pointer };

struct FormatConversion {
  bool leftAlign = false;
  bool hexPrefix = false;
  bool zeroPad = false;
  int width = 0;
  int precision = 0;  // 0 when absent
  ArgumentSize size = ArgumentSize::Default;
  WCHAR type = 0;  // 0 when the format ended inside the conversion
};

// Reads the conversion that starts after a percent sign at `text`; returns
// the position after it.
LPCWSTR ParseFormatConversion(LPCWSTR text, FormatConversion &conversion);

}  // namespace standin
