#include "ui/box_answers.h"

#include "common/environment.h"

namespace standin {

std::vector<std::string> SplitAnswers(const std::string &list) {
  std::vector<std::string> words;
  if (list.empty()) return words;
  size_t start = 0;
  for (;;) {
    size_t comma = list.find(',', start);
    words.push_back(list.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) return words;
    start = comma + 1;
  }
}

std::string ScriptedAnswer(int boxIndex) {
  // Read at every box: the variable is the only state shared with the test
  // that runs the program.
  const char *list = VariableValue(StandinVariable::Answers);
  if (list == nullptr || boxIndex < 0) return std::string();
  std::vector<std::string> words = SplitAnswers(list);
  return static_cast<size_t>(boxIndex) < words.size() ? words[boxIndex] : std::string();
}

}  // namespace standin
