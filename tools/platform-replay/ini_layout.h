// What an INI file holds on disk, told apart from what the profile calls make
// of it: a neutral reading of the bytes into sections and their lines.
#pragma once

#include <string>
#include <vector>

namespace replay {

struct LayoutRecord {
  std::string topic;
  std::string content;
};

// Records, in file order:
//   "raw encoding"  utf-16le (FF FE first) or 8-bit; "odd byte" when a UTF-16
//                   file ends inside a unit
//   "raw shape"     line count, blank lines, line ends, final line break
//   "raw head.N"    the N-th non-blank line before the first header
//   "raw sect.I"    the I-th header line
//   "raw sect.I.N"  the N-th non-blank line after it
// A line is shown trimmed of blanks as header, comment (';' first), entry (key
// and value around the first '=', each trimmed) or text.
std::vector<LayoutRecord> DescribeIniBytes(const std::string &bytes);

}  // namespace replay
