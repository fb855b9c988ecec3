// doctest with printing of wide strings (as UTF-8), so failures show Chinese texts.
#pragma once

#include <doctest/doctest.h>

#include <string>

#include "app/Text.h"

namespace doctest {
template <>
struct StringMaker<std::wstring> {
  static String convert(const std::wstring& value) {
    return String(("L\"" + ToUtf8(value.c_str()) + "\"").c_str());
  }
};
}  // namespace doctest
