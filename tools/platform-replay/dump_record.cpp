#include "dump_record.h"

#include "dump_text.h"

namespace replay {

namespace {

// Tabs and line breaks would break the record apart.
std::string OneField(const std::string &text) {
  std::string field = text;
  for (char &c : field) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return field;
}

}  // namespace

void DumpRecorder::BeginScenario(const std::string &scenario) {
  m_scenario = OneField(scenario);
  m_topics.clear();
  m_calls = 0;
}

void DumpRecorder::Add(const std::string &topic, const std::string &content) {
  std::string unique = OneField(topic);
  for (int copy = 2; !m_topics.insert(unique).second; ++copy) {
    unique = OneField(topic) + " #" + Number(static_cast<uint64_t>(copy));
  }
  m_text += m_scenario + '\t' + unique + '\t' + OneField(content) + '\n';
}

std::string DumpRecorder::NextCallNumber() {
  ++m_calls;
  std::string number = Number(static_cast<uint64_t>(m_calls));
  return number.size() < 2 ? "0" + number : number;
}

}  // namespace replay
