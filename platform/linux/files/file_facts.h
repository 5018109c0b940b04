// What Windows reports about a file, from what the host knows of it.
#pragma once

#include <windows.h>

#include <sys/stat.h>
#include <string>

namespace standin {

// READONLY when the permission bits give the user no write, DIRECTORY for a
// folder, NORMAL when neither applies.
DWORD AttributesOf(const std::string &hostPath, const struct stat &info);

// 100 ns units since 1601-01-01 UTC.
FILETIME FileTimeOf(const struct timespec &time);

// The three times of a file: creation (the birth time when the host's file
// system keeps one, else the last change), last access and last write.
struct FileTimes {
  FILETIME created, accessed, written;
};
FileTimes FileTimesOfOpenFile(int fd, const struct stat &info);
FileTimes FileTimesOfPath(const std::string &hostPath, const struct stat &info);

}  // namespace standin
