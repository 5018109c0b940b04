#include "robustness/robust_store.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/linux/folder_entries.h"

extern char **environ;

using testing_support::Narrow;
using testing_support::Wide;

namespace {

const char kRegistryHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";
const char kRegistryBase[] = "HKEY_CURRENT_USER\\Software\\Harrowmede Plc\\";
const char kCommentOfKey[] = ";addbar-key";

std::string Numbered(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%06d", number);
  return text;
}

// The same settings in both kinds, as the text of the file.
std::string IniText(size_t bytes) {
  std::string text;
  for (const char *layout : {"vantrove_UC", "vantrove_UC.work"}) {
    std::string toolbars = std::string(layout) + "\\MainFrame Settings\\Toolbars";
    text += "[" + toolbars + "]\r\nnToolbars=3\r\n";
    for (const char *toolbar : {"0_60159", "1_60160", "2_60161"}) {
      text += "[" + toolbars + "\\" + toolbar + "]\r\nbinState=1\r\nnButtons=4\r\n";
    }
    std::string global = std::string(layout) + ".global";
    text += "[" + global + "]\r\nnCustMenuIcons=2\r\n";
    text += "[" + global + "\\Favorites]\r\nHome=C:\\Users\r\nWork=D:\\Work\r\n";
  }
  // UTF-16: two bytes a unit.
  for (int folder = 0; text.size() * 2 < bytes; ++folder) {
    text += "[vantrove_UC\\Folders\\" + Numbered(folder) +
            "]\r\nview=details\r\nsort=name\r\ncolumns=name,size,date\r\n";
  }
  return text;
}

std::string RegistryText(size_t bytes) {
  std::string text = kRegistryHeader;
  const std::string base = kRegistryBase;
  for (const char *layout : {"vantrove_UC", "vantrove_UC.work"}) {
    std::string toolbars = base + layout + "\\MainFrame Settings\\Toolbars";
    text += "[" + toolbars + "]\r\n\"nToolbars\"=dword:00000003\r\n\r\n";
    for (const char *toolbar : {"0_60159", "1_60160", "2_60161"}) {
      text += "[" + toolbars + "\\" + toolbar +
              "]\r\n\"binState\"=dword:00000001\r\n\"nButtons\"=dword:00000004\r\n\r\n";
    }
  }
  // The registry has one global root, whatever the layout.
  std::string global = base + "vantrove_UC.global";
  text += "[" + global + "]\r\n\"nCustMenuIcons\"=dword:00000002\r\n\r\n";
  text +=
      "[" + global + "\\Favorites]\r\n\"Home\"=\"C:\\\\Users\"\r\n\"Work\"=\"D:\\\\Work\"\r\n\r\n";
  for (int folder = 0; text.size() * 2 < bytes; ++folder) {
    text +=
        "[" + base + "vantrove_UC\\Folders\\" + Numbered(folder) +
        "]\r\n\"view\"=\"details\"\r\n\"sort\"=\"name\"\r\n\"columns\"=\"name,size,date\"\r\n\r\n";
  }
  return text;
}

void WriteFile(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string FromUtf16(const std::string &bytes) {
  WString units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    units += static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]) |
                                static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return Narrow(units);
}

std::string NameOf(const std::string &entry) { return entry.substr(0, entry.find('=')); }

}  // namespace

RobustStore::RobustStore(RobustKind kind, size_t bytes)
    : m_kind(kind), m_folderPath(Narrow(m_folder.Path())) {
  m_file = m_folderPath + (kind == RobustKind::Registry ? "/registry.reg" : "/settings.ini");
  std::string text = kind == RobustKind::Registry ? RegistryText(bytes) : IniText(bytes);
  m_initial = testing_support::Utf16File(Wide(text));
  Reset();
}

void RobustStore::Reset() {
  for (const std::string &temporary : Temporaries()) unlink(temporary.c_str());
  WriteFile(m_file, m_initial);
}

std::string RobustStore::State() const {
  std::string bytes = ReadFileBytes(m_file);
  if (m_kind == RobustKind::Ini) return bytes;
  if (bytes.compare(0, 2, "\xFF\xFE") != 0) return "<not UTF-16>" + bytes;
  std::istringstream lines(FromUtf16(bytes));
  std::string state;
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, sizeof kCommentOfKey - 1, kCommentOfKey) != 0) state += line + "\n";
  }
  return state;
}

bool RobustStore::Parses() const {
  if (m_kind == RobustKind::Ini) {
    WCHAR probe[8];
    return GetPrivateProfileSectionW(Wide("vantrove_UC\\MainFrame Settings\\Toolbars").c_str(),
                                     probe, 8, Wide(m_file).c_str()) != 0;
  }
  testing_support::ScopedEnvironment store("ADDBAR_REGISTRY", m_file.c_str());
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(
      HKEY_CURRENT_USER,
      Wide("Software\\Harrowmede Plc\\vantrove_UC\\MainFrame Settings\\Toolbars").c_str(), 0,
      KEY_READ, &key);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

std::vector<std::string> RobustStore::Temporaries() const {
  // A write killed before its rename leaves <file>.addbar-tmp-XXXXXX.
  const std::string prefix = m_file.substr(m_folderPath.size() + 1) + ".addbar-tmp-";
  std::vector<std::string> found;
  for (const std::string &name : testing_support::FolderEntries(m_folderPath)) {
    if (name.compare(0, prefix.size(), prefix) == 0) found.push_back(m_folderPath + "/" + name);
  }
  return found;
}

std::vector<std::string> RobustStore::Options(const std::string &layout, bool throughLink) const {
  std::vector<std::string> options;
  if (m_kind == RobustKind::Ini && throughLink) {
    // <folder>/link is the folder itself.
    const std::string link = m_folderPath + "/link";
    if (symlink(".", link.c_str()) != 0 && errno != EEXIST) return {};
    options.push_back("/I:" + link + m_file.substr(m_folderPath.size()));
  } else if (m_kind == RobustKind::Ini) {
    options.push_back("/I:" + m_file);
  }
  if (!layout.empty()) options.push_back("/S:" + layout);
  return options;
}

Variables RobustStore::Environment(const std::string &drives) const {
  // The registry store is the folder's in both kinds, so that no run ever
  // reaches the user's; so is the session, and with it the store's mutex.
  return {{"ADDBAR_REGISTRY", m_folderPath + "/registry.reg"},
          {"ADDBAR_WINDOWS", m_folderPath + "/windows"},
          {"ADDBAR_DRIVES", drives}};
}

AddbarProcess::AddbarProcess(const std::vector<std::string> &options, const Variables &variables,
                             const std::string &errorFile) {
  std::vector<std::string> texts = {ADDBAR_PROGRAM_PATH};
  texts.insert(texts.end(), options.begin(), options.end());
  std::vector<std::string> entries;
  for (char **entry = environ; *entry != nullptr; ++entry) {
    std::string name = NameOf(*entry);
    bool replaced = name == "ADDBAR_ANSWERS" || name == "ADDBAR_COMMAND_LINE";
    for (const auto &variable : variables) replaced = replaced || variable.first == name;
    if (!replaced) entries.push_back(*entry);
  }
  for (const auto &variable : variables) entries.push_back(variable.first + "=" + variable.second);
  std::vector<char *> argv;
  for (std::string &text : texts) argv.push_back(&text[0]);
  argv.push_back(nullptr);
  std::vector<char *> envp;
  for (std::string &entry : entries) envp.push_back(&entry[0]);
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
  posix_spawn_file_actions_destroy(&actions);
}

AddbarProcess::~AddbarProcess() {
  if (Started() && !m_ended) {
    Kill();
    Wait();
  }
}

void AddbarProcess::Kill() {
  if (Started() && !m_ended) kill(m_pid, SIGKILL);
}

int AddbarProcess::Wait() {
  if (!Started()) return -1;
  while (!m_ended) {
    if (waitpid(m_pid, &m_status, 0) == m_pid)
      m_ended = true;
    else if (errno != EINTR)
      return -1;
  }
  return m_status;
}

bool EndedDone(int status, int buttons) {
  int length = 59 + static_cast<int>(std::to_string(buttons).size());
  return WIFEXITED(status) && WEXITSTATUS(status) == (length & 0xFF);
}

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return "exit code " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return std::string("signal ") + strsignal(WTERMSIG(status));
  return "status " + std::to_string(status);
}

std::string ReadFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

long long NowMs() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}
