// The single calls the settings store makes, timed on one large store: a read
// of an existing value, a write of a new one and an enumeration step, next to
// the floor of the same store (reading it once, one durable rewrite). Built
// for Linux on the stand-in and for Windows, where under Wine the same source
// times Wine's own calls.
//
//   ADDBAR_BENCH_STORE=<store file> ADDBAR_BENCH_WORK=<folder> calls_bench
//
// The store's kind follows its name: *.ini is an INI file, *.reg a registry
// store (under Wine, imported into HKEY_CURRENT_USER beforehand). The store
// is copied into the work folder first; writes change only the copy.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "bench_support.h"

namespace {

const WCHAR kToolbars[] = TEXT("vantrove_UC\\MainFrame Settings\\Toolbars");
const WCHAR kFavorites[] = TEXT("vantrove_UC.global\\Favorites");
const WCHAR kBase[] = TEXT("Software\\Harrowmede Plc\\");

struct Store {
  std::string original;  // as given
  std::string copy;      // the one the calls use
  std::string label;     // file name without its folder
  bool ini = false;
  WCHAR iniPath[MAX_PATH] = {0};
};

Store g_store;
bool g_failed = false;
double g_slowMinTime = 0.2;  // seconds; ADDBAR_BENCH_QUICK=1 makes it 0.01

void Fail(benchmark::State &state, const char *why) {
  g_failed = true;
  state.SkipWithError(why);
}

std::string Variable(const char *name) {
  const char *value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string Slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// A fresh copy before each benchmark, so writes of one don't grow the next.
bool FreshCopy(benchmark::State &state) {
  if (bench::CopyStore(g_store.original, g_store.copy)) return true;
  Fail(state, "cannot copy the store");
  return false;
}

HKEY OpenKey(const WCHAR *path, REGSAM access) {
  WCHAR full[MAX_PATH];
  lstrcpynW(full, kBase, MAX_PATH);
  lstrcpynW(full + lstrlenW(full), path, MAX_PATH - lstrlenW(full));
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, full, 0, access, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

// ---- INI file ----------------------------------------------------------------

void IniRead(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  WCHAR value[64];
  for (auto _ : state) {
    DWORD got = GetPrivateProfileStringW(kToolbars, TEXT("nToolbars"), TEXT(""), value, 64,
                                         g_store.iniPath);
    if (got == 0) Fail(state, "nToolbars not found");
  }
}

void IniWriteNew(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  WCHAR name[32];
  int number = 0;
  for (auto _ : state) {
    wsprintfW(name, TEXT("B%05d"), number++);
    if (!WritePrivateProfileStringW(kFavorites, name, TEXT("C:\\"), g_store.iniPath))
      Fail(state, "write failed");
  }
}

// The listings the settings store enumerates from: the entries of one
// section (its values) and every section name (its sub-keys).
void IniEnumValues(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  static WCHAR listing[1 << 15];
  for (auto _ : state) {
    if (GetPrivateProfileSectionW(kFavorites, listing, 1 << 15, g_store.iniPath) == 0)
      Fail(state, "Favorites not found");
  }
}

void IniEnumSections(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  static WCHAR listing[1 << 15];
  for (auto _ : state) {
    if (GetPrivateProfileSectionNamesW(listing, 1 << 15, g_store.iniPath) == 0)
      Fail(state, "no sections");
  }
}

// ---- Registry ----------------------------------------------------------------

void RegRead(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  HKEY key = OpenKey(kToolbars, KEY_READ);
  if (key == nullptr) return Fail(state, "Toolbars key not found");
  for (auto _ : state) {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, TEXT("nToolbars"), nullptr, &type, reinterpret_cast<BYTE *>(&value),
                         &size) != ERROR_SUCCESS)
      Fail(state, "nToolbars not found");
  }
  RegCloseKey(key);
}

void RegWriteNew(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  HKEY key = OpenKey(kFavorites, KEY_READ | KEY_WRITE);
  if (key == nullptr) return Fail(state, "Favorites key not found");
  WCHAR name[32];
  static const WCHAR kRoot[] = TEXT("C:\\");
  int number = 0;
  for (auto _ : state) {
    wsprintfW(name, TEXT("B%05d"), number++);
    if (RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(kRoot), sizeof kRoot) !=
        ERROR_SUCCESS)
      Fail(state, "write failed");
  }
  // Under Wine the values stay in the registry: take them out again.
  for (int i = 0; i < number; ++i) {
    wsprintfW(name, TEXT("B%05d"), i);
    RegDeleteValueW(key, name);
  }
  RegCloseKey(key);
}

void RegEnumValues(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  HKEY key = OpenKey(kFavorites, KEY_READ);
  if (key == nullptr) return Fail(state, "Favorites key not found");
  DWORD index = 0;
  for (auto _ : state) {
    WCHAR name[256];
    DWORD length = 256;
    if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != 0) {
      index = 0;
    } else {
      ++index;
    }
  }
  RegCloseKey(key);
}

void RegEnumKeys(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  HKEY key = OpenKey(kToolbars, KEY_READ);
  if (key == nullptr) return Fail(state, "Toolbars key not found");
  DWORD index = 0;
  for (auto _ : state) {
    WCHAR name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != 0) {
      index = 0;
    } else {
      ++index;
    }
  }
  RegCloseKey(key);
}

// ---- Floor ------------------------------------------------------------------

void FloorRead(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  for (auto _ : state) benchmark::DoNotOptimize(bench::ReadOnce(g_store.copy));
}

void FloorRewrite(benchmark::State &state) {
  if (!FreshCopy(state)) return;
  const std::string bytes = Slurp(g_store.copy);
  for (auto _ : state) {
    if (!bench::DurableRewrite(g_store.copy, bytes)) Fail(state, "rewrite failed");
  }
}

void Register(const char *call, void (*function)(benchmark::State &), bool slow) {
  auto *bench = benchmark::RegisterBenchmark((g_store.label + "/" + call).c_str(), function);
  bench->Unit(slow ? benchmark::kMillisecond : benchmark::kMicrosecond);
  // Each write is a durable rewrite of the whole file: a few are enough.
  if (slow) bench->MinTime(g_slowMinTime);
}

}  // namespace

int main(int argc, char **argv) {
  g_store.original = Variable("ADDBAR_BENCH_STORE");
  const std::string work = Variable("ADDBAR_BENCH_WORK");
  if (g_store.original.empty() || work.empty()) {
    std::fprintf(stderr,
                 "set ADDBAR_BENCH_STORE (a store file) and ADDBAR_BENCH_WORK (a folder)\n");
    return 2;
  }
  const size_t slash = g_store.original.find_last_of("/\\");
  if (Variable("ADDBAR_BENCH_QUICK") == "1") g_slowMinTime = 0.01;
  g_store.label = g_store.original.substr(slash == std::string::npos ? 0 : slash + 1);
  const char separator = work.find('\\') != std::string::npos ? '\\' : '/';
  g_store.copy = work + separator + g_store.label;
  g_store.ini =
      g_store.label.size() > 4 && g_store.label.substr(g_store.label.size() - 4) == ".ini";
  for (size_t i = 0; i < g_store.copy.size() && i + 1 < MAX_PATH; ++i)
    g_store.iniPath[i] = static_cast<WCHAR>(static_cast<unsigned char>(g_store.copy[i]));

  if (g_store.ini) {
    Register("read", IniRead, false);
    Register("write-new", IniWriteNew, true);
    Register("enum-values", IniEnumValues, false);
    Register("enum-sections", IniEnumSections, false);
  } else {
    bench::UseRegistryStore(g_store.copy);
    Register("read", RegRead, false);
    Register("write-new", RegWriteNew, true);
    Register("enum-values", RegEnumValues, false);
    Register("enum-keys", RegEnumKeys, false);
  }
  Register("floor-read", FloorRead, false);
  Register("floor-rewrite", FloorRewrite, true);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
