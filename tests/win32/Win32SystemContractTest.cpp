#include "platform/win32/Win32.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SystemInfo.h"
#include "tests/contract/CodecContract.h"
#include "tests/contract/SystemInfoContract.h"

namespace velmora {
namespace {

struct Win32SystemEnv {
    SystemInfo& System() { return system; }
    Clock& Time() { return clock; }
    FileSystem& Files() { return files; }
    Win32SystemInfo system;
    Win32Clock clock;
    Win32FileSystem files;
};

struct Win32CodecEnv {
    Codec& Subject() { return codec; }
    int CodePage() { return static_cast<int>(GetACP()); }
    Win32Codec codec;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SystemInfoContract, Win32SystemEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, CodecContract, Win32CodecEnv);

TEST(Win32SystemInfo, ArgumentsLoseTheProgramPathQuotedOrNot) {
    EXPECT_EQ(
        L"/add \"D:\\My Packages\"",
        ArgumentsAfterProgramPath(L"\"C:\\Program Files\\Velmora\\velmora.exe\"  /add \"D:\\My Packages\" "));
    EXPECT_EQ(L"/inst x.scn", ArgumentsAfterProgramPath(L"C:\\Tools\\velmora.exe\t/inst x.scn"));
    EXPECT_EQ(L"/nostat", ArgumentsAfterProgramPath(L"\"velmora\"/nostat"));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L"C:\\Tools\\velmora.exe"));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L"\"C:\\Program Files\\velmora.exe\""));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L"\"C:\\unclosed quote /inst x.scn"));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L""));
}

}  // namespace
}  // namespace velmora
