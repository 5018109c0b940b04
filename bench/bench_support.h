// What the call benchmarks need from the host: copying the store, pointing
// the registry calls at it, and the floor (reading a file, rewriting it
// durably), each done the platform's own way.
#pragma once

#include <string>

namespace bench {

// Copies the file; false when it can't.
bool CopyStore(const std::string &from, const std::string &to);

// Makes the registry calls of this process use the store file at `path`. On
// Linux the stand-in reads it from there; on Windows (Wine) the store must be
// imported into the registry before the run (bench/wine_runs.py does it), and
// this does nothing.
void UseRegistryStore(const std::string &path);

// Reads the whole file once; returns the bytes read.
size_t ReadOnce(const std::string &path);
// Writes `bytes` to a temporary file beside `target`, flushes it to disk and
// renames it over `target`: one durable atomic rewrite.
bool DurableRewrite(const std::string &target, const std::string &bytes);

}  // namespace bench
