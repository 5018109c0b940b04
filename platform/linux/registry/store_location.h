// Where the store file lives: $ADDBAR_REGISTRY when set, otherwise
// $XDG_CONFIG_HOME/addbar/registry.reg (~/.config when that is unset). Looked
// up on every call, since a process may point the variable elsewhere.
#pragma once

#include <string>

namespace standin {

std::string StoreFilePath();

}  // namespace standin
