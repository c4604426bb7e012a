#pragma once
// The two conversions at the Win32 boundary: the core's UTF-8 texts to the W functions' UTF-16 and back.
// Lengths are explicit, so embedded NULs survive; invalid input becomes U+FFFD rather than failing.
#include <string>
#include <string_view>

namespace velmora {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// A UTF-16 text from a system buffer, cut at its first NUL (or at `capacity` characters when there is none).
std::string WideBufferToUtf8(const wchar_t* buffer, std::size_t capacity);

}  // namespace velmora
