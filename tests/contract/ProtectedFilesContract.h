#pragma once
// What the protected files must do, double and real system alike. An environment supplies:
//   ProtectedFiles& Vault();  FileSystem& Files();  std::string Folder();   an existing folder to work in
#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/ProtectedFiles.h"

namespace velmora {

template <typename Env>
class ProtectedFilesContract : public ::testing::Test {
  protected:
    Env env;
};

TYPED_TEST_SUITE_P(ProtectedFilesContract);

TYPED_TEST_P(ProtectedFilesContract, WhatItMakesIsTrustedHoldsWhatItWritesAndGoesAsideOrAway) {
    ProtectedFiles& vault = this->env.Vault();
    const std::string folder = this->env.Folder() + "\\Protected";
    const std::string file = folder + "\\record.txt";
    EXPECT_EQ(vault.Trust(folder), FileTrust::Missing);
    ASSERT_TRUE(vault.CreateFolder(folder));
    EXPECT_FALSE(vault.CreateFolder(folder)) << "something is there already";
    EXPECT_EQ(vault.Trust(folder), FileTrust::Trusted);
    EXPECT_FALSE(vault.Read(file));
    ASSERT_TRUE(vault.Write(file, "first"));
    ASSERT_TRUE(vault.Write(file, "second"));
    EXPECT_EQ(vault.Trust(file), FileTrust::Trusted);
    EXPECT_EQ(vault.Read(file), "second");
    EXPECT_FALSE(vault.Read(folder)) << "a folder is no file to read";
    EXPECT_TRUE(vault.Remove(file));
    EXPECT_TRUE(vault.Remove(file)) << "nothing there is removed too";
    EXPECT_EQ(vault.Trust(file), FileTrust::Missing);
    ASSERT_TRUE(vault.MoveAside(folder, folder + " (aside)"));
    EXPECT_EQ(vault.Trust(folder), FileTrust::Missing);
    EXPECT_EQ(vault.Trust(folder + " (aside)"), FileTrust::Trusted);
    EXPECT_FALSE(vault.MoveAside(folder, folder + " (aside)"));
}

TYPED_TEST_P(ProtectedFilesContract, AHeldFileIsFingerprintedAndCannotBeReplacedOrRemovedUntilLetGo) {
    ProtectedFiles& vault = this->env.Vault();
    FileSystem& files = this->env.Files();
    const std::string file = this->env.Folder() + "\\setup.exe";
    ASSERT_TRUE(files.ReplaceFile(file, "installer"));
    EXPECT_FALSE(vault.Hold(file + ".missing"));
    {
        const std::unique_ptr<HeldFile> held = vault.Hold(file);
        ASSERT_TRUE(held);
        EXPECT_EQ(held->Sha256(), vault.Sha256("installer"));
        EXPECT_EQ(held->Sha256(), vault.Sha256("installer")) << "read again from its start";
        EXPECT_FALSE(files.ReplaceFile(file, "another"));
        EXPECT_FALSE(files.Remove(file));
    }
    EXPECT_TRUE(files.ReplaceFile(file, "another"));
    EXPECT_EQ(vault.Hold(file)->Sha256(), vault.Sha256("another"));
}

TYPED_TEST_P(ProtectedFilesContract, AFingerprintIsOfTheBytesAndInLowerCaseHex) {
    ProtectedFiles& vault = this->env.Vault();
    const std::optional<std::string> a = vault.Sha256("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->size(), 64u);
    EXPECT_EQ(a->find_first_not_of("0123456789abcdef"), std::string::npos) << *a;
    EXPECT_EQ(vault.Sha256("a"), a);
    EXPECT_NE(vault.Sha256("b"), a);
    EXPECT_NE(vault.Sha256(std::string(1, '\0')), vault.Sha256(""));
}

REGISTER_TYPED_TEST_SUITE_P(ProtectedFilesContract, WhatItMakesIsTrustedHoldsWhatItWritesAndGoesAsideOrAway,
                            AHeldFileIsFingerprintedAndCannotBeReplacedOrRemovedUntilLetGo,
                            AFingerprintIsOfTheBytesAndInLowerCaseHex);

}  // namespace velmora
