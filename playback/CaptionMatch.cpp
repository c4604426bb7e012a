#include "playback/CaptionMatch.h"

#include "platform/LetterCase.h"

namespace velmora {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A caption cut into the text between its version tokens and the tokens themselves, both in lower case, the
// text with its runs of blanks made one blank and none at either end.
struct CaptionParts {
    std::vector<std::string> texts;  // one more than tokens: the text before each token, and after the last
    std::vector<std::string> tokens;
};

// The end of one or two letters at `at` that are not the start of a longer word; `at` when there are none.
std::size_t ShortSuffixEnd(const std::string& s, std::size_t at) {
    std::size_t end = at;
    while (end < s.size() && IsLetter(s[end]) && end - at < 3)
        ++end;
    return end > at && end - at <= 2 && (end == s.size() || !IsLetter(s[end])) ? end : at;
}

// The end of the version token that starts at `at`, or `at` when none starts there.
std::size_t VersionTokenEnd(const std::string& s, std::size_t at) {
    std::size_t i = at;
    if ((s[i] == 'v' || s[i] == 'V') && (i == 0 || !IsLetter(s[i - 1])))
        ++i;
    if (i >= s.size() || !IsDigit(s[i]) || (i == at && at > 0 && IsDigit(s[at - 1])))
        return at;
    for (;;) {
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        if (i + 1 < s.size() && (s[i] == '.' || s[i] == '-')) {
            // Joined to further digits, also through a short suffix: "1.0.2", "2.1-rc1".
            const std::size_t after = ShortSuffixEnd(s, i + 1);
            if (after < s.size() && IsDigit(s[after])) {
                i = after;
                continue;
            }
        }
        // A short suffix ("b2", "rc1", "a").
        const std::size_t letters = ShortSuffixEnd(s, i);
        if (letters == i)
            return i;
        i = letters;
        if (i == s.size() || !IsDigit(s[i]))
            return i;
    }
}

CaptionParts Split(const std::string& caption) {
    const std::string s = ToLower(caption);
    CaptionParts parts;
    std::string text;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t end = VersionTokenEnd(s, i);
        if (end > i) {
            parts.texts.push_back(text);
            parts.tokens.push_back(s.substr(i, end - i));
            text.clear();
            i = end;
        } else if (IsBlank(s[i])) {
            while (i < s.size() && IsBlank(s[i]))
                ++i;
            text += ' ';
        } else {
            text += s[i++];
        }
    }
    parts.texts.push_back(text);
    if (!parts.texts.front().empty() && parts.texts.front().front() == ' ')
        parts.texts.front().erase(0, 1);
    if (!parts.texts.back().empty() && parts.texts.back().back() == ' ')
        parts.texts.back().pop_back();
    return parts;
}

}  // namespace

std::optional<int> VersionDistance(const std::string& stored, const std::string& caption) {
    const CaptionParts a = Split(stored);
    const CaptionParts b = Split(caption);
    if (a.texts != b.texts)
        return std::nullopt;
    int differing = 0;
    for (std::size_t i = 0; i < a.tokens.size(); ++i)
        differing += a.tokens[i] != b.tokens[i] ? 1 : 0;
    return differing;
}

std::optional<std::size_t> NearestByVersion(const std::string& stored,
                                            const std::vector<std::string>& captions) {
    std::optional<std::size_t> best;
    int bestDistance = 0;
    bool tie = false;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const std::optional<int> distance = VersionDistance(stored, captions[i]);
        if (!distance)
            continue;
        if (!best || *distance < bestDistance) {
            best = i;
            bestDistance = *distance;
            tie = false;
        } else if (*distance == bestDistance) {
            tie = true;
        }
    }
    return tie ? std::nullopt : best;
}

}  // namespace velmora
