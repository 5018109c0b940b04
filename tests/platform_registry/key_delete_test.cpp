// Deleting keys one at a time and as whole trees.
#include "registry_fixture.h"

namespace {

TEST_F(RegistryTest, DeleteKeyTakesOnlyKeysWithoutSubKeys) {
  Create(TEXT("parent\\child"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(m_base, TEXT("parent")));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(m_base, TEXT("PARENT\\child")));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyW(m_base, TEXT("parent\\child")));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(m_base, TEXT("parent")));
  EXPECT_EQ(nullptr, Open(TEXT("parent")));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegDeleteKeyW(m_base, nullptr));
}

TEST_F(RegistryTest, DeleteKeyWithAnEmptyNameDeletesTheKeyItself) {
  HKEY self = Create(TEXT("self"));
  SetDword(self, TEXT("v"), 1);
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(self, TEXT("")));
  EXPECT_EQ(nullptr, Open(TEXT("self")));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("")))
      << "the hive itself can't go";
}

TEST_F(RegistryTest, DeletingAKeyStampsItsParent) {
  HKEY parent = Create(TEXT("stamp"));
  Create(TEXT("stamp\\leaf"));
  uint64_t before = LastWrite(parent);
  WaitForTheClockToPass(before);
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(parent, TEXT("leaf")));
  EXPECT_GT(LastWrite(parent), before);
}

TEST_F(RegistryTest, DeleteTreeWithASubKeyRemovesItAndAllBelow) {
  Create(TEXT("tree\\a\\b\\c"));
  SetDword(Create(TEXT("tree\\a")), TEXT("v"), 1);
  SetDword(Create(TEXT("tree")), TEXT("kept"), 1);
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(m_base, TEXT("tree\\a")));
  EXPECT_EQ(nullptr, Open(TEXT("tree\\a")));
  HKEY tree = Open(TEXT("tree"));
  ASSERT_NE(nullptr, tree);
  EXPECT_EQ(ERROR_SUCCESS, Read(tree, TEXT("kept")).status);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteTreeW(m_base, TEXT("not-here")));
}

class DeleteTreeWithoutSubKey : public RegistryTest,
                                public testing::WithParamInterface<const WCHAR *> {};

TEST_P(DeleteTreeWithoutSubKey, EmptiesTheKeyButKeepsIt) {
  HKEY key = Create(TEXT("emptied"));
  Create(TEXT("emptied\\x\\y"));
  SetDword(key, TEXT("v"), 1);
  SetDword(key, static_cast<LPCWSTR>(nullptr), 2);
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(key, GetParam()));
  EXPECT_EQ(0u, SubKeyCount(key));
  EXPECT_EQ(0u, ValueCount(key));
  EXPECT_NE(nullptr, Open(TEXT("emptied")));
}

INSTANTIATE_TEST_SUITE_P(NullOrEmpty, DeleteTreeWithoutSubKey,
                         testing::Values(static_cast<const WCHAR *>(nullptr), TEXT("")));

TEST_F(RegistryTest, DeleteTreeOfAKeysContentsNeedsRightsToListIt) {
  Create(TEXT("locked\\inner"));
  HKEY nothing = Open(TEXT("locked"), 0);
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteTreeW(nothing, nullptr));
  EXPECT_EQ(1u, SubKeyCount(Open(TEXT("locked"))));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(nothing, TEXT("inner")))
      << "a named sub-key is reached without rights on the handle";
}

}  // namespace
