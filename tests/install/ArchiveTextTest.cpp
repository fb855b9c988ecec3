// Item name cleaning and the install result text.
#include <doctest/doctest.h>
#include <windows.h>

#include <string>

#include "install/InstallResultText.h"
#include "install/ZipItemName.h"

namespace {

std::string Clean(const std::string& name) {
  std::string cleaned;
  if (!CleanItemName(name, &cleaned)) return "<refused>";
  return cleaned;
}

}  // namespace

TEST_CASE("item names are cleaned so that no component can climb out of the base folder") {
  struct Case {
    const char* name;
    const char* cleaned;
  } cases[] = {
      {"Tolmaro/lobby.exe", "Tolmaro/lobby.exe"},
      {"Tolmaro\\sub\\", "Tolmaro\\sub\\"},
      {"/lobby.exe", "lobby.exe"},
      {"C:\\Windows\\x.dll", "Windows\\x.dll"},
      {"C:x", "x"},
      {"\\\\server\\share\\x", "server\\share\\x"},
      {"x/../../y", "y"},  // the first "/../" step, then the bare ".."
      {"../x", "x"},
      {"..\\x", "x"},
      {"a/..", "a/"},
      {"..", ""},
      {"../C:/x", "x"},  // a drive that appears only after a step
      {"a//b", "a/b"},
      {"a/./b", "a/b"},
      {"a/ .. /b", "a/b"},
      {"..../b", "b"},
      {"a/CON", "<refused>"},
      {"nul.txt", "<refused>"},
      {"com1", "<refused>"},
      {"console.txt", "console.txt"},
      {"com10.txt", "com10.txt"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.name);
    CHECK(Clean(c.name) == c.cleaned);
  }
  // In code page 936 the trail byte of a double-byte character may be 0x5C, which is then
  // part of the character and not a separator.
  if (GetACP() == 936) {
    CHECK(Clean("\x95\x5c/..") == "\x95\x5c/");
  }
}

TEST_CASE("install result text: unsigned result, signed diagnostics, nothing between parts") {
  const std::wstring folder = L"D:\\Program Files\\Tolmaro\\";
  CHECK(InstallResultText(folder, 0, 0, 0, 183, 0) ==
        L"D:\\Program Files\\Tolmaro\\|0|attr:0|create:0|errid:183|size:0");
  CHECK(InstallResultText(folder, -2, 0xFFFFFFFF, 3, 3, 0) ==
        L"D:\\Program Files\\Tolmaro\\|4294967294|attr:-1|create:3|errid:3|size:0");
  CHECK(InstallResultText(folder, -3, 0x10, 183, 0, 3000000000u) ==
        L"D:\\Program Files\\Tolmaro\\|4294967293|attr:16|create:183|errid:0|size:-1294967296");
  CHECK(InstallResultText(L"安装\\", 0x5000000, 0x80000000, -1, 0xFFFFFFFF, 85) ==
        L"安装\\|83886080|attr:-2147483648|create:-1|errid:-1|size:85");
}
