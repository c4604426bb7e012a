#pragma once
// Cases that the registry double and the system registry must both pass. An environment supplies:
//   Registry& Reg();
//   std::string Key();        a key of the current user that no one else uses (it need not exist yet)
//   void PutNonString(const std::string& subkey, const std::string& name);  a value of another type
#include <gtest/gtest.h>

#include <string>

#include "platform/Registry.h"

namespace velmora {

template <typename Env>
class RegistryContract : public ::testing::Test {
  protected:
    Registry& reg() { return env.Reg(); }
    std::string Get(const std::string& subkey, const std::string& name) {
        return reg().GetString(RegistryRoot::CurrentUser, subkey, name);
    }
    bool Set(const std::string& subkey, const std::string& name, const std::string& value) {
        return reg().SetString(RegistryRoot::CurrentUser, subkey, name, value);
    }
    Env env;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, MissingKeyOrValueIsEmpty) {
    EXPECT_EQ("", this->Get(this->env.Key(), "Language"));
    ASSERT_TRUE(this->Set(this->env.Key(), "Other", "x"));
    EXPECT_EQ("", this->Get(this->env.Key(), "Language"));
    EXPECT_EQ("", this->Get(this->env.Key(), ""));
}

TYPED_TEST_P(RegistryContract, SetCreatesNestedKeysAndNamesIgnoreCase) {
    std::string nested = this->env.Key() + "\\VelmoraScn.File\\shell\\Install\\command";
    ASSERT_TRUE(this->Set(nested, "", "\"C:\\Tools\\velmora.exe\" /inst \"%1\""));
    EXPECT_EQ("\"C:\\Tools\\velmora.exe\" /inst \"%1\"", this->Get(nested, ""));
    ASSERT_TRUE(this->Set(this->env.Key(), "Language", "Русский"));
    EXPECT_EQ("Русский", this->Get(this->env.Key(), "LANGUAGE"));
    // The default value and a named value are different values.
    EXPECT_EQ("", this->Get(this->env.Key(), ""));
    ASSERT_TRUE(this->Set(this->env.Key(), "Language", "English"));
    EXPECT_EQ("English", this->Get(this->env.Key(), "language"));
}

TYPED_TEST_P(RegistryContract, TextEndsAtItsFirstNul) {
    ASSERT_TRUE(this->Set(this->env.Key(), "Cut", std::string("before\0after", 12)));
    EXPECT_EQ("before", this->Get(this->env.Key(), "Cut"));
}

TYPED_TEST_P(RegistryContract, ValueOfAnotherTypeIsEmptyUntilAStringReplacesIt) {
    this->env.PutNonString(this->env.Key(), "Number");
    EXPECT_EQ("", this->Get(this->env.Key(), "Number"));
    ASSERT_TRUE(this->Set(this->env.Key(), "Number", "7"));
    EXPECT_EQ("7", this->Get(this->env.Key(), "Number"));
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, MissingKeyOrValueIsEmpty,
                            SetCreatesNestedKeysAndNamesIgnoreCase, TextEndsAtItsFirstNul,
                            ValueOfAnotherTypeIsEmptyUntilAStringReplacesIt);

}  // namespace velmora
