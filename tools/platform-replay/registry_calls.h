// Registry calls that log what they were given and what they returned.
#pragma once

#include <windows.h>

#include "replay.h"

namespace replay {

// Null on failure.
HKEY CreateKey(Replay &replay, HKEY parent, LPCWSTR path);
HKEY OpenKey(Replay &replay, HKEY parent, LPCWSTR path);
void CloseKey(HKEY key);
LONG SetValue(Replay &replay, HKEY key, LPCWSTR name, DWORD type, const void *data, DWORD size);
LONG SetText(Replay &replay, HKEY key, LPCWSTR name, DWORD type, const WString &text);
LONG DeleteValue(Replay &replay, HKEY key, LPCWSTR name);
LONG DeleteKey(Replay &replay, HKEY key, LPCWSTR path);
LONG DeleteTree(Replay &replay, HKEY key, LPCWSTR path);

// Reads a value into a buffer of its size plus `extra` bytes (negative: fewer)
// filled with 0xCC beforehand, and logs status, type, size and the whole
// buffer, so bytes the call added or left alone show.
void QueryValue(Replay &replay, HKEY key, LPCWSTR name, int extra);

}  // namespace replay
