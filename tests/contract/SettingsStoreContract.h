#pragma once
// Cases that the in-memory settings store and the registry store must both pass. An environment supplies:
//   SettingsStore& Store();
//   void PutNonString(const std::string& section, const std::string& key);  a value of another type
#include <gtest/gtest.h>

#include <string>

#include "platform/SettingsStore.h"

namespace velmora {

template <typename Env>
class SettingsStoreContract : public ::testing::Test {
  protected:
    SettingsStore& store() { return env.Store(); }
    Env env;
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, MissingValuesGiveTheDefault) {
    EXPECT_EQ("c:\\", this->store().Get("Path", "FolderBrowseExe", "c:\\"));
    this->store().Save("Path", "FolderSCN", "D:\\Packages");
    EXPECT_EQ("2", this->store().Get("Path", "Speed", "2"));
}

TYPED_TEST_P(SettingsStoreContract, SavedValuesComeBackAndEmptyIsAValue) {
    this->store().Save("Path", "FolderSCN", "D:\\Пакеты");
    EXPECT_EQ("D:\\Пакеты", this->store().Get("Path", "FolderSCN", ""));
    this->store().Save("Path", "FolderSCN", "E:\\Folder SCN");
    EXPECT_EQ("E:\\Folder SCN", this->store().Get("Path", "FolderSCN", ""));
    EXPECT_EQ("E:\\Folder SCN", this->store().Get("path", "FOLDERscn", ""));
    this->store().Save("Language", "Language", "");
    EXPECT_EQ("", this->store().Get("Language", "Language", "Russian"));
}

TYPED_TEST_P(SettingsStoreContract, SectionsAreSeparate) {
    this->store().Save("Install", "Speed", "0");
    this->store().Save("View", "Speed", "1");
    EXPECT_EQ("0", this->store().Get("Install", "Speed", "2"));
    EXPECT_EQ("1", this->store().Get("View", "Speed", "2"));
    EXPECT_EQ("2", this->store().Get("Path", "Speed", "2"));
}

TYPED_TEST_P(SettingsStoreContract, ValueOfAnotherTypeGivesTheDefault) {
    this->env.PutNonString("View", "TopMost");
    EXPECT_EQ("0", this->store().Get("View", "TopMost", "0"));
    this->store().Save("View", "TopMost", "1");
    EXPECT_EQ("1", this->store().Get("View", "TopMost", "0"));
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract, MissingValuesGiveTheDefault,
                            SavedValuesComeBackAndEmptyIsAValue, SectionsAreSeparate,
                            ValueOfAnotherTypeGivesTheDefault);

}  // namespace velmora
