// Profile-file calls that log what they were given and what they returned.
#pragma once

#include <windows.h>

#include "replay.h"

namespace replay {

// Null section, key or value pass null (a deletion).
BOOL WriteString(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key, LPCWSTR value);
BOOL WriteStruct(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key,
                 const void *data, UINT size);
// Reads into `size` bytes; logs the result, the last error on failure and the
// bytes on success.
void ReadStruct(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key, UINT size);
void ReadInt(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key);
// GetPrivateProfileStringW into `size` units with the default "(default)";
// logs the count and the units up to it.
void ReadString(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key, DWORD size);

// GetPrivateProfileSectionW into a buffer of 1000 units; logs the count and
// the lines.
void ReadSection(Replay &replay, const WString &file, LPCWSTR section);

// Makes the file hold exactly `bytes`, as someone who wrote it by hand.
void SeedFile(Replay &replay, const WString &file, const std::string &bytes);
// The text as UTF-16LE bytes after the byte-order mark FF FE.
std::string Utf16File(const WString &text);

}  // namespace replay
