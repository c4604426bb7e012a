#include "platform/doubles/MemoryFileSystem.h"

#include <algorithm>
#include <cctype>

namespace velmora {
namespace {

bool WildcardMatch(const std::string& name, const std::string& pattern, std::size_t n = 0,
                   std::size_t p = 0) {
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            for (std::size_t k = n; k <= name.size(); ++k) {
                if (WildcardMatch(name, pattern, k, p + 1))
                    return true;
            }
            return false;
        }
        if (n >= name.size())
            return false;
        if (pattern[p] != '?' && std::tolower(static_cast<unsigned char>(pattern[p])) !=
                                     std::tolower(static_cast<unsigned char>(name[n]))) {
            return false;
        }
        ++n;
        ++p;
    }
    return n == name.size();
}

}  // namespace

std::string MemoryFileSystem::Key(const std::string& path) {
    std::string key;
    for (char c : path) {
        char d = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (d == '\\' && !key.empty() && key.back() == '\\')
            continue;
        key += d;
    }
    while (key.size() > 3 && key.back() == '\\')
        key.pop_back();
    if (key.size() == 2 && key[1] == ':')
        key += '\\';
    return key;
}

bool MemoryFileSystem::ParentExists(const std::string& key) const {
    auto slash = key.rfind('\\');
    if (slash == std::string::npos)
        return false;
    std::string parent = key.substr(0, slash == 2 ? 3 : slash);
    return parent.size() == 3 || folders_.count(parent) > 0;
}

void MemoryFileSystem::AddFolder(const std::string& path) {
    std::string key = Key(path);
    while (key.size() > 3) {
        folders_.insert(key);
        auto slash = key.rfind('\\');
        if (slash == std::string::npos)
            break;
        key = key.substr(0, slash == 2 ? 3 : slash);
    }
}

void MemoryFileSystem::AddFile(const std::string& path, std::string bytes) {
    std::string key = Key(path);
    auto slash = key.rfind('\\');
    if (slash != std::string::npos && slash > 2)
        AddFolder(path.substr(0, slash));
    std::string name =
        path.substr(path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1);
    files_[key] = Entry{name, std::move(bytes), false};
}

void MemoryFileSystem::SetReadOnly(const std::string& path, bool readOnly) {
    auto it = files_.find(Key(path));
    if (it != files_.end())
        it->second.readOnly = readOnly;
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end())
        return std::nullopt;
    return it->second.bytes;
}

bool MemoryFileSystem::Exists(const std::string& path) {
    if (path.empty())
        return false;
    std::string key = Key(path);
    if (key.size() == 3 && key[1] == ':') {
        // A root exists when anything is stored on its drive.
        auto starts = [&](const std::string& k) { return k.compare(0, 3, key) == 0; };
        return std::any_of(files_.begin(), files_.end(), [&](auto& f) { return starts(f.first); }) ||
               std::any_of(folders_.begin(), folders_.end(), starts);
    }
    return files_.count(key) > 0 || folders_.count(key) > 0;
}

bool MemoryFileSystem::IsDirectory(const std::string& path) {
    std::string key = Key(path);
    if (key.size() == 3 && key[1] == ':')
        return Exists(path);
    return folders_.count(key) > 0;
}

std::optional<std::string> MemoryFileSystem::ReadAll(const std::string& path) {
    return Contents(path);
}

bool MemoryFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
    std::string key = Key(path);
    if (!ParentExists(key) || folders_.count(key) > 0)
        return false;
    if (failAfter_) {
        failAfter_.reset();  // the temporary file is discarded; the target was never touched
        return false;
    }
    auto it = files_.find(key);
    if (it != files_.end() && it->second.readOnly)
        return false;
    if (it == files_.end()) {
        AddFile(path, std::string(bytes));
    } else {
        it->second.bytes.assign(bytes);
    }
    return true;
}

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    auto it = files_.find(Key(from));
    std::string target = Key(to);
    if (it == files_.end() || files_.count(target) || folders_.count(target) || !ParentExists(target))
        return false;
    Entry entry = std::move(it->second);
    files_.erase(it);
    std::string name =
        to.substr(to.find_last_of("\\/") == std::string::npos ? 0 : to.find_last_of("\\/") + 1);
    entry.name = name;
    files_[target] = std::move(entry);
    return true;
}

bool MemoryFileSystem::Remove(const std::string& path) {
    auto it = files_.find(Key(path));
    if (it == files_.end() || it->second.readOnly)
        return false;
    files_.erase(it);
    return true;
}

std::vector<std::string> MemoryFileSystem::ListFiles(const std::string& folder, const std::string& pattern) {
    std::string prefix = Key(folder);
    if (prefix.back() != '\\')
        prefix += '\\';
    std::vector<std::string> names;
    for (auto& [key, entry] : files_) {
        if (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0 &&
            key.find('\\', prefix.size()) == std::string::npos && WildcardMatch(entry.name, pattern)) {
            names.push_back(entry.name);
        }
    }
    return names;
}

}  // namespace velmora
