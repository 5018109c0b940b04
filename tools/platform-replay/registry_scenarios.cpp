// Registry scenarios: every kind of value, deletions, listing order, and
// names and data at the edges of what the registry takes.
#include <cstdint>
#include <vector>

#include "registry_calls.h"
#include "registry_dump.h"
#include "scenario_list.h"

namespace replay {

namespace {

void ValueKinds(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  SetText(replay, key, TEXT("sz"), REG_SZ, TEXT("text"));
  // Without a terminator: a non-null unit follows the counted bytes.
  const WCHAR open[] = TEXT("abcX");
  SetValue(replay, key, TEXT("sz-open"), REG_SZ, open, 3 * sizeof(WCHAR));
  // The terminator is there but not counted.
  const WCHAR uncounted[] = TEXT("abc");
  SetValue(replay, key, TEXT("sz-uncounted"), REG_SZ, uncounted, 3 * sizeof(WCHAR));
  SetValue(replay, key, TEXT("sz-odd"), REG_SZ, uncounted, 5);
  SetValue(replay, key, TEXT("sz-empty"), REG_SZ, uncounted, 0);
  SetValue(replay, key, TEXT("sz-null"), REG_SZ, nullptr, 0);
  SetText(replay, key, TEXT("expand"), REG_EXPAND_SZ, TEXT("%TEMP%\\x"));
  const WCHAR multi[] = TEXT("a\0bc\0");  // the literal adds the list's closing null
  SetValue(replay, key, TEXT("multi"), REG_MULTI_SZ, multi, sizeof multi);
  SetValue(replay, key, TEXT("multi-open"), REG_MULTI_SZ, multi, 3 * sizeof(WCHAR));
  SetValue(replay, key, TEXT("multi-uncounted"), REG_MULTI_SZ, multi, 4 * sizeof(WCHAR));
  const DWORD number = 0x12345678;
  SetValue(replay, key, TEXT("dword"), REG_DWORD, &number, sizeof number);
  SetValue(replay, key, TEXT("dword-short"), REG_DWORD, &number, 2);
  SetValue(replay, key, TEXT("dword-big-endian"), REG_DWORD_BIG_ENDIAN, &number, sizeof number);
  const uint64_t wide = 0x0123456789ABCDEFull;
  SetValue(replay, key, TEXT("qword"), REG_QWORD, &wide, sizeof wide);
  const BYTE bytes[] = {0x00, 0x01, 0xFF, 0x7F, 0x80};
  SetValue(replay, key, TEXT("binary"), REG_BINARY, bytes, sizeof bytes);
  SetValue(replay, key, TEXT("binary-empty"), REG_BINARY, bytes, 0);
  SetValue(replay, key, TEXT("none"), REG_NONE, bytes, 3);
  SetValue(replay, key, TEXT("none-null"), REG_NONE, nullptr, 0);
  SetValue(replay, key, TEXT("type-7777"), 0x7777, bytes, 2);
  // The unnamed value, by null and by "".
  SetText(replay, key, nullptr, REG_SZ, TEXT("unnamed"));
  SetText(replay, key, TEXT(""), REG_SZ, TEXT("unnamed again"));
  // Another type for an existing value.
  SetText(replay, key, TEXT("dword"), REG_SZ, TEXT("now text"));

  for (LPCWSTR name : {TEXT("sz"), TEXT("sz-open"), TEXT("sz-odd"), TEXT("sz-empty"),
                       TEXT("multi-open"), TEXT("binary"), TEXT("none-null")}) {
    for (int extra : {-1, 0, 2}) QueryValue(replay, key, name, extra);
  }
  QueryValue(replay, key, TEXT("missing"), 0);
  DumpRegistryKey(replay, key);
}

void ValueDeletion(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  for (LPCWSTR name : {TEXT("v1"), TEXT("v2"), TEXT("v3"), static_cast<LPCWSTR>(nullptr)}) {
    SetText(replay, key, name, REG_SZ, TEXT("value"));
  }
  DeleteValue(replay, key, TEXT("v2"));
  DeleteValue(replay, key, TEXT("v2"));
  DeleteValue(replay, key, TEXT("V3"));
  DeleteValue(replay, key, nullptr);
  DeleteValue(replay, key, nullptr);
  DeleteValue(replay, key, TEXT(""));
  SetText(replay, key, TEXT("v2"), REG_SZ, TEXT("set again"));
  DumpRegistryKey(replay, key);
}

void KeyDeletion(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  for (LPCWSTR path : {TEXT("a\\b\\c"), TEXT("a\\d"), TEXT("e")}) {
    CloseKey(CreateKey(replay, key, path));
  }
  DeleteKey(replay, key, TEXT("a"));
  DeleteKey(replay, key, TEXT("a\\b\\c"));
  DeleteKey(replay, key, TEXT("missing"));
  DeleteKey(replay, key, TEXT("A\\B"));
  DeleteTree(replay, key, TEXT("a"));
  DeleteTree(replay, key, TEXT("a"));

  // Emptying a key through its own handle keeps the key.
  HKEY emptied = CreateKey(replay, key, TEXT("f"));
  if (emptied != nullptr) {
    SetText(replay, emptied, TEXT("v"), REG_SZ, TEXT("value"));
    CloseKey(CreateKey(replay, emptied, TEXT("g\\h")));
    DeleteTree(replay, emptied, nullptr);
    CloseKey(emptied);
  }

  // A key deleted under an open handle.
  HKEY gone = CreateKey(replay, key, TEXT("gone"));
  if (gone != nullptr) {
    DeleteKey(replay, gone, TEXT(""));
    SetText(replay, gone, TEXT("after"), REG_SZ, TEXT("value"));
    CloseKey(CreateKey(replay, gone, TEXT("child")));
    CloseKey(gone);
  }

  // Separators at the edges of a path.
  CloseKey(CreateKey(replay, key, TEXT("trailing\\")));
  CloseKey(CreateKey(replay, key, TEXT("double\\\\separator")));
  CloseKey(CreateKey(replay, key, TEXT("\\leading")));
  CloseKey(OpenKey(replay, key, TEXT("double\\separator\\")));
  DumpRegistryKey(replay, key);
}

void KeyOrder(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  // Created out of order, with case variants of names already there.
  for (LPCWSTR name : {TEXT("beta"), TEXT("Alpha"), TEXT("_under"), TEXT("gamma"), TEXT("ALPHA"),
                       TEXT("zeta"), TEXT("Zeta2"), TEXT("a"), TEXT("B"), TEXT("[x]"),
                       TEXT("\u00e9t\u00e9"), TEXT("\u00c9T\u00c9"), TEXT("~tilde"), TEXT("0num"),
                       TEXT("Beta"), TEXT("a b"), TEXT("a.b"), TEXT("^caret")}) {
    CloseKey(CreateKey(replay, key, name));
  }
  DumpRegistryKey(replay, key);
}

void ValueOrder(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  for (LPCWSTR name : {TEXT("zeta"), TEXT("Alpha"), TEXT("beta"), TEXT("_u"), TEXT("ALPHA"),
                       TEXT("mid"), TEXT("[v]"), TEXT("~v")}) {
    SetText(replay, key, name, REG_SZ, WString(TEXT("set as ")) + name);
  }
  DeleteValue(replay, key, TEXT("beta"));
  SetText(replay, key, TEXT("BETA"), REG_SZ, TEXT("set again"));
  DumpRegistryKey(replay, key);
}

void AwkwardNames(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  for (LPCWSTR name : {TEXT(" blank around "), TEXT("quote\"inside"), TEXT("eq=semi;"),
                       TEXT("[bracket]"), TEXT("back\\slash"), TEXT("\u00fcn\u00efc\u00f6de"),
                       TEXT("line\nbreak"), TEXT("tab\there"), TEXT("@")}) {
    SetText(replay, key, name, REG_SZ, name);
  }
  for (LPCWSTR path : {TEXT(" spaced key "), TEXT("[br]"), TEXT("\u043a\u043b\u044e\u0447"),
                       TEXT("slash/inside")}) {
    CloseKey(CreateKey(replay, key, path));
  }
  DumpRegistryKey(replay, key);
}

void KeyNameWithLineBreak(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  HKEY broken = CreateKey(replay, key, TEXT("line\nbreak"));
  if (broken != nullptr) SetText(replay, broken, TEXT("v"), REG_SZ, TEXT("value"));
  CloseKey(broken);
  DumpRegistryKey(replay, key);
}

void Limits(Replay &replay) {
  HKEY key = replay.Key();
  if (key == nullptr) return;
  for (size_t length : {256, 257}) {
    CloseKey(CreateKey(replay, key, WString(length, TEXT('k')).c_str()));
  }
  for (size_t length : {16383, 16384}) {
    SetText(replay, key, WString(length, TEXT('n')).c_str(), REG_SZ, TEXT("x"));
  }
  WString text;
  for (size_t i = 0; i < 65536; ++i) text += static_cast<WCHAR>(TEXT('a') + i % 26);
  SetText(replay, key, TEXT("long text"), REG_SZ, text);
  std::vector<BYTE> data(100000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<BYTE>(i * 7 % 251);
  SetValue(replay, key, TEXT("long binary"), REG_BINARY, data.data(),
           static_cast<DWORD>(data.size()));
  DumpRegistryKey(replay, key);
}

}  // namespace

std::vector<Scenario> RegistryScenarios() {
  return {
      {"reg-value-kinds", ValueKinds},
      {"reg-value-delete", ValueDeletion},
      {"reg-key-delete", KeyDeletion},
      {"reg-key-order", KeyOrder},
      {"reg-value-order", ValueOrder},
      {"reg-awkward-names", AwkwardNames},
      {"reg-key-line-break", KeyNameWithLineBreak},
      {"reg-limits", Limits},
  };
}

}  // namespace replay
