// Background programs on Linux: posix_spawn with standard output in a file.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "drivebar_e2e/background_program.h"
#include "support/linux/child_wait.h"

extern char **environ;

using testing_support::Narrow;

struct BackgroundProgram::Process {
  pid_t pid = -1;
  bool ended = false;
  int status = 0;
};

BackgroundProgram::BackgroundProgram(const WString &program, const std::vector<WString> &arguments)
    : m_outputFile(m_folder.File("output.txt")), m_process(new Process()) {
  std::vector<std::string> texts = {Narrow(program)};
  for (const WString &argument : arguments) texts.push_back(Narrow(argument));
  std::vector<char *> argv;
  for (std::string &text : texts) argv.push_back(&text[0]);
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, Narrow(m_outputFile).c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (posix_spawn(&m_process->pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    m_process->pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
}

bool BackgroundProgram::Started() const { return m_process->pid > 0; }

bool BackgroundProgram::WaitForExit(DWORD timeoutMs, DWORD &exitCode) {
  if (!Started()) return false;
  if (!m_process->ended) {
    int limit = static_cast<int>(std::min<DWORD>(timeoutMs, INT_MAX));
    if (!testing_support::WaitForChildEnd(m_process->pid, limit, m_process->status)) return false;
    m_process->ended = true;
  }
  exitCode = WIFEXITED(m_process->status) ? static_cast<DWORD>(WEXITSTATUS(m_process->status))
                                          : 0xFFFFFFFF;
  return true;
}

// A program still running when the test is done with it is killed.
BackgroundProgram::~BackgroundProgram() {
  if (m_process->pid <= 0 || m_process->ended) return;
  kill(m_process->pid, SIGKILL);
  waitpid(m_process->pid, &m_process->status, 0);
}

bool FileManagerShowsToolbar() { return false; }
int ShownButtonCount() { return -1; }
int ShownButtonIndex(DWORD) { return -1; }

bool SetWindowFolderWritable(bool writable) {
  const char *folder = std::getenv("ADDBAR_WINDOWS");
  return folder != nullptr && chmod(folder, writable ? 0700 : 0500) == 0;
}
