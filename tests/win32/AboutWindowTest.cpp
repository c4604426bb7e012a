#include <gtest/gtest.h>

#include <functional>

#include "base/Language.h"
#include "base/ProjectAddresses.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/win32/WideText.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/AboutWindowIds.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

class AboutWindowTest : public ::testing::Test {
  protected:
    void LoadEnglish(const std::string& text) {
        files.AddFile("C:\\Tools\\language\\English.lng", text);
        language.languageName = "English";
        language.LoadLanguage("C:\\Tools", 1033, false);
    }

    unique_hwnd owner{CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 90, 640,
                                      480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)};
    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
};

// Reads the about window from a second thread while this one runs its modal loop, then clicks the given text
// with the real mouse. A window that does not close is closed, so the test fails instead of hanging.
void ShowAboutAndClick(HWND owner, const Language& language, int clickedId, std::function<void(HWND)> check) {
    WindowWatcher reader({.className = about_window::kClassName, .processId = GetCurrentProcessId()},
                         [&](HWND about) {
                             check(about);
                             const POINT at = Centre(GetDlgItem(about, clickedId));
                             SetCursorPos(at.x, at.y);
                             mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
                             mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
                             if (!WaitUntil([&] { return !IsWindow(about); }, Deadline{5000})) {
                                 ADD_FAILURE() << "the click did not close the about window";
                                 PostMessageW(about, WM_CLOSE, 0, 0);
                             }
                         });
    unique_hmodule program = LoadProgramResources();
    ShowAbout(owner, language, program.get());
    EXPECT_TRUE(reader.Join());
}

TEST_F(AboutWindowTest, AboutWindowShowsItsBuiltInTextsAndAClickOnOneCloses) {
    std::wstring title, version;
    bool ownerEnabled = true;
    ShowAboutAndClick(owner.get(), language, about_window::kDescription, [&](HWND about) {
        title = WindowText(about);
        version = WindowText(GetDlgItem(about, about_window::kVersion));
        ownerEnabled = IsWindowEnabled(owner.get());
        SaveScreenshot(about, L"about-window");
    });
    EXPECT_EQ(title, L"О программе...");
    EXPECT_EQ(version, L"Версия " + Utf8ToWide(ProgramVersionText()));
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

TEST_F(AboutWindowTest, AboutWindowLinksOnlyTheAddressesItHas) {
    LoadEnglish("[About]\r\n1=About...\r\n[Autor]\r\n1=Translation\r\n2=Ann\r\n3=ann@example.org\r\n");
    bool mailShown = false;
    std::wstring translator;
    ShowAboutAndClick(owner.get(), language, about_window::kRights, [&](HWND about) {
        mailShown = GetDlgItem(about, about_window::kMail) != nullptr;
        translator = WindowText(GetDlgItem(about, about_window::kTranslator));
        SaveScreenshot(about, L"about-window-english");
    });
    EXPECT_EQ(mailShown, !AuthorMailAddress().empty());
    EXPECT_EQ(translator, L"Ann");
}

}  // namespace
}  // namespace velmora
