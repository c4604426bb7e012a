#include "scenario/TextQuoting.h"

#include <charconv>

namespace velmora {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscape(std::string& out, unsigned char byte) {
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

// True when the UTF-8 text holds a control character (C0, DEL, C1) or the replacement character: such text
// is shown as escapes, never as itself.
bool HasInvisible(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F)
            return true;
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0)
            return true;
        if (utf8.substr(i, 3) == "\xEF\xBF\xBD")
            return true;
    }
    return false;
}

void AppendVisible(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string QuoteBytes(std::string_view bytes, Codec& codec) {
    std::string out = "\"";
    // Most texts decode whole and exactly; multi-byte code pages need this path to show their characters.
    std::string whole = codec.FromAnsi(bytes);
    if (!HasInvisible(whole) && codec.ToAnsi(whole) == bytes) {
        AppendVisible(out, whole);
        return out + '"';
    }
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscape(out, byte);
            continue;
        }
        std::string one = byte < 0x80 ? std::string(1, c) : codec.FromAnsi(std::string_view(&c, 1));
        if (HasInvisible(one) || codec.ToAnsi(one) != std::string_view(&c, 1))
            AppendEscape(out, byte);
        else
            AppendVisible(out, one);
    }
    return out + '"';
}

void LineReader::SkipBlanks() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t'))
        ++pos_;
}

bool LineReader::AtEnd() {
    SkipBlanks();
    return pos_ >= line_.size();
}

std::string_view LineReader::Word() {
    SkipBlanks();
    std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t')
        ++pos_;
    return line_.substr(start, pos_ - start);
}

std::optional<std::int64_t> LineReader::Integer(std::int64_t min, std::int64_t max) {
    std::string_view word = Word();
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc{} || end != word.data() + word.size() || value < min || value > max) {
        error_ = "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                 (word.empty() ? std::string{} : ", found \"" + std::string(word) + "\"");
        return std::nullopt;
    }
    return value;
}

bool LineReader::AppendText(std::string& bytes, std::string_view utf8) {
    if (utf8.empty())
        return true;
    std::string encoded = codec_.ToAnsi(utf8);
    if (codec_.FromAnsi(encoded) != utf8) {
        error_ = "the text \"" + std::string(utf8) +
                 "\" has a character the code page cannot store; write its byte as \\xHH";
        return false;
    }
    bytes += encoded;
    return true;
}

std::optional<std::string> LineReader::Quoted() {
    SkipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"') {
        error_ = "expected a quoted text";
        return std::nullopt;
    }
    ++pos_;
    std::string bytes;
    std::size_t runStart = pos_;  // the run of plain characters not yet encoded
    while (pos_ < line_.size() && line_[pos_] != '"') {
        if (line_[pos_] != '\\') {
            ++pos_;
            continue;
        }
        if (!AppendText(bytes, line_.substr(runStart, pos_ - runStart)))
            return std::nullopt;
        char kind = pos_ + 1 < line_.size() ? line_[pos_ + 1] : '\0';
        if (kind == '\\' || kind == '"') {
            bytes += kind;
            pos_ += 2;
        } else if (kind == 'x' && pos_ + 3 < line_.size() && HexValue(line_[pos_ + 2]) >= 0 &&
                   HexValue(line_[pos_ + 3]) >= 0) {
            bytes += static_cast<char>(HexValue(line_[pos_ + 2]) * 16 + HexValue(line_[pos_ + 3]));
            pos_ += 4;
        } else {
            error_ = "unknown escape; use \\\\, \\\" or \\xHH";
            return std::nullopt;
        }
        runStart = pos_;
    }
    if (pos_ >= line_.size()) {
        error_ = "the quoted text has no closing quote";
        return std::nullopt;
    }
    if (!AppendText(bytes, line_.substr(runStart, pos_ - runStart)))
        return std::nullopt;
    ++pos_;
    return bytes;
}

std::optional<std::string> LineReader::HexBytes() {
    std::string_view word = Word();
    std::string bytes;
    if (word.empty() || word.size() % 2 != 0) {
        error_ = "expected bytes as pairs of hexadecimal digits";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < word.size(); i += 2) {
        int high = HexValue(word[i]);
        int low = HexValue(word[i + 1]);
        if (high < 0 || low < 0) {
            error_ = "expected bytes as pairs of hexadecimal digits";
            return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

}  // namespace velmora
