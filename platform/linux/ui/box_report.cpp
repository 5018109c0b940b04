#include "ui/box_report.h"

#include <cstdio>
#include <cstdlib>

#include "common/unicode.h"
#include "ui/box_buttons.h"

namespace standin {

const char kBoxLinePrefix[] = "[message box] ";

namespace {

const char kBegin[] = "begin";
const char kEnd[] = "end";
const char kCaption[] = "caption: ";
const char kStyle[] = "style: ";
const char kText[] = "text: ";
const char kAnswer[] = "answer: ";

std::string Line(const std::string &body) { return kBoxLinePrefix + body + "\n"; }

// One line per piece between line feeds: "a\n" gives "a" and "".
std::string PieceLines(const char *key, const WString &text) {
  std::string lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(u'\n', start);
    WString piece = text.substr(start, end == WString::npos ? WString::npos : end - start);
    lines += Line(key + ToUtf8(piece));
    if (end == WString::npos) return lines;
    start = end + 1;
  }
}

bool StartsWith(const std::string &text, const char *prefix, std::string *rest) {
  std::string head(prefix);
  if (text.compare(0, head.size(), head) != 0) return false;
  if (rest != nullptr) *rest = text.substr(head.size());
  return true;
}

void AppendPiece(WString &text, bool &first, const std::string &piece) {
  if (!first) text += u'\n';
  text += FromUtf8(piece);
  first = false;
}

}  // namespace

std::string FormatBoxOpening(const WString &caption, const WString &text, UINT style) {
  char styleText[32];
  std::snprintf(styleText, sizeof styleText, "0x%08X", style);
  return Line(kBegin) + PieceLines(kCaption, caption) + Line(std::string(kStyle) + styleText) +
         PieceLines(kText, text);
}

std::string FormatBoxClosing(int answer) {
  return Line(kAnswer + std::to_string(answer) + " (" + ButtonName(answer) + ")") + Line(kEnd);
}

std::vector<BoxReport> ParseBoxReports(const std::string &output) {
  std::vector<BoxReport> boxes;
  bool open = false, firstCaption = true, firstText = true;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    start = end + 1;
    std::string body, value;
    if (!StartsWith(line, kBoxLinePrefix, &body)) continue;
    if (body == kBegin) {
      boxes.emplace_back();
      open = true;
      firstCaption = firstText = true;
    } else if (!open) {
      continue;
    } else if (body == kEnd) {
      open = false;
    } else if (StartsWith(body, kCaption, &value)) {
      AppendPiece(boxes.back().caption, firstCaption, value);
    } else if (StartsWith(body, kText, &value)) {
      AppendPiece(boxes.back().text, firstText, value);
    } else if (StartsWith(body, kStyle, &value)) {
      boxes.back().style = static_cast<UINT>(std::strtoul(value.c_str(), nullptr, 16));
    } else if (StartsWith(body, kAnswer, &value)) {
      boxes.back().answer = std::atoi(value.c_str());
    }
  }
  return boxes;
}

}  // namespace standin
