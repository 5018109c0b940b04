#include "settings/key_path.h"

#include <gtest/gtest.h>

#include "settings/settings_key.h"
#include "settings_test_store.h"

namespace {

struct JoinCase {
  LPCWSTR path;
  LPCWSTR name;
  LPCWSTR joined;
};

class JoinKeyPathTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinKeyPathTest, JoinsWithOneBackslashAndNoneAtTheEnd) {
  const JoinCase &c = GetParam();
  EXPECT_EQ(WString(c.joined), Text(JoinKeyPath(CString(c.path), c.name)));
}

INSTANTIATE_TEST_SUITE_P(Paths, JoinKeyPathTest,
                         testing::Values(JoinCase{TEXT("a\\b"), TEXT("c"), TEXT("a\\b\\c")},
                                         JoinCase{TEXT("a\\b\\"), TEXT("c"), TEXT("a\\b\\c")},
                                         JoinCase{TEXT("a\\b\\"), nullptr, TEXT("a\\b")},
                                         JoinCase{TEXT("a\\b\\"), TEXT(""), TEXT("a\\b")},
                                         JoinCase{TEXT("a"), TEXT("c\\"), TEXT("a\\c")},
                                         JoinCase{TEXT(""), TEXT("c\\"), TEXT("c")},
                                         JoinCase{TEXT(""), TEXT("x\\y"), TEXT("x\\y")},
                                         JoinCase{TEXT(""), nullptr, TEXT("")},
                                         JoinCase{TEXT("a"), nullptr, TEXT("a")},
                                         JoinCase{TEXT("a\\\\"), nullptr, TEXT("a")},
                                         JoinCase{TEXT("a"), TEXT("b\\c"), TEXT("a\\b\\c")}));

struct ProfileNameCase {
  LPCWSTR name;
  LPCWSTR entry;
};

class ProfileNameTest : public testing::TestWithParam<ProfileNameCase> {};

TEST_P(ProfileNameTest, EveryEqualsSignBecomesAnUnderscore) {
  EXPECT_EQ(WString(GetParam().entry), Text(CSettingsKey::ToProfileName(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(Names, ProfileNameTest,
                         testing::Values(ProfileNameCase{TEXT("a=b"), TEXT("a_b")},
                                         ProfileNameCase{TEXT("=x=y="), TEXT("_x_y_")},
                                         ProfileNameCase{TEXT("plain"), TEXT("plain")},
                                         ProfileNameCase{TEXT(""), TEXT("")},
                                         ProfileNameCase{nullptr, TEXT("")}));

}  // namespace
