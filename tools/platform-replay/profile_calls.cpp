#include "profile_calls.h"

#include <vector>

#include "file_bytes.h"

namespace replay {

namespace {

std::string Outcome(BOOL result) {
  if (result) return "1";
  return "0 error=" + Number(GetLastError());
}

// The file's name without its folder, which differs between the builds.
std::string FileText(const WString &file) {
  size_t slash = file.find_last_of(TEXT("\\/"));
  return EscapeUnits(slash == WString::npos ? file : file.substr(slash + 1)) + ": ";
}

std::string EntryText(LPCWSTR section, LPCWSTR key) {
  return "[" + NameText(section) + "] " + NameText(key);
}

}  // namespace

BOOL WriteString(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key, LPCWSTR value) {
  SetLastError(0);
  BOOL result = WritePrivateProfileStringW(section, key, value, file.c_str());
  replay.Log(FileText(file) + "write " + EntryText(section, key) + " = " + NameText(value),
             Outcome(result));
  return result;
}

BOOL WriteStruct(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key,
                 const void *data, UINT size) {
  SetLastError(0);
  BOOL result =
      WritePrivateProfileStructW(section, key, const_cast<void *>(data), size, file.c_str());
  std::string given = data == nullptr ? "null" : HexBytes(static_cast<const BYTE *>(data), size);
  replay.Log(FileText(file) + "write struct " + EntryText(section, key) + " = " + given,
             Outcome(result));
  return result;
}

void ReadStruct(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key, UINT size) {
  std::vector<BYTE> data(size + 1, 0xCC);
  SetLastError(0);
  BOOL result = GetPrivateProfileStructW(section, key, data.data(), size, file.c_str());
  std::string seen = Outcome(result);
  if (result) seen += " data=" + HexBytes(data.data(), size);
  replay.Log(FileText(file) + "read struct " + EntryText(section, key) + " size=" + Number(size),
             seen);
}

void ReadInt(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key) {
  UINT value = GetPrivateProfileIntW(section, key, -5, file.c_str());
  replay.Log(FileText(file) + "read int " + EntryText(section, key),
             SignedNumber(static_cast<int32_t>(value)));
}

void ReadString(Replay &replay, const WString &file, LPCWSTR section, LPCWSTR key, DWORD size) {
  std::vector<WCHAR> buffer(size + 1, 0x2A);
  DWORD count =
      GetPrivateProfileStringW(section, key, TEXT("(default)"), buffer.data(), size, file.c_str());
  size_t shown = count < size ? count + 1 : size;
  replay.Log(FileText(file) + "read " + EntryText(section, key) + " size=" + Number(size),
             Number(count) + " " + Quoted(WString(buffer.data(), shown)));
}

void ReadSection(Replay &replay, const WString &file, LPCWSTR section) {
  const DWORD size = 1000;
  std::vector<WCHAR> buffer(size, 0);
  DWORD count = GetPrivateProfileSectionW(section, buffer.data(), size, file.c_str());
  std::string lines = Number(count);
  for (size_t at = 0; at < count && at < size;) {
    WString line(buffer.data() + at);
    lines += " " + Quoted(line);
    at += line.size() + 1;
  }
  replay.Log(FileText(file) + "read section [" + NameText(section) + "]", lines);
}

void SeedFile(Replay &replay, const WString &file, const std::string &bytes) {
  if (!WriteFileBytes(file.c_str(), bytes)) replay.Record("setup", "writing the file failed");
}

std::string Utf16File(const WString &text) {
  std::string bytes = "\xFF\xFE";
  for (WCHAR unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>((unit >> 8) & 0xFF);
  }
  return bytes;
}

}  // namespace replay
