#include "common/unicode.h"

namespace standin {

namespace {

const char32_t kReplacement = 0xFFFD;
const char32_t kFirstEscape = 0xDC80;  // stands for byte 0x80; 0xDCFF for 0xFF

bool IsSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
bool IsEscape(char32_t unit) { return unit >= kFirstEscape && unit <= 0xDCFF; }

// The length of the valid UTF-8 sequence at `at` and its code point; 0 when
// the bytes there are not one.
size_t DecodeOne(std::string_view bytes, size_t at, char32_t &point) {
  unsigned char lead = static_cast<unsigned char>(bytes[at]);
  size_t extra;
  char32_t minimum;
  if (lead < 0x80) {
    point = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    point = lead & 0x1F, extra = 1, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    point = lead & 0x0F, extra = 2, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    point = lead & 0x07, extra = 3, minimum = 0x10000;
  } else {
    return 0;
  }
  if (at + extra >= bytes.size()) return 0;
  for (size_t k = 1; k <= extra; ++k) {
    unsigned char next = static_cast<unsigned char>(bytes[at + k]);
    if ((next & 0xC0) != 0x80) return 0;
    point = (point << 6) | (next & 0x3F);
  }
  if (point < minimum || point > 0x10FFFF || IsSurrogate(point)) return 0;
  return extra + 1;
}

// UTF-8 -> UTF-16; each byte that starts no valid sequence becomes the unit
// `standIn` gives for it.
template <typename StandIn>
WString Decode(std::string_view bytes, StandIn standIn) {
  WString out;
  out.reserve(bytes.size());
  size_t at = 0;
  while (at < bytes.size()) {
    char32_t point = 0;
    size_t length = DecodeOne(bytes, at, point);
    if (length == 0) {
      out += standIn(static_cast<unsigned char>(bytes[at]));
      ++at;
    } else if (point >= 0x10000) {
      point -= 0x10000;
      out += static_cast<WCHAR>(0xD800 + (point >> 10));
      out += static_cast<WCHAR>(0xDC00 + (point & 0x3FF));
      at += length;
    } else {
      out += static_cast<WCHAR>(point);
      at += length;
    }
  }
  return out;
}

void AppendUtf8(std::string &out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

// UTF-16 -> UTF-8; each unpaired surrogate is handed to `lone`, which appends
// what stands for it, or returns false to end the conversion.
template <typename Lone>
bool Encode(WStringView text, std::string &out, Lone lone) {
  out.reserve(out.size() + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      char32_t low = text[++i];
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (IsSurrogate(unit)) {
      if (!lone(unit, out)) return false;
    } else {
      AppendUtf8(out, unit);
    }
  }
  return true;
}

}  // namespace

WStringView ViewOf(LPCWSTR text) {
  if (text == nullptr) return WStringView();
  return WStringView(text);
}

std::string ToUtf8(WStringView text) {
  std::string out;
  Encode(text, out, [](char32_t, std::string &bytes) {
    AppendUtf8(bytes, kReplacement);
    return true;
  });
  return out;
}

WString FromUtf8(std::string_view text) {
  return Decode(text, [](unsigned char) { return static_cast<WCHAR>(kReplacement); });
}

WString FromHostBytes(std::string_view bytes) {
  // ASCII always decodes, so a byte that does not is 0x80 or above.
  return Decode(bytes,
                [](unsigned char byte) { return static_cast<WCHAR>(kFirstEscape + byte - 0x80); });
}

bool ToHostBytes(WStringView text, std::string &bytes) {
  bytes.clear();
  bool escaped = false;
  bool spelled = Encode(text, bytes, [&](char32_t unit, std::string &out) {
    if (!IsEscape(unit)) return false;
    out += static_cast<char>(unit - kFirstEscape + 0x80);
    escaped = true;
    return true;
  });
  // Escaped bytes next to each other (or to text) may form valid UTF-8,
  // which would read back as other text: such a name is two names at once.
  return spelled && (!escaped || FromHostBytes(bytes) == text);
}

}  // namespace standin
