#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/ComApartment.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

#include <commdlg.h>
#include <shlobj.h>

namespace velmora {
namespace {

constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
constexpr UINT kBrowseFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
// Room for long paths, well beyond what the dialogs are usually asked for.
constexpr DWORD kPathCapacity = 4096;

HWND Window(WindowId id) {
    return reinterpret_cast<HWND>(id);
}

std::string TrimBlanks(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The wide form of a text, or no pointer for an empty one, so the dialog uses its own default.
const wchar_t* OrDefault(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

std::optional<std::string> FileDialog(bool save, WindowId owner, const std::string& filter,
                                      const std::string& title, const std::string& initialFolder) {
    std::wstring wideFilter = DialogFilter(filter);
    std::wstring wideTitle = Utf8ToWide(title);
    std::wstring wideFolder = Utf8ToWide(initialFolder);
    std::wstring file(kPathCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Window(owner);
    dialog.lpstrFilter = filter.empty() ? nullptr : wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrInitialDir = OrDefault(wideFolder);
    dialog.lpstrTitle = OrDefault(wideTitle);
    dialog.Flags = save ? kSaveFlags : kOpenFlags;
    // Loaded on first use: at start-up the common dialogs would bring the print spooler's DLL with them,
    // whose start reads the printers, on every run, for a dialog that an unattended run never shows.
    static const auto open = SystemFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    static const auto saveAs =
        SystemFunction<decltype(GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    const auto show = save ? saveAs : open;
    if (show == nullptr || !show(&dialog))
        return std::nullopt;
    std::string path = TrimBlanks(WideBufferToUtf8(file.data(), file.size()));
    if (path.empty())
        return std::nullopt;
    return path;
}

int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM folder) {
    if (message == BFFM_INITIALIZED && folder != 0)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, folder);
    return 0;
}

}  // namespace

std::wstring DialogFilter(const std::string& filter) {
    std::wstring wide = Utf8ToWide(filter);
    if (wide.empty() || wide.back() != L'|')
        wide += L'|';
    for (wchar_t& c : wide) {
        if (c == L'|')
            c = L'\0';
    }
    wide += L'\0';
    return wide;
}

MsgResult Win32Dialogs::Message(WindowId owner, const std::string& text, const std::string& title,
                                MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton) {
    UINT flags = buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
        case MsgIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MsgIcon::Critical:
            flags |= MB_ICONERROR;
            break;
        case MsgIcon::Exclamation:
            flags |= MB_ICONEXCLAMATION;
            break;
        case MsgIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case MsgIcon::None:
            break;
    }
    flags |= defaultButton == MsgDefault::Second ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    // Without an owner the box could open behind an installer's window during a run.
    if (owner == 0)
        flags |= MB_SETFOREGROUND | MB_TOPMOST;
    std::wstring wideText = Utf8ToWide(text);
    std::wstring wideTitle = Utf8ToWide(title);
    switch (MessageBoxW(Window(owner), wideText.c_str(), wideTitle.c_str(), flags)) {
        case IDOK:
            return MsgResult::Ok;
        case IDYES:
            return MsgResult::Yes;
        case IDNO:
            return MsgResult::No;
        default:
            return MsgResult::Cancel;
    }
}

std::optional<std::string> Win32Dialogs::OpenFile(WindowId owner, const std::string& filter,
                                                  const std::string& title,
                                                  const std::string& initialFolder) {
    return FileDialog(false, owner, filter, title, initialFolder);
}

std::optional<std::string> Win32Dialogs::SaveFile(WindowId owner, const std::string& filter,
                                                  const std::string& title,
                                                  const std::string& initialFolder) {
    return FileDialog(true, owner, filter, title, initialFolder);
}

std::optional<std::string> Win32Dialogs::BrowseFolder(WindowId owner, const std::string& initialFolder,
                                                      const std::string& title) {
    ComApartment com;  // the new dialog style needs it
    std::wstring wideFolder = Utf8ToWide(initialFolder);
    std::wstring wideTitle = Utf8ToWide(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = Window(owner);
    browse.lpszTitle = wideTitle.c_str();
    browse.ulFlags = kBrowseFlags;
    browse.lpfn = SelectInitialFolder;
    browse.lParam = wideFolder.empty() ? 0 : reinterpret_cast<LPARAM>(wideFolder.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr)
        return std::nullopt;
    wchar_t path[MAX_PATH + 1] = {};
    BOOL hasPath = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    std::string folder = hasPath ? WideBufferToUtf8(path, MAX_PATH + 1) : std::string{};
    if (folder.empty())
        return std::nullopt;
    return folder;
}

}  // namespace velmora
