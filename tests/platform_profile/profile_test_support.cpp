#include "platform_profile/profile_test_support.h"

using testing_support::Narrow;
using testing_support::Wide;

namespace profile_test {

const char kMissing[] = "<missing>";

namespace {

// Units the buffers hold before a call, to see what it wrote.
const WCHAR kUnwritten = 0xCCCC;

// A UTF-8 argument as UTF-16, keeping null as null.
class Argument {
 public:
  explicit Argument(const char *utf8)
      : m_null(utf8 == nullptr), m_text(m_null ? WString() : Wide(utf8)) {}
  LPCWSTR Get() const { return m_null ? nullptr : m_text.c_str(); }

 private:
  bool m_null;
  WString m_text;
};

// Calls `fill` on a buffer one unit larger than `size`, so an overrun shows.
template <typename Fill>
ListResult CallWithGuard(DWORD size, Fill fill) {
  std::vector<WCHAR> buffer(size + 1, kUnwritten);
  DWORD returned = fill(buffer.data(), size);
  EXPECT_EQ(kUnwritten, buffer[size]) << "the call wrote past its buffer";
  buffer.resize(size);
  return ListResult{returned, buffer};
}

}  // namespace

std::string ReadValue(const WString &file, const char *section, const char *key) {
  Argument sectionText(section), keyText(key), fallback(kMissing);
  std::vector<WCHAR> buffer(4096, kUnwritten);
  DWORD count =
      GetPrivateProfileStringW(sectionText.Get(), keyText.Get(), fallback.Get(), buffer.data(),
                               static_cast<DWORD>(buffer.size()), file.c_str());
  EXPECT_LT(count, buffer.size());
  if (count >= buffer.size()) return std::string();
  EXPECT_EQ(0, buffer[count]) << "value not terminated";
  return Narrow(WString(buffer.data(), count));
}

std::vector<std::string> ListStrings(const ListResult &result) {
  std::vector<std::string> strings;
  const std::vector<WCHAR> &buffer = result.buffer;
  size_t at = 0;
  while (at < buffer.size() && buffer[at] != 0) {
    size_t end = at;
    while (end < buffer.size() && buffer[end] != 0) ++end;
    strings.push_back(Narrow(WString(buffer.data() + at, end - at)));
    at = end + 1;
  }
  return strings;
}

ListResult SectionNames(const WString &file, DWORD size) {
  return CallWithGuard(size, [&](LPWSTR buffer, DWORD units) {
    return GetPrivateProfileSectionNamesW(buffer, units, file.c_str());
  });
}

ListResult SectionLines(const WString &file, const char *section, DWORD size) {
  Argument sectionText(section);
  return CallWithGuard(size, [&](LPWSTR buffer, DWORD units) {
    return GetPrivateProfileSectionW(sectionText.Get(), buffer, units, file.c_str());
  });
}

ListResult KeyNames(const WString &file, const char *section, DWORD size) {
  Argument sectionText(section), fallback(kMissing);
  return CallWithGuard(size, [&](LPWSTR buffer, DWORD units) {
    return GetPrivateProfileStringW(sectionText.Get(), nullptr, fallback.Get(), buffer, units,
                                    file.c_str());
  });
}

std::string Units(const std::vector<WCHAR> &buffer, size_t count) {
  WString text;
  for (size_t i = 0; i < count && i < buffer.size(); ++i) {
    text += buffer[i] == 0 ? static_cast<WCHAR>('|') : buffer[i];
  }
  return Narrow(text);
}

std::string Utf16Bytes(const std::string &text, bool withMark) {
  std::string bytes = testing_support::Utf16File(Wide(text));
  return withMark ? bytes : bytes.substr(2);
}

}  // namespace profile_test
