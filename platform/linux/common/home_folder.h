// The user's home folder, where the defaults live: the registry store's
// folder, the cache folder that may hold the window folder, the Wine prefix.
//
// The user is the effective one (geteuid), not the real one (getuid): the
// stand-in makes and checks its files as the effective user (the folders it
// makes are that user's, a lock file must be that user's), so the home they
// go in must be that user's too; under setuid the real user's home is someone
// else's folder. The super-user working on another user's store reaches it
// through $HOME or ADDBAR_REGISTRY, not through the password database (under
// sudo both ids are root's), and that store's lock file is then given to the
// store's owner (registry/store_file_lock.h), whichever id this picks.
#pragma once

#include <string>

namespace standin {

// $HOME when it is set and not empty, else AccountHomeFolder().
std::string HomeFolder();

// The home the password database gives the effective user; empty when it
// gives none.
std::string AccountHomeFolder();

}  // namespace standin
