#include "app/FileAssociation.h"

#include <gtest/gtest.h>

#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

class FileAssociationTest : public ::testing::Test, public TextDoubles {
  protected:
    FileAssociationTest() {
        system.programFolder = "C:\\Tools";
        system.driveTypes = {{"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}};
    }
    std::string Root(const std::string& subkey) {
        return registry.GetString(RegistryRoot::ClassesRoot, subkey, "");
    }
    void OwnedBy(const std::string& progId) {
        registry.SetString(RegistryRoot::ClassesRoot, ".scn", "", progId);
        registry.SetString(RegistryRoot::ClassesRoot, progId + "\\shell\\Open\\command", "", "other.exe %1");
    }
    std::string Registered() { return settings.Get("Install", "Registry", "absent"); }

    FakeSystemInfo system;
    MemorySettingsStore settings;
    MemoryRegistry registry;
    AssociationContext context{registry, dialogs, settings, system, language};
};

TEST_F(FileAssociationTest, FirstStartWithTheTypeUnregisteredWritesEveryKeyWithoutAskingAndOnlyOnce) {
    CheckAssociationOnce(context, 0);

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Root("velmora\\shell"), "Open");
    EXPECT_EQ(Root("velmora\\shell\\Open\\command"), "\"C:\\Tools\\velmora.exe\" /add %1");
    // Quoted, so a scenario in a folder with blanks reaches "/inst" whole.
    EXPECT_EQ(Root("velmora\\shell\\Install\\command"), "\"C:\\Tools\\velmora.exe\" /inst \"%1\"");

    // A later start leaves even a changed registration alone.
    OwnedBy("Other.File");
    CheckAssociationOnce(context, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Root(".scn"), "Other.File");
}

TEST_F(FileAssociationTest, StartFromADiscRegistersNothing) {
    system.programFolder = "E:\\Velmora";
    CheckAssociationOnce(context, 0);
    EXPECT_FALSE(registry.Has(RegistryRoot::ClassesRoot, ".scn", ""));
    EXPECT_EQ(Registered(), "absent");
}

TEST_F(FileAssociationTest, TypeOfAnotherProgramIsTakenOverOnlyWhenTheUserSaysYes) {
    OwnedBy("Other.File");
    CheckAssociationOnce(context, 0);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    const FakeDialogs::Shown& question = dialogs.messages[0];
    EXPECT_EQ(std::tuple(question.buttons, question.icon, question.defaultButton),
              std::tuple(MsgButtons::YesNo, MsgIcon::Information, MsgDefault::Second));
    // No: the other program keeps its type and its verbs, and the question is not asked again.
    EXPECT_EQ(Registered(), "1");
    EXPECT_EQ(Root(".scn"), "Other.File");
    EXPECT_EQ(Root("Other.File\\shell\\Open\\command"), "other.exe %1");
    EXPECT_FALSE(registry.Has(RegistryRoot::ClassesRoot, "Other.File\\shell\\Install", ""));
    EXPECT_FALSE(registry.Has(RegistryRoot::ClassesRoot, "Other.File\\DefaultIcon", ""));
    EXPECT_FALSE(registry.Has(RegistryRoot::ClassesRoot, "velmora\\shell\\Open\\command", ""));

    dialogs.answers.push_back(MsgResult::Yes);
    AssociateScnFiles(context, false, 0);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(Root(".scn"), "velmora");
    EXPECT_EQ(Root("velmora\\shell\\Open\\command"), "\"C:\\Tools\\velmora.exe\" /add %1");
    EXPECT_EQ(Root("Other.File\\shell\\Open\\command"), "other.exe %1");
}

TEST_F(FileAssociationTest, MenuCommandTakesTheTypeOverWithoutAskingInTheLanguageOfTheFile) {
    settings.Save("Install", "Registry", "1");
    OwnedBy("Other.File");
    system.programFolder = "D:\\Мои программы\\";
    files.AddFile("D:\\Мои программы\\language\\English.lng",
                  "[Asociating]\r\n1=Open in Velmora Runwright\r\n4=Install\r\n");
    language.languageName = "English";
    language.LoadLanguage(system.programFolder, 1033, false);

    AssociateFromMenu(context, 0);

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Registered(), "1");
    EXPECT_EQ(Root(".scn"), "velmora");
    EXPECT_EQ(Root("velmora\\shell\\Open"), "Open in Velmora Runwright");
    EXPECT_EQ(Root("velmora\\shell\\Install"), "Install");
    EXPECT_EQ(Root("velmora\\shell\\Install\\command"), "\"D:\\Мои программы\\velmora.exe\" /inst \"%1\"");
}

TEST_F(FileAssociationTest, ARefusedKeyIsTriedAgainAtTheNextStartAndTheMenuCommandSaysSo) {
    registry.refusedSubkey = "velmora\\shell\\Install";
    CheckAssociationOnce(context, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Root("velmora\\shell\\Open\\command"),
              "\"C:\\Tools\\velmora.exe\" /add %1");  // the others stand
    EXPECT_EQ(Registered(), "absent");

    AssociateFromMenu(context, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(Registered(), "absent");

    registry.refusedSubkey.clear();
    CheckAssociationOnce(context, 0);
    EXPECT_EQ(Registered(), "1");
    EXPECT_EQ(Root("velmora\\shell\\Install"), "Инсталлировать");
}

TEST_F(FileAssociationTest, OwnRegistrationIsRenewedWithoutAsking) {
    registry.SetString(RegistryRoot::ClassesRoot, ".scn", "", "velmora");
    registry.SetString(RegistryRoot::ClassesRoot, "velmora\\DefaultIcon", "", "C:\\Old\\velmora.exe,0");
    AssociateScnFiles(context, false, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Root("velmora\\DefaultIcon"), "C:\\Tools\\velmora.exe,0");
}

}  // namespace
}  // namespace velmora
