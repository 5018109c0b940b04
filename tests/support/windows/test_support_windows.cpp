// Test helpers on Windows and Wine.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_support.h"
#include "support/windows/breakpoint_step.h"

namespace testing_support {

Platform CurrentPlatform() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr)
    return Platform::Wine;
  return Platform::Windows;
}

const char *AsWineSuperUser(const char *reason) {
  if (CurrentPlatform() != Platform::Wine) return nullptr;
  // Wine's user is the host's, by name.
  WCHAR name[64] = {0};
  DWORD size = 64;
  if (!GetUserNameW(name, &size)) return nullptr;
  return lstrcmpW(name, L"root") == 0 ? reason : nullptr;
}

TempDir::TempDir() {
  static LONG counter = 0;
  WCHAR base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (int attempt = 0; attempt < 100; ++attempt) {
    WString candidate = WString(base) + L"addbar-test-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-" + std::to_wstring(InterlockedIncrement(&counter));
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      m_path = candidate;
      return;
    }
  }
  ADD_FAILURE() << "can't make a temporary folder";
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Read-only files would stop the removal.
  for (auto &entry : std::filesystem::recursive_directory_iterator(m_path, ignored))
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(m_path, ignored);
}

WString TempDir::File(const WString &name) const { return m_path + L"\\" + name; }

bool FileExists(const WString &path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const WString &path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

void WriteBytes(const WString &path, const std::string &bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "can't write " << Narrow(path);
    return;
  }
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void MakeReadOnly(const WString &path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

void MakeWritable(const WString &path) { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); }

// Wine's CreateSymbolicLinkW may report success and make nothing: the link
// counts as made only when it is there.
bool MakeFolderLink(const WString &link, const WString &target) {
  return CreateSymbolicLinkW(
             link.c_str(), target.c_str(),
             SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0 &&
         GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ScopedEnvironment::ScopedEnvironment(const char *name, const char *value) : m_name(name) {
  char old[32768];
  DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
  m_hadValue = length > 0 && length < sizeof old;
  if (m_hadValue) m_oldValue.assign(old, length);
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  SetEnvironmentVariableA(m_name.c_str(), m_hadValue ? m_oldValue.c_str() : nullptr);
}

ScopedRegistry::ScopedRegistry() : m_environment(nullptr) {
  static LONG counter = 0;
  m_basePath = L"Software\\addbar-tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(InterlockedIncrement(&counter));
  RegDeleteTreeW(HKEY_CURRENT_USER, m_basePath.c_str());
}

ScopedRegistry::~ScopedRegistry() { RegDeleteTreeW(HKEY_CURRENT_USER, m_basePath.c_str()); }

namespace {

bool g_broke = false;
std::string *g_output = nullptr;

const DWORD kPrintException = 0x40010006;      // debugger output, ANSI text
const DWORD kPrintExceptionWide = 0x4001000A;  // debugger output, UTF-16 text

LONG CALLBACK OnException(EXCEPTION_POINTERS *info) {
  EXCEPTION_RECORD *record = info->ExceptionRecord;
  if (record->ExceptionCode == EXCEPTION_BREAKPOINT) {
    g_broke = true;
    StepPastBreakpoint(info->ContextRecord);
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  if (record->ExceptionCode == kPrintExceptionWide && g_output != nullptr &&
      record->NumberParameters >= 2) {
    *g_output += Narrow(reinterpret_cast<const WCHAR *>(record->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  if (record->ExceptionCode == kPrintException && g_output != nullptr &&
      record->NumberParameters >= 2) {
    *g_output += reinterpret_cast<const char *>(record->ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugTrap CatchDebugBreak(void (*action)(void *), void *context) {
  std::string output;
  g_broke = false;
  g_output = &output;
  PVOID handler = AddVectoredExceptionHandler(1, OnException);
  action(context);
  RemoveVectoredExceptionHandler(handler);
  g_output = nullptr;
  return DebugTrap{g_broke, output};
}

}  // namespace testing_support
