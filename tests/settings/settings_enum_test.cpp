// Enumerating and counting sub-keys and values in both backends.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "settings/old_platform.h"
#include "settings/settings_key.h"
#include "settings_test_store.h"

namespace {

using Names = std::vector<WString>;
using Values = std::vector<std::pair<WString, DWORD>>;

WString Numbered(const char *stem, int number, size_t width = 4) {
  std::string digits = std::to_string(number);
  return testing_support::Wide(stem + std::string(width - std::min(width, digits.size()), '0') +
                               digits);
}

bool SortedCaseInsensitively(const Names &names) {
  for (size_t i = 1; i < names.size(); ++i) {
    if (lstrcmpiW(names[i - 1].c_str(), names[i].c_str()) > 0) return false;
  }
  return true;
}

const WCHAR kSections[] =
    TEXT("[a]\r\nv=1\r\n[a\\x]\r\nv=1\r\n[a\\x\\y]\r\nv=1\r\n[A\\Z]\r\nv=1\r\n[ab]\r\nv=1\r\n")
        TEXT("[b\\only\\deep]\r\nv=1\r\n[b]\r\nv=1\r\n[a\\x\\y\\longer-than-any-other]\r\nv=1\r\n");

struct ChildrenCase {
  LPCWSTR path;
  Names children;
};

class IniChildren : public testing::TestWithParam<ChildrenCase> {};

// Direct children only, matched without regard to case, spelled as in the file.
TEST_P(IniChildren, ListsDirectChildSectionsSorted) {
  IniStore store;
  store.Write(kSections);
  CSettingsKey key;
  store.root.OpenInto(key, GetParam().path, TRUE);
  ASSERT_NE(nullptr, key.m_hKey);
  EXPECT_EQ(GetParam().children, KeyNames(key));
  DWORD count = 99;
  EXPECT_TRUE(key.QueryInfo(&count, nullptr, nullptr));
  EXPECT_EQ(GetParam().children.size(), count);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IniChildren,
    testing::Values(ChildrenCase{TEXT("a"), Names{TEXT("x"), TEXT("Z")}},
                    ChildrenCase{TEXT("A"), Names{TEXT("x"), TEXT("Z")}},
                    ChildrenCase{TEXT("b"), Names{}},  // b\only exists only through b\only\deep
                    ChildrenCase{TEXT("a\\x\\y\\longer-than-any-other"), Names{}},
                    ChildrenCase{TEXT(""), Names{TEXT("a"), TEXT("ab"), TEXT("b")}}));

TEST(IniEnumeration, ValuesAreTextAndAtIsTheUnnamedValue) {
  IniStore store;
  store.Write(TEXT("[s]\r\nplain\r\nk=v\r\n@=\r\n"));
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("s"), FALSE);
  ASSERT_EQ(ERROR_SUCCESS, key.SetDwordValue(3, TEXT("num")));
  ASSERT_EQ(ERROR_SUCCESS, key.SetBinaryValue("\x01\x02", TEXT("bin"), 2));
  EXPECT_EQ((Values{{TEXT(""), REG_SZ},
                    {TEXT("bin"), REG_SZ},
                    {TEXT("k"), REG_SZ},
                    {TEXT("num"), REG_SZ},
                    {TEXT("plain"), REG_SZ}}),
            ValueNames(key));
  DWORD type = 9;
  EXPECT_TRUE(key.EnumValue(6, type).IsEmpty());  // past the end mark
  EXPECT_EQ(static_cast<DWORD>(REG_NONE), type);
}

TEST(IniEnumeration, NamelessEntryAndSectionEndTheirEnumeration) {
  IniStore store;
  store.Write(TEXT("[s]\r\n=x\r\nb=1\r\n[s\\]\r\nv=1\r\n[s\\c]\r\nv=1\r\n"));
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("s"), TRUE);
  DWORD keys = 0, values = 0;
  EXPECT_TRUE(key.QueryInfo(&keys, &values, nullptr));
  EXPECT_EQ(2u, keys);
  EXPECT_EQ(2u, values);
  EXPECT_EQ(Values{}, ValueNames(key));
  EXPECT_EQ(Names{}, KeyNames(key));
}

// A section "[]" lists as an empty name, first or among the others: the
// names after it are listed too.
TEST(IniEnumeration, SectionWithoutANameHidesNoSection) {
  IniStore store;
  store.Write(TEXT("[]\r\nv=1\r\n[a]\r\nv=1\r\n[a\\x]\r\nv=1\r\n[]\r\nw=1\r\n[a\\y]\r\nv=1\r\n"));
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("a"), TRUE);
  DWORD keys = 0;
  EXPECT_TRUE(key.QueryInfo(&keys, nullptr, nullptr));
  EXPECT_EQ(2u, keys);
  EXPECT_EQ((Names{TEXT("x"), TEXT("y")}), KeyNames(key));
}

TEST(IniEnumeration, OnlyTheFirst1024InFileOrderAreListed) {
  IniStore store;
  WString text = TEXT("[s]\r\n");
  std::set<WString> first;
  for (int i = 0; i < 1100; ++i) {
    WString name = Numbered("v", (i * 379) % 1100);  // a fixed shuffle
    text += name + TEXT("=1\r\n");
    if (i < 1024) first.insert(name);
  }
  for (int i = 0; i < 1100; ++i)
    text += TEXT("[s\\") + Numbered("K", (i * 379) % 1100) + TEXT("]\r\nv=1\r\n");
  store.Write(text);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("s"), TRUE);
  DWORD keys = 0, values = 0;
  EXPECT_TRUE(key.QueryInfo(&keys, &values, nullptr));
  EXPECT_EQ(1024u, keys);
  EXPECT_EQ(1024u, values);

  Names names;
  for (const auto &value : ValueNames(key)) names.push_back(value.first);
  EXPECT_TRUE(SortedCaseInsensitively(names));
  EXPECT_EQ(first, std::set<WString>(names.begin(), names.end()));
  Names children = KeyNames(key);
  EXPECT_EQ(1024u, children.size());
  EXPECT_TRUE(SortedCaseInsensitively(children));
}

// Enumeration is sequential: only the index after the last one handed out
// continues; any other rebuilds the listing and gives its first name.
TEST(IniEnumeration, IndexOnlyDecidesWhetherToContinue) {
  IniStore store;
  store.Write(TEXT("[a]\r\nv=1\r\nw=2\r\n[a\\p]\r\nv=1\r\n[a\\q]\r\nv=1\r\n[a\\r]\r\nv=1\r\n"));
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("a"), TRUE);
  EXPECT_EQ(WString(TEXT("p")), Text(key.EnumKey(5)));
  EXPECT_EQ(WString(TEXT("q")), Text(key.EnumKey(1)));
  DWORD keys = 0;
  EXPECT_TRUE(key.QueryInfo(&keys, nullptr, nullptr));
  EXPECT_EQ(WString(TEXT("p")), Text(key.EnumKey(0xFFFFFFFF)));  // no listing: rebuilt
  EXPECT_EQ(WString(TEXT("q")), Text(key.EnumKey(1)));
  EXPECT_EQ(WString(TEXT("r")), Text(key.EnumKey(2)));
  EXPECT_EQ(WString(), Text(key.EnumKey(3)));
  EXPECT_EQ(WString(), Text(key.EnumKey(4)));  // past the end stays at the end
  EXPECT_EQ(WString(), Text(key.EnumKey(4)));

  DWORD type = 0;
  EXPECT_EQ(WString(TEXT("v")), Text(key.EnumValue(0, type)));
  EXPECT_EQ(WString(TEXT("w")), Text(key.EnumKey(1)));  // the shared listing continues
}

TEST(IniEnumeration, ListingBlockIsKeptAcrossListingsAndClose) {
  IniStore store;
  store.Write(kSections);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("a"), TRUE);
  EXPECT_EQ(WString(TEXT("x")), Text(key.EnumKey(0)));
  LPWSTR *block = key.m_listing.m_slots;
  ASSERT_NE(nullptr, block);
  for (int i = 0; i < 2; ++i) {
    EXPECT_GE(key.m_listing.m_slots[i], key.m_listing.m_text);
    EXPECT_LT(key.m_listing.m_slots[i], key.m_listing.m_text + kListingTextUnits);
  }
  store.root.OpenInto(key, TEXT("b"), TRUE);
  EXPECT_EQ(-1, key.m_listing.m_position);
  DWORD type = 0;
  EXPECT_EQ(WString(TEXT("v")), Text(key.EnumValue(0, type)));
  EXPECT_EQ(block, key.m_listing.m_slots);
}

struct FullBufferCase {
  LONG oldPlatform;
  bool sections;
  int listedAtMost;  // names that fit the units asked for
};

class IniFullBuffer : public testing::TestWithParam<FullBufferCase> {};

// 300 names of over 120 units fill 32760 units but not 131072: on an old
// platform the listing stops early, and never hands out a name cut short.
// While the platform's age is not settled the first request is the old
// platform's, and the listing grows past it on a platform that is not old.
TEST_P(IniFullBuffer, ListsOnlyWholeNames) {
  IniStore store;
  WString text = TEXT("[k]\r\n");
  std::set<WString> written;
  for (int i = 0; i < 300; ++i) {
    WString name = Numbered("n", i, 120);
    written.insert(name);
    text += name + TEXT("=") + WString(40, 'v') + TEXT("\r\n");
  }
  for (const WString &name : written) text += TEXT("[k\\") + name + TEXT("]\r\nv=1\r\n");
  store.Write(text);
  g_oldPlatform = GetParam().oldPlatform;
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("k"), TRUE);
  Names names;
  if (GetParam().sections) {
    names = KeyNames(key);
  } else {
    for (const auto &value : ValueNames(key)) names.push_back(value.first);
  }
  g_oldPlatform = -1;
  EXPECT_LE(names.size(), static_cast<size_t>(GetParam().listedAtMost));
  EXPECT_GE(names.size(), static_cast<size_t>(GetParam().listedAtMost) * 9 / 10);
  for (const WString &name : names) EXPECT_EQ(1u, written.count(name)) << name.size();
}

// A section name "k\" + 121 units + null takes 124 units; an entry line 163,
// and the line the buffer cuts in its value keeps its whole name.
INSTANTIATE_TEST_SUITE_P(Sizes, IniFullBuffer,
                         testing::Values(FullBufferCase{1, true, 32760 / 124},
                                         FullBufferCase{-1, true, 300},
                                         FullBufferCase{1, false, 32760 / 163 + 1},
                                         FullBufferCase{0, true, 300},
                                         FullBufferCase{0, false, 300}));

// Names beyond the first buffer are still listed: the buffer grows until they
// fit. 100,000 sections before the key's own (a file manager that keeps
// settings per folder gets there), or a section of long lines.
class IniLargeListing : public testing::TestWithParam<bool> {};

TEST_P(IniLargeListing, ListsTheNamesAfterTheFirstBuffer) {
  const bool sections = GetParam();
  IniStore store;
  WString text;
  if (sections) {
    for (int i = 0; i < 100000; ++i)
      text += TEXT("[f\\") + Numbered("", i, 6) + TEXT("]\r\nv=1\r\n");
    text += TEXT("[k]\r\nv=1\r\n[k\\last]\r\nv=1\r\n");
  } else {
    text += TEXT("[k]\r\n");
    for (int i = 0; i < 1000; ++i)
      text += Numbered("n", i) + TEXT("=") + WString(200, 'v') + TEXT("\r\n");
    text += TEXT("last=1\r\n");
  }
  store.Write(text);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("k"), TRUE);
  Names names;
  if (sections) {
    names = KeyNames(key);
  } else {
    for (const auto &value : ValueNames(key)) names.push_back(value.first);
  }
  EXPECT_NE(std::find(names.begin(), names.end(), WString(TEXT("last"))), names.end());
  EXPECT_EQ(sections ? 1u : 1001u, names.size());
}

INSTANTIATE_TEST_SUITE_P(Kinds, IniLargeListing, testing::Bool());

TEST(IniQueryInfo, TimeComesFromTheFileAndFailsWithoutIt) {
  IniStore store;
  store.Write(kSections);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("a"), TRUE);
  DWORD keys = 0, values = 0;
  FILETIME time = {1, 1};
  EXPECT_TRUE(key.QueryInfo(&keys, &values, &time));
  EXPECT_EQ(2u, keys);
  EXPECT_EQ(1u, values);
  EXPECT_NE(0u, time.dwHighDateTime);

  std::filesystem::remove(std::filesystem::path(store.file));
  EXPECT_FALSE(key.QueryInfo(&keys, &values, &time));
  EXPECT_EQ(0u, keys);
  EXPECT_EQ(0u, values);
}

TEST(RegistryEnumeration, NamesTypesAndCounts) {
  RegistryStore store;
  const DWORD number = 1;
  store.SetRaw(TEXT("r\\b"), nullptr, REG_DWORD, &number, 4);
  store.SetRaw(TEXT("r\\A"), nullptr, REG_DWORD, &number, 4);
  store.SetRaw(TEXT("r"), TEXT("n"), REG_DWORD, &number, 4);
  store.SetRaw(TEXT("r"), TEXT("s"), REG_SZ, TEXT("t"), 4);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("r"), TRUE);
  Names children = KeyNames(key);
  std::sort(children.begin(), children.end());
  EXPECT_EQ((Names{TEXT("A"), TEXT("b")}), children);
  Values values = ValueNames(key);
  std::sort(values.begin(), values.end());
  EXPECT_EQ((Values{{TEXT("n"), REG_DWORD}, {TEXT("s"), REG_SZ}}), values);
  DWORD keys = 0, valueCount = 0;
  FILETIME time = {0, 0};
  EXPECT_TRUE(key.QueryInfo(&keys, &valueCount, &time));
  EXPECT_EQ(2u, keys);
  EXPECT_EQ(2u, valueCount);
  EXPECT_NE(0u, time.dwHighDateTime);
  EXPECT_TRUE(key.QueryInfo(nullptr, nullptr, nullptr));
}

TEST(RegistryEnumeration, NameTooLongForTheBufferEndsTheList) {
  RegistryStore store;
  const WString longName(1100, 'L');
  store.SetRaw(TEXT("r"), longName.c_str(), REG_SZ, TEXT("t"), 4);
  CSettingsKey key;
  store.root.OpenInto(key, TEXT("r"), TRUE);
  DWORD type = 9;
  EXPECT_TRUE(key.EnumValue(0, type).IsEmpty());
  EXPECT_EQ(static_cast<DWORD>(REG_NONE), type);
}

class SortNamesTest : public testing::TestWithParam<int> {};

// Any count up to the slot limit ends sorted by lstrcmpiW, as a permutation.
TEST_P(SortNamesTest, SortsPointersCaseInsensitively) {
  const int count = GetParam();
  std::vector<WString> texts;
  for (int i = 0; i < count; ++i)
    texts.push_back(Numbered(i % 3 == 0 ? "Item" : "item", (i * 7919) % (count + 1), 5));
  std::vector<LPWSTR> slots;
  for (WString &text : texts) slots.push_back(&text[0]);
  CSettingsKey::SortNames(count, slots.data());
  Names sorted(slots.begin(), slots.end());
  EXPECT_TRUE(SortedCaseInsensitively(sorted));
  std::multiset<LPWSTR> before, after(slots.begin(), slots.end());
  for (WString &text : texts) before.insert(&text[0]);
  EXPECT_EQ(before, after);
}

INSTANTIATE_TEST_SUITE_P(Counts, SortNamesTest,
                         testing::Values(0, 1, 2, 3, 4, 5, 13, 14, 40, 121, 364, 365, 1024));

}  // namespace
