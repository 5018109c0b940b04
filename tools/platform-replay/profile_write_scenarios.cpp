// Profile-file scenarios that start from no file or an empty one: what the
// writing calls create, replace and delete, and how readers see it.
#include <cstdint>
#include <vector>

#include "ini_dump.h"
#include "profile_calls.h"
#include "scenario_list.h"

namespace replay {

namespace {

// A scenario's pair of files: one left to be created 8-bit, one started as
// UTF-16 by its byte-order mark, as addbar creates them.
struct FilePair {
  WString eightBit, utf16;
};

FilePair TwoEncodings(Replay &replay) {
  FilePair files{replay.File("-8bit"), replay.File("-utf16")};
  SeedFile(replay, files.utf16, "\xFF\xFE");
  return files;
}

void DumpBoth(Replay &replay, const FilePair &files) {
  DumpIniFile(replay, files.eightBit, "8bit ");
  DumpIniFile(replay, files.utf16, "utf16 ");
}

void NewFiles(Replay &replay) {
  const FilePair files = TwoEncodings(replay);
  for (const WString &file : {files.eightBit, files.utf16}) {
    WriteString(replay, file, TEXT("s1"), TEXT("k1"), TEXT("v1"));
    WriteString(replay, file, TEXT("s1"), TEXT("k2"), TEXT("v2"));
    WriteString(replay, file, TEXT("s2"), TEXT("k"), TEXT("v"));
    WriteString(replay, file, TEXT("s1"), TEXT("k3"), TEXT("v3"));
    WriteString(replay, file, TEXT("S1"), TEXT("K1"), TEXT("changed"));
    WriteString(replay, file, TEXT("s1"), TEXT("k2"), TEXT("v2"));
    WriteString(replay, file, TEXT("s2"), TEXT("empty"), TEXT(""));
    for (DWORD size : {1, 3, 100}) ReadString(replay, file, TEXT("s1"), TEXT("k1"), size);
    ReadString(replay, file, TEXT("s2"), TEXT("empty"), 100);
    ReadString(replay, file, TEXT("s2"), TEXT("missing"), 100);
  }
  // Units beyond Latin-1 and a surrogate pair.
  WriteString(replay, files.utf16, TEXT("Gr\u00fc\u00dfe"), TEXT("\u65e5\u672c"),
              TEXT("\U0001F600 smile"));
  DumpBoth(replay, files);
}

void NonAsciiCase(Replay &replay) {
  const WString file = replay.File();
  SeedFile(replay, file, "\xFF\xFE");
  WriteString(replay, file, TEXT("Gr\u00fc\u00dfe"), TEXT("\u00c4rger"), TEXT("first"));
  WriteString(replay, file, TEXT("GR\u00dc\u00dfE"), TEXT("x"), TEXT("upper section"));
  WriteString(replay, file, TEXT("Gr\u00fc\u00dfe"), TEXT("\u00e4rger"), TEXT("lower key"));
  ReadString(replay, file, TEXT("gr\u00fc\u00dfe"), TEXT("\u00c4RGER"), 100);
  DumpIniFile(replay, file);
}

// Spaces around the names a caller passes.
void SpacedNames(Replay &replay) {
  const WString file = replay.File();
  WriteString(replay, file, TEXT(" spaced sec "), TEXT(" spaced key "), TEXT("v"));
  WriteString(replay, file, TEXT("spaced sec"), TEXT("other"), TEXT("w"));
  WriteString(replay, file, TEXT("  spaced sec"), TEXT("spaced key  "), TEXT("changed"));
  for (LPCWSTR section : {TEXT("spaced sec"), TEXT(" spaced sec "), TEXT("\tspaced sec")}) {
    ReadString(replay, file, section, TEXT(" spaced key "), 100);
  }
  ReadSection(replay, file, TEXT(" spaced sec "));
  DumpIniFile(replay, file, "written ");
  WriteString(replay, file, TEXT(" spaced sec "), TEXT(" other "), nullptr);
  DumpIniFile(replay, file, "key deleted ");
  WriteString(replay, file, TEXT(" spaced sec "), nullptr, nullptr);
  DumpIniFile(replay, file, "section deleted ");
}

void Deletions(Replay &replay) {
  const WString file = replay.File();
  for (LPCWSTR key : {TEXT("k1"), TEXT("k2"), TEXT("k3")}) {
    WriteString(replay, file, TEXT("s1"), key, TEXT("v"));
  }
  WriteString(replay, file, TEXT("s2"), TEXT("a"), TEXT("v"));
  WriteString(replay, file, TEXT("s3"), TEXT("b"), TEXT("v"));
  WriteString(replay, file, TEXT("s1"), TEXT("K2"), nullptr);
  WriteString(replay, file, TEXT("s1"), TEXT("missing"), nullptr);
  WriteString(replay, file, TEXT("no such"), TEXT("k"), nullptr);
  WriteString(replay, file, TEXT("S2"), nullptr, nullptr);
  WriteString(replay, file, TEXT("no such"), nullptr, nullptr);
  WriteString(replay, file, nullptr, nullptr, nullptr);
  WriteString(replay, file, nullptr, TEXT("k"), TEXT("v"));
  // Emptying a section leaves its header.
  WriteString(replay, file, TEXT("s3"), TEXT("b"), nullptr);
  DumpIniFile(replay, file);

  // A deletion in a file that is not there yet.
  const WString missing = replay.File("-missing");
  WriteString(replay, missing, TEXT("s"), TEXT("k"), nullptr);
  DumpIniFile(replay, missing, "missing ");
}

void CaseAndOrder(Replay &replay) {
  const WString file = replay.File();
  struct Write {
    LPCWSTR section, key, value;
  };
  for (const Write &write : std::vector<Write>{{TEXT("Zeta"), TEXT("z"), TEXT("1")},
                                               {TEXT("Sec"), TEXT("Key"), TEXT("2")},
                                               {TEXT("SEC"), TEXT("KEY"), TEXT("3")},
                                               {TEXT("sec"), TEXT("key2"), TEXT("4")},
                                               {TEXT("alpha"), TEXT("x"), TEXT("5")},
                                               {TEXT("SEC"), TEXT("Key3"), TEXT("6")},
                                               {TEXT("ALPHA"), TEXT("X"), TEXT("7")},
                                               {TEXT("Mid"), TEXT("b"), TEXT("8")},
                                               {TEXT("Mid"), TEXT("a"), TEXT("9")},
                                               {TEXT("zeta"), TEXT("Z"), nullptr},
                                               {TEXT("Sec"), TEXT("key"), nullptr},
                                               {TEXT("sec"), TEXT("KEY"), TEXT("10")}}) {
    WriteString(replay, file, write.section, write.key, write.value);
  }
  DumpIniFile(replay, file);
}

void AwkwardValues(Replay &replay) {
  const FilePair files = TwoEncodings(replay);
  for (const WString &file : {files.eightBit, files.utf16}) {
    int number = 0;
    for (LPCWSTR value : {TEXT("  padded  "), TEXT("\"quoted\""), TEXT("'single'"), TEXT("\"open"),
                          TEXT("\"mixed'"), TEXT("a=b"), TEXT("a;b"), TEXT(";starts"), TEXT(""),
                          TEXT("tab\there"), TEXT("trailing  "), TEXT("\" spaced in quotes \"")}) {
      WString key = TEXT("k");
      key += static_cast<WCHAR>(TEXT('a') + number++);
      WriteString(replay, file, TEXT("values"), key.c_str(), value);
    }
  }
  DumpBoth(replay, files);
}

void AwkwardKeys(Replay &replay) {
  const FilePair files = TwoEncodings(replay);
  for (const WString &file : {files.eightBit, files.utf16}) {
    for (LPCWSTR key : {TEXT("k[1]"), TEXT("[k]"), TEXT("k=eq"), TEXT(";semi-key"), TEXT("key;x"),
                        TEXT("\"quoted key\"")}) {
      WriteString(replay, file, TEXT("keys"), key, TEXT("v"));
      ReadString(replay, file, TEXT("keys"), key, 100);
    }
  }
  DumpBoth(replay, files);
}

void AwkwardSections(Replay &replay) {
  const FilePair files = TwoEncodings(replay);
  for (const WString &file : {files.eightBit, files.utf16}) {
    for (LPCWSTR section : {TEXT("[br]"), TEXT("s]x"), TEXT("sec;semi"), TEXT(";semi-first"),
                            TEXT("a=b"), TEXT("\"quoted\"")}) {
      WriteString(replay, file, section, TEXT("k"), TEXT("v"));
      ReadString(replay, file, section, TEXT("k"), 100);
    }
  }
  DumpBoth(replay, files);
}

void LongValues(Replay &replay) {
  const FilePair files = TwoEncodings(replay);
  WString text;
  for (size_t i = 0; i < 65536; ++i) text += static_cast<WCHAR>(TEXT('a') + i % 26);
  for (const WString &file : {files.eightBit, files.utf16}) {
    WriteString(replay, file, TEXT("long"), TEXT("text"), text.c_str());
    WriteString(replay, file, TEXT("long"), TEXT("after"), TEXT("short"));
    for (DWORD size : {1024, 65536, 65537, 70000}) {
      ReadString(replay, file, TEXT("long"), TEXT("text"), size);
    }
  }
  DumpBoth(replay, files);
}

void Structs(Replay &replay) {
  const WString file = replay.File();
  const BYTE eight[] = {0xA4, 0x9C, 0x00, 0x00, 0xA5, 0x9C, 0x00, 0x00};
  const BYTE one[] = {0xFF};
  WriteStruct(replay, file, TEXT("s"), TEXT("eight"), eight, sizeof eight);
  WriteStruct(replay, file, TEXT("s"), TEXT("one"), one, sizeof one);
  WriteStruct(replay, file, TEXT("s"), TEXT("none"), one, 0);
  WriteStruct(replay, file, TEXT("s"), TEXT("gone"), one, sizeof one);
  WriteStruct(replay, file, TEXT("s"), TEXT("gone"), nullptr, 0);
  WriteString(replay, file, TEXT("s"), TEXT("bad-sum"), TEXT("A49C0000A59C000000"));
  WriteString(replay, file, TEXT("s"), TEXT("not-hex"), TEXT("ZZ00"));
  WriteString(replay, file, TEXT("s"), TEXT("lower"), TEXT("abab"));
  ReadStruct(replay, file, TEXT("s"), TEXT("eight"), 8);
  ReadStruct(replay, file, TEXT("s"), TEXT("eight"), 7);
  ReadStruct(replay, file, TEXT("s"), TEXT("one"), 1);
  ReadStruct(replay, file, TEXT("s"), TEXT("none"), 0);
  ReadStruct(replay, file, TEXT("s"), TEXT("bad-sum"), 8);
  ReadStruct(replay, file, TEXT("s"), TEXT("not-hex"), 1);
  ReadStruct(replay, file, TEXT("s"), TEXT("lower"), 1);
  ReadStruct(replay, file, TEXT("s"), TEXT("missing"), 1);
  DumpIniFile(replay, file);
}

}  // namespace

std::vector<Scenario> ProfileWriteScenarios() {
  return {
      {"ini-new-files", NewFiles},       {"ini-case-non-ascii", NonAsciiCase},
      {"ini-spaced-names", SpacedNames}, {"ini-delete", Deletions},
      {"ini-case-order", CaseAndOrder},  {"ini-awkward-values", AwkwardValues},
      {"ini-awkward-keys", AwkwardKeys}, {"ini-awkward-sections", AwkwardSections},
      {"ini-long-values", LongValues},   {"ini-struct", Structs},
  };
}

}  // namespace replay
