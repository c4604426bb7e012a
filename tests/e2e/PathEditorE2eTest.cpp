// The package path editor as an administrator uses it after moving a folder's installers to another share:
// one pass rewrites every row, unticked packages are left out, Save writes the rest and reads the folder
// again, a scenario that cannot be written stays in view, and closing asks only while a pass is unsaved.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

std::string ReadFile(const std::wstring& path) {
    std::ifstream file{std::filesystem::path(path), std::ios::binary};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class PathEditorE2eTest : public testing::Test {
  protected:
    void SetUp() override {
        RemoveProgramSettings();
        WriteSetting(L"Install", L"Registry", L"1");
        WriteSetting(L"Path", L"FolderSCN", folder_.WidePath());
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
            ASSERT_TRUE(image.WriteImageFile(files_, WideToUtf8(Path(Name(i)))));
        }
    }

    std::wstring Path(const std::wstring& name) const { return folder_.WidePath() + L"\\" + name + L".SCN"; }

    // The scenario as scntool shows it.
    std::vector<std::string> Dump(const std::wstring& name) {
        const std::wstring text = folder_.WidePath() + L"\\" + name + L".txt";
        auto scntool = Process::Start(VelmoraFolder() + L"\\tools\\scntool.exe",
                                      L"dump \"" + Path(name) + L"\" -o \"" + text + L"\"");
        EXPECT_TRUE(scntool && scntool->WaitExit() == std::optional<DWORD>(0)) << "scntool failed";
        std::vector<std::string> lines;
        std::ifstream in{std::filesystem::path(text)};
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(0, line.find('\r')));
        DeleteFileW(text.c_str());
        return lines;
    }

    // Starts the program and opens the editor from the main window's menu, once it shows every row.
    bool OpenEditor() {
        std::optional<Process> started = StartVelmora();
        if (!started)
            return false;
        process_.emplace(std::move(*started));
        main_ = WaitForWindow({.className = main_window::kClassName, .processId = process_->Id()});
        Command(main_, MainCommand::PathEditor);
        editor_ = WaitForWindow({.className = ids::kClassName, .processId = process_->Id()});
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

    // Every installer moves from D:\distr to the disc's soft folder; the search is typed in other letter
    // case.
    void PassToTheDisc() {
        for (auto [id, text] :
             {std::pair(ids::kFindBox, L"d:\\DISTR"), std::pair(ids::kReplaceBox, L"%CDROM%\\soft")}) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(GetDlgItem(editor_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                                SMTO_ABORTIFHUNG, 5000, &ignored);
        }
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(editor_, ids::kReplace)); }));
        ASSERT_TRUE(PressButton(editor_, ids::kReplace));
        ASSERT_TRUE(CountersBecome({L"30", L"30", L"30"}));
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

    void Answer(const std::wstring& caption, int button) {
        HWND box = WaitForWindow({.className = L"#32770", .caption = caption, .processId = process_->Id()});
        ASSERT_NE(box, nullptr) << "no box " << WideToUtf8(caption);
        EXPECT_TRUE(PressButton(box, button) && WaitUntil([&] { return !IsWindow(box); }));
    }

    // Closing without a question: the editor goes and the main window takes input again.
    void CloseWithoutQuestion() {
        PostMessageW(editor_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor_) && IsWindowEnabled(main_); }))
            << "the editor asked or stayed";
        PostMessageW(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(process_->WaitExit());
    }

    TempFolder folder_;
    Win32Codec codec_;
    Win32FileSystem files_;
    PathVariables vars_{files_};
    std::optional<Process> process_;
    HWND main_ = nullptr;
    HWND editor_ = nullptr;
    HWND table_ = nullptr;
};

TEST_F(PathEditorE2eTest, OnePassChangesEveryRowAndSaveWritesTheTickedOnesOnly) {
    ASSERT_TRUE(OpenEditor());
    EXPECT_TRUE(CountersBecome({L"30", L"0", L"0"}));
    const std::vector<std::string> before[] = {Dump(Name(1)), Dump(Name(2))};
    const int regular = DarkPixels(0);

    PassToTheDisc();
    std::vector<ListRow> rows = ListViewRows(table_, 3);
    for (int i = 0; i < kPackages; ++i)
        EXPECT_EQ(Texts(rows[i].texts),
                  (Texts{Name(i + 1), Installer(L"D:\\distr", i + 1), Installer(L"%CDROM%\\soft", i + 1)}));
    const int bold = DarkPixels(0);
    EXPECT_GT(bold, regular) << "the changed row is not bold";
    SaveScreenshot(editor_, L"path-editor-after-pass");

    SetListItemState(table_, 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    SetListItemState(table_, 2, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    ASSERT_TRUE(CountersBecome({L"30", L"30", L"28"}));
    ASSERT_TRUE(PressButton(editor_, ids::kSave));
    ASSERT_TRUE(WaitUntil([&] { return Text(ids::kStatus) == L"Changes saved - 28"; }))
        << WideToUtf8(Text(ids::kStatus));

    // The table was read again: the stored paths are the saved ones, nothing is new, bold or unticked.
    rows = ListViewRows(table_, 3);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kPackages));
    for (int i = 0; i < kPackages; ++i) {
        const bool left = i == 1 || i == 2;
        EXPECT_EQ(rows[i].texts[1], Installer(left ? L"D:\\distr" : L"%CDROM%\\soft", i + 1)) << i;
        EXPECT_TRUE(rows[i].texts[2].empty() && rows[i].checked) << i;
    }
    EXPECT_TRUE(CountersBecome({L"30", L"0", L"0"}));
    EXPECT_LT(DarkPixels(0), bold);

    // Only the installer line of a saved scenario changed; an unticked one is as it was.
    std::vector<std::string> expected = before[0];
    auto installer = std::find(expected.begin(), expected.end(), "installer \"D:\\\\distr\\\\setup1.exe\"");
    ASSERT_NE(installer, expected.end());
    *installer = "installer \"%CDROM%\\\\soft\\\\setup1.exe\"";
    EXPECT_EQ(Dump(Name(1)), expected);
    EXPECT_EQ(Dump(Name(2)), before[1]);
    CloseWithoutQuestion();
}

TEST_F(PathEditorE2eTest, UnsavedPassAsksOnClosingAndAReadOnlyScenarioStaysInView) {
    const std::wstring locked = Path(Name(5));
    const std::string original = ReadFile(locked);
    MakeReadOnly(WideToUtf8(locked));
    ASSERT_TRUE(OpenEditor());
    const int regular = DarkPixels(4);
    PassToTheDisc();

    // A pass not saved: closing asks, and No keeps the window.
    PostMessageW(editor_, WM_CLOSE, 0, 0);
    Answer(L"Velmora Runwright", IDNO);
    EXPECT_TRUE(IsWindow(editor_));

    // The read-only scenario: save elsewhere? Yes; the save dialog is cancelled; really not save? Yes.
    ASSERT_TRUE(PressButton(editor_, ids::kSave));
    Answer(L"Error while saving", IDYES);
    HWND saveDialog =
        WaitForWindow({.className = L"#32770", .caption = L"Save", .processId = process_->Id()});
    ASSERT_NE(saveDialog, nullptr);
    SaveScreenshot(saveDialog, L"path-editor-save-elsewhere");
    ASSERT_TRUE(PressButton(saveDialog, IDCANCEL));
    Answer(L"Don't save?", IDYES);
    ASSERT_TRUE(WaitUntil([&] { return Text(ids::kStatus) == L"Changes saved - 29"; }))
        << WideToUtf8(Text(ids::kStatus));

    // After the reading, the row not saved keeps its new path, bold and ticked; the others are saved.
    const std::vector<ListRow> rows = ListViewRows(table_, 3);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kPackages));
    for (int i = 0; i < kPackages; ++i) {
        const bool kept = i == 4;
        EXPECT_EQ(rows[i].texts[1], Installer(kept ? L"D:\\distr" : L"%CDROM%\\soft", i + 1)) << i;
        EXPECT_EQ(rows[i].texts[2], kept ? Installer(L"%CDROM%\\soft", i + 1) : L"") << i;
        EXPECT_TRUE(rows[i].checked) << i;
    }
    EXPECT_TRUE(CountersBecome({L"30", L"1", L"1"}));
    EXPECT_GT(DarkPixels(4), regular) << "the row not saved is not bold";
    SaveScreenshot(editor_, L"path-editor-after-save");
    EXPECT_EQ(ReadFile(locked), original);

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
    CloseWithoutQuestion();
}

}  // namespace
}  // namespace velmora::e2e
