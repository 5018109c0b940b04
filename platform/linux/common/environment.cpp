#include "common/environment.h"

#include <cstdlib>

namespace standin {

namespace {

// In the order of StandinVariable.
const char *const kNames[] = {
    "ADDBAR_REGISTRY",    "ADDBAR_ANSWERS",          "ADDBAR_DRIVES",       "ADDBAR_WINDOWS",
    "ADDBAR_WINDOWS_DIR", "ADDBAR_LOCK_PATIENCE_MS", "ADDBAR_COMMAND_LINE",
};

static_assert(sizeof kNames / sizeof kNames[0] ==
                  static_cast<size_t>(StandinVariable::CommandLine) + 1,
              "one name for each variable");

}  // namespace

const char *VariableName(StandinVariable variable) { return kNames[static_cast<size_t>(variable)]; }

const char *VariableValue(StandinVariable variable) { return std::getenv(VariableName(variable)); }

std::string VariableText(StandinVariable variable) { return HostVariable(VariableName(variable)); }

std::string HostVariable(const char *name) {
  const char *value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace standin
