#include "support/test_support.h"

namespace testing_support {

WString Wide(const std::string &utf8) {
  WString out;
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    char32_t cp = lead;
    size_t extra = 0;
    if (lead >= 0xF0) {
      cp = lead & 0x07, extra = 3;
    } else if (lead >= 0xE0) {
      cp = lead & 0x0F, extra = 2;
    } else if (lead >= 0xC0) {
      cp = lead & 0x1F, extra = 1;
    }
    for (size_t k = 1; k <= extra && i + k < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<WCHAR>(0xD800 + (cp >> 10));
      out += static_cast<WCHAR>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<WCHAR>(cp);
    }
  }
  return out;
}

std::string Narrow(const WString &text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = static_cast<char16_t>(text[i]);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
      char32_t low = static_cast<char16_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

const char *PlatformName() {
  switch (CurrentPlatform()) {
    case Platform::LinuxStandIn:
      return "Linux stand-in";
    case Platform::Wine:
      return "Wine";
    case Platform::Windows:
      return "Windows";
  }
  return "?";
}

std::string Utf16File(const WString &text) {
  std::string bytes("\xFF\xFE", 2);
  for (WCHAR unit : text) {
    bytes += static_cast<char>(static_cast<unsigned>(unit) & 0xFF);
    bytes += static_cast<char>((static_cast<unsigned>(unit) >> 8) & 0xFF);
  }
  return bytes;
}

}  // namespace testing_support
