// Percent-encoding of a text's UTF-8 bytes.
#include "install/UrlEncode.h"

#include "app/Text.h"

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.' || c == '~';
}

// True when the unit at `at` is "%XX" for a UTF-8 continuation byte (0x80..0xBF), which
// must stay with the byte before it.
bool IsContinuationUnit(const std::string& encoded, size_t at) {
  if (encoded[at] != '%' || at + 2 >= encoded.size()) return false;
  char high = encoded[at + 1];
  return high == '8' || high == '9' || high == 'A' || high == 'B';
}

}  // namespace

std::string UrlEncodeUtf8(const wchar_t* text) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string utf8 = ToUtf8(text);
  std::string out;
  out.reserve(utf8.size() * 3);
  for (unsigned char c : utf8) {
    if (IsUnreserved(c)) {
      out += static_cast<char>(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += Hex[c >> 4];
      out += Hex[c & 0xF];
    }
  }
  return out;
}

std::string UrlEncodeUtf8(const char* ansiText) {
  return UrlEncodeUtf8(FromAnsi(ansiText).c_str());
}

std::string TrimEncoded(const std::string& encoded, size_t maxChars) {
  if (encoded.size() <= maxChars) return encoded;
  size_t cut = 0;
  size_t at = 0;
  // Walk whole units; remember the last cut point that starts a new character.
  while (at < encoded.size()) {
    size_t unit = encoded[at] == '%' ? 3 : 1;
    if (at + unit > maxChars) break;
    at += unit;
    if (at >= encoded.size() || !IsContinuationUnit(encoded, at)) cut = at;
  }
  return encoded.substr(0, cut);
}
