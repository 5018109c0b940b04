// Reading everything an open file holds, for the stores that parse a file
// as a whole.
#pragma once

#include <cstddef>
#include <string>

namespace standin {

// Appends the file's bytes from the current offset to its end. False on a
// read error, with errno set; interrupted reads are resumed. `expected` (the
// size fstat gave) lets the bytes be read straight into their place; a file
// that grew meanwhile is still read to its end.
bool ReadWholeFile(int fd, std::string &bytes, size_t expected = 0);

}  // namespace standin
