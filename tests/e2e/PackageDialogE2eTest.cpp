// The package dialog as an administrator uses it on a folder of packages: a new package's dialog, and a
// package's properties renamed, described and pointed at an installer that is not there yet, where a name
// that another package has is refused without touching either file.
#include <gtest/gtest.h>

#include <string>

#include "packages/win32/PackageDialogIds.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

using namespace package_dialog;

using PackageDialogE2eTest = E2eTest;

TEST_F(PackageDialogE2eTest, PropertiesRenameAndDescribeAPackageRefuseATakenNameAndKeepAFuturePath) {
    // One-step packages that start the fixture wizard with the command line "/S".
    for (const auto& [name, words] :
         {std::pair(L"Alpha", L"first words"), std::pair(L"Beta", L"other package")})
        ASSERT_FALSE(BuildScenario(folder_.WidePath(), name, {FixtureClick({}, 5, 5)}, FixtureWizardPath(),
                                   L"/S", words)
                         .empty());
    ASSERT_NE(StartMain(L"", 2), nullptr);

    Command(main_, MainCommand::NewPackage);
    HWND dialog = WaitForOwn(kClassName);
    ASSERT_NE(dialog, nullptr) << "no dialog for a new package";
    EXPECT_EQ(WindowText(dialog), L"New package");
    SetText(dialog, kName, L"Office 2026");
    SaveScreenshot(dialog, L"package-dialog-new");
    PressButton(dialog, kCancel);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && IsWindowEnabled(main_); }));

    // A person's right click on the first package opens its menu; Escape closes it, and Edit → Properties
    // opens the package last clicked.
    SetForegroundWindow(main_);
    RECT list{};
    GetWindowRect(GetDlgItem(main_, main_window::kPackageList), &list);
    SetCursorPos(list.left + 40, list.top + 8);
    SendButton(MOUSEEVENTF_RIGHTDOWN);
    SendButton(MOUSEEVENTF_RIGHTUP);
    HWND menu = WaitForOwn(L"#32768");
    ASSERT_NE(menu, nullptr) << "no context menu";
    TypeKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    Command(main_, MainCommand::Properties);
    dialog = WaitForOwn(kClassName);
    ASSERT_NE(dialog, nullptr) << "no properties dialog";
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kName)), L"Alpha");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kCommandLine)), L"/S");
    SaveScreenshot(dialog, L"package-dialog-properties");

    SetText(dialog, kName, L"Beta");
    PressButton(dialog, kOk);
    // Refused, and neither file touched (the model's unit tests look at the files).
    EXPECT_EQ(Answer(IDOK), L"A package named 'Beta' already exists. Choose another name.");

    SetText(dialog, kName, L"Renamed");
    SetText(dialog, kDescription, L"changed words");
    SetText(dialog, kPath, L"C:\\Later\\setup.exe");
    PressButton(dialog, kOk);
    EXPECT_THAT(Answer(IDYES), StartsWith(L"The file you gave was not found."));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    const std::string dump = DumpScenario(Path(L"Renamed.SCN"));
    for (const char* line : {"description \"changed words\"", "installer \"C:\\\\Later\\\\setup.exe\"",
                             "commandline \"/S\"", "event left press 5 5"})
        EXPECT_THAT(dump, HasSubstr(line));
    CloseMain();
}

}  // namespace
}  // namespace velmora::e2e
