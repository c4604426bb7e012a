#include <gtest/gtest.h>

#include "base/ProjectAddresses.h"
#include "tests/unit/TextDoubles.h"
#include "tests/win32/WindowTools.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/AboutWindowIds.h"

namespace velmora {
namespace {

// Read from a second thread while this one runs the window's modal loop, then closed by a click of the real
// mouse on one of its texts; a window that does not close is closed, so the test fails instead of hanging.
TEST(AboutWindowTest, ShowsItsLanguageTextsLinksOnlyTheAddressesThereAreAndAClickOnATextCloses) {
    unique_hwnd owner{CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 90, 640,
                                      480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)};
    TextDoubles doubles;
    doubles.LoadEnglish(
        "[About]\r\n1=About...\r\n[Autor]\r\n1=Translation\r\n2=Ann\r\n3=ann@example.org\r\n");
    std::wstring title, translator;
    bool mailShown = false, ownerEnabled = true;
    WindowWatcher reader({.className = about_window::kClassName, .processId = GetCurrentProcessId()},
                         [&](HWND about) {
                             title = WindowText(about);
                             translator = WindowText(GetDlgItem(about, about_window::kTranslator));
                             mailShown = GetDlgItem(about, about_window::kMail) != nullptr;
                             ownerEnabled = IsWindowEnabled(owner.get());
                             SaveScreenshot(about, L"about-window");
                             const POINT at = Centre(GetDlgItem(about, about_window::kRights));
                             SetCursorPos(at.x, at.y);
                             mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
                             mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
                             if (!WaitUntil([&] { return !IsWindow(about); }, Deadline{5000})) {
                                 ADD_FAILURE() << "the click did not close the about window";
                                 PostMessageW(about, WM_CLOSE, 0, 0);
                             }
                         });
    unique_hmodule program = LoadProgramResources();
    ShowAbout(owner.get(), doubles.language, program.get());
    ASSERT_TRUE(reader.Join());
    EXPECT_EQ(title, L"About...");
    EXPECT_EQ(translator, L"Ann");
    EXPECT_EQ(mailShown, !AuthorMailAddress().empty());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

}  // namespace
}  // namespace velmora
