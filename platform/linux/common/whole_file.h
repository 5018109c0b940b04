// Reading everything an open file holds, for the stores that parse a file
// as a whole.
#pragma once

#include <string>

namespace standin {

// Appends the file's bytes from the current offset to its end. False on a
// read error, with errno set; interrupted reads are resumed.
bool ReadWholeFile(int fd, std::string &bytes);

}  // namespace standin
