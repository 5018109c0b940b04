// Pairs the records of two dumps by scenario and topic and sorts every
// difference into known (covered by an entry of the list) or unexpected.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "known_differences.h"

namespace replay {

struct DumpRecord {
  std::string scenario;
  std::string topic;
  std::string content;
};

// A dump's records in file order.
struct Dump {
  std::vector<DumpRecord> records;
};

// False, with `error` naming the line, when a line lacks its two tabs or a
// scenario and topic come twice.
bool ParseDump(const std::string &text, Dump &dump, std::string &error);

struct Difference {
  std::string scenario;
  std::string topic;
  std::optional<std::string> left;         // absent: the left dump has no such record
  std::optional<std::string> right;        // likewise for the right dump
  const KnownDifference *known = nullptr;  // the first entry that covers it
};

struct Comparison {
  size_t records = 0;  // scenario and topic pairs seen in either dump
  std::vector<Difference> differences;
  // Entries of the list that covered no difference: what they describe no
  // longer happens, or their patterns are wrong.
  std::vector<const KnownDifference *> unused;

  size_t Unexpected() const;
};

// Differences come in the left dump's order, then those only the right one
// has. The result points into `known`.
Comparison CompareDumps(const Dump &left, const Dump &right,
                        const std::vector<KnownDifference> &known);

// Unexpected differences with both sides, known ones a line each (with both
// sides too when `detailed`), unused entries, and a summary line.
std::string Report(const Comparison &comparison, const std::string &leftName,
                   const std::string &rightName, bool detailed);

}  // namespace replay
