#include "support/test_support.h"

#include <gtest/gtest-spi.h>

#include <iostream>

namespace testing_support {

// Names on a Linux host are bytes: as the stand-in does, a byte that is not
// part of valid UTF-8 becomes the unit U+DC80 + (byte - 0x80), and that unit
// becomes the byte again, so a test can spell any host name.
WString Wide(const std::string &utf8) {
  WString out;
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    char32_t cp = lead;
    size_t extra = 0;
    char32_t minimum = 0;
    if (lead >= 0xF8 || (lead >= 0x80 && lead < 0xC0)) {
      extra = 99;  // never valid
    } else if (lead >= 0xF0) {
      cp = lead & 0x07, extra = 3, minimum = 0x10000;
    } else if (lead >= 0xE0) {
      cp = lead & 0x0F, extra = 2, minimum = 0x800;
    } else if (lead >= 0xC0) {
      cp = lead & 0x1F, extra = 1, minimum = 0x80;
    }
    bool valid = extra == 0 || i + extra < utf8.size();
    for (size_t k = 1; valid && k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      cp = (cp << 6) | (next & 0x3F);
    }
    valid = valid && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (!valid) {
      out += static_cast<WCHAR>(0xDC80 + lead - 0x80);
      ++i;
      continue;
    }
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
    if (cp >= 0xDC80 && cp <= 0xDCFF) {
      out += static_cast<char>(cp - 0xDC80 + 0x80);
    } else if (cp < 0x80) {
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

void KnownWineDifference(const char *reason, const std::function<void()> &checks) {
  if (reason == nullptr || CurrentPlatform() != Platform::Wine) {
    checks();
    return;
  }
  testing::TestPartResultArray results;
  {
    testing::ScopedFakeTestPartResultReporter intercept(
        testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    checks();
  }
  int failed = 0;
  for (int i = 0; i < results.size(); ++i) {
    const testing::TestPartResult &result = results.GetTestPartResult(i);
    if (!result.failed()) continue;
    ++failed;
    std::cout << "Known Wine difference (" << reason << "), as expected:\n"
              << result.message() << "\n";
  }
  if (failed == 0) {
    ADD_FAILURE() << "Wine now does what Windows does here, where it was known to differ ("
                  << reason << "): make these checks plain ones and take the case out of "
                  << "docs/platform-differences.md";
  }
}

}  // namespace testing_support
