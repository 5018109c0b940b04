// CString against a plain model: Format with any format (floating-point
// conversions refused, the output cut at 1024 units), then edits and
// searches, each compared with the same on a std::u16string. Copies share
// until one of them changes.
#include <windows.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/cstring.h"
#include "text/white_space.h"

namespace {

void Fail(const char *what) {
  std::fprintf(stderr, "CString: %s\n", what);
  std::abort();
}

void ExpectSame(const CString &text, const std::u16string &model) {
  if (text.GetLength() != static_cast<int>(model.size())) Fail("the length differs from the model");
  const WCHAR *units = text;
  if (std::u16string(units, model.size()) != model) Fail("the text differs from the model");
  if (units[model.size()] != 0) Fail("the text is not terminated");
}

std::u16string Units(FuzzedDataProvider &input, size_t longest) {
  std::u16string text;
  size_t length = input.ConsumeIntegralInRange<size_t>(0, longest);
  // Mostly a few letters, so that searches find something.
  for (size_t i = 0; i < length; ++i)
    text += input.ConsumeBool() ? static_cast<char16_t>(u'a' + input.ConsumeIntegralInRange(0, 2))
                                : static_cast<char16_t>(input.ConsumeIntegralInRange(1, 0xFFFF));
  return text;
}

int Position(FuzzedDataProvider &input) { return input.ConsumeIntegralInRange(-3, 40); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // A floating-point conversion breaks into the debugger; here it just goes on.
  static bool trapIgnored = std::signal(SIGTRAP, SIG_IGN) != SIG_ERR;
  (void)trapIgnored;
  FuzzedDataProvider input(data, size);

  // The format: any units, at most 8 conversions, each fed by its own text
  // (a text fits every conversion: %d and %c read its pointer's low bits).
  std::u16string format;
  int percents = 0;
  for (size_t i = input.ConsumeIntegralInRange<size_t>(0, 64); i > 0; --i) {
    char16_t unit = input.ConsumeBool()
                        ? static_cast<char16_t>(input.ConsumeIntegralInRange(1, 0x7F))
                        : static_cast<char16_t>(input.ConsumeIntegralInRange(1, 0xFFFF));
    if (unit == u'%' && ++percents > 8) unit = u'x';
    format += unit;
  }
  static const WCHAR kArgument[] = u"arg";
  const WCHAR *a = kArgument;
  CString formatted;
  BOOL done = formatted.Format(format.c_str(), a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a,
                               a, a, a, a, a, a);
  if (!done && !formatted.IsEmpty()) Fail("a refused format left text behind");
  if (formatted.GetLength() > 1024) Fail("Format wrote past its 1024 units");
  std::u16string model(static_cast<const WCHAR *>(formatted), formatted.GetLength());
  ExpectSame(formatted, model);

  CString text = formatted;
  if (!text.SharesBufferWith(formatted) && !formatted.IsEmpty()) Fail("a copy does not share");
  // Replacing one unit by three again and again grows the text threefold a
  // step: past this size an input only measures the machine, so it ends.
  const size_t kLongestModel = 1 << 16;
  while (input.remaining_bytes() > 0 && model.size() <= kLongestModel) {
    switch (input.ConsumeIntegralInRange(0, 8)) {
      case 0: {
        std::u16string added = Units(input, 8);
        text += added.c_str();
        model += added;
        break;
      }
      case 1: {
        char16_t unit = static_cast<char16_t>(input.ConsumeIntegralInRange(1, 0xFFFF));
        text += unit;
        model += unit;
        break;
      }
      case 2: {
        int first = Position(input), count = Position(input);
        size_t from =
            static_cast<size_t>(std::max(0, std::min(first, static_cast<int>(model.size()))));
        size_t take = static_cast<size_t>(std::max(0, count));
        ExpectSame(text.Mid(first, count), model.substr(from, take));
        ExpectSame(text.Left(count), model.substr(0, take));
        break;
      }
      case 3: {
        char16_t unit = static_cast<char16_t>(u'a' + input.ConsumeIntegralInRange(0, 2));
        int start = Position(input);
        size_t from = static_cast<size_t>(std::max(0, start));
        size_t found = from > model.size() ? std::u16string::npos : model.find(unit, from);
        if (text.Find(unit, start) !=
            (found == std::u16string::npos ? -1 : static_cast<int>(found)))
          Fail("Find of a unit differs from the model");
        size_t last = model.rfind(unit);
        if (text.ReverseFind(unit) != (last == std::u16string::npos ? -1 : static_cast<int>(last)))
          Fail("ReverseFind differs from the model");
        break;
      }
      case 4: {
        std::u16string needle = Units(input, 3);
        int start = Position(input);
        size_t from = static_cast<size_t>(std::max(0, start));
        size_t found = from > model.size() ? std::u16string::npos : model.find(needle, from);
        if (text.Find(needle.c_str(), start) !=
            (found == std::u16string::npos ? -1 : static_cast<int>(found)))
          Fail("Find of a text differs from the model");
        break;
      }
      case 5: {
        std::u16string from = Units(input, 3), to = Units(input, 3);
        int expected = 0;
        if (!from.empty()) {
          std::u16string result;
          size_t at = 0, hit;
          while ((hit = model.find(from, at)) != std::u16string::npos) {
            result += model.substr(at, hit - at) + to;
            at = hit + from.size();
            ++expected;
          }
          model = result + model.substr(at);
        }
        if (text.Replace(from.c_str(), to.c_str()) != expected) Fail("Replace counted otherwise");
        break;
      }
      case 6: {
        // Trimming steps a character at a time (CharNextW): white space with
        // combining marks after it goes with them.
        text.TrimLeft();
        text.TrimRight();
        const WCHAR *units = model.c_str();
        const WCHAR *first = units;
        while (IsSpace(*first)) first = CharNextW(first);
        const WCHAR *run = nullptr;
        for (const WCHAR *p = first; *p != 0; p = CharNextW(p)) {
          if (!IsSpace(*p)) {
            run = nullptr;
          } else if (run == nullptr) {
            run = p;
          }
        }
        const WCHAR *end = run != nullptr ? run : units + model.size();
        model = std::u16string(first, end);
        break;
      }
      case 7: {
        // A change to a copy leaves the original as it was.
        CString copy = text;
        copy += u'!';
        ExpectSame(text, model);
        break;
      }
      default: {
        int room = input.ConsumeIntegralInRange(0, 40);
        LPWSTR buffer = text.GetBuffer(room);
        if (buffer == nullptr) Fail("GetBuffer gave no room");
        int keep = std::min(room, static_cast<int>(model.size()));
        buffer[keep] = 0;
        text.ReleaseBuffer();
        model.resize(std::min(model.size(), static_cast<size_t>(keep)));
        break;
      }
    }
    ExpectSame(text, model);
  }
  return 0;
}
