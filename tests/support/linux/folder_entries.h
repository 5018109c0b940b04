// What a folder on the host holds, for tests that look for files left behind.
#pragma once

#include <set>
#include <string>

namespace testing_support {

// The names in `folder`, without "." and ".."; none when it can't be read.
std::set<std::string> FolderEntries(const std::string &folder);

}  // namespace testing_support
