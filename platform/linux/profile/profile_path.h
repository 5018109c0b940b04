// Which host file a profile call's file name names.
#pragma once

#include <windows.h>

#include <string>

namespace standin {
namespace profile {

// A path with a folder or a drive in it is taken as it is. A bare file name
// is looked for in the Windows folder, as on Windows (WindowsFolderHostPath
// in common/host_path.h).
// Returns false when the name names no file: null, empty, a name with no
// host spelling (host_path.h), or a bare name while no Windows folder is set.
bool ResolveProfilePath(LPCWSTR fileName, std::string &hostPath);

}  // namespace profile
}  // namespace standin
