#include "platform/win32/WideText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(WideText, RoundTripsEmptyAsciiCyrillicAndAstralText) {
    EXPECT_EQ(L"", Utf8ToWide(""));
    EXPECT_EQ("", WideToUtf8(L""));
    EXPECT_EQ(L"Setup.exe", Utf8ToWide("Setup.exe"));
    const std::string russian = "Папка сценариев";
    std::wstring wide = Utf8ToWide(russian);
    EXPECT_EQ(15u, wide.size());
    EXPECT_EQ(L'\x041F', wide[0]);
    EXPECT_EQ(russian, WideToUtf8(wide));
    const std::string emoji = "\xF0\x9F\x98\x80";  // one character, two UTF-16 units
    EXPECT_EQ(2u, Utf8ToWide(emoji).size());
    EXPECT_EQ(emoji, WideToUtf8(Utf8ToWide(emoji)));
}

TEST(WideText, KeepsEmbeddedNuls) {
    const std::string withNul("a\0b", 3);
    std::wstring wide = Utf8ToWide(withNul);
    ASSERT_EQ(3u, wide.size());
    EXPECT_EQ(L'\0', wide[1]);
    EXPECT_EQ(withNul, WideToUtf8(wide));
}

TEST(WideText, InvalidInputBecomesReplacementCharacters) {
    // A lone continuation byte, a truncated sequence and an overlong encoding of '/'.
    std::wstring wide = Utf8ToWide("x\x80y\xE2\x82z\xC0\xAF");
    EXPECT_EQ(L'x', wide.front());
    EXPECT_NE(std::wstring::npos, wide.find(L'\xFFFD'));
    EXPECT_EQ(std::wstring::npos, wide.find(L'/'));
    std::string utf8 = WideToUtf8(std::wstring(1, L'\xD800') + L"k");  // unpaired surrogate
    EXPECT_EQ('k', utf8.back());
    EXPECT_EQ("\xEF\xBF\xBD", utf8.substr(0, 3));
}

TEST(WideText, BufferIsCutAtItsFirstNulOrItsCapacity) {
    wchar_t buffer[8] = L"abc\0def";
    EXPECT_EQ("abc", WideBufferToUtf8(buffer, 8));
    wchar_t full[3] = {L'x', L'y', L'z'};
    EXPECT_EQ("xyz", WideBufferToUtf8(full, 3));
}

}  // namespace
}  // namespace velmora
