// Process and system facts: start-up record, module, version, ids, exit.
#include <windows.h>

#include <limits.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "common/host_path.h"

#define ERROR_MOD_NOT_FOUND 126L

namespace {
// Any fixed non-null value: the program has one module, its executable.
HMODULE const kExecutableModule = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x400000));
}  // namespace

void WINAPI GetStartupInfoW(LPSTARTUPINFOW lpStartupInfo) {
  std::memset(lpStartupInfo, 0, sizeof *lpStartupInfo);
  lpStartupInfo->cb = sizeof *lpStartupInfo;
  // A Linux process is not started with a show command.
  lpStartupInfo->dwFlags = 0;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  if (lpModuleName == nullptr) return kExecutableModule;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  if (hModule != nullptr && hModule != kExecutableModule) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  char host[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", host, sizeof host - 1);
  if (length < 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  host[length] = '\0';
  standin::WString path = standin::FromHostPath(host);
  if (nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // As Windows since Vista: a path that doesn't fit is cut, still terminated,
  // and the call returns the buffer size with ERROR_INSUFFICIENT_BUFFER.
  if (path.size() >= nSize) {
    std::memcpy(lpFilename, path.data(), (nSize - 1) * sizeof(WCHAR));
    lpFilename[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.data(), path.size() * sizeof(WCHAR));
  lpFilename[path.size()] = 0;
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.size());
}

void WINAPI ExitProcess(UINT uExitCode) {
  std::fflush(nullptr);
  // The host keeps only the low 8 bits of the code. A code beyond them (the
  // length of a long error text) becomes 255, which no success has, instead
  // of wrapping to whatever it would read as: 316 would be "done"'s 60.
  std::exit(uExitCode <= 255 ? static_cast<int>(uExitCode) : 255);
}

// The stand-in reports Windows 10 (version 10.0, build 19045), as Windows does
// to a program whose manifest declares it supported.
static void FillVersion(DWORD &major, DWORD &minor, DWORD &build, DWORD &platform) {
  major = 10;
  minor = 0;
  build = 19045;
  platform = VER_PLATFORM_WIN32_NT;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
  if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  FillVersion(info->dwMajorVersion, info->dwMinorVersion, info->dwBuildNumber, info->dwPlatformId);
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
  if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  FillVersion(info->dwMajorVersion, info->dwMinorVersion, info->dwBuildNumber, info->dwPlatformId);
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

DWORD WINAPI GetCurrentThreadId(void) { return static_cast<DWORD>(syscall(SYS_gettid)); }

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

void WINAPI Sleep(DWORD dwMilliseconds) {
  struct timespec remaining;
  remaining.tv_sec = dwMilliseconds / 1000;
  remaining.tv_nsec = static_cast<long>(dwMilliseconds % 1000) * 1000000L;
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}
