#include "platform/win32/Win32Codec.h"

#include <climits>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

namespace velmora {

std::string Win32Codec::ToAnsi(std::string_view utf8) {
    std::wstring wide = Utf8ToWide(utf8);
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    // The UTF-8 code page takes neither flags nor a replacement character.
    bool utf8Page = GetACP() == CP_UTF8;
    DWORD flags = utf8Page ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* replacement = utf8Page ? nullptr : "?";
    int length = static_cast<int>(wide.size());
    int needed = WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, replacement, nullptr);
    if (needed <= 0)
        return {};
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    int written =
        WideCharToMultiByte(CP_ACP, flags, wide.data(), length, ansi.data(), needed, replacement, nullptr);
    ansi.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return ansi;
}

std::string Win32Codec::FromAnsi(std::string_view ansi) {
    if (ansi.empty() || ansi.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    int length = static_cast<int>(ansi.size());
    int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    int written = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return WideToUtf8(wide);
}

}  // namespace velmora
