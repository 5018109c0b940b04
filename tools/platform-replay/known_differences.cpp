#include "known_differences.h"

namespace replay {

namespace {

std::string Trim(const std::string &text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

std::vector<std::string> Fields(const std::string &line) {
  std::vector<std::string> fields;
  size_t begin = 0;
  for (;;) {
    size_t bar = line.find(" | ", begin);
    fields.push_back(Trim(line.substr(begin, bar == std::string::npos ? bar : bar - begin)));
    if (bar == std::string::npos) return fields;
    begin = bar + 3;
  }
}

}  // namespace

bool ParseKnownDifferences(const std::string &text, std::vector<KnownDifference> &entries,
                           std::string &error) {
  entries.clear();
  size_t begin = 0;
  for (int number = 1; begin < text.size(); ++number) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(begin, end - begin));
    begin = end + 1;
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields = Fields(line);
    bool complete = fields.size() == 4;
    for (const std::string &field : fields) complete = complete && !field.empty();
    if (!complete) {
      error = "line " + std::to_string(number) +
              ": wants <scenario> | <topic> | <reason> | <reference>, none of them empty";
      return false;
    }
    entries.push_back({number, fields[0], fields[1], fields[2], fields[3]});
  }
  return true;
}

}  // namespace replay
