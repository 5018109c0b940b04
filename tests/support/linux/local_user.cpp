#include "support/linux/local_user.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace testing_support {

namespace {

std::vector<char *> Pointers(std::vector<std::string> &texts) {
  std::vector<char *> pointers;
  for (std::string &text : texts) pointers.push_back(&text[0]);
  pointers.push_back(nullptr);
  return pointers;
}

// Runs a system command quietly: its exit code, or -1.
int RunCommand(std::vector<std::string> argv) {
  std::vector<char *> args = Pointers(argv);
  char *noEnvironment[] = {nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  int started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), noEnvironment);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (started != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

UserProcess::~UserProcess() {
  if (!m_ended) {
    kill(m_pid, SIGKILL);
    Finish();
  }
}

bool UserProcess::WriteLine(const std::string &line) {
  std::string text = line + "\n";
  return m_input >= 0 &&
         write(m_input, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

bool UserProcess::ReadLine(std::string &line) {
  line.clear();
  char unit;
  while (m_output >= 0 && read(m_output, &unit, 1) == 1) {
    if (unit == '\n') return true;
    line += unit;
  }
  return false;
}

int UserProcess::Finish(std::string *rest) {
  if (m_input >= 0) close(m_input);
  m_input = -1;
  char buffer[4096];
  ssize_t count;
  while (m_output >= 0 && (count = read(m_output, buffer, sizeof buffer)) > 0) {
    if (rest != nullptr) rest->append(buffer, static_cast<size_t>(count));
  }
  if (m_output >= 0) close(m_output);
  m_output = -1;
  int status = 0;
  bool reaped = waitpid(m_pid, &status, 0) == m_pid;
  m_ended = true;
  return reaped ? status : -1;
}

LocalUser::LocalUser(const std::string &role)
    : m_name("addbar-" + role + "-" + std::to_string(getpid())) {
  if (geteuid() != 0) return;
  std::string pattern =
      (std::filesystem::temp_directory_path() / "addbar-test-home-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return;
  m_home = pattern;
  if (RunCommand({"/usr/sbin/useradd", "--home-dir", m_home, "--no-create-home", "--user-group",
                  "--shell", "/usr/sbin/nologin", m_name}) != 0)
    return;
  const passwd *entry = getpwnam(m_name.c_str());
  m_made = entry != nullptr && chown(m_home.c_str(), entry->pw_uid, entry->pw_gid) == 0 &&
           chmod(m_home.c_str(), 0755) == 0;
  if (entry != nullptr) {
    m_uid = entry->pw_uid;
    m_gid = entry->pw_gid;
  }
}

LocalUser::~LocalUser() {
  if (geteuid() != 0) return;
  if (m_uid != 0) RunCommand({"/usr/sbin/userdel", m_name});
  std::error_code ignored;
  if (!m_home.empty()) std::filesystem::remove_all(m_home, ignored);
}

std::unique_ptr<UserProcess> LocalUser::Start(const std::vector<std::string> &argv,
                                              const std::vector<std::string> &environment) const {
  std::vector<std::string> texts = {"/usr/bin/setpriv", "--reuid=" + std::to_string(m_uid),
                                    "--regid=" + std::to_string(m_gid), "--init-groups", "--"};
  texts.insert(texts.end(), argv.begin(), argv.end());
  std::vector<std::string> variables = environment;
  std::vector<char *> args = Pointers(texts);
  std::vector<char *> envp = Pointers(variables);
  int input[2], output[2];
  if (pipe2(input, O_CLOEXEC) != 0) return nullptr;
  if (pipe2(output, O_CLOEXEC) != 0) {
    close(input[0]);
    close(input[1]);
    return nullptr;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);
  pid_t pid = -1;
  int started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(input[0]);
  close(output[1]);
  if (started != 0) {
    close(input[1]);
    close(output[0]);
    return nullptr;
  }
  return std::unique_ptr<UserProcess>(new UserProcess(pid, input[1], output[0]));
}

int LocalUser::Run(const std::vector<std::string> &argv,
                   const std::vector<std::string> &environment, std::string &output) const {
  std::unique_ptr<UserProcess> process = Start(argv, environment);
  if (process == nullptr) return -1;
  return process->Finish(&output);
}

}  // namespace testing_support
