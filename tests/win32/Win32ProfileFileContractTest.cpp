#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileFile.h"
#include "tests/contract/ProfileFileContract.h"
#include "tests/win32/TempFolder.h"

namespace velmora {
namespace {

struct Win32ProfileEnv {
    ProfileFile& Profile() { return profile; }
    FileSystem& Files() { return files; }
    std::string Folder() { return folder.Path(); }
    void MakeReadOnly(const std::string& path) { velmora::MakeReadOnly(path); }
    TempFolder folder;
    Win32FileSystem files;
    Win32ProfileFile profile;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ProfileFileContract, Win32ProfileEnv);

class Win32ProfileFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    Win32FileSystem files;
    Win32ProfileFile profile;
};

TEST_F(Win32ProfileFileTest, KeepsAUnicodeFileUnicodeAndStartsANewOneAnsi) {
    // A language file saved as UTF-16LE with its byte-order mark.
    std::wstring text = L"\xFEFF[Main]\r\nCaption=\x041F\x0443\x0441\x043A\r\n";
    std::string lng = folder.Path() + "\\Russian.lng";
    ASSERT_TRUE(files.ReplaceFile(
        lng, std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t))));
    EXPECT_EQ("Пуск", profile.GetString(lng, "Main", "Caption", "", 100));
    ASSERT_TRUE(profile.WriteString(lng, "Main", "Title", "Сценарии"));
    EXPECT_EQ("Сценарии", profile.GetString(lng, "Main", "Title", "", 100));
    EXPECT_EQ("Пуск", profile.GetString(lng, "Main", "Caption", "", 100));
    EXPECT_EQ("\xFF\xFE", files.ReadAll(lng).value_or("").substr(0, 2));

    std::string ini = folder.Path() + "\\velmora.ini";
    ASSERT_TRUE(profile.WriteString(ini, "General", "Language", "English"));
    EXPECT_EQ("[General]\r\nLanguage=English\r\n", files.ReadAll(ini));
}

TEST_F(Win32ProfileFileTest, ABareFileNameMeansTheCurrentFolder) {
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.WidePath().c_str()));
    const bool written = profile.WriteString("bare.ini", "General", "SpeedInstall", "1");
    const std::string read = profile.GetString("bare.ini", "General", "SpeedInstall", "", 10);
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ("1", read);
    EXPECT_TRUE(files.Exists(folder.Path() + "\\bare.ini"));
}

}  // namespace
}  // namespace velmora
