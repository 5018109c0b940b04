// Background programs on Windows: CreateProcessW with standard output in a
// file; the stand-in file manager's toolbar read through its window.
#include <windows.h>

#include <commctrl.h>

#include "drivebar_e2e/background_program.h"

namespace {

WString Quoted(const WString &argument) {
  bool plain = !argument.empty() && argument.find_first_of(L" \t") == WString::npos;
  return plain ? argument : L"\"" + argument + L"\"";
}

HWND FileManagerToolbar() {
  HWND frame = FindWindowW(nullptr, L"vantrove_CommPort");
  if (frame == nullptr) return nullptr;
  return FindWindowExW(frame, nullptr, TOOLBARCLASSNAMEW, nullptr);
}

}  // namespace

struct BackgroundProgram::Process {
  PROCESS_INFORMATION info = {};
};

BackgroundProgram::BackgroundProgram(const WString &program, const std::vector<WString> &arguments)
    : m_outputFile(m_folder.File("output.txt")), m_process(new Process()) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE output =
      CreateFileW(m_outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  WString commandLine = Quoted(program);
  for (const WString &argument : arguments) commandLine += L" " + Quoted(argument);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = output;
  startup.hStdError = output;
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &m_process->info)) {
    m_process->info = PROCESS_INFORMATION();
  }
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
}

BackgroundProgram::~BackgroundProgram() {
  if (m_process->info.hProcess == nullptr) return;
  if (WaitForSingleObject(m_process->info.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process->info.hProcess, 1);
    WaitForSingleObject(m_process->info.hProcess, 10000);
  }
  CloseHandle(m_process->info.hThread);
  CloseHandle(m_process->info.hProcess);
}

bool BackgroundProgram::Started() const { return m_process->info.hProcess != nullptr; }

bool BackgroundProgram::WaitForExit(DWORD timeoutMs, DWORD &exitCode) {
  if (!Started() || WaitForSingleObject(m_process->info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    return false;
  }
  return GetExitCodeProcess(m_process->info.hProcess, &exitCode) != FALSE;
}

bool FileManagerShowsToolbar() { return true; }

int ShownButtonCount() {
  HWND toolbar = FileManagerToolbar();
  if (toolbar == nullptr) return -1;
  return static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
}

int ShownButtonIndex(DWORD commandId) {
  HWND toolbar = FileManagerToolbar();
  if (toolbar == nullptr) return -1;
  return static_cast<int>(SendMessageW(toolbar, TB_COMMANDTOINDEX, commandId, 0));
}

bool SetWindowFolderWritable(bool) { return false; }
