// Local users made for one test: the victim whose files a test attacks and
// the attacker, as another user of a shared machine would be. Only the
// super-user can make users, so tests that need them skip otherwise.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// A process started as a local user, with its standard input and output
// (standard error included) on pipes of the test's. Killed if it still runs
// when the object goes.
class UserProcess {
 public:
  UserProcess(pid_t pid, int input, int output) : m_pid(pid), m_input(input), m_output(output) {}
  ~UserProcess();
  UserProcess(const UserProcess &) = delete;
  UserProcess &operator=(const UserProcess &) = delete;

  // Sends a line to its input.
  bool WriteLine(const std::string &line);
  // Reads its output up to the next line break; false when it ends first.
  bool ReadLine(std::string &line);
  // Closes its input, reads the rest of its output into `rest` and waits for
  // its end: the wait status, or -1 when it could not be waited for.
  int Finish(std::string *rest = nullptr);

 private:
  pid_t m_pid;
  int m_input;
  int m_output;
  bool m_ended = false;
};

class LocalUser {
 public:
  // Makes the user "addbar-<role>-<process id>" (useradd) with a home of its
  // own (mode 0755, as Debian makes homes) in the temporary folder; Made()
  // says whether it was made.
  explicit LocalUser(const std::string &role);
  // Removes the user (userdel) and the home with all in it.
  ~LocalUser();
  LocalUser(const LocalUser &) = delete;
  LocalUser &operator=(const LocalUser &) = delete;

  bool Made() const { return m_made; }
  uid_t Uid() const { return m_uid; }
  gid_t Gid() const { return m_gid; }
  const std::string &Home() const { return m_home; }

  // Starts `argv` as this user (setpriv, with the user's groups) with
  // exactly `environment` ("NAME=value" entries).
  std::unique_ptr<UserProcess> Start(const std::vector<std::string> &argv,
                                     const std::vector<std::string> &environment) const;
  // Runs `argv` to its end: its wait status, and what it wrote in `output`.
  int Run(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
          std::string &output) const;

 private:
  std::string m_name;
  std::string m_home;
  uid_t m_uid = 0;
  gid_t m_gid = 0;
  bool m_made = false;
};

}  // namespace testing_support
