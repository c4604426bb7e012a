#include "platform/win32/Win32Shell.h"

#include "platform/win32/ComApartment.h"
#include "platform/win32/WideText.h"

#include <shellapi.h>

namespace velmora {

bool Win32Shell::Open(const std::string& file, const std::string& parameters,
                      const std::string& workingFolder, WindowId owner) {
    if (file.empty())
        return false;
    std::wstring wideFile = Utf8ToWide(file);
    std::wstring wideParameters = Utf8ToWide(parameters);
    std::wstring wideFolder = Utf8ToWide(workingFolder);
    ComApartment com;
    HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(owner), L"open", wideFile.c_str(),
                                     wideParameters.empty() ? nullptr : wideParameters.c_str(),
                                     wideFolder.empty() ? nullptr : wideFolder.c_str(), SW_SHOW);
    // Values up to 32 are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace velmora
