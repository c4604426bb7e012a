// Saving a scenario over a file that cannot be replaced must leave that file exactly as it was, and leave
// nothing else behind in its folder.
#include <gtest/gtest.h>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "scenario/SaveScenario.h"
#include "tests/win32/TempFolder.h"

namespace velmora {
namespace {

class ScenarioWriteWin32Test : public ::testing::Test {
  protected:
    ScenarioWriteWin32Test() {
        image.NewImage("%DRIVEAPP%\\setup.bat", "Новый сценарий", 1024, 768);
        image.AppendInstallerPath("%DRIVEAPP%\\setup.bat");
        image.AppendCommandLine("/S");
        image.AppendRecordStamp(LocalTime{2026, 12, 6, 12, 0, 0});
        image.ScrambleImage();
        previous = std::string(5000, '\x5A') + "previous scenario";
        EXPECT_TRUE(files.ReplaceFile(target, previous));
    }

    std::vector<std::string> Listing() { return files.ListFiles(folder.Path(), "*"); }

    TempFolder folder;
    Win32FileSystem files;
    std::string target = folder.Path() + "\\Пакет.SCN";
    std::string previous;
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    MemoryFileSystem noFiles;
    PathVariables vars{noFiles};
    ScenarioImage image{*codec, vars};
};

TEST_F(ScenarioWriteWin32Test, AReadOnlyTargetKeepsItsBytes) {
    ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(target).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(image.WriteImageFile(files, target));
    EXPECT_EQ(files.ReadAll(target), previous);
    EXPECT_EQ(Listing(), std::vector<std::string>{"Пакет.SCN"});
}

TEST_F(ScenarioWriteWin32Test, ATargetHeldOpenWithoutSharingKeepsItsBytes) {
    {
        unique_hfile held(CreateFileW(Utf8ToWide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(image.WriteImageFile(files, target));
    }
    EXPECT_EQ(files.ReadAll(target), previous);
    EXPECT_EQ(Listing(), std::vector<std::string>{"Пакет.SCN"});
}

TEST_F(ScenarioWriteWin32Test, ALockedTargetIsSavedElsewhereWhenTheUserAsks) {
    unique_hfile held(CreateFileW(Utf8ToWide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    FakeDialogs dialogs;
    MemoryProfileFile profile(noFiles);
    Language language(noFiles, profile, dialogs);
    dialogs.answers = {MsgResult::Yes};
    dialogs.fileAnswers = {folder.Path() + "\\Копия"};
    std::string path = target;
    EXPECT_TRUE(SaveScenarioFile(image, files, dialogs, language, 0, path, folder.Path()));
    EXPECT_EQ(path, folder.Path() + "\\Копия.SCN");
    EXPECT_EQ(files.ReadAll(path), image.Bytes());
    held.reset();
    EXPECT_EQ(files.ReadAll(target), previous);

    // The written file reads back as the scenario it was.
    ScenarioImage loaded(*codec, vars);
    ASSERT_TRUE(loaded.LoadImageFile(files, path));
    loaded.UnscrambleImage();
    ASSERT_TRUE(loaded.ReadHeader());
    EXPECT_EQ(loaded.GetDescription(), "Новый сценарий");
    EXPECT_EQ(loaded.GetInstallerPath(), "%DRIVEAPP%\\setup.bat");
    EXPECT_EQ(GetFileAttributesW(Utf8ToWide(path).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(ScenarioWriteWin32Test, AWritableTargetIsReplacedWhole) {
    EXPECT_TRUE(image.WriteImageFile(files, target));
    EXPECT_EQ(files.ReadAll(target), image.Bytes());
    EXPECT_EQ(Listing(), std::vector<std::string>{"Пакет.SCN"});
}

}  // namespace
}  // namespace velmora
