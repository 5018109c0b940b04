#include "entry/sole_option.h"

#include <cstring>

#include "addbar_version.h"

namespace standin {

SoleOption FindSoleOption(int argc, char **argv) {
  if (argc != 2 || argv[1] == nullptr) return SoleOption::None;
  if (std::strcmp(argv[1], "--help") == 0) return SoleOption::Help;
  if (std::strcmp(argv[1], "--version") == 0) return SoleOption::Version;
  return SoleOption::None;
}

int AnswerSoleOption(SoleOption option, const ProgramAbout &about, std::FILE *out) {
  bool written = option == SoleOption::Help
                     ? std::fputs(about.usage, out) >= 0
                     : std::fprintf(out, "%s %s\n", about.name, ADDBAR_VERSION_TEXT) >= 0;
  // A full disk or a closed pipe is an error, not a silent success.
  return written && std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace standin
