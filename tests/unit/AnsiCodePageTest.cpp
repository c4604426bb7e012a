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
        EXPECT_EQ(codec->ToAnsi(codec->FromAnsi(all)), all) << cp;
    }
}

TEST(AnsiCodePageTest, WhatTheCodePageLacksBecomesAQuestionMark) {
    auto cyrillic = SingleByteCodec::Create(1251);
    EXPECT_EQ(cyrillic->ToAnsi("é😀"), "??");
    // Malformed UTF-8: a stray continuation byte, a cut sequence, an overlong lead, bytes past 0xF7.
    EXPECT_EQ(cyrillic->ToAnsi("a\x80z\xD0"), "a?z?");
    EXPECT_EQ(cyrillic->ToAnsi("\xC0\xAF\xFF"), "???");
    EXPECT_EQ(cyrillic->ToAnsi("\xE2\x82"), "??");
}

}  // namespace
}  // namespace velmora
