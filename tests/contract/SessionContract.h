#pragma once
// What the logon tasks and the desktop facts of a run that may restart Windows must answer, double and real
// system alike. An environment supplies:
//   LogonTasks& Tasks();  SystemInfo& System();  DesktopInfo& Desktop();
// and a session where the tests' clicks land, as every test here runs in one.
#include <gtest/gtest.h>

#include <string>

#include "app/UnattendedRun.h"
#include "platform/DesktopInfo.h"
#include "platform/LogonTasks.h"
#include "platform/SystemInfo.h"
#include "playback/ResumeRecord.h"

namespace velmora {

template <typename Env>
class SessionContract : public ::testing::Test {
  protected:
    Env env;
};

TYPED_TEST_SUITE_P(SessionContract);

// Wine keeps a task's description but writes neither its trigger nor its action, so the description, which
// names the command line too, is what both keep.
TYPED_TEST_P(SessionContract, ATaskIsRegisteredReadBackReplacedAndRemoved) {
    LogonTasks& tasks = this->env.Tasks();
    const std::string name = "Velmora Runwright contract";
    const std::optional<std::string> user = this->env.System().UserSid();
    ASSERT_TRUE(user);
    ASSERT_TRUE(tasks.Remove(name)) << "none there is removed too";
    EXPECT_FALSE(tasks.Read(name));
    ASSERT_TRUE(tasks.Register(name, ResumeTaskDefinition("C:\\First\\velmora.exe", *user, "")));
    EXPECT_NE(tasks.Read(name).value_or("").find("\"C:\\First\\velmora.exe\" /resume"), std::string::npos);
    ASSERT_TRUE(tasks.Register(name, ResumeTaskDefinition("C:\\Second\\velmora.exe", *user, "")));
    const std::string replaced = tasks.Read(name).value_or("");
    EXPECT_NE(replaced.find("\"C:\\Second\\velmora.exe\" /resume"), std::string::npos) << replaced;
    EXPECT_EQ(replaced.find("C:\\First"), std::string::npos) << replaced;
    EXPECT_TRUE(tasks.Remove(name));
    EXPECT_FALSE(tasks.Read(name));
}

TYPED_TEST_P(SessionContract, TheTestsSessionTakesClicksAndNamesItsUser) {
    const DesktopFacts facts = this->env.Desktop().Facts();
    EXPECT_TRUE(facts.windowStationVisible);
    EXPECT_EQ(facts.inputDesktop, "Default");
    EXPECT_FALSE(WhyNoDesktop(facts));
    const std::string sid = this->env.System().UserSid().value_or("");
    EXPECT_TRUE(sid.starts_with("S-1-5-") && sid.find_first_not_of("S0123456789-") == std::string::npos)
        << sid;
    const std::string local = this->env.System().LocalAppDataFolder();
    EXPECT_TRUE(local.size() > 3 && local.back() != '\\') << local;
}

REGISTER_TYPED_TEST_SUITE_P(SessionContract, ATaskIsRegisteredReadBackReplacedAndRemoved,
                            TheTestsSessionTakesClicksAndNamesItsUser);

}  // namespace velmora
