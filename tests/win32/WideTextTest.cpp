#include "platform/win32/WideText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(WideText, RoundTripsEmptyCyrillicAstralTextAndEmbeddedNuls) {
    for (const std::string& text : {std::string(), std::string("Папка сценариев"),
                                    std::string("\xF0\x9F\x98\x80"), std::string("a\0b", 3)}) {
        EXPECT_EQ(text, WideToUtf8(Utf8ToWide(text)));
    }
    EXPECT_EQ(L"\x041F\x0430", Utf8ToWide("Па"));
    EXPECT_EQ(2u, Utf8ToWide("\xF0\x9F\x98\x80").size());  // one character, two UTF-16 units
    EXPECT_EQ(3u, Utf8ToWide(std::string("a\0b", 3)).size());
}

TEST(WideText, InvalidInputBecomesReplacementCharacters) {
    // A lone continuation byte, a truncated sequence and an overlong encoding of '/'.
    std::wstring wide = Utf8ToWide("x\x80y\xE2\x82z\xC0\xAF");
    EXPECT_EQ(L'x', wide.front());
    EXPECT_NE(std::wstring::npos, wide.find(L'\xFFFD'));
    EXPECT_EQ(std::wstring::npos, wide.find(L'/'));
    EXPECT_EQ("\xEF\xBF\xBDk", WideToUtf8(std::wstring(1, L'\xD800') + L"k"));  // an unpaired surrogate
}

TEST(WideText, BufferIsCutAtItsFirstNulOrItsCapacity) {
    wchar_t buffer[8] = L"abc\0def";
    EXPECT_EQ("abc", WideBufferToUtf8(buffer, 8));
    wchar_t full[3] = {L'x', L'y', L'z'};
    EXPECT_EQ("xyz", WideBufferToUtf8(full, 3));
}

}  // namespace
}  // namespace velmora
