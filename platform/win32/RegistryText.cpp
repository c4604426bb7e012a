#include "platform/win32/RegistryText.h"

#include <algorithm>
#include <climits>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace velmora {

std::optional<std::string> ReadRegistryText(HKEY root, const std::string& subkey, const std::string& name) {
    unique_hkey key;
    if (RegOpenKeyExW(root, Utf8ToWide(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring valueName = Utf8ToWide(name);
    // The value may grow between asking its size and reading it; a few rounds settle that.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        // One spare character: the stored data need not end with a NUL, nor have an even length.
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        LSTATUS status = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                                          reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            return std::nullopt;
        text.resize(std::min<std::size_t>(bytes / sizeof(wchar_t), text.size()));
        return WideToUtf8(text.substr(0, text.find(L'\0')));
    }
    return std::nullopt;
}

bool WriteRegistryText(HKEY root, const std::string& subkey, const std::string& name,
                       const std::string& value) {
    std::wstring text = Utf8ToWide(value);
    if (text.size() >= (UINT_MAX / sizeof(wchar_t)) - 1)
        return false;
    unique_hkey key;
    if (RegCreateKeyExW(root, Utf8ToWide(subkey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    // The terminating NUL is part of the data, as readers of REG_SZ expect.
    DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), Utf8ToWide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace velmora
