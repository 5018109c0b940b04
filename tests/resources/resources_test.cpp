// Reads the resources back from the built addbar.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "version.h"

namespace {

// The build hands us a Unix path; Wine shows the Unix root as drive Z:.
std::wstring ProgramPath() {
  std::wstring path = testing_support::Wide(ADDBAR_EXE);
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (wchar_t &c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

class ProgramResources : public testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, module) << "can't load " << ADDBAR_EXE << " as data, error "
                               << GetLastError();
  }
  void TearDown() override {
    if (module != nullptr) FreeLibrary(module);
  }

  std::string Resource(LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const char *bytes = static_cast<const char *>(LockResource(loaded));
    return std::string(bytes, SizeofResource(module, found));
  }

  HMODULE module = nullptr;
};

#pragma pack(push, 2)
struct IconGroupHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct IconGroupEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST_F(ProgramResources, IconGroup128HoldsA32And16PixelImageOf16Colours) {
  std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(ADDBAR_ICON_ID));
  ASSERT_GE(group.size(), sizeof(IconGroupHeader)) << "no icon group 128";
  const auto *header = reinterpret_cast<const IconGroupHeader *>(group.data());
  EXPECT_EQ(1, header->type);
  ASSERT_EQ(2, header->count);
  ASSERT_EQ(sizeof(IconGroupHeader) + 2 * sizeof(IconGroupEntry), group.size());
  const auto *entries =
      reinterpret_cast<const IconGroupEntry *>(group.data() + sizeof(IconGroupHeader));
  std::vector<int> sizes;
  for (int i = 0; i < 2; ++i) {
    sizes.push_back(entries[i].width);
    EXPECT_EQ(entries[i].width, entries[i].height);
    EXPECT_EQ(16, entries[i].colourCount);
    EXPECT_EQ(4, entries[i].bitCount);
    // The image itself is there, as a bitmap of the same size and depth.
    std::string image = Resource(RT_ICON, MAKEINTRESOURCEW(entries[i].id));
    ASSERT_EQ(entries[i].bytes, image.size());
    const auto *bitmap = reinterpret_cast<const BITMAPINFOHEADER *>(image.data());
    EXPECT_EQ(entries[i].width, bitmap->biWidth);
    EXPECT_EQ(2 * entries[i].width, bitmap->biHeight);  // colour and mask
    EXPECT_EQ(4, bitmap->biBitCount);
  }
  EXPECT_EQ((std::vector<int>{32, 16}), sizes);

  HICON icon = LoadIconW(module, MAKEINTRESOURCEW(ADDBAR_ICON_ID));
  EXPECT_NE(nullptr, icon);
}

TEST_F(ProgramResources, VersionRecordIs1_0_0_1InUsEnglishUtf16) {
  std::wstring path = ProgramPath();
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version record";
  std::vector<BYTE> record(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, record.data()));

  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void **>(&fixed), &fixedSize));
  ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), fixedSize);
  EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
  EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(1, 0), fixed->dwFileVersionLS);
  EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
  EXPECT_EQ(MAKELONG(1, 0), fixed->dwProductVersionLS);

  WORD *translation = nullptr;
  UINT translationSize = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void **>(&translation), &translationSize));
  ASSERT_EQ(4u, translationSize);
  EXPECT_EQ(0x0409, translation[0]);
  EXPECT_EQ(1200, translation[1]);

  wchar_t *text = nullptr;
  UINT textSize = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\StringFileInfo\\040904B0\\FileVersion",
                             reinterpret_cast<void **>(&text), &textSize));
  EXPECT_EQ(std::wstring(L"1.0.0.1"), std::wstring(text));
}

// Windows refuses to start a program whose manifest asks for the common
// controls of another processor, so both identities name the build's own.
TEST_F(ProgramResources, ManifestDeclaresItsProcessorAndCommonControls6) {
  std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty()) << "no manifest";
  auto has = [&](const char *text) { return manifest.find(text) != std::string::npos; };
  auto count = [&](const std::string &text) {
    size_t found = 0;
    for (size_t at = manifest.find(text); at != std::string::npos; at = manifest.find(text, at + 1))
      ++found;
    return found;
  };
  EXPECT_EQ(2u, count(std::string("processorArchitecture=\"") + ADDBAR_WINDOWS_ARCH + "\""));
  EXPECT_EQ(2u, count("processorArchitecture="));
  EXPECT_TRUE(has("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
  EXPECT_TRUE(has("<dependency>"));
}

}  // namespace
