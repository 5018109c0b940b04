#include "dump_compare.h"

#include <set>

#include "text_pattern.h"

namespace replay {

namespace {

using RecordKey = std::pair<std::string, std::string>;

std::map<RecordKey, const DumpRecord *> IndexOf(const Dump &dump) {
  std::map<RecordKey, const DumpRecord *> index;
  for (const DumpRecord &record : dump.records) index[{record.scenario, record.topic}] = &record;
  return index;
}

const KnownDifference *Covering(const Difference &difference,
                                const std::vector<KnownDifference> &known) {
  for (const KnownDifference &entry : known) {
    if (MatchesPattern(entry.scenario, difference.scenario) &&
        MatchesPattern(entry.topic, difference.topic))
      return &entry;
  }
  return nullptr;
}

std::string Side(const std::optional<std::string> &content) {
  return content ? *content : "(no such record)";
}

}  // namespace

bool ParseDump(const std::string &text, Dump &dump, std::string &error) {
  dump.records.clear();
  std::set<RecordKey> seen;
  size_t begin = 0;
  for (int number = 1; begin < text.size(); ++number) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(begin, end - begin);
    begin = end + 1;
    size_t first = line.find('\t');
    size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
    if (second == std::string::npos) {
      error = "line " + std::to_string(number) + ": not <scenario> TAB <topic> TAB <content>";
      return false;
    }
    DumpRecord record{line.substr(0, first), line.substr(first + 1, second - first - 1),
                      line.substr(second + 1)};
    if (!seen.insert({record.scenario, record.topic}).second) {
      error = "line " + std::to_string(number) + ": " + record.scenario + " | " + record.topic +
              " comes twice";
      return false;
    }
    dump.records.push_back(std::move(record));
  }
  return true;
}

size_t Comparison::Unexpected() const {
  size_t count = 0;
  for (const Difference &difference : differences) count += difference.known == nullptr;
  return count;
}

Comparison CompareDumps(const Dump &left, const Dump &right,
                        const std::vector<KnownDifference> &known) {
  Comparison comparison;
  const auto rightIndex = IndexOf(right);
  const auto leftIndex = IndexOf(left);
  std::set<const KnownDifference *> used;
  auto add = [&](Difference difference) {
    difference.known = Covering(difference, known);
    if (difference.known != nullptr) used.insert(difference.known);
    comparison.differences.push_back(std::move(difference));
  };

  for (const DumpRecord &record : left.records) {
    ++comparison.records;
    auto other = rightIndex.find({record.scenario, record.topic});
    if (other != rightIndex.end() && other->second->content == record.content) continue;
    Difference difference{record.scenario, record.topic, record.content, std::nullopt};
    if (other != rightIndex.end()) difference.right = other->second->content;
    add(std::move(difference));
  }
  for (const DumpRecord &record : right.records) {
    if (leftIndex.count({record.scenario, record.topic}) != 0) continue;
    ++comparison.records;
    add(Difference{record.scenario, record.topic, std::nullopt, record.content});
  }
  for (const KnownDifference &entry : known) {
    if (used.count(&entry) == 0) comparison.unused.push_back(&entry);
  }
  return comparison;
}

std::string Report(const Comparison &comparison, const std::string &leftName,
                   const std::string &rightName, bool detailed) {
  std::string report;
  const std::string leftLabel = "    " + leftName + ": ";
  const std::string rightLabel = "    " + rightName + ": ";
  for (const Difference &difference : comparison.differences) {
    const std::string name = difference.scenario + " | " + difference.topic;
    if (difference.known == nullptr) {
      report += "UNEXPECTED " + name + "\n";
    } else {
      report += "known      " + name + "\n    (line " + std::to_string(difference.known->line) +
                ") " + difference.known->reason + " [" + difference.known->reference + "]\n";
      if (!detailed) continue;
    }
    report += leftLabel + Side(difference.left) + "\n";
    report += rightLabel + Side(difference.right) + "\n";
  }
  for (const KnownDifference *entry : comparison.unused) {
    report += "not seen   (line " + std::to_string(entry->line) + ") " + entry->scenario + " | " +
              entry->topic + "\n";
  }
  const size_t unexpected = comparison.Unexpected();
  report += std::to_string(comparison.records) + " records, " +
            std::to_string(comparison.differences.size()) +
            " differ: " + std::to_string(comparison.differences.size() - unexpected) + " known, " +
            std::to_string(unexpected) + " unexpected\n";
  return report;
}

}  // namespace replay
