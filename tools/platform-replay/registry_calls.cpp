#include "registry_calls.h"

#include <vector>

namespace replay {

namespace {

std::string Status(LONG status) { return SignedNumber(status); }

std::string PathText(LPCWSTR path) { return NameText(path); }

}  // namespace

HKEY CreateKey(Replay &replay, HKEY parent, LPCWSTR path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG status =
      RegCreateKeyExW(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
  std::string result = Status(status);
  if (status == ERROR_SUCCESS)
    result += disposition == REG_CREATED_NEW_KEY ? " created" : " opened";
  replay.Log("create " + PathText(path), result);
  return status == ERROR_SUCCESS ? key : nullptr;
}

HKEY OpenKey(Replay &replay, HKEY parent, LPCWSTR path) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(parent, path, 0, KEY_ALL_ACCESS, &key);
  replay.Log("open " + PathText(path), Status(status));
  return status == ERROR_SUCCESS ? key : nullptr;
}

void CloseKey(HKEY key) {
  if (key != nullptr) RegCloseKey(key);
}

LONG SetValue(Replay &replay, HKEY key, LPCWSTR name, DWORD type, const void *data, DWORD size) {
  LONG status = RegSetValueExW(key, name, 0, type, static_cast<const BYTE *>(data), size);
  replay.Log("set " + NameText(name) + " type=" + Number(type) + " bytes=" + Number(size),
             Status(status));
  return status;
}

LONG SetText(Replay &replay, HKEY key, LPCWSTR name, DWORD type, const WString &text) {
  // The terminator counted, as callers are told to.
  return SetValue(replay, key, name, type, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

LONG DeleteValue(Replay &replay, HKEY key, LPCWSTR name) {
  LONG status = RegDeleteValueW(key, name);
  replay.Log("delete value " + NameText(name), Status(status));
  return status;
}

LONG DeleteKey(Replay &replay, HKEY key, LPCWSTR path) {
  LONG status = RegDeleteKeyW(key, path);
  replay.Log("delete key " + PathText(path), Status(status));
  return status;
}

LONG DeleteTree(Replay &replay, HKEY key, LPCWSTR path) {
  LONG status = RegDeleteTreeW(key, path);
  replay.Log("delete tree " + PathText(path), Status(status));
  return status;
}

void QueryValue(Replay &replay, HKEY key, LPCWSTR name, int extra) {
  DWORD size = 0;
  LONG status = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
  const std::string what =
      "query " + NameText(name) + " room=size" + (extra < 0 ? "" : "+") + SignedNumber(extra);
  if (status != ERROR_SUCCESS) {
    replay.Log(what, "size query " + Status(status));
    return;
  }
  const int64_t wanted = static_cast<int64_t>(size) + extra;
  const DWORD room = wanted < 0 ? 0 : static_cast<DWORD>(wanted);
  std::vector<BYTE> buffer(room + 1, 0xCC);
  DWORD type = 0xFFFF, got = room;
  status = RegQueryValueExW(key, name, nullptr, &type, buffer.data(), &got);
  replay.Log(what, Status(status) + " type=" + Number(type) + " size=" + Number(got) +
                       " buffer=" + HexBytes(buffer.data(), room));
}

}  // namespace replay
