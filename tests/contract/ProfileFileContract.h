#pragma once
// Cases that the INI double and the system's profile functions must both pass. An environment supplies:
//   ProfileFile& Profile();
//   FileSystem& Files();           the files the profile reads and writes
//   std::string Folder();          an existing, empty folder (no trailing backslash)
//   void MakeReadOnly(const std::string& path);
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"

namespace velmora {

template <typename Env>
class ProfileFileContract : public ::testing::Test {
  protected:
    ProfileFile& ini() { return env.Profile(); }
    std::string In(const std::string& name) { return env.Folder() + "\\" + name; }
    std::string Get(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def = "<default>", std::size_t size = 128) {
        return ini().GetString(In(file), section, key, def, size);
    }
    void Put(const std::string& file, const std::string& text) {
        ASSERT_TRUE(env.Files().ReplaceFile(In(file), text));
    }
    std::string Raw(const std::string& file) { return env.Files().ReadAll(In(file)).value_or("<missing>"); }
    Env env;
};

TYPED_TEST_SUITE_P(ProfileFileContract);

TYPED_TEST_P(ProfileFileContract, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ("2", this->Get("velmora.ini", "General", "SpeedInstall", "2"));
    this->Put("velmora.ini", "[General]\r\nSpeedInstall=1\r\n");
    EXPECT_EQ("2", this->Get("velmora.ini", "Other", "SpeedInstall", "2"));
    EXPECT_EQ("", this->Get("velmora.ini", "General", "Language", ""));
    EXPECT_EQ("1", this->Get("velmora.ini", "General", "SpeedInstall", "2"));
}

TYPED_TEST_P(ProfileFileContract, NamesIgnoreCaseAndValuesLoseBlanksAndQuotes) {
    this->Put("English.lng",
              "; comment\r\n[Main] \r\n  Caption = Run packages  \r\n[Wizard]\r\n53=\"Copy `%s` to\"\r\n");
    EXPECT_EQ("Run packages", this->Get("English.lng", "main", "CAPTION"));
    EXPECT_EQ("Copy `%s` to", this->Get("English.lng", "WIZARD", "53"));
}

// A whole section reads as its keys read one by one.
TYPED_TEST_P(ProfileFileContract, ASectionReadsAsItsKeysOneByOne) {
    EXPECT_TRUE(this->ini().GetSection(this->In("English.lng"), "Stels").empty());
    this->Put("English.lng",
              "[Main]\r\n1=Other\r\n[stels]\r\n  1 = Pause  \r\n; 2=note\r\n32=\"Reading `%s`\"\r\n"
              "no value\r\n7=\r\n[Wizard]\r\n1=Next\r\n");
    using Entries = std::vector<std::pair<std::string, std::string>>;
    const Entries entries = this->ini().GetSection(this->In("English.lng"), "STELS");
    EXPECT_EQ(entries, (Entries{{"1", "Pause"}, {"32", "Reading `%s`"}, {"7", ""}}));
    for (const auto& [key, value] : entries)
        EXPECT_EQ(value, this->Get("English.lng", "Stels", key));
    EXPECT_TRUE(this->ini().GetSection(this->In("English.lng"), "Missing").empty());
}

TYPED_TEST_P(ProfileFileContract, BufferSizeCutsValueAndDefault) {
    this->Put("velmora.ini", "[General]\r\nSCNFolder=%cdrom%\\Folder SCN\r\n");
    EXPECT_EQ("%cdr", this->Get("velmora.ini", "General", "SCNFolder", "", 5));
    EXPECT_EQ("", this->Get("velmora.ini", "General", "SCNFolder", "", 1));
    EXPECT_EQ("", this->Get("velmora.ini", "General", "SCNFolder", "", 0));
    EXPECT_EQ("ab", this->Get("velmora.ini", "General", "Missing", "abcdef", 3));
}

TYPED_TEST_P(ProfileFileContract, CreatesANewFileWithOneSectionInWritingOrder) {
    ASSERT_TRUE(this->ini().WriteString(this->In("autorun.inf"), "Autorun", "open", "velmora\\Velmora.exe"));
    ASSERT_TRUE(
        this->ini().WriteString(this->In("autorun.inf"), "Autorun", "icon", "velmora\\Velmora.exe,0"));
    EXPECT_EQ("[Autorun]\r\nopen=velmora\\Velmora.exe\r\nicon=velmora\\Velmora.exe,0\r\n",
              this->Raw("autorun.inf"));
    EXPECT_EQ("velmora\\Velmora.exe,0", this->Get("autorun.inf", "autorun", "ICON"));
}

TYPED_TEST_P(ProfileFileContract, UpdatesOneKeyAndKeepsTheRest) {
    this->Put("velmora.ini",
              "[General]\r\nSpeedInstall=2\r\nLanguage=Russian\r\n[Other]\r\nSpeedInstall=9\r\n");
    ASSERT_TRUE(this->ini().WriteString(this->In("velmora.ini"), "general", "speedinstall", "0"));
    ASSERT_TRUE(
        this->ini().WriteString(this->In("velmora.ini"), "General", "SCNFolder", "%cdrom%\\Folder SCN"));
    EXPECT_EQ("0", this->Get("velmora.ini", "General", "SpeedInstall"));
    EXPECT_EQ("Russian", this->Get("velmora.ini", "General", "Language"));
    EXPECT_EQ("%cdrom%\\Folder SCN", this->Get("velmora.ini", "General", "SCNFolder"));
    EXPECT_EQ("9", this->Get("velmora.ini", "Other", "SpeedInstall"));
    std::string raw = this->Raw("velmora.ini");
    for (char& c : raw)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // One line for the key in its own section, none left with the old value.
    EXPECT_EQ(std::string::npos, raw.find("speedinstall=2"));
    EXPECT_EQ(raw.find("speedinstall"), raw.rfind("speedinstall", raw.find("[other]")));
}

TYPED_TEST_P(ProfileFileContract, AFailedWriteLeavesTheFileAsItWas) {
    const std::string before = "[Autorun]\r\nopen=old.exe\r\n";
    this->Put("autorun.inf", before);
    this->env.MakeReadOnly(this->In("autorun.inf"));
    EXPECT_FALSE(
        this->ini().WriteString(this->In("autorun.inf"), "Autorun", "icon", "velmora\\Velmora.exe,0"));
    EXPECT_EQ(before, this->Raw("autorun.inf"));
    // A line break would plant a section of its own.
    this->Put("velmora.ini", "[General]\r\nLanguage=English\r\n");
    EXPECT_FALSE(this->ini().WriteString(this->In("velmora.ini"), "General", "Language",
                                         "x\r\n[Autorun]\r\nopen=evil"));
    EXPECT_FALSE(this->ini().WriteString(this->In("velmora.ini"), "General", "Lang=uage", "x"));
    EXPECT_EQ("[General]\r\nLanguage=English\r\n", this->Raw("velmora.ini"));
    EXPECT_FALSE(
        this->ini().WriteString(this->In("missing folder\\velmora.ini"), "General", "Language", "x"));
    EXPECT_EQ(2u, this->env.Files().ListFiles(this->env.Folder(), "*").size());
}

REGISTER_TYPED_TEST_SUITE_P(ProfileFileContract, MissingFileSectionOrKeyGivesTheDefault,
                            NamesIgnoreCaseAndValuesLoseBlanksAndQuotes, ASectionReadsAsItsKeysOneByOne,
                            BufferSizeCutsValueAndDefault, CreatesANewFileWithOneSectionInWritingOrder,
                            UpdatesOneKeyAndKeepsTheRest, AFailedWriteLeavesTheFileAsItWas);

}  // namespace velmora
