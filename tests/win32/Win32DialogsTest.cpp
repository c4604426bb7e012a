#include "platform/win32/Win32Dialogs.h"

#include <gtest/gtest.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/WindowTools.h"

#include <dlgs.h>

namespace velmora {
namespace {

std::wstring Lower(const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return wide;
}

bool IsDefaultButton(HWND dialog, int id) {
    return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// The file name box of the open and save dialogs: a combo box in the Explorer style, an edit box before it.
void TypeFileName(HWND dialog, const std::wstring& name) {
    SetDlgItemTextW(dialog, GetDlgItem(dialog, cmb13) != nullptr ? cmb13 : edt1, name.c_str());
}

// The file dialogs move the process into the folder they end in (the program relies on that); the tests put
// it back before their temporary folder goes.
class Win32DialogsTest : public ::testing::Test {
  protected:
    Win32DialogsTest() { GetCurrentDirectoryW(MAX_PATH, saved_); }
    ~Win32DialogsTest() override { SetCurrentDirectoryW(saved_); }

    TempFolder folder;
    Win32FileSystem files;
    Win32Dialogs dialogs;

  private:
    wchar_t saved_[MAX_PATH] = {};
};

// Message boxes' texts, and the answers they give, are checked by the end-to-end tests of the main window and
// the disc wizard, which answer the program's questions.
TEST_F(Win32DialogsTest, MessageBoxMakesTheChosenButtonTheDefault) {
    bool noIsDefault = false;
    bool yesIsDefault = true;
    WindowWatcher question(OwnDialog(L"Velmora question"), [&](HWND box) {
        noIsDefault = IsDefaultButton(box, IDNO);
        yesIsDefault = IsDefaultButton(box, IDYES);
        PressButton(box, IDYES);
    });
    EXPECT_EQ(MsgResult::Yes, dialogs.Message(0, "Удалить отмеченные пакеты?", "Velmora question",
                                              MsgButtons::YesNo, MsgIcon::Exclamation, MsgDefault::Second));
    ASSERT_TRUE(question.Join());
    EXPECT_TRUE(noIsDefault);
    EXPECT_FALSE(yesIsDefault);
}

TEST_F(Win32DialogsTest, OpenDialogOffersTheFilterStartsInTheFolderAndReturnsTheChoiceOrNothing) {
    ASSERT_TRUE(files.ReplaceFile(folder.Path() + "\\Setup.exe", "MZ"));
    std::vector<std::wstring> types;
    WindowWatcher choose(OwnDialog(L"Choose the installer"), [&](HWND dialog) {
        HWND combo = GetDlgItem(dialog, cmb1);
        for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t item[64] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            types.push_back(item);
        }
        TypeFileName(dialog, L"Setup.exe");
        PressButton(dialog, IDOK);
    });
    // The filter as the program gives it, ending in a bar.
    std::optional<std::string> chosen =
        dialogs.OpenFile(0, "Programs (*.exe)|*.exe|All files|*.*|", "Choose the installer", folder.Path());
    ASSERT_TRUE(choose.Join());
    EXPECT_EQ((std::vector<std::wstring>{L"Programs (*.exe)", L"All files"}), types);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(Lower(folder.Path() + "\\Setup.exe"), Lower(*chosen));

    WindowWatcher cancel(OwnDialog(L"Open to cancel"), [](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_FALSE(dialogs.OpenFile(0, "Scenarios|*.scn", "Open to cancel", folder.Path()).has_value());
    EXPECT_TRUE(cancel.Join());
}

// A cancelled save dialog: the path editor's end-to-end test.
TEST_F(Win32DialogsTest, SaveDialogAsksBeforeReplacingAFile) {
    ASSERT_TRUE(files.ReplaceFile(folder.Path() + "\\Package.scn", "old"));
    bool asked = false;
    WindowWatcher save(OwnDialog(L"Save the scenario"), [&](HWND dialog) {
        TypeFileName(dialog, L"Package.scn");
        PressButton(dialog, IDOK);
        WindowQuery prompt = OwnDialog();
        prompt.except = dialog;
        asked = PressButton(WaitForWindow(prompt, Deadline{5000}), IDYES);
    });
    std::optional<std::string> chosen =
        dialogs.SaveFile(0, "Scenarios|*.scn", "Save the scenario", folder.Path());
    ASSERT_TRUE(save.Join());
    EXPECT_TRUE(asked);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(Lower(folder.Path() + "\\Package.scn"), Lower(*chosen));
}

TEST_F(Win32DialogsTest, FolderBrowserOpensOnTheInitialFolder) {
    // Wine's folder tree does not always expand into the profile's Temp folder: use one on the drive root.
    TempFolder onRoot(L"C:\\");
    const std::string initial = onRoot.Path();
    const std::wstring leaf = Lower(initial.substr(initial.rfind('\\') + 1));
    WindowWatcher choose(OwnDialog(), [&](HWND dialog) {
        // The tree reaches the initial folder a little after the dialog shows; its edit box names the folder.
        HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        WaitUntil([&] { return Lower(WideToUtf8(WindowText(edit))) == leaf; }, Deadline{10000});
        PressButton(dialog, IDOK);
    });
    std::optional<std::string> chosen = dialogs.BrowseFolder(0, initial, "Choose the scenario folder");
    ASSERT_TRUE(choose.Join());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(Lower(initial), Lower(*chosen));

    WindowWatcher cancel(OwnDialog(), [](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_FALSE(dialogs.BrowseFolder(0, initial, "Cancel me").has_value());
    EXPECT_TRUE(cancel.Join());
}

}  // namespace
}  // namespace velmora
