// The dump: one record a line, "<scenario> TAB <topic> TAB <what was seen>".
// The comparison pairs records of the two builds by scenario and topic, so a
// topic names the same thing on both sides and is unique in its scenario.
#pragma once

#include <set>
#include <string>

namespace replay {

class DumpRecorder {
 public:
  // Records from now on belong to `scenario`.
  void BeginScenario(const std::string &scenario);
  // A topic met again in the same scenario gets " #2", " #3"... so that no
  // record hides another.
  void Add(const std::string &topic, const std::string &content);
  // The next number for the call log of the scenario: 01, 02...
  std::string NextCallNumber();

  const std::string &Text() const { return m_text; }

 private:
  std::string m_scenario;
  std::set<std::string> m_topics;
  int m_calls = 0;
  std::string m_text;
};

}  // namespace replay
