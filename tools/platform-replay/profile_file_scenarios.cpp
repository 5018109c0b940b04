// Profile-file scenarios on files written by hand first: comments, spacing,
// odd headers, line ends and encodings, then what reads and edits make of
// them.
#include <string>
#include <vector>

#include "ini_dump.h"
#include "profile_calls.h"
#include "scenario_list.h"

namespace replay {

namespace {

// Comments, blank lines, spacing, text before the first section, all three
// kinds of line end and no final line break.
const char kHandWritten[] =
    "; leading comment\r\n"
    "stray=before\r\n"
    "\r\n"
    "[First]\r\n"
    "a = 1\r\n"
    "; comment in First\r\n"
    "b=two ; not a comment\r\n"
    "\r\n"
    "; trailing comment of First\r\n"
    "[Second]\n"
    "x=y\n"
    "[Third]\r"
    "t=3";

// Reads and edits of every kind on a file like kHandWritten.
void EditHandWritten(Replay &replay, const WString &file) {
  ReadString(replay, file, TEXT(""), TEXT("stray"), 100);
  ReadString(replay, file, TEXT("First"), TEXT("b"), 100);
  ReadString(replay, file, TEXT("First"), TEXT("; comment in First"), 100);
  ReadString(replay, file, TEXT("Third"), TEXT("t"), 100);
  WriteString(replay, file, TEXT("First"), TEXT("a"), TEXT("one"));
  WriteString(replay, file, TEXT("First"), TEXT("c"), TEXT("new"));
  WriteString(replay, file, TEXT("Fourth"), TEXT("n"), TEXT("v"));
  WriteString(replay, file, TEXT("Second"), TEXT("x"), nullptr);
  WriteString(replay, file, TEXT("Third"), nullptr, nullptr);
  WriteString(replay, file, TEXT("Third"), TEXT("t"), TEXT("back"));
}

void HandWritten8Bit(Replay &replay) {
  const WString file = replay.File();
  SeedFile(replay, file, kHandWritten);
  EditHandWritten(replay, file);
  DumpIniFile(replay, file);
}

void HandWrittenUtf16(Replay &replay) {
  const WString file = replay.File();
  WString text;
  for (const char *c = kHandWritten; *c != '\0'; ++c) text += static_cast<WCHAR>(*c);
  text += TEXT("\r\n[\u00dcml\u00e4ut]\r\n\u00f6=\u00c4\r\n");
  SeedFile(replay, file, Utf16File(text));
  EditHandWritten(replay, file);
  WriteString(replay, file, TEXT("\u00dcml\u00e4ut"), TEXT("\u00f6"), TEXT("\u00e4"));
  DumpIniFile(replay, file);
}

// Odd headers, each in a file of its own so that what one does to a
// reader can't hide another.
void Headers(Replay &replay) {
  struct Seeded {
    const char *label;
    std::string bytes;
    std::vector<LPCWSTR> sections;  // each read for its key k
  };
  const std::vector<Seeded> files = {
      {"first-bracket", "[s]x]\r\nk=v\r\n", {TEXT("s"), TEXT("s]x")}},
      {"open", "[open\r\nk=v\r\n", {TEXT("open")}},
      {"empty-name", "[]\r\nk=v\r\n", {TEXT("")}},
      {"spaced", "  [ spaced ]  \r\nk=v\r\n", {TEXT("spaced")}},
      {"duplicates", "[dup]\r\nk=one\r\nk=two\r\n[DUP]\r\nk=three\r\nm=four\r\n", {TEXT("dup")}},
  };
  for (const Seeded &seeded : files) {
    const WString file = replay.File((std::string("-") + seeded.label).c_str());
    SeedFile(replay, file, seeded.bytes);
    for (LPCWSTR section : seeded.sections) ReadString(replay, file, section, TEXT("k"), 100);
    DumpIniFile(replay, file, std::string(seeded.label) + " ");
  }
  // Writes go to the first of duplicate sections and keys.
  const WString duplicates = replay.File("-duplicates");
  ReadString(replay, duplicates, TEXT("dup"), TEXT("m"), 100);
  WriteString(replay, duplicates, TEXT("Dup"), TEXT("K"), TEXT("changed"));
  WriteString(replay, duplicates, TEXT("dup"), TEXT("m"), TEXT("added"));
  DumpIniFile(replay, duplicates, "duplicates written ");
}

void Numbers(Replay &replay) {
  const WString file = replay.File();
  SeedFile(replay, file,
           "[n]\r\nplain=42\r\nnegative=-7\r\nplus=+8\r\nhex=0x10\r\nspaced=  12  \r\n"
           "quoted=\"13\"\r\ntrailing=14abc\r\nletters=abc\r\nhuge=4294967296\r\n"
           "max=4294967295\r\nempty=\r\n");
  for (LPCWSTR key : {TEXT("plain"), TEXT("negative"), TEXT("plus"), TEXT("hex"), TEXT("spaced"),
                      TEXT("quoted"), TEXT("trailing"), TEXT("letters"), TEXT("huge"), TEXT("max"),
                      TEXT("empty"), TEXT("missing")}) {
    ReadInt(replay, file, TEXT("n"), key);
  }
}

// "[s]", "k=v" as UTF-16BE after its byte-order mark.
const char kBigEndian[] = "\xFE\xFF\0[\0s\0]\0\r\0\n\0k\0=\0v\0\r\0\n";

void Marks(Replay &replay) {
  struct Seeded {
    const char *suffix;
    std::string bytes;
  };
  const std::vector<Seeded> files = {
      {"-empty", ""},
      {"-utf8-mark", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
      {"-utf8-mark-own-line", "\xEF\xBB\xBF\r\n[s]\r\nk=v\r\n"},
      {"-big-endian-mark", std::string(kBigEndian, sizeof kBigEndian - 1)},
      // No UTF-16 file of odd length: Wine pairs its last byte with whatever byte follows the
      // file in memory (00 on one run, 0A on another), so no two runs need agree.
  };
  for (const Seeded &seeded : files) {
    const WString file = replay.File(seeded.suffix);
    SeedFile(replay, file, seeded.bytes);
    ReadString(replay, file, TEXT("s"), TEXT("k"), 100);
    WriteString(replay, file, TEXT("s"), TEXT("added"), TEXT("new"));
    DumpIniFile(replay, file, std::string(seeded.suffix + 1) + " ");
  }
}

void EightBitText(Replay &replay) {
  // Text beyond ASCII in a file that has no byte-order mark.
  const WString file = replay.File();
  WriteString(replay, file, TEXT("caf\u00e9"), TEXT("na\u00efve"), TEXT("\u00e9t\u00e9"));
  WriteString(replay, file, TEXT("caf\u00e9"), TEXT("euro"), TEXT("\u20ac"));
  WriteString(replay, file, TEXT("caf\u00e9"), TEXT("cjk"), TEXT("\u65e5\u672c"));
  DumpIniFile(replay, file);
}

}  // namespace

std::vector<Scenario> ProfileFileScenarios() {
  return {
      {"ini-hand-written-8bit", HandWritten8Bit},
      {"ini-hand-written-utf16", HandWrittenUtf16},
      {"ini-headers", Headers},
      {"ini-numbers", Numbers},
      {"ini-marks", Marks},
      {"ini-8bit-text", EightBitText},
  };
}

}  // namespace replay
