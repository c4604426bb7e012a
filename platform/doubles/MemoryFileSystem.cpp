#include "platform/doubles/MemoryFileSystem.h"

#include <algorithm>
#include <cctype>

#include "platform/WildcardMatch.h"

namespace velmora {
namespace {

char Fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::string MemoryFileSystem::NameOf(const std::string& path) {
    auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

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
        AddFolder(key.substr(0, slash));
    files_[key] = Entry{NameOf(path), std::move(bytes)};
}

void MemoryFileSystem::SetReadOnly(const std::string& path, bool readOnly) {
    auto it = files_.find(Key(path));
    if (it != files_.end())
        it->second.readOnly = readOnly;
}

void MemoryFileSystem::SetLocked(const std::string& path, bool locked) {
    auto it = files_.find(Key(path));
    if (it != files_.end())
        it->second.locked = locked;
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end())
        return std::nullopt;
    return it->second.bytes;
}

bool MemoryFileSystem::MoveFolder(const std::string& from, const std::string& to) {
    const std::string source = Key(from);
    const std::string target = Key(to);
    if (!folders_.count(source) || folders_.count(target) || files_.count(target) || !ParentExists(target))
        return false;
    const auto moved = [&](const std::string& key) {
        return key == source || key.starts_with(source + "\\") ? target + key.substr(source.size()) : key;
    };
    std::set<std::string> folders;
    for (const std::string& key : folders_)
        folders.insert(moved(key));
    std::map<std::string, Entry> files;
    for (auto& [key, entry] : files_)
        files[moved(key)] = std::move(entry);
    folders_ = std::move(folders);
    files_ = std::move(files);
    return true;
}

bool MemoryFileSystem::Exists(const std::string& path) {
    if (path.empty())
        return false;
    std::string key = Key(path);
    if (key.size() == 3 && key[1] == ':') {
        // A root exists when anything is stored on its drive or it holds the current directory.
        auto starts = [&](const std::string& k) { return k.compare(0, 3, key) == 0; };
        return starts(Key(currentDirectory)) ||
               std::any_of(files_.begin(), files_.end(), [&](auto& f) { return starts(f.first); }) ||
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
    std::string bytes;
    if (!ReadAllInto(path, bytes))
        return std::nullopt;
    return bytes;
}

bool MemoryFileSystem::ReadAllInto(const std::string& path, std::string& bytes) {
    ++reads;
    auto it = files_.find(Key(path));
    if (it == files_.end() || it->second.locked) {
        bytes.clear();
        return false;
    }
    bytes.assign(it->second.bytes);
    return true;
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
    if (it != files_.end() && (it->second.readOnly || it->second.locked))
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
    // A name may change only its letter case: the target then "exists" as the source itself.
    bool sameFile = it != files_.end() && it->first == target;
    if (it == files_.end() || it->second.locked || (files_.count(target) && !sameFile) ||
        folders_.count(target) || !ParentExists(target)) {
        return false;
    }
    Entry entry = std::move(it->second);
    files_.erase(it);
    entry.name = NameOf(to);
    files_[target] = std::move(entry);
    return true;
}

bool MemoryFileSystem::Remove(const std::string& path) {
    auto it = files_.find(Key(path));
    if (it == files_.end() || it->second.readOnly || it->second.locked)
        return false;
    files_.erase(it);
    return true;
}

std::vector<std::string> MemoryFileSystem::ListFiles(const std::string& folder, const std::string& pattern) {
    std::string prefix = Key(folder);
    if (prefix.empty())
        return {};
    if (prefix.back() != '\\')
        prefix += '\\';
    std::vector<std::string> names;
    for (auto& [key, entry] : files_) {
        if (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0 &&
            key.find('\\', prefix.size()) == std::string::npos &&
            WildcardMatch<char>(entry.name, pattern, Fold)) {
            names.push_back(entry.name);
        }
    }
    return names;
}

bool MemoryFileSystem::Copy(const std::string& from, const std::string& to) {
    auto source = files_.find(Key(from));
    std::string target = Key(to);
    if (source == files_.end() || source->second.locked || folders_.count(target) || !ParentExists(target))
        return false;
    auto existing = files_.find(target);
    if (existing != files_.end() && (existing->second.readOnly || existing->second.locked))
        return false;
    // Like the system's copy, the attributes travel with the contents.
    Entry copy{existing == files_.end() ? NameOf(to) : existing->second.name, source->second.bytes,
               source->second.readOnly};
    files_[target] = std::move(copy);
    return true;
}

bool MemoryFileSystem::CreateFolder(const std::string& path) {
    std::string key = Key(path);
    if (key.size() <= 3 || files_.count(key) || folders_.count(key) || !ParentExists(key))
        return false;
    folders_.insert(key);
    return true;
}

bool MemoryFileSystem::Append(const std::string& path, std::string_view bytes) {
    std::string key = Key(path);
    if (!ParentExists(key) || folders_.count(key) > 0)
        return false;
    auto it = files_.find(key);
    if (it == files_.end()) {
        AddFile(path, std::string(bytes));
        return true;
    }
    if (it->second.readOnly || it->second.locked)
        return false;
    it->second.bytes.append(bytes);
    return true;
}

bool MemoryFileSystem::SetNormalAttributes(const std::string& path) {
    std::string key = Key(path);
    auto it = files_.find(key);
    if (it != files_.end()) {
        it->second.readOnly = false;
        return true;
    }
    return folders_.count(key) > 0;
}

}  // namespace velmora
