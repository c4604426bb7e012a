#include "platform/win32/Win32Dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/win32/DialogWatcher.h"
#include "tests/win32/TempFolder.h"

#include <commctrl.h>
#include <dlgs.h>

namespace velmora {
namespace {

std::string Lower(std::string text) {
    std::wstring wide = Utf8ToWide(text);
    std::transform(wide.begin(), wide.end(), wide.begin(), [](wchar_t c) { return std::towlower(c); });
    return WideToUtf8(wide);
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

bool IsDefaultButton(HWND dialog, int id) {
    return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

// The text of the folder browser's selected tree item.
std::wstring SelectedFolderName(HWND dialog) {
    HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t name[MAX_PATH] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = name;
    query.cchTextMax = MAX_PATH;
    if (item == nullptr || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query)))
        return {};
    return name;
}

// The file dialogs move the process into the folder they end in (the program relies on that); a test puts
// it back before its temporary folder goes.
class CurrentDirectoryGuard {
  public:
    CurrentDirectoryGuard() { GetCurrentDirectoryW(MAX_PATH, saved_); }
    ~CurrentDirectoryGuard() { SetCurrentDirectoryW(saved_); }

  private:
    wchar_t saved_[MAX_PATH] = {};
};

// The file name box of the open and save dialogs: a combo box in the Explorer style, an edit box before it.
void TypeFileName(HWND dialog, const std::wstring& name) {
    if (GetDlgItem(dialog, cmb13) != nullptr) {
        SetDlgItemTextW(dialog, cmb13, name.c_str());
    } else {
        SetDlgItemTextW(dialog, edt1, name.c_str());
    }
}

TEST(Win32Dialogs, FilterPartsBecomeNulSeparatedWithADoubleEnd) {
    using namespace std::string_literals;
    EXPECT_EQ(L"Files (*.exe)\0*.exe\0\0"s, DialogFilter("Files (*.exe)|*.exe"));
    EXPECT_EQ(L"A\0*.a\0B\0*.b\0\0"s, DialogFilter("A|*.a|B|*.b|"));
}

TEST(Win32Dialogs, MessageBoxShowsItsTextAndAnswersWithThePressedButton) {
    Win32Dialogs dialogs;
    std::wstring text;
    bool noIsDefault = false;
    bool yesIsDefault = true;
    DialogWatcher watcher(DialogTitled(L"Velmora question"), [&](HWND box) {
        text = ItemText(box, 0xFFFF);
        noIsDefault = IsDefaultButton(box, IDNO);
        yesIsDefault = IsDefaultButton(box, IDYES);
        PressButton(box, IDYES);
    });
    MsgResult answer = dialogs.Message(0, "Удалить отмеченные пакеты?", "Velmora question", MsgButtons::YesNo,
                                       MsgIcon::Exclamation, MsgDefault::Second);
    ASSERT_TRUE(watcher.Join());
    EXPECT_EQ(MsgResult::Yes, answer);
    EXPECT_EQ(L"Удалить отмеченные пакеты?", text);
    EXPECT_TRUE(noIsDefault);
    EXPECT_FALSE(yesIsDefault);

    bool hasNo = true;
    DialogWatcher plain(DialogTitled(L"Velmora notice"), [&](HWND box) {
        hasNo = GetDlgItem(box, IDNO) != nullptr;
        PressButton(box, IDOK);
    });
    EXPECT_EQ(MsgResult::Ok,
              dialogs.Message(0, "Done", "Velmora notice", MsgButtons::Ok, MsgIcon::None, MsgDefault::First));
    ASSERT_TRUE(plain.Join());
    EXPECT_FALSE(hasNo);
}

TEST(Win32Dialogs, OpenDialogOffersTheFilterStartsInTheFolderAndReturnsTheChoice) {
    TempFolder folder;
    CurrentDirectoryGuard keep;
    Win32FileSystem files;
    ASSERT_TRUE(files.ReplaceFile(folder.Path() + "\\Setup.exe", "MZ"));
    Win32Dialogs dialogs;
    std::vector<std::wstring> types;
    DialogWatcher watcher(DialogTitled(L"Choose the installer"), [&](HWND dialog) {
        types = ComboItems(GetDlgItem(dialog, cmb1));
        TypeFileName(dialog, L"Setup.exe");
        PressButton(dialog, IDOK);
    });
    std::optional<std::string> chosen =
        dialogs.OpenFile(0, "Programs (*.exe)|*.exe|All files|*.*", "Choose the installer", folder.Path());
    ASSERT_TRUE(watcher.Join());
    EXPECT_EQ((std::vector<std::wstring>{L"Programs (*.exe)", L"All files"}), types);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(Lower(folder.Path() + "\\Setup.exe"), Lower(*chosen));
}

TEST(Win32Dialogs, CancelledDialogsGiveNothing) {
    TempFolder folder;
    CurrentDirectoryGuard keep;
    Win32Dialogs dialogs;
    DialogWatcher open(DialogTitled(L"Open to cancel"), [](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_FALSE(dialogs.OpenFile(0, "Scenarios|*.scn", "Open to cancel", folder.Path()).has_value());
    EXPECT_TRUE(open.Join());
    DialogWatcher save(DialogTitled(L"Save to cancel"), [](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_FALSE(dialogs.SaveFile(0, "Scenarios|*.scn", "Save to cancel", folder.Path()).has_value());
    EXPECT_TRUE(save.Join());
}

TEST(Win32Dialogs, SaveDialogAsksBeforeReplacingAFile) {
    TempFolder folder;
    CurrentDirectoryGuard keep;
    Win32FileSystem files;
    ASSERT_TRUE(files.ReplaceFile(folder.Path() + "\\Package.scn", "old"));
    Win32Dialogs dialogs;
    bool asked = false;
    DialogWatcher watcher(DialogTitled(L"Save the scenario"), [&](HWND dialog) {
        TypeFileName(dialog, L"Package.scn");
        PressButton(dialog, IDOK);
        if (HWND prompt = WaitForWindow(AnyDialogExcept(dialog), 5000)) {
            asked = true;
            PressButton(prompt, IDYES);
        }
    });
    std::optional<std::string> chosen =
        dialogs.SaveFile(0, "Scenarios|*.scn", "Save the scenario", folder.Path());
    ASSERT_TRUE(watcher.Join());
    EXPECT_TRUE(asked);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(Lower(folder.Path() + "\\Package.scn"), Lower(*chosen));
}

TEST(Win32Dialogs, FolderBrowserOpensOnTheInitialFolder) {
    // Wine's folder tree does not always expand into the profile's Temp folder: use one on the drive root.
    TempFolder folder(L"C:\\");
    Win32Dialogs dialogs;
    std::wstring leaf = Utf8ToWide(folder.Path().substr(folder.Path().rfind('\\') + 1));
    DialogWatcher watcher(AnyDialogExcept(), [&](HWND dialog) {
        // The tree reaches the initial folder a little after the dialog shows.
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20)) {
            if (lstrcmpiW(SelectedFolderName(dialog).c_str(), leaf.c_str()) == 0)
                break;
        }
        PressButton(dialog, IDOK);
    });
    std::optional<std::string> chosen = dialogs.BrowseFolder(0, folder.Path(), "Choose the scenario folder");
    ASSERT_TRUE(watcher.Join());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(Lower(folder.Path()), Lower(*chosen));

    DialogWatcher cancel(AnyDialogExcept(), [](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_FALSE(dialogs.BrowseFolder(0, folder.Path(), "Cancel me").has_value());
    EXPECT_TRUE(cancel.Join());
}

}  // namespace
}  // namespace velmora
