// Running a program on the Linux stand-in: its message boxes come back on
// its standard error, their answers go in through ADDBAR_ANSWERS.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/linux/ui/box_report.h"
#include "support/linux/child_wait.h"
#include "support/program_runner.h"

extern char **environ;

namespace testing_support {

namespace {

// The stand-in takes the whole command line from here instead of argv.
const char kCommandLineVariable[] = "ADDBAR_COMMAND_LINE";
const char kAnswersVariable[] = "ADDBAR_ANSWERS";

long long NowMs() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

std::string NameOf(const std::string &entry) { return entry.substr(0, entry.find('=')); }

std::vector<std::string> ChildEnvironment(const ProgramRequest &request) {
  std::vector<std::pair<std::string, std::string>> added = request.environment;
  if (!request.answers.empty()) {
    std::string list;
    for (BoxAnswer answer : request.answers) {
      if (!list.empty()) list += ',';
      list += answer == BoxAnswer::Ok ? "ok" : "cancel";
    }
    added.emplace_back(kAnswersVariable, list);
  }
  if (request.useRawCommandLine)
    added.emplace_back(kCommandLineVariable, Narrow(request.rawCommandLine));

  std::vector<std::string> entries;
  for (char **entry = environ; *entry != nullptr; ++entry) {
    std::string name = NameOf(*entry);
    // The test's own settings of these must not leak into the program.
    bool replaced = name == kAnswersVariable || name == kCommandLineVariable;
    for (const auto &variable : added) replaced = replaced || variable.first == name;
    if (!replaced) entries.push_back(*entry);
  }
  for (const auto &variable : added) entries.push_back(variable.first + "=" + variable.second);
  return entries;
}

std::vector<char *> Pointers(std::vector<std::string> &texts) {
  std::vector<char *> pointers;
  for (std::string &text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Reads the child's output until it closes its end or the deadline passes.
bool ReadUntilClosed(int fd, long long deadline, std::string &output) {
  char chunk[4096];
  for (;;) {
    long long left = deadline - NowMs();
    if (left <= 0) return false;
    struct pollfd wanted = {fd, POLLIN, 0};
    int ready = poll(&wanted, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return true;
    output.append(chunk, static_cast<size_t>(got));
  }
}

bool WaitUntil(pid_t pid, long long deadline, int &status) {
  long long left = deadline - NowMs();
  return WaitForChildEnd(pid, left > 0 ? static_cast<int>(left) : 0, status);
}

}  // namespace

ProgramRun RunProgram(const ProgramRequest &request) {
  ProgramRun run;
  std::vector<std::string> argumentTexts{Narrow(request.program)};
  if (!request.useRawCommandLine) {
    for (const WString &argument : request.arguments) argumentTexts.push_back(Narrow(argument));
  }
  std::vector<std::string> environmentTexts = ChildEnvironment(request);
  std::vector<char *> argv = Pointers(argumentTexts);
  std::vector<char *> envp = Pointers(environmentTexts);

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    run.failure = std::string("can't make a pipe: ") + std::strerror(errno);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  std::string folder = Narrow(request.workingDirectory);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  pid_t pid = 0;
  int error =
      posix_spawn(&pid, argumentTexts[0].c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (error != 0) {
    close(pipeEnds[0]);
    run.failure = "can't start " + argumentTexts[0] + ": " + std::strerror(error);
    return run;
  }

  long long deadline = NowMs() + request.timeoutMs;
  std::string output;
  int status = 0;
  bool closed = ReadUntilClosed(pipeEnds[0], deadline, output);
  close(pipeEnds[0]);
  if (!closed || !WaitUntil(pid, deadline, status)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    run.failure = "no end within " + std::to_string(request.timeoutMs) + " ms; killed";
  } else if (WIFSIGNALED(status)) {
    run.failure = "ended by signal " + std::to_string(WTERMSIG(status));
  } else {
    run.ended = true;
    run.exitCode = static_cast<DWORD>(WEXITSTATUS(status));
  }
  for (const standin::BoxReport &box : standin::ParseBoxReports(output))
    run.boxes.push_back(ShownBox{box.caption, box.text});
  run.diagnostics = output;
  return run;
}

// Codes beyond the host's 8 bits arrive as 255 (see ExitProcess).
DWORD ObservableExitCode(int code) {
  DWORD whole = static_cast<DWORD>(code);
  return whole <= 255 ? whole : 255;
}

WString BuiltProgram(const char *hostPath) { return Wide(hostPath); }

WString PathAsProgramSees(const WString &path) {
  std::error_code ignored;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(Narrow(path), ignored);
  WString seen = Wide(resolved.empty() ? Narrow(path) : resolved.string());
  for (WCHAR &unit : seen) {
    if (unit == '/') unit = '\\';
  }
  return seen;
}

bool CopyProgram(const WString &from, const WString &to) {
  std::error_code error;
  std::filesystem::copy_file(Narrow(from), Narrow(to),
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) return false;
  std::filesystem::permissions(Narrow(to), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  return !error;
}

WString ProgramFileName(const WString &name) { return name; }

ScopedProgramRegistry::ScopedProgramRegistry(const WString &keyPath)
    : m_keyPath(keyPath),
      m_environment(new ScopedEnvironment("ADDBAR_REGISTRY",
                                          Narrow(m_folder.File("registry.reg")).c_str())) {}

ScopedProgramRegistry::~ScopedProgramRegistry() { delete m_environment; }

}  // namespace testing_support
