#pragma once
// The benchmarks' file system: the host's files under the program's paths.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/WildcardMatch.h"

namespace velmora {

// The files of a POSIX system under Windows paths: backslashes become slashes. Only what listing a folder,
// reading its packages and writing them back needs; the rest refuses.
class PosixFileSystem : public FileSystem {
  public:
    bool Exists(const std::string& path) override { return ::access(Native(path).c_str(), F_OK) == 0; }
    bool IsDirectory(const std::string& path) override { return std::filesystem::is_directory(Native(path)); }
    std::optional<std::string> ReadAll(const std::string& path) override {
        int file = ::open(Native(path).c_str(), O_RDONLY);
        if (file < 0)
            return std::nullopt;
        struct stat info {};
        std::optional<std::string> bytes;
        if (::fstat(file, &info) == 0) {
            bytes.emplace(static_cast<std::size_t>(info.st_size), '\0');
            if (::read(file, bytes->data(), bytes->size()) != static_cast<ssize_t>(bytes->size()))
                bytes.reset();
        }
        ::close(file);
        return bytes;
    }
    // As the Win32 file system reads into a buffer: the first read takes as much as the buffer's memory
    // holds, and the size is asked only when the buffer is full.
    bool ReadAllInto(const std::string& path, std::string& bytes) override {
        const int file = ::open(Native(path).c_str(), O_RDONLY);
        if (bytes.capacity() < kFirstRead)
            bytes.reserve(kFirstRead);
        std::size_t done = 0;
        bytes.resize(std::min(bytes.capacity(), kMostFirstRead));
        bool read = file >= 0;
        while (read) {
            if (done == bytes.size()) {
                struct stat info {};
                read = ::fstat(file, &info) == 0;
                if (!read)
                    break;
                bytes.resize(std::max(static_cast<std::size_t>(info.st_size), done) + 1);
            }
            const std::size_t want = bytes.size() - done;
            const ssize_t got = ::read(file, bytes.data() + done, want);
            read = got >= 0;
            if (!read)
                break;
            done += static_cast<std::size_t>(got);
            if (static_cast<std::size_t>(got) < want)
                break;  // a read that stops short has met the end of the file
        }
        if (file >= 0)
            ::close(file);
        bytes.resize(read ? done : 0);
        return read;
    }
    std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) override {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(Native(folder).c_str())) {
            // Windows matches the letters of every script without case; ASCII is enough for these names.
            auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
            while (dirent* entry = ::readdir(dir)) {
                if (entry->d_type == DT_REG && WildcardMatch<char>(entry->d_name, pattern, fold))
                    names.emplace_back(entry->d_name);
            }
            ::closedir(dir);
        }
        return names;
    }
    // Through a temporary file moved over the target, as the program writes.
    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        const std::string target = Native(path);
        const std::string temp = target + ".tmp";
        int file = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (file < 0)
            return false;
        const bool written = ::write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        ::close(file);
        return written && ::rename(temp.c_str(), target.c_str()) == 0;
    }
    bool Rename(const std::string&, const std::string&) override { return false; }
    bool Remove(const std::string&) override { return false; }
    std::string CurrentDirectory() override { return {}; }
    bool Copy(const std::string&, const std::string&) override { return false; }
    bool CreateFolder(const std::string&) override { return false; }
    bool SetNormalAttributes(const std::string&) override { return false; }
    bool Append(const std::string&, std::string_view) override { return false; }

  private:
    static constexpr std::size_t kFirstRead = 4096;
    static constexpr std::size_t kMostFirstRead = 65536;

    static std::string Native(std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
};

}  // namespace velmora
