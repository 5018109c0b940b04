// The plain file calls the settings store and the INI lookup rely on:
// CreateFileW, ReadFile, WriteFile, GetFileTime, GetFileAttributesW and
// FindFirstFileW.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

using testing_support::Narrow;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::Wide;
using testing_support::WriteBytes;

namespace {

// folder\a\b, with the separator the folder's own path uses.
WString Join(const TempDir &folder, const char *a, const char *b) {
  WString first = folder.File(a);
  return first + first.substr(folder.Path().size(), 1) + Wide(b);
}

struct OpenCase {
  const char *name;
  DWORD access;
  DWORD disposition;
  bool exists;
  bool opens;
  DWORD error;           // last error after the call
  const char *contents;  // the file's bytes afterwards; null = no file
};

void PrintTo(const OpenCase &c, std::ostream *out) { *out << c.name; }

class CreateFileDisposition : public testing::TestWithParam<OpenCase> {};

TEST_P(CreateFileDisposition, OpensCreatesOrFailsAsTheTableSays) {
  const OpenCase &c = GetParam();
  TempDir folder;
  WString path = folder.File("f.bin");
  if (c.exists) WriteBytes(path, "old");
  SetLastError(0xDEADBEEF);
  HANDLE file = CreateFileW(path.c_str(), c.access, 0, nullptr, c.disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD error = GetLastError();
  EXPECT_EQ(c.opens, file != INVALID_HANDLE_VALUE);
  EXPECT_EQ(c.error, error);
  if (file != INVALID_HANDLE_VALUE) {
    EXPECT_TRUE(CloseHandle(file));
  }
  if (c.contents == nullptr) {
    EXPECT_FALSE(testing_support::FileExists(path));
  } else {
    EXPECT_EQ(c.contents, ReadBytes(path));
  }
}

const DWORD kRead = GENERIC_READ, kWrite = GENERIC_WRITE;

INSTANTIATE_TEST_SUITE_P(
    Table, CreateFileDisposition,
    testing::Values(
        OpenCase{"OpenExisting", kRead, OPEN_EXISTING, true, true, 0, "old"},
        OpenCase{"OpenMissing", kRead, OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        OpenCase{"CreateNewMissing", kWrite, CREATE_NEW, false, true, 0, ""},
        OpenCase{"CreateNewExisting", kWrite, CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        OpenCase{"CreateAlwaysMissing", kWrite, CREATE_ALWAYS, false, true, 0, ""},
        OpenCase{"CreateAlwaysExisting", kWrite, CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS,
                 ""},
        OpenCase{"OpenAlwaysMissing", kRead, OPEN_ALWAYS, false, true, 0, ""},
        OpenCase{"OpenAlwaysExisting", kRead, OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        OpenCase{"TruncateExisting", kWrite, TRUNCATE_EXISTING, true, true, 0, ""},
        OpenCase{"TruncateMissing", kWrite, TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND,
                 nullptr},
        OpenCase{"NoDisposition", kRead, 0, true, false, ERROR_INVALID_PARAMETER, "old"}),
    [](const testing::TestParamInfo<OpenCase> &info) { return std::string(info.param.name); });

TEST(FileCalls, WritesAndReadsThroughHandles) {
  TempDir folder;
  WString path = folder.File("data.bin");
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, out);
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(out, "\xFF\xFE", 2, &done, nullptr));
  EXPECT_EQ(2u, done);
  char byte;
  EXPECT_FALSE(ReadFile(out, &byte, 1, &done, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_TRUE(CloseHandle(out));
  EXPECT_EQ("\xFF\xFE", ReadBytes(path));

  HANDLE in = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, in);
  char bytes[4] = {};
  EXPECT_TRUE(ReadFile(in, bytes, 4, &done, nullptr));
  EXPECT_EQ(2u, done);
  EXPECT_EQ("\xFF\xFE", std::string(bytes, 2));
  EXPECT_TRUE(ReadFile(in, bytes, 4, &done, nullptr));
  EXPECT_EQ(0u, done) << "at the end a read succeeds with no bytes";
  EXPECT_FALSE(WriteFile(in, "x", 1, &done, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_TRUE(CloseHandle(in));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(in)) << "a handle closes once";
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST(FileCalls, EitherSlashSeparates) {
  TempDir folder;
  WString backward = folder.File("x.txt"), forward = backward;
  for (WCHAR &c : backward) {
    if (c == '/') c = '\\';
  }
  for (WCHAR &c : forward) {
    if (c == '\\') c = '/';
  }
  HANDLE file = CreateFileW(forward.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD done;
  EXPECT_TRUE(WriteFile(file, "fw", 2, &done, nullptr));
  CloseHandle(file);
  file = CreateFileW(backward.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  char bytes[4] = {};
  EXPECT_TRUE(ReadFile(file, bytes, sizeof bytes, &done, nullptr));
  CloseHandle(file);
  EXPECT_EQ("fw", std::string(bytes, done));
}

TEST(FileCalls, MissingFolderIsAPathError) {
  TempDir folder;
  HANDLE file = CreateFileW(Join(folder, "none", "x.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(INVALID_HANDLE_VALUE, file);
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
}

TEST(FileCalls, ReadOnlyFileOpensForReadingOnly) {
  const char *wineDiffers = testing_support::AsWineSuperUser(
      "Wine run by the super-user opens read-only files for writing");
  TempDir folder;
  WString path = folder.File("ro.txt");
  WriteBytes(path, "keep");
  testing_support::MakeReadOnly(path);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, file);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  const DWORD dispositions[] = {OPEN_EXISTING, CREATE_ALWAYS, OPEN_ALWAYS, TRUNCATE_EXISTING};
  for (DWORD disposition : dispositions) {
    SetLastError(0);
    file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
    const DWORD error = GetLastError();
    testing_support::KnownWineDifference(wineDiffers, [&] {
      EXPECT_EQ(INVALID_HANDLE_VALUE, file) << "disposition " << disposition;
    });
    testing_support::KnownWineDifference(wineDiffers, [&] {
      EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), error) << "disposition " << disposition;
    });
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  testing_support::KnownWineDifference(wineDiffers, [&] { EXPECT_EQ("keep", ReadBytes(path)); });
  testing_support::MakeWritable(path);
}

TEST(FileCalls, FolderDoesNotOpenAsAFile) {
  TempDir folder;
  HANDLE file = CreateFileW(folder.Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(INVALID_HANDLE_VALUE, file);
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

TEST(FileCalls, LastWriteTimeCountsFrom1601) {
  TempDir folder;
  WString path = folder.File("t.txt");
  WriteBytes(path, "x");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  FILETIME written = {0xDEADBEEF, 0xDEADBEEF};
  EXPECT_TRUE(GetFileTime(file, nullptr, nullptr, &written));
  CloseHandle(file);
  unsigned long long ticks =
      (static_cast<unsigned long long>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
  // 2020-01-01 and 2100-01-01 in 100 ns units since 1601-01-01.
  EXPECT_GT(ticks, 132223104000000000ull);
  EXPECT_LT(ticks, 157766688000000000ull);
}

TEST(FileAttributes, TellFilesFoldersAndReadOnly) {
  TempDir folder;
  WString file = folder.File("f.txt"), readOnly = folder.File("r.txt");
  WriteBytes(file, "x");
  WriteBytes(readOnly, "x");
  testing_support::MakeReadOnly(readOnly);
  struct {
    WString path;
    DWORD mustHave, mustLack;
  } cases[] = {
      {file, 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY},
      {readOnly, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_DIRECTORY},
      {folder.Path(), FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_READONLY},
  };
  for (const auto &c : cases) {
    DWORD attributes = GetFileAttributesW(c.path.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << Narrow(c.path);
    EXPECT_EQ(c.mustHave, attributes & c.mustHave) << Narrow(c.path);
    EXPECT_EQ(0u, attributes & c.mustLack) << Narrow(c.path);
  }
  testing_support::MakeWritable(readOnly);
}

TEST(FileAttributes, MissingPathsFailWithTheirReason) {
  TempDir folder;
  SetLastError(0);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.File("none").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Join(folder, "none", "x").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
}

class FileSearch : public testing::Test {
 protected:
  FileSearch() {
    WriteBytes(m_folder.File("alpha.ini"), "12345");
    WriteBytes(m_folder.File("beta.txt"), "");
    WriteBytes(m_folder.File("ab.ini"), "");
    WriteBytes(m_folder.File("noext"), "");
  }

  // The name the search finds first, or "" with the last error in `error`.
  std::string Find(const WString &pattern, WIN32_FIND_DATAW &data, DWORD &error) {
    SetLastError(0);
    HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    error = GetLastError();
    if (search == INVALID_HANDLE_VALUE) return std::string();
    EXPECT_TRUE(FindClose(search));
    return Narrow(data.cFileName);
  }

  TempDir m_folder;
};

TEST_F(FileSearch, PlainNameFindsTheFileItself) {
  WIN32_FIND_DATAW data;
  DWORD error;
  EXPECT_EQ("alpha.ini", Find(m_folder.File("alpha.ini"), data, error));
  EXPECT_EQ(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(5u, data.nFileSizeLow);
  EXPECT_EQ(0u, data.nFileSizeHigh);
  EXPECT_NE(0u, data.ftLastWriteTime.dwHighDateTime);
}

TEST_F(FileSearch, PlainNameFindsAFolderItself) {
  WIN32_FIND_DATAW data;
  DWORD error;
  const std::string folderPath = Narrow(m_folder.Path());
  std::string name = Find(m_folder.Path(), data, error);
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(folderPath.substr(folderPath.size() - name.size()), name);
  EXPECT_NE(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct PatternCase {
  const char *pattern;
  const char *found;  // "" = nothing
};

void PrintTo(const PatternCase &c, std::ostream *out) { *out << c.pattern; }

class FindPattern : public FileSearch, public testing::WithParamInterface<PatternCase> {};

TEST_P(FindPattern, MatchesTheLastComponent) {
  const PatternCase &c = GetParam();
  WIN32_FIND_DATAW data;
  DWORD error;
  EXPECT_EQ(c.found, Find(m_folder.File(c.pattern), data, error));
  if (*c.found == 0) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindPattern,
    testing::Values(PatternCase{"*.txt", "beta.txt"}, PatternCase{"al*", "alpha.ini"},
                    PatternCase{"?eta.txt", "beta.txt"}, PatternCase{"a?.ini", "ab.ini"},
                    PatternCase{"*pha.i?i", "alpha.ini"}, PatternCase{"*.TXT", "beta.txt"},
                    PatternCase{"no*.*", "noext"}, PatternCase{"*.doc", ""},
                    PatternCase{"?.ini", ""}, PatternCase{"missing.ini", ""}));

TEST_F(FileSearch, MissingFolderIsAPathError) {
  WIN32_FIND_DATAW data;
  DWORD error;
  EXPECT_EQ("", Find(Join(m_folder, "nowhere", "*.ini"), data, error));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), error);
}

TEST_F(FileSearch, TrailingSeparatorFindsNothing) {
  WIN32_FIND_DATAW data;
  DWORD error;
  EXPECT_EQ("", Find(m_folder.File(""), data, error));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), error);
  EXPECT_EQ("", Find(TEXT("C:\\"), data, error));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), error);
}

}  // namespace
