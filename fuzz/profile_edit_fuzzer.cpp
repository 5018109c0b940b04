// The profile-file calls on any file: random bytes become the file, then
// random reads and writes run on it. After each write the file reads back
// what was written, and the lines the write had no business with keep their
// bytes: setting a value changes at most the bytes inside one line, deleting
// only takes whole lines away. Reads never write past the buffer they get.
#include <windows.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Fail(const char *what) {
  std::fprintf(stderr, "profile edit: %s\n", what);
  std::abort();
}

struct Scratch {
  std::string folder;
  std::string host;  // the file's path on the host
  std::u16string path;
};

const Scratch &File();

// What the calls leave in the folder: the file, and temporary files of a
// write cut short by a finding.
void RemoveScratch() {
  const std::string &folder = File().folder;
  if (DIR *listing = opendir(folder.c_str())) {
    while (const dirent *entry = readdir(listing)) {
      if (entry->d_name[0] != '.') unlink((folder + "/" + entry->d_name).c_str());
    }
    closedir(listing);
  }
  rmdir(folder.c_str());
}

// One file in a folder of its own, on a memory file system when there is
// one: every write is flushed to disk.
const Scratch &File() {
  // Never destroyed: RemoveScratch runs at exit and still needs it.
  static const Scratch *scratch = [] {
    Scratch *made = new Scratch();
    for (const char *base : {"/dev/shm", "/tmp"}) {
      std::string folder = std::string(base) + "/addbar-fuzz-XXXXXX";
      if (mkdtemp(folder.data()) == nullptr) continue;
      made->folder = folder;
      made->host = folder + "/fuzz.ini";
      for (char c : made->host) made->path += static_cast<char16_t>(c);
      std::atexit(RemoveScratch);
      return made;
    }
    Fail("no scratch folder");
    return made;
  }();
  return *scratch;
}

std::string ReadFile() {
  std::string bytes;
  FILE *in = std::fopen(File().host.c_str(), "rb");
  if (in == nullptr) return bytes;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes.append(chunk, got);
  std::fclose(in);
  return bytes;
}

// The bytes become the file. Each one gets modification times of its own, so
// that a cached parse of an earlier input is never taken for this one.
void WriteFile(const std::string &bytes) {
  static long counter = 0;
  int fd = open(File().host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    Fail("can't write the scratch file");
  struct timespec times[2] = {{++counter, 0}, {counter, 0}};
  futimens(fd, times);
  close(fd);
}

// The file as its own units: UTF-16 after a byte-order mark, else bytes.
std::u16string Units(const std::string &bytes) {
  std::u16string units;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    for (size_t at = 2; at + 1 < bytes.size(); at += 2)
      units += static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
  } else {
    for (char byte : bytes) units += static_cast<char16_t>(static_cast<unsigned char>(byte));
  }
  return units;
}

// Lines end with CR LF, CR or LF, as profile files do; each keeps its end.
std::vector<std::u16string> Lines(const std::string &bytes) {
  const std::u16string units = Units(bytes);
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t at = 0; at < units.size(); ++at) {
    if (units[at] != u'\r' && units[at] != u'\n') continue;
    if (units[at] == u'\r' && at + 1 < units.size() && units[at + 1] == u'\n') ++at;
    lines.push_back(units.substr(start, at + 1 - start));
    start = at + 1;
  }
  if (start < units.size()) lines.push_back(units.substr(start));
  return lines;
}

void Show(const char *label, const std::string &bytes) {
  std::fprintf(stderr, "%s:", label);
  for (char16_t unit : Units(bytes)) {
    if (unit >= 0x20 && unit < 0x7F) {
      std::fprintf(stderr, "%c", static_cast<char>(unit));
    } else {
      std::fprintf(stderr, "<%x>", static_cast<unsigned>(unit));
    }
  }
  std::fprintf(stderr, "\n");
}

// Setting a value: the units that differ lie within one line of the old file.
void ExpectOneLineChanged(const std::string &before, const std::string &after) {
  const std::u16string old = Units(before), now = Units(after);
  size_t prefix = 0;
  while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
         old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
    ++suffix;
  const std::u16string changed = old.substr(prefix, old.size() - prefix - suffix);
  if (changed.find_first_of(u"\r\n") != std::u16string::npos) {
    Show("before", before);
    Show("after", after);
    Fail("setting a value changed more than one line");
  }
}

// Deleting: the new file is the old one with whole lines taken away. The
// check is on the units, not on the lines of the new file: a kept line that
// ends in a lone CR before a kept empty LF line reads as one CR LF line.
void ExpectLinesOnlyRemoved(const std::string &before, const std::string &after) {
  const std::u16string now = Units(after);
  // Where in the new file a prefix of the old lines, some left out, can end.
  std::vector<size_t> ends = {0};
  for (const std::u16string &line : Lines(before)) {
    const size_t known = ends.size();
    for (size_t i = 0; i < known; ++i) {
      const size_t at = ends[i];
      if (at + line.size() <= now.size() && now.compare(at, line.size(), line) == 0)
        ends.push_back(at + line.size());
    }
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
  }
  if (!std::binary_search(ends.begin(), ends.end(), now.size())) {
    Show("before", before);
    Show("after", after);
    Fail("deleting changed or added a line");
  }
}

std::u16string Pick(FuzzedDataProvider &input, const char *alphabet, size_t longest) {
  std::u16string text;
  size_t length = input.ConsumeIntegralInRange<size_t>(0, longest);
  const size_t letters = std::char_traits<char>::length(alphabet);
  for (size_t i = 0; i < length; ++i)
    text += static_cast<char16_t>(alphabet[input.ConsumeIntegralInRange<size_t>(0, letters - 1)]);
  return text;
}

// Names and values that read back as written: no blanks at their ends, no
// quotes around them, no '=' in a key or ']' in a section.
std::u16string Name(FuzzedDataProvider &input) {
  std::u16string name = u"n" + Pick(input, "abAB1_ .", 3);
  while (name.back() == u' ') name.pop_back();
  return name;
}

std::u16string Value(FuzzedDataProvider &input) {
  std::u16string value = Pick(input, "xyZ0=;[]#\\", 8);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider input(data, size);
  WriteFile(input.ConsumeRandomLengthString(4096));
  const LPCWSTR file = File().path.c_str();

  for (int step = 0; step < 8 && input.remaining_bytes() > 0; ++step) {
    const std::u16string section = Name(input), key = Name(input);
    const std::string before = ReadFile();
    switch (input.ConsumeIntegralInRange<int>(0, 6)) {
      case 0: {
        const std::u16string value = Value(input);
        if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file))
          Fail("a value could not be set");
        WCHAR read[64] = {0};
        DWORD got = GetPrivateProfileStringW(section.c_str(), key.c_str(), u"-", read, 64, file);
        if (std::u16string(read, got) != value) Fail("a value set does not read back");
        ExpectOneLineChanged(before, ReadFile());
        break;
      }
      case 1:
        if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, file))
          Fail("a key could not be deleted");
        ExpectLinesOnlyRemoved(before, ReadFile());
        break;
      case 2:
        if (!WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, file))
          Fail("a section could not be deleted");
        ExpectLinesOnlyRemoved(before, ReadFile());
        break;
      case 3: {
        DWORD units = input.ConsumeIntegralInRange<DWORD>(1, 64);
        std::vector<WCHAR> buffer(units);
        DWORD got = input.ConsumeBool()
                        ? GetPrivateProfileSectionNamesW(buffer.data(), units, file)
                        : GetPrivateProfileSectionW(section.c_str(), buffer.data(), units, file);
        if (got >= units) Fail("a list call reported more units than its buffer holds");
        break;
      }
      case 4: {
        DWORD units = input.ConsumeIntegralInRange<DWORD>(1, 32);
        std::vector<WCHAR> buffer(units);
        DWORD got = GetPrivateProfileStringW(section.c_str(), key.c_str(), u"dflt", buffer.data(),
                                             units, file);
        if (got >= units) Fail("a read reported more units than its buffer holds");
        if (buffer[got] != 0) Fail("a read left its text unterminated");
        GetPrivateProfileIntW(section.c_str(), key.c_str(), 7, file);
        break;
      }
      case 5: {
        std::string bytes = input.ConsumeRandomLengthString(16);
        if (!WritePrivateProfileStructW(section.c_str(), key.c_str(), bytes.data(),
                                        static_cast<UINT>(bytes.size()), file))
          Fail("a structure could not be written");
        std::string back(bytes.size(), '\0');
        if (!GetPrivateProfileStructW(section.c_str(), key.c_str(), back.data(),
                                      static_cast<UINT>(back.size()), file) ||
            back != bytes)
          Fail("a structure written does not read back");
        ExpectOneLineChanged(before, ReadFile());
        break;
      }
      default: {
        // Two calls in a row with nothing between them give the same.
        WCHAR first[128], second[128];
        DWORD a = GetPrivateProfileSectionW(section.c_str(), first, 128, file);
        DWORD b = GetPrivateProfileSectionW(section.c_str(), second, 128, file);
        if (a != b || std::u16string(first, a) != std::u16string(second, b))
          Fail("reading twice gave two answers");
        break;
      }
    }
  }
  return 0;
}
