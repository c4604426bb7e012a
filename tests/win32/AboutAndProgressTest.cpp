#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "base/Language.h"
#include "base/ProjectAddresses.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/AboutWindowIds.h"
#include "ui/win32/ProgressWindow.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;

// The build folder's parts, found from this program's place in it (tests/win32).
std::filesystem::path BuildFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().parent_path().parent_path();
}

std::string Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return WideToUtf8(text);
}

POINT Centre(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class AboutAndProgressTest : public ::testing::Test {
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

TEST_F(AboutAndProgressTest, ProgressWindowFillsItsShareOverItsDisabledOwnerUntilClosed) {
    ProgressWindow progress(owner.get(), language);
    ASSERT_TRUE(progress.Show());
    progress.SetRange(0, 10);
    progress.SetValue(4);
    const HWND window = progress.Window();
    EXPECT_EQ(Text(window), "Чтение информации");
    EXPECT_FALSE(IsWindowEnabled(owner.get()));
    EXPECT_NEAR(Centre(window).x, Centre(owner.get()).x, 1);
    EXPECT_NEAR(Centre(window).y, Centre(owner.get()).y, 1);

    const Picture picture = SaveScreenshot(window, L"progress-window");
    const int filled = picture.Count(128, 128, 128);
    const int rest = picture.Count(130, 130, 180);
    ASSERT_GT(filled + rest, 0);
    EXPECT_NEAR(static_cast<double>(filled) / (filled + rest), 0.4, 0.05);
    EXPECT_GT(picture.Count(255, 255, 0), 0) << "the percentage is written in yellow";

    progress.Close();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

// Reads the about window from a second thread while this one runs its modal loop, then clicks the given text
// with the real mouse. A window that does not close is closed, so the test fails instead of hanging.
void ShowAboutAndClick(HWND owner, const Language& language, int clickedId, std::function<void(HWND)> check) {
    std::thread reader([&] {
        HWND about = nullptr;
        for (auto deadline = Clock::now() + std::chrono::seconds(10); !about && Clock::now() < deadline;) {
            about = FindWindowW(about_window::kClassName, nullptr);
            about = about && IsWindowVisible(about) ? about : nullptr;  // complete once shown
        }
        if (about == nullptr)
            return;
        check(about);
        const POINT at = Centre(GetDlgItem(about, clickedId));
        SetCursorPos(at.x, at.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        for (auto deadline = Clock::now() + std::chrono::seconds(5);
             IsWindow(about) && Clock::now() < deadline;)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (IsWindow(about)) {
            ADD_FAILURE() << "the click did not close the about window";
            PostMessageW(about, WM_CLOSE, 0, 0);
        }
    });
    unique_hmodule program(LoadLibraryExW((BuildFolder() / "velmora.exe").c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ShowAbout(owner, language, program.get());
    reader.join();
}

TEST_F(AboutAndProgressTest, AboutWindowShowsItsBuiltInTextsAndAClickOnOneCloses) {
    std::string title, version;
    bool ownerEnabled = true;
    ShowAboutAndClick(owner.get(), language, about_window::kDescription, [&](HWND about) {
        title = Text(about);
        version = Text(GetDlgItem(about, about_window::kVersion));
        ownerEnabled = IsWindowEnabled(owner.get());
        SaveScreenshot(about, L"about-window");
    });
    EXPECT_EQ(title, "О программе...");
    EXPECT_EQ(version, "Версия " + ProgramVersionText());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

TEST_F(AboutAndProgressTest, AboutWindowLinksOnlyTheAddressesItHas) {
    LoadEnglish("[About]\r\n1=About...\r\n[Autor]\r\n1=Translation\r\n2=Ann\r\n3=ann@example.org\r\n");
    bool mailShown = false;
    std::string translator;
    ShowAboutAndClick(owner.get(), language, about_window::kRights, [&](HWND about) {
        mailShown = GetDlgItem(about, about_window::kMail) != nullptr;
        translator = Text(GetDlgItem(about, about_window::kTranslator));
        SaveScreenshot(about, L"about-window-english");
    });
    EXPECT_EQ(mailShown, !AuthorMailAddress().empty());
    EXPECT_EQ(translator, "Ann");
}

}  // namespace
}  // namespace velmora
