// The package path editor as an administrator uses it after moving a folder's installers to another share:
// one pass rewrites every row, unticked packages are left out, Save writes the rest and reads the folder
// again, a scenario that cannot be written stays in view, and closing asks only while a pass is unsaved.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

#include <commctrl.h>

#include "paths/win32/PathEditorIds.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WideText.h"
#include "scenario/ScenarioImage.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

namespace ids = path_editor;
constexpr int kPackages = 30;
using Texts = std::vector<std::wstring>;

std::wstring Name(int i) {
    return std::wstring(L"Package ") + (i < 10 ? L"0" : L"") + std::to_wstring(i);
}

std::wstring Installer(const std::wstring& share, int i) {
    return share + L"\\setup" + std::to_wstring(i) + L".exe";
}

class PathEditorE2eTest : public E2eTest {
  protected:
    void SetUp() override {
        E2eTest::SetUp();
        // Scenarios as a recorder leaves them: steps with a typed text, a command line and the save stamp.
        for (int i = 1; i <= kPackages; ++i) {
            ScenarioImage image(codec_, vars_);
            const std::string installer = WideToUtf8(Installer(L"D:\\distr", i));
            image.NewImage(installer, "Package number " + std::to_string(i), 1280, 1024);
            StepState step{{{"#32770", "Setup", 0}, {"Button", "&Next >", 1}},
                           {{kButtonLeft, kKindPress, 20, 10}, {kButtonLeft, kKindRelease, 0, 0}},
                           "%PROGRAMFILES%\\App",
                           true};
            image.AppendStep(step);
            image.AppendInstallerPath(installer);
            image.AppendCommandLine("/S /D=%PROGRAMFILES%\\App");
            image.AppendRecordStamp(LocalTime{2026, 12, 6, 10, 0, i});
            image.ScrambleImage();
            ASSERT_TRUE(image.WriteImageFile(files_, WideToUtf8(Scn(i))));
        }
    }

    std::wstring Scn(int i) const { return Path(Name(i) + L".SCN"); }

    // Starts the program and opens the editor from the main window's menu, once it shows every row.
    bool OpenEditor() {
        if (StartMain(L"", kPackages) == nullptr)
            return false;
        Command(main_, MainCommand::PathEditor);
        editor_ = WaitForOwn(ids::kClassName);
        table_ = GetDlgItem(editor_, ids::kTable);
        return editor_ != nullptr && WaitUntil([&] {
                   const std::vector<ListRow> rows = ListViewRows(table_, 3);
                   return rows.size() == kPackages && !rows.back().texts[1].empty();
               });
    }

    std::wstring Text(int id) const { return WindowText(GetDlgItem(editor_, id)); }
    bool CountersBecome(const Texts& counters) const {
        return WaitUntil([&] {
            return Texts{Text(ids::kTotal), Text(ids::kChanged), Text(ids::kToSave)} == counters;
        });
    }

    // The dark pixels of a row's name on screen: a name drawn in bold has more of them than in the regular
    // font.
    int DarkPixels(int row) const {
        SetForegroundWindow(editor_);
        WaitUntil([&] { return GetForegroundWindow() == editor_; }, Deadline{2000});
        const Picture picture = Capture(ListItemLabel(table_, row));
        return static_cast<int>(std::count_if(picture.pixels.begin(), picture.pixels.end(), [](DWORD pixel) {
            return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) < 3 * 96;
        }));
    }

    Win32Codec codec_;
    Win32FileSystem files_;
    PathVariables vars_{files_};
    HWND editor_ = nullptr;
    HWND table_ = nullptr;
};

// One pass moves every installer from D:\distr to the disc's soft folder (the search typed in other letter
// case); two rows are unticked and one scenario is read-only when Save writes the rest.
TEST_F(PathEditorE2eTest, OnePassChangesEveryRowSaveWritesTheTickedOnesAndKeepsTheUnwrittenOneInView) {
    MakeReadOnly(WideToUtf8(Scn(5)));
    ASSERT_TRUE(OpenEditor());
    EXPECT_TRUE(CountersBecome({L"30", L"0", L"0"}));
    const int regular[] = {DarkPixels(0), DarkPixels(4)};

    SetText(editor_, ids::kFindBox, L"d:\\DISTR");
    SetText(editor_, ids::kReplaceBox, L"%CDROM%\\soft");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(editor_, ids::kReplace)); }));
    ASSERT_TRUE(PressButton(editor_, ids::kReplace));
    ASSERT_TRUE(CountersBecome({L"30", L"30", L"30"}));
    std::vector<ListRow> rows = ListViewRows(table_, 3);
    for (int i = 0; i < kPackages; ++i)
        EXPECT_EQ(Texts(rows[i].texts),
                  (Texts{Name(i + 1), Installer(L"D:\\distr", i + 1), Installer(L"%CDROM%\\soft", i + 1)}));
    const int bold = DarkPixels(0);
    EXPECT_GT(bold, regular[0]) << "the changed row is not bold";
    SaveScreenshot(editor_, L"path-editor-after-pass");

    SetListItemState(table_, 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    SetListItemState(table_, 2, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    ASSERT_TRUE(CountersBecome({L"30", L"30", L"28"}));
    // A pass not saved: closing asks, and No keeps the window.
    PostMessageW(editor_, WM_CLOSE, 0, 0);
    EXPECT_NE(Answer(IDNO, L"Velmora Runwright"), L"no message box");
    EXPECT_TRUE(IsWindow(editor_));

    // The read-only scenario: save elsewhere? Yes; the save dialog is cancelled; really not save? Yes.
    ASSERT_TRUE(PressButton(editor_, ids::kSave));
    EXPECT_NE(Answer(IDYES, L"Error while saving"), L"no message box");
    HWND saveDialog =
        WaitForWindow({.className = L"#32770", .caption = L"Save", .processId = process_->Id()});
    ASSERT_NE(saveDialog, nullptr);
    SaveScreenshot(saveDialog, L"path-editor-save-elsewhere");
    ASSERT_TRUE(PressButton(saveDialog, IDCANCEL));
    EXPECT_NE(Answer(IDYES, L"Don't save?"), L"no message box");
    ASSERT_TRUE(WaitUntil([&] { return Text(ids::kStatus) == L"Changes saved - 27"; }))
        << WideToUtf8(Text(ids::kStatus));

    // The table was read again from the files: the stored paths are the saved ones (what else a saved file
    // keeps: the model's unit tests) and every row is ticked; only the row not written keeps its new path and
    // stays bold.
    rows = ListViewRows(table_, 3);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kPackages));
    for (int i = 0; i < kPackages; ++i) {
        const bool left = i == 1 || i == 2 || i == 4;
        EXPECT_EQ(rows[i].texts[1], Installer(left ? L"D:\\distr" : L"%CDROM%\\soft", i + 1)) << i;
        EXPECT_EQ(rows[i].texts[2], i == 4 ? Installer(L"%CDROM%\\soft", i + 1) : L"") << i;
        EXPECT_TRUE(rows[i].checked) << i;
    }
    EXPECT_TRUE(CountersBecome({L"30", L"1", L"1"}));
    EXPECT_LT(DarkPixels(0), bold);
    EXPECT_GT(DarkPixels(4), regular[1]) << "the row not saved is not bold";
    SaveScreenshot(editor_, L"path-editor-after-save");

    // The table grows with the window; a window shrunk until the table would vanish leaves it as it was.
    auto sizeOf = [](HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return std::pair(r.right - r.left, r.bottom - r.top);
    };
    const auto [width, height] = sizeOf(editor_);
    const auto [tableWidth, tableHeight] = sizeOf(table_);
    SetWindowPos(editor_, nullptr, 0, 0, width + 100, height + 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return sizeOf(table_) == std::pair(tableWidth + 100, tableHeight + 50); }));
    SetWindowPos(editor_, nullptr, 0, 0, 150, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return sizeOf(editor_).first < 200; }));
    EXPECT_EQ(sizeOf(table_), std::pair(tableWidth + 100, tableHeight + 50));

    // Saved: closing does not ask; the editor goes and the main window takes input again.
    PostMessageW(editor_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor_) && IsWindowEnabled(main_); }))
        << "the editor asked or stayed";
    CloseMain();
}

}  // namespace
}  // namespace velmora::e2e
