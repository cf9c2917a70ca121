// UTF-8 and UTF-16 at the boundary of the wide-character Windows APIs, and paths long enough to
// need the "\\?\" form.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace sdmate::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// A native path for the wide APIs: backslashes, and "\\?\" before a long absolute path so
// that no 260-character limit applies.
std::wstring LongPath(const std::string& nativeUtf8);
// One word of a command line as CommandLineToArgvW reads it back: quoted, with the backslashes
// before a quote doubled.
std::wstring CommandLineWord(const std::wstring& word);

}  // namespace sdmate::win32
