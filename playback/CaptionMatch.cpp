#include "playback/CaptionMatch.h"

#include <initializer_list>
#include <string_view>
#include <utility>

#include "platform/LetterCase.h"

namespace velmora {

namespace {

using std::string_view;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// ASCII letters and every byte of other characters: a Cyrillic letter glues to a number as a Latin one does.
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool OneOf(string_view word, std::initializer_list<string_view> words) {
    for (string_view w : words) {
        if (w == word)
            return true;
    }
    return false;
}

// Words that make the number after them a count or a code ("Step 2 of 4", "Error 1603"), with the usual
// forms of the Russian ones.
bool IsCountingWord(string_view word) {
    return OneOf(
        word,
        {"step",     "steps",    "page",      "pages",   "of",    "error",  "errors", "code",     "codes",
         "шаг",      "шага",     "шагу",      "шаге",    "шагом", "шаги",   "шагов",  "страница", "страницы",
         "странице", "страницу", "страницей", "страниц", "из",    "ошибка", "ошибки", "ошибке",   "ошибку",
         "ошибкой",  "ошибок",   "код",       "кода",    "коду",  "кодом",  "коде",   "коды",     "кодов"});
}

std::size_t DigitsEnd(const std::string& s, std::size_t at) {
    while (at < s.size() && IsDigit(s[at]))
        ++at;
    return at;
}

std::size_t LettersEnd(const std::string& s, std::size_t at) {
    while (at < s.size() && IsLetter(s[at]))
        ++at;
    return at;
}

// The end of a version's number at `at`: a "v" with digits ("v6", "v2.1"), a dotted number or a year; `at`
// when none starts there. A lone number counts something far more often than it names a version.
std::size_t NumberEnd(const std::string& s, std::size_t at) {
    const bool v = s[at] == 'v';
    const std::size_t digits = v ? at + 1 : at;
    if (digits >= s.size() || !IsDigit(s[digits]))
        return at;
    std::size_t end = DigitsEnd(s, digits);
    bool dotted = false;
    while (end + 1 < s.size() && s[end] == '.' && IsDigit(s[end + 1])) {
        end = DigitsEnd(s, end + 1);
        dotted = true;
    }
    const bool year =
        end - digits == 4 && (s.compare(digits, 2, "19") == 0 || s.compare(digits, 2, "20") == 0);
    return v || dotted || year ? end : at;
}

// The end of one suffix at `at`, right after a version's number or an earlier suffix: a pre-release mark
// glued to it ("b2", "rc1"), or a word after a hyphen or a blank ("-rc1", " beta 2", " build 7"); `at` when
// none starts there.
std::size_t SuffixEnd(const std::string& s, std::size_t at) {
    const bool glued = at < s.size() && IsLetter(s[at]);
    if (!glued && (at + 1 >= s.size() || (s[at] != '-' && s[at] != ' ')))
        return at;
    const std::size_t wordAt = glued ? at : at + 1;
    const std::size_t wordEnd = LettersEnd(s, wordAt);
    const string_view word(s.data() + wordAt, wordEnd - wordAt);
    if (!(glued ? OneOf(word, {"a", "b", "alpha", "beta", "rc", "pre"})
                : OneOf(word, {"alpha", "beta", "rc", "pre", "preview", "build"})))
        return at;
    std::size_t end = wordEnd;
    if (end < s.size() && IsDigit(s[end]))
        end = DigitsEnd(s, end);
    else if (!glued && end + 1 < s.size() && s[end] == ' ' && IsDigit(s[end + 1]))
        end = DigitsEnd(s, end + 1);
    // A build is a build of some number.
    return word == "build" && end == wordEnd ? at : end;
}

// The word that ends before `at`, over a blank and the signs that may stand between a word and its number
// ("Error: 1603", "Step #2").
string_view WordBefore(const std::string& s, std::size_t at) {
    std::size_t end = at;
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == ':' || s[end - 1] == '#'))
        --end;
    std::size_t start = end;
    while (start > 0 && IsLetter(s[start - 1]))
        --start;
    return string_view(s).substr(start, end - start);
}

// Whether what follows the number makes it a share or a bitness: "45%", "45 %", "64-bit", "32 bit".
bool ShareOrBitness(const std::string& s, std::size_t end) {
    if (end < s.size() && (s[end] == ' ' || s[end] == '-'))
        ++end;
    if (end < s.size() && s[end] == '%')
        return true;
    const string_view word(s.data() + end, LettersEnd(s, end) - end);
    return word == "bit" || word == "bits" || word.starts_with("бит");
}

// The end of the version token that starts at `at`, or `at` when none starts there.
std::size_t VersionTokenEnd(const std::string& s, std::size_t at) {
    if (at > 0 && (IsLetter(s[at - 1]) || IsDigit(s[at - 1]) || s[at - 1] == '.' || s[at - 1] == '_'))
        return at;
    std::size_t end = NumberEnd(s, at);
    if (end == at)
        return at;
    for (std::size_t next = SuffixEnd(s, end); next != end; next = SuffixEnd(s, end))
        end = next;
    if (end < s.size() && (IsLetter(s[end]) || IsDigit(s[end])))
        return at;
    if (ShareOrBitness(s, end) || IsCountingWord(WordBefore(s, at)))
        return at;
    return end;
}

// Lower case, every run of blanks one blank, none at either end.
std::string Normalized(const std::string& caption) {
    std::string s;
    for (char c : ToLower(caption)) {
        if (!IsBlank(c))
            s += c;
        else if (!s.empty() && s.back() != ' ')
            s += ' ';
    }
    if (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// A caption cut into the texts between its version tokens and the tokens themselves.
struct CaptionParts {
    std::vector<std::string> texts;  // one more than tokens: the text before each token, and after the last
    std::vector<std::string> tokens;
};

CaptionParts Split(const std::string& caption) {
    const std::string s = Normalized(caption);
    CaptionParts parts;
    std::string text;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t end = VersionTokenEnd(s, i);
        if (end > i) {
            parts.texts.push_back(std::move(text));
            text.clear();
            parts.tokens.push_back(s.substr(i, end - i));
            i = end;
        } else {
            text += s[i++];
        }
    }
    parts.texts.push_back(std::move(text));
    return parts;
}

using TokenPairs = std::vector<std::pair<std::string, std::string>>;

// The two captions' version tokens side by side, when nothing else differs and no recorded token becomes two
// different ones, in the caption itself or against what was learned.
std::optional<TokenPairs> SideBySide(const std::string& stored, const std::string& caption,
                                     const VersionSubstitutions& learned) {
    CaptionParts a = Split(stored);
    CaptionParts b = Split(caption);
    if (a.texts != b.texts)
        return std::nullopt;
    TokenPairs pairs;
    for (std::size_t i = 0; i < a.tokens.size(); ++i) {
        const auto known = learned.find(a.tokens[i]);
        if (known != learned.end() && known->second != b.tokens[i])
            return std::nullopt;
        for (const auto& [was, now] : pairs) {
            if (was == a.tokens[i] && now != b.tokens[i])
                return std::nullopt;
        }
        pairs.emplace_back(std::move(a.tokens[i]), std::move(b.tokens[i]));
    }
    return pairs;
}

}  // namespace

std::optional<int> VersionDistance(const std::string& stored, const std::string& caption,
                                   const VersionSubstitutions& learned) {
    const std::optional<TokenPairs> pairs = SideBySide(stored, caption, learned);
    if (!pairs)
        return std::nullopt;
    int differing = 0;
    for (const auto& [was, now] : *pairs)
        differing += was != now ? 1 : 0;
    return differing;
}

std::optional<std::size_t> NearestByVersion(const std::string& stored,
                                            const std::vector<std::string>& captions,
                                            const VersionSubstitutions& learned) {
    std::optional<std::size_t> best;
    int bestDistance = 0;
    bool tie = false;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const std::optional<int> distance = VersionDistance(stored, captions[i], learned);
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

void LearnSubstitutions(const std::string& stored, const std::string& caption,
                        VersionSubstitutions& learned) {
    const std::optional<TokenPairs> pairs = SideBySide(stored, caption, learned);
    if (!pairs)
        return;
    for (const auto& [was, now] : *pairs)
        learned.emplace(was, now);
}

}  // namespace velmora
