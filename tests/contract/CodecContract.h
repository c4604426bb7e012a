#pragma once
// Cases that the table codec and the system's ANSI code page must both pass. An environment supplies:
//   Codec& Subject();
//   int CodePage();    the code page the subject converts with; cases written for another one are skipped
#include <gtest/gtest.h>

#include <string>

#include "platform/Codec.h"

namespace velmora {

template <typename Env>
class CodecContract : public ::testing::Test {
  protected:
    Codec& codec() { return env.Subject(); }
    Env env;
};

TYPED_TEST_SUITE_P(CodecContract);

TYPED_TEST_P(CodecContract, AsciiAndControlBytesPassUnchanged) {
    std::string ascii("\0\x01\t\r\n", 5);
    for (char c = ' '; c < 0x7F; ++c)
        ascii += c;
    EXPECT_EQ(ascii, this->codec().ToAnsi(ascii));
    EXPECT_EQ(ascii, this->codec().FromAnsi(ascii));
    EXPECT_EQ("", this->codec().ToAnsi(""));
    EXPECT_EQ("", this->codec().FromAnsi(""));
}

TYPED_TEST_P(CodecContract, CharactersTheCodePageLacksBecomeQuestionMarks) {
    // CJK ideographs, and letters for which a look-alike exists but is not the same letter.
    EXPECT_EQ("a?b", this->codec().ToAnsi("a\xE4\xB8\xAD"
                                          "b"));
    EXPECT_EQ("?", this->codec().ToAnsi("\xE2\x88\x9E"));  // infinity, never an '8'
}

TYPED_TEST_P(CodecContract, CyrillicCodePage) {
    if (this->env.CodePage() != 1251)
        GTEST_SKIP() << "code page " << this->env.CodePage();
    EXPECT_EQ("\xCF\xE0\xEF\xEA\xE0 \xA8", this->codec().ToAnsi("Папка Ё"));
    EXPECT_EQ("Папка Ё", this->codec().FromAnsi("\xCF\xE0\xEF\xEA\xE0 \xA8"));
    EXPECT_EQ("?", this->codec().ToAnsi("é"));
}

TYPED_TEST_P(CodecContract, WesternCodePage) {
    if (this->env.CodePage() != 1252)
        GTEST_SKIP() << "code page " << this->env.CodePage();
    EXPECT_EQ("caf\xE9 \x80", this->codec().ToAnsi("café €"));
    EXPECT_EQ("café €", this->codec().FromAnsi("caf\xE9 \x80"));
    EXPECT_EQ("?", this->codec().ToAnsi("Ж"));
}

REGISTER_TYPED_TEST_SUITE_P(CodecContract, AsciiAndControlBytesPassUnchanged,
                            CharactersTheCodePageLacksBecomeQuestionMarks, CyrillicCodePage, WesternCodePage);

}  // namespace velmora
