// Running a program on Windows and Wine: its message boxes are the dialog
// windows it owns; the runner reads them and presses the answer's button.
#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "support/program_runner.h"

namespace testing_support {

namespace {

const WCHAR kDialogClass[] = L"#32770";
const int kBoxTextId = 0xFFFF;  // the static control that holds a box's text
// The box has just answered its text: asking for its default button is quick.
const UINT kDefaultButtonWaitMs = 10000;
// How often the runner looks for new boxes while the program runs.
const DWORD kPollMs = 20;

// The program splits its command line without escapes: a token is quoted
// when it is empty or holds white space, and then ends at the next quote.
WString Quoted(const WString &argument) {
  bool plain = !argument.empty();
  for (WCHAR unit : argument) plain = plain && !iswspace(unit);
  return plain ? argument : L"\"" + argument + L"\"";
}

WString CommandLineOf(const ProgramRequest &request) {
  if (request.useRawCommandLine) return request.rawCommandLine;
  WString line = Quoted(request.program);
  for (const WString &argument : request.arguments) line += L" " + Quoted(argument);
  return line;
}

bool SameName(const WString &a, const WString &b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The test's environment with the request's variables added or replaced, as
// a block of "name=value" texts ending with an empty one.
std::vector<WCHAR> EnvironmentBlock(const ProgramRequest &request) {
  std::vector<std::pair<WString, WString>> added;
  for (const auto &variable : request.environment)
    added.emplace_back(Wide(variable.first), Wide(variable.second));

  std::vector<WString> entries;
  LPWCH current = GetEnvironmentStringsW();
  for (LPCWCH entry = current; entry != nullptr && *entry != 0; entry += lstrlenW(entry) + 1) {
    WString text(entry);
    // Entries such as "=C:=C:\" name a drive's folder: the name starts after the first unit.
    WString name = text.substr(0, text.find(L'=', 1));
    bool replaced = false;
    for (const auto &variable : added) replaced = replaced || SameName(variable.first, name);
    if (!replaced) entries.push_back(text);
  }
  if (current != nullptr) FreeEnvironmentStringsW(current);
  for (const auto &variable : added) entries.push_back(variable.first + L"=" + variable.second);

  std::vector<WCHAR> block;
  for (const WString &entry : entries) {
    block.insert(block.end(), entry.begin(), entry.end());
    block.push_back(0);
  }
  block.push_back(0);
  return block;
}

struct DialogSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
  DialogSearch &search = *reinterpret_cast<DialogSearch *>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  WCHAR className[16] = {0};
  if (owner == search.processId && IsWindowVisible(window) &&
      GetClassNameW(window, className, 16) > 0 && lstrcmpW(className, kDialogClass) == 0)
    search.found.push_back(window);
  return TRUE;
}

// The text of a control in another process: WM_GETTEXT is carried across,
// GetWindowTextW would not ask the control. The owning thread answers only
// when it next looks at its messages, which a program that sat in Sleep
// before showing its box may not do at once. So the wait lasts up to
// `waitMs`, and it is not cut short as "hung": Wine counts a thread that has
// not looked for five seconds as hung, and the text would come back empty.
bool ControlText(HWND control, UINT waitMs, WString &text) {
  DWORD_PTR length = 0;
  if (control == nullptr ||
      !SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, waitMs, &length))
    return false;
  std::vector<WCHAR> buffer(length + 1, 0);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL, waitMs, &copied))
    return false;
  text.assign(buffer.data(), std::min<size_t>(copied, length));
  return true;
}

// False when the box could not be read (yet): it is read again at the next look.
bool ReadBox(HWND dialog, UINT waitMs, ShownBox &box) {
  int length = GetWindowTextLengthW(dialog);
  std::vector<WCHAR> caption(length + 1, 0);
  GetWindowTextW(dialog, caption.data(), length + 1);
  box.caption = caption.data();
  return ControlText(GetDlgItem(dialog, kBoxTextId), waitMs, box.text);
}

// With no answer left, the box's default button is pressed, as Enter would.
int ButtonToPress(HWND dialog, const ProgramRequest &request, size_t boxIndex) {
  if (boxIndex < request.answers.size())
    return request.answers[boxIndex] == BoxAnswer::Ok ? IDOK : IDCANCEL;
  DWORD_PTR defaultId = 0;
  if (SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_NORMAL, kDefaultButtonWaitMs,
                          &defaultId) &&
      HIWORD(defaultId) == DC_HASDEFID)
    return LOWORD(defaultId);
  return IDOK;
}

}  // namespace

ProgramRun RunProgram(const ProgramRequest &request) {
  ProgramRun run;
  WString commandLine = CommandLineOf(request);
  std::vector<WCHAR> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(0);
  std::vector<WCHAR> environment = EnvironmentBlock(request);

  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  ZeroMemory(&process, sizeof process);
  if (!CreateProcessW(request.program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, environment.data(),
                      request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str(),
                      &startup, &process)) {
    run.failure =
        "can't start " + Narrow(request.program) + ": error " + std::to_string(GetLastError());
    return run;
  }
  CloseHandle(process.hThread);

  ULONGLONG deadline = GetTickCount64() + request.timeoutMs;
  std::vector<HWND> answered;
  for (;;) {
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) break;
    if (GetTickCount64() >= deadline) {
      TerminateProcess(process.hProcess, 0xDEAD);
      WaitForSingleObject(process.hProcess, 10000);
      run.failure = "no end within " + std::to_string(request.timeoutMs) + " ms; terminated";
      break;
    }
    DialogSearch search{process.dwProcessId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    // Windows that are gone can't come back; their handles may be reused.
    answered.erase(std::remove_if(answered.begin(), answered.end(),
                                  [](HWND window) { return !IsWindow(window); }),
                   answered.end());
    for (HWND dialog : search.found) {
      if (std::find(answered.begin(), answered.end(), dialog) != answered.end()) continue;
      ULONGLONG now = GetTickCount64();
      ShownBox box;
      if (now >= deadline || !ReadBox(dialog, static_cast<UINT>(deadline - now), box)) continue;
      run.boxes.push_back(box);
      int button = ButtonToPress(dialog, request, run.boxes.size() - 1);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
      answered.push_back(dialog);
    }
  }
  if (run.failure.empty()) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.ended = true;
    run.exitCode = code;
  }
  CloseHandle(process.hProcess);
  return run;
}

DWORD ObservableExitCode(int code) { return static_cast<DWORD>(code); }

WString BuiltProgram(const char *hostPath) {
  WString path = Wide(hostPath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  // Wine shows the host's root as drive Z:.
  if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
  return path;
}

WString PathAsProgramSees(const WString &path) { return path; }

bool CopyProgram(const WString &from, const WString &to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

WString ProgramFileName(const WString &name) { return name + L".exe"; }

ScopedProgramRegistry::ScopedProgramRegistry(const WString &keyPath)
    : m_keyPath(keyPath), m_environment(nullptr) {
  RegDeleteTreeW(HKEY_CURRENT_USER, m_keyPath.c_str());
}

ScopedProgramRegistry::~ScopedProgramRegistry() {
  RegDeleteTreeW(HKEY_CURRENT_USER, m_keyPath.c_str());
}

}  // namespace testing_support
