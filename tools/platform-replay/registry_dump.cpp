#include "registry_dump.h"

#include <algorithm>
#include <vector>

namespace replay {

namespace {

// Room for the longest key name (256 units) and value name (16,383 units).
const DWORD kKeyNameRoom = 512;
const DWORD kValueNameRoom = 16384;

struct Listing {
  LONG end = ERROR_SUCCESS;  // the status that ended the listing
  std::vector<WString> names;
};

Listing SubKeys(HKEY key) {
  Listing listing;
  std::vector<WCHAR> name(kKeyNameRoom);
  for (DWORD index = 0;; ++index) {
    DWORD count = kKeyNameRoom;
    listing.end =
        RegEnumKeyExW(key, index, name.data(), &count, nullptr, nullptr, nullptr, nullptr);
    if (listing.end != ERROR_SUCCESS) break;
    listing.names.emplace_back(name.data(), count);
  }
  return listing;
}

Listing Values(HKEY key) {
  Listing listing;
  std::vector<WCHAR> name(kValueNameRoom);
  for (DWORD index = 0;; ++index) {
    DWORD count = kValueNameRoom;
    listing.end =
        RegEnumValueW(key, index, name.data(), &count, nullptr, nullptr, nullptr, nullptr);
    if (listing.end != ERROR_SUCCESS) break;
    listing.names.emplace_back(name.data(), count);
  }
  return listing;
}

std::string ListingText(const Listing &listing) {
  std::string text = "end=" + SignedNumber(listing.end);
  for (const WString &name : listing.names) text += " " + Quoted(name);
  return text;
}

std::string InfoText(HKEY key) {
  DWORD subKeys = 0, longestSubKey = 0, values = 0, longestName = 0, longestData = 0;
  LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &longestSubKey, nullptr,
                                 &values, &longestName, &longestData, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return "status=" + SignedNumber(status);
  return "subkeys=" + Number(subKeys) + " longest-subkey=" + Number(longestSubKey) +
         " values=" + Number(values) + " longest-name=" + Number(longestName) +
         " longest-data=" + Number(longestData);
}

std::string ValueText(HKEY key, const WString &name) {
  DWORD type = 0, size = 0;
  LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  if (status != ERROR_SUCCESS) return "size query " + SignedNumber(status);
  std::vector<BYTE> data(size + 1);
  DWORD got = size;
  status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got);
  if (status != ERROR_SUCCESS) return "read " + SignedNumber(status);
  return "type=" + Number(type) + " size=" + Number(got) + " data=" + HexBytes(data.data(), got);
}

void DumpKey(Replay &replay, HKEY key, const std::string &path) {
  const std::string topic = "reg " + path;
  replay.Record(topic + " info", InfoText(key));
  Listing subKeys = SubKeys(key);
  Listing values = Values(key);
  replay.Record(topic + " subkey order", ListingText(subKeys));
  replay.Record(topic + " value order", ListingText(values));

  std::sort(values.names.begin(), values.names.end());
  for (const WString &name : values.names) {
    replay.Record(topic + " value " + Quoted(name), ValueText(key, name));
  }
  std::sort(subKeys.names.begin(), subKeys.names.end());
  for (const WString &name : subKeys.names) {
    const std::string childPath = (path == "\\" ? "\\" : path + "\\") + EscapeUnits(name);
    HKEY child = nullptr;
    LONG status = RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, &child);
    if (status != ERROR_SUCCESS) {
      replay.Record("reg " + childPath + " open", SignedNumber(status));
      continue;
    }
    DumpKey(replay, child, childPath);
    RegCloseKey(child);
  }
}

}  // namespace

void DumpRegistryKey(Replay &replay, HKEY key) {
  if (key == nullptr) return;
  DumpKey(replay, key, "\\");
}

}  // namespace replay
