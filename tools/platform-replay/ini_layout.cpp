#include "ini_layout.h"

#include <windows.h>

#include "dump_text.h"

namespace replay {

namespace {

struct Decoded {
  bool utf16 = false;
  bool oddByte = false;
  WString units;  // 8-bit files: one unit per byte
};

Decoded Decode(const std::string &bytes) {
  Decoded decoded;
  decoded.utf16 = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                  static_cast<unsigned char>(bytes[1]) == 0xFE;
  if (!decoded.utf16) {
    for (char byte : bytes) decoded.units += static_cast<WCHAR>(static_cast<unsigned char>(byte));
    return decoded;
  }
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    unsigned low = static_cast<unsigned char>(bytes[at]);
    unsigned high = static_cast<unsigned char>(bytes[at + 1]);
    decoded.units += static_cast<WCHAR>(low | high << 8);
  }
  decoded.oddByte = bytes.size() % 2 != 0;
  return decoded;
}

bool IsBlank(WCHAR unit) { return unit == ' ' || unit == '\t'; }

WString Trimmed(const WString &text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

class LineShower {
 public:
  explicit LineShower(bool utf16) : m_utf16(utf16) {}

  std::string Show(const WString &text) const {
    if (m_utf16) return Quoted(text);
    std::string bytes;
    for (WCHAR unit : text) bytes += static_cast<char>(unit);
    return QuotedBytes(bytes);
  }

  // The line as a reader of either kind would classify it.
  std::string Describe(const WString &line) const {
    const WString text = Trimmed(line);
    if (text[0] == '[') return "header " + Show(text);
    if (text[0] == ';') return "comment " + Show(text);
    size_t equals = text.find('=');
    if (equals == WString::npos) return "text " + Show(text);
    return "entry " + Show(Trimmed(text.substr(0, equals))) + " = " +
           Show(Trimmed(text.substr(equals + 1)));
  }

 private:
  bool m_utf16;
};

struct Shape {
  size_t lines = 0, blank = 0;
  bool crlf = false, lf = false, cr = false, finalBreak = false;

  std::string Text() const {
    int kinds = crlf + lf + cr;
    const char *ends = kinds == 0 ? "none" : kinds > 1 ? "mixed" : crlf ? "crlf" : lf ? "lf" : "cr";
    return "lines=" + Number(lines) + " blank=" + Number(blank) + " ends=" + ends +
           " final-break=" + (finalBreak ? "yes" : "no");
  }
};

}  // namespace

std::vector<LayoutRecord> DescribeIniBytes(const std::string &bytes) {
  const Decoded file = Decode(bytes);
  const LineShower shower(file.utf16);
  std::vector<LayoutRecord> records;
  std::string encoding = file.utf16 ? "utf-16le" : "8-bit";
  if (file.oddByte) encoding += " odd byte";
  records.push_back({"raw encoding", encoding});
  size_t shapeAt = records.size();
  records.push_back({"raw shape", ""});

  Shape shape;
  size_t section = 0, lineInSection = 0;
  const WString &units = file.units;
  size_t at = 0;
  while (at < units.size()) {
    size_t end = at;
    while (end < units.size() && units[end] != '\r' && units[end] != '\n') ++end;
    WString line = units.substr(at, end - at);
    shape.finalBreak = end < units.size();
    if (end + 1 < units.size() && units[end] == '\r' && units[end + 1] == '\n') {
      shape.crlf = true;
      at = end + 2;
    } else {
      if (end < units.size()) (units[end] == '\r' ? shape.cr : shape.lf) = true;
      at = end + 1;
    }
    ++shape.lines;
    if (Trimmed(line).empty()) {
      ++shape.blank;
      continue;
    }
    std::string description = shower.Describe(line);
    if (Trimmed(line)[0] == '[') {
      ++section;
      lineInSection = 0;
      records.push_back({"raw sect." + Number(section), description});
      continue;
    }
    ++lineInSection;
    std::string topic = section == 0 ? "raw head." + Number(lineInSection)
                                     : "raw sect." + Number(section) + "." + Number(lineInSection);
    records.push_back({topic, description});
  }
  records[shapeAt].content = shape.Text();
  return records;
}

}  // namespace replay
