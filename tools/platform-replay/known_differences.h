// The list of differences between the stand-in and Wine that are understood:
// each names the records it covers, why they differ and where that is
// written down.
//
// One entry a line, four fields separated by " | ":
//   <scenario pattern> | <topic pattern> | <reason> | <reference>
// Blank lines and lines starting with '#' are skipped. Patterns take * and ?.
#pragma once

#include <string>
#include <vector>

namespace replay {

struct KnownDifference {
  int line = 0;  // in the list, for the report
  std::string scenario;
  std::string topic;
  std::string reason;
  std::string reference;
};

// False, with `error` naming the line, when a line has not four fields or
// has an empty one.
bool ParseKnownDifferences(const std::string &text, std::vector<KnownDifference> &entries,
                           std::string &error);

}  // namespace replay
