// Percent-encoding of a text's UTF-8 bytes for the statistics query.
#pragma once

#include <string>

// Letters, digits and "-_.~" stay, a space becomes "+", every other UTF-8 byte becomes %XX
// (upper-case hex). The ANSI form takes text in the system code page; the wide form is
// lossless for characters the code page cannot hold. No fixed buffers: any length fits.
std::string UrlEncodeUtf8(const char* ansiText);
std::string UrlEncodeUtf8(const wchar_t* text);

// Cuts an encoded text to at most maxChars characters without splitting a %XX triplet or
// the encoded bytes of one character, so what is left still decodes to whole characters.
std::string TrimEncoded(const std::string& encoded, size_t maxChars);
