// Bounded copies and code-page conversion.
#include <doctest/doctest.h>

#include "app/Text.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

TEST_CASE("CopyBounded copies what fits and leaves an empty text otherwise") {
  char small[4];
  CHECK(CopyBounded(small, sizeof small, "abc"));
  CHECK(std::string(small) == "abc");
  memset(small, 'z', sizeof small);
  CHECK_FALSE(CopyBounded(small, sizeof small, "abcd"));
  CHECK(small[0] == '\0');
  CHECK(small[1] == 'z');  // nothing written past the cleared first byte
  wchar_t wide[3];
  CHECK(CopyBounded(wide, 3, L"ab"));
  CHECK_FALSE(CopyBounded(wide, 3, L"abc"));
  CHECK(wide[0] == L'\0');
}

TEST_CASE("Chinese texts reach the ANSI code page as GBK under code page 936") {
  // The tests run Wine in a Chinese locale, as the product's users have it; one run uses an
  // English locale and checks only that texts outside its code page do not break anything.
  const char* expected = getenv("TEZ_EXPECT_ACP");
  if (expected && atoi(expected) == 1252) {
    REQUIRE(GetACP() == 1252);
    CHECK(ToAnsi(L"关闭") == "??");
    CHECK(ToUtf8(L"关闭") == "\xe5\x85\xb3\xe9\x97\xad");
    return;
  }
  REQUIRE(GetACP() == 936);
  CHECK(ToAnsi(L"关闭") == "\xb9\xd8\xb1\xd5");
  CHECK(FromAnsi("\xb9\xd8\xb1\xd5") == L"关闭");
  CHECK(ToUtf8(L"关闭") == "\xe5\x85\xb3\xe9\x97\xad");
}
