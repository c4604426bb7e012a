#include "scenario/AnsiCodePage.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(AnsiCodePageTest, EveryByteSurvivesDecodeAndEncode) {
    for (int cp : {1251, 1252}) {
        auto codec = SingleByteCodec::Create(cp);
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        std::string utf8 = codec->FromAnsi(all);
        EXPECT_EQ(codec->ToAnsi(utf8), all) << cp;
        for (int b = 0x80; b < 0x100; ++b)  // one character each, so lengths stay byte counts
            EXPECT_EQ(codec->ToAnsi(codec->FromAnsi(std::string(1, static_cast<char>(b)))).size(), 1u);
    }
}

TEST(AnsiCodePageTest, KnownCharactersMapToTheirBytes) {
    auto cyrillic = SingleByteCodec::Create(1251);
    EXPECT_EQ(cyrillic->ToAnsi("Ёё АЯая №"), "\xA8\xB8 \xC0\xDF\xE0\xFF \xB9");
    EXPECT_EQ(cyrillic->FromAnsi("\xCF\xF0\xE8\xE2\xE5\xF2 \x88"), "Привет €");
    auto western = SingleByteCodec::Create(1252);
    EXPECT_EQ(western->ToAnsi("Grüße €"),
              "Gr\xFC\xDF"
              "e \x80");
    EXPECT_EQ(western->FromAnsi("\x9F\xE9"), "Ÿé");
    // The same byte means different letters in the two code pages.
    EXPECT_EQ(western->FromAnsi("\xC0"), "À");
    EXPECT_EQ(cyrillic->FromAnsi("\xC0"), "А");
}

TEST(AnsiCodePageTest, WhatTheCodePageLacksBecomesAQuestionMark) {
    auto cyrillic = SingleByteCodec::Create(1251);
    EXPECT_EQ(cyrillic->ToAnsi("é中😀"), "???");
    // Malformed UTF-8: a stray continuation byte, a cut sequence, an overlong lead, bytes past 0xF7.
    EXPECT_EQ(cyrillic->ToAnsi("a\x80"
                               "b\xD0"),
              "a?b?");
    EXPECT_EQ(cyrillic->ToAnsi("\xC0\xAF\xFF"), "???");
    EXPECT_EQ(cyrillic->ToAnsi("\xE2\x82"), "??");
}

}  // namespace
}  // namespace velmora
