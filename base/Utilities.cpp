#include "base/Utilities.h"

#include <algorithm>

#include "base/SharedState.h"

namespace velmora {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Offset of the last backslash at or before `from`, or npos.
std::size_t LastBackslashBefore(const std::string& text, std::size_t from) {
    return text.rfind('\\', from);
}

}  // namespace

std::string TrimLeft(const std::string& text) {
    std::size_t b = 0;
    while (b < text.size() && IsBlank(text[b]))
        ++b;
    return text.substr(b);
}

std::string TrimRight(const std::string& text) {
    std::size_t e = text.size();
    while (e > 0 && IsBlank(text[e - 1]))
        --e;
    return text.substr(0, e);
}

std::string Trim(const std::string& text) {
    return TrimRight(TrimLeft(text));
}

std::size_t FindNoCase(const std::string& haystack, const std::string& needle, std::size_t from) {
    // Folding keeps bytes below 0x80 below it and the others above, so an ASCII needle is found in the folded
    // text exactly where it matches the text letter by letter in ASCII; path variables are such needles.
    auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (!std::all_of(needle.begin(), needle.end(), ascii))
        return ToLower(haystack).find(ToLower(needle), from);
    if (from > haystack.size() || needle.size() > haystack.size() - from)
        return std::string::npos;
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t at = from; at + needle.size() <= haystack.size(); ++at) {
        std::size_t k = 0;
        while (k < needle.size() && fold(haystack[at + k]) == fold(needle[k]))
            ++k;
        if (k == needle.size())
            return at;
    }
    return std::string::npos;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::size_t CharCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

std::string AddBackslash(const std::string& text) {
    if (text.empty() || text.back() == '\\')
        return text;
    return text + '\\';
}

// A trailing backslash is not itself the separator: the search starts one before the last character.
std::string ParentFolder(const std::string& path) {
    if (path.size() < 2)
        return {};
    std::size_t slash = LastBackslashBefore(path, path.size() - 2);
    return slash == std::string::npos ? std::string{} : path.substr(0, slash);
}

std::string FileTitleNoExt(const std::string& path) {
    if (path.size() < 2)
        return {};
    std::size_t slash = LastBackslashBefore(path, path.size() - 2);
    if (slash == std::string::npos)
        return {};
    return StripExtension(path.substr(slash + 1));
}

std::string StripExtension(const std::string& text) {
    if (text.size() < 2)
        return {};
    std::size_t dot = text.rfind('.', text.size() - 2);
    return dot == std::string::npos ? std::string{} : text.substr(0, dot);
}

std::string StripQuotes(const std::string& text) {
    std::string trimmed = Trim(text);
    std::size_t open = trimmed.find('"');
    if (open == std::string::npos || open + 1 >= trimmed.size())
        return trimmed;
    std::size_t close = trimmed.find('"', open + 1);
    if (close == std::string::npos)
        return trimmed.substr(open + 1);
    return trimmed.substr(open + 1, close - open - 1);
}

std::string StripTrailingNulls(const std::string& text) {
    std::size_t e = text.size();
    while (e > 0 && text[e - 1] == '\0')
        --e;
    return text.substr(0, e);
}

bool PathExists(FileSystem& files, const std::string& path) {
    std::string trimmed = Trim(path);
    return !trimmed.empty() && files.Exists(trimmed);
}

bool IsFolder(FileSystem& files, const std::string& path) {
    std::string trimmed = Trim(path);
    return !trimmed.empty() && files.IsDirectory(trimmed);
}

std::string CompleteFilter(const std::string& filter) {
    if (filter.empty() || filter.back() == '|')
        return filter;
    return filter + '|';
}

std::string ShowOpenFileDialog(Dialogs& dialogs, SharedState& state, WindowId owner,
                               const std::string& filter, const std::string& title,
                               const std::string& initialFolder) {
    auto chosen = dialogs.OpenFile(owner, CompleteFilter(filter), title, initialFolder);
    if (!chosen)
        return {};
    std::string path = Trim(StripTrailingNulls(*chosen));
    if (path.empty())
        return {};
    std::size_t slash = path.find_last_of("\\/");
    state.lastFileTitle = Trim(slash == std::string::npos ? path : path.substr(slash + 1));
    return path;
}

std::string ShowSaveFileDialog(Dialogs& dialogs, WindowId owner, const std::string& filter,
                               const std::string& title, const std::string& initialFolder) {
    auto chosen = dialogs.SaveFile(owner, CompleteFilter(filter), title, initialFolder);
    return chosen ? Trim(StripTrailingNulls(*chosen)) : std::string{};
}

std::string BrowseForFolder(Dialogs& dialogs, WindowId owner, const std::string& initialFolder,
                            const std::string& title) {
    auto chosen = dialogs.BrowseFolder(owner, initialFolder, title);
    if (!chosen)
        return {};
    return chosen->substr(0, chosen->find('\0'));
}

}  // namespace velmora
