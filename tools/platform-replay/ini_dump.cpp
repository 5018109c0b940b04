#include "ini_dump.h"

#include <vector>

#include "file_bytes.h"
#include "ini_layout.h"

namespace replay {

namespace {

// Large enough for every list and value the scenarios write (65,536 units
// and more).
const DWORD kListRoom = 1 << 18;

struct List {
  DWORD count = 0;
  std::vector<WString> strings;
};

// The strings of a list the calls filled: `count` units, each string ended
// by a null.
List SplitList(const std::vector<WCHAR> &buffer, DWORD count) {
  List list;
  list.count = count;
  size_t begin = 0;
  for (size_t at = 0; at < count && at < buffer.size(); ++at) {
    if (buffer[at] != 0) continue;
    list.strings.emplace_back(buffer.data() + begin, at - begin);
    begin = at + 1;
  }
  if (begin < count) list.strings.emplace_back(buffer.data() + begin, count - begin);
  return list;
}

std::string ListText(const List &list) {
  std::string text = Number(list.count);
  for (const WString &item : list.strings) text += " " + Quoted(item);
  return text;
}

List SectionNames(const WString &file) {
  std::vector<WCHAR> buffer(kListRoom);
  DWORD count = GetPrivateProfileSectionNamesW(buffer.data(), kListRoom, file.c_str());
  return SplitList(buffer, count);
}

List SectionLines(const WString &file, const WString &section) {
  std::vector<WCHAR> buffer(kListRoom);
  DWORD count = GetPrivateProfileSectionW(section.c_str(), buffer.data(), kListRoom, file.c_str());
  return SplitList(buffer, count);
}

List KeyNames(const WString &file, const WString &section) {
  std::vector<WCHAR> buffer(kListRoom);
  DWORD count = GetPrivateProfileStringW(section.c_str(), nullptr, TEXT(""), buffer.data(),
                                         kListRoom, file.c_str());
  return SplitList(buffer, count);
}

std::string ValueText(const WString &file, const WString &section, const WString &key) {
  std::vector<WCHAR> buffer(kListRoom);
  DWORD count = GetPrivateProfileStringW(section.c_str(), key.c_str(), TEXT("(default)"),
                                         buffer.data(), kListRoom, file.c_str());
  return Number(count) + " " + Quoted(WString(buffer.data(), count < kListRoom ? count : 0));
}

}  // namespace

void DumpIniFile(Replay &replay, const WString &file, const std::string &label) {
  std::string bytes;
  if (!ReadFileBytes(file.c_str(), bytes)) {
    replay.Record(label + "raw", "no file");
  } else {
    for (const LayoutRecord &record : DescribeIniBytes(bytes)) {
      replay.Record(label + record.topic, record.content);
    }
  }

  const List names = SectionNames(file);
  replay.Record(label + "read names", ListText(names));
  for (size_t i = 0; i < names.strings.size(); ++i) {
    const WString &section = names.strings[i];
    const std::string topic = label + "read sect." + Number(i + 1);
    replay.Record(topic + " lines", ListText(SectionLines(file, section)));
    const List keys = KeyNames(file, section);
    replay.Record(topic + " keys", ListText(keys));
    for (size_t k = 0; k < keys.strings.size(); ++k) {
      replay.Record(topic + " key." + Number(k + 1), ValueText(file, section, keys.strings[k]));
    }
  }
}

}  // namespace replay
