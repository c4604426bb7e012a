#pragma once
// Sane answers that the system facts double and the real system must both give. An environment supplies:
//   SystemInfo& System();  Clock& Time();
//   FileSystem& Files();   where the folders it names can be looked up
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/Utilities.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

namespace velmora {

template <typename Env>
class SystemInfoContract : public ::testing::Test {
  protected:
    SystemInfo& sys() { return env.System(); }
    Env env;
};

TYPED_TEST_SUITE_P(SystemInfoContract);

TYPED_TEST_P(SystemInfoContract, FoldersExistInTheirPromisedForm) {
    std::string program = this->sys().ProgramFolder();
    ASSERT_GE(program.size(), 3u);
    EXPECT_TRUE(this->env.Files().IsDirectory(program));
    EXPECT_TRUE(program.size() == 3 || program.back() != '\\') << program;

    std::string windows = this->sys().WindowsFolder();
    EXPECT_TRUE(this->env.Files().IsDirectory(windows));
    EXPECT_NE('\\', windows.back());
    EXPECT_EQ(":\\", windows.substr(1, 2));

    // The user's own folders lie in a profile folder right under it.
    const std::string profiles = this->sys().ProfilesFolder();
    EXPECT_TRUE(this->env.Files().IsDirectory(profiles)) << profiles;
    EXPECT_NE('\\', profiles.back());
    EXPECT_TRUE(StartsWithNoCase(this->sys().LocalAppDataFolder(), profiles + "\\")) << profiles;

    std::string temp = this->sys().TempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ('\\', temp.back());
    EXPECT_TRUE(this->env.Files().IsDirectory(temp));
}

TYPED_TEST_P(SystemInfoContract, DriveRootsIncludeTheFixedDiskC) {
    std::vector<std::string> roots = this->sys().LogicalDriveRoots();
    ASSERT_FALSE(roots.empty());
    for (const std::string& root : roots) {
        EXPECT_EQ(3u, root.size()) << root;
        EXPECT_EQ(":\\", root.substr(1)) << root;
    }
    auto hasC = [](const std::string& r) { return r == "C:\\" || r == "c:\\"; };
    EXPECT_TRUE(std::any_of(roots.begin(), roots.end(), hasC));
    EXPECT_EQ(DriveType::Fixed, this->sys().GetDriveType("C:\\"));
    // A letter that names no drive.
    for (char letter = 'Y'; letter > 'D'; --letter) {
        std::string root = std::string(1, letter) + ":\\";
        if (std::find(roots.begin(), roots.end(), root) == roots.end()) {
            EXPECT_EQ(DriveType::NoRootDir, this->sys().GetDriveType(root)) << root;
            break;
        }
    }
}

TYPED_TEST_P(SystemInfoContract, UserLanguageScreenAndClockAreSane) {
    for (std::optional<std::string> name : {this->sys().UserName(), this->sys().ComputerName()}) {
        ASSERT_TRUE(name.has_value());
        EXPECT_FALSE(name->empty());
        EXPECT_EQ(std::string::npos, name->find('\0'));
    }
    int lang = this->sys().UserDefaultLangId();
    EXPECT_GT(lang & 0x3FF, 0);  // a primary language is set
    EXPECT_LE(lang, 0xFFFF);
    Size screen = this->sys().ScreenSize();
    EXPECT_GE(screen.width, 320);
    EXPECT_GE(screen.height, 200);

    LocalTime now = this->env.Time().Now();
    EXPECT_GE(now.year, 2000);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour < 24 && now.minute >= 0 && now.minute < 60);
    EXPECT_TRUE(now.second >= 0 && now.second < 61);
}

REGISTER_TYPED_TEST_SUITE_P(SystemInfoContract, FoldersExistInTheirPromisedForm,
                            DriveRootsIncludeTheFixedDiskC, UserLanguageScreenAndClockAreSane);

}  // namespace velmora
