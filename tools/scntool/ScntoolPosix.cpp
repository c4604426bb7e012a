// The Linux entry point: files through the C++ library, code pages from the built-in tables.
#ifndef _WIN32
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "scenario/AnsiCodePage.h"
#include "tools/scntool/Scntool.h"

namespace velmora {
namespace {

class PosixIo : public ScntoolIo {
  public:
    std::optional<std::string> ReadFile(const std::string& path) override {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad())
            return std::nullopt;
        return bytes;
    }

    bool ReadFileStart(const std::string& path, std::size_t most, std::string& bytes) override {
        bytes.clear();
        std::ifstream in(path, std::ios::binary);
        char chunk[1 << 16];
        while (in && bytes.size() < most) {
            in.read(chunk, static_cast<std::streamsize>(std::min(sizeof chunk, most - bytes.size())));
            bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        }
        return !in.bad() && (in.good() || in.eof());
    }

    bool WriteFile(const std::string& path, const std::string& bytes) override {
        std::string temp = path + ".tmp" + std::to_string(::getpid());
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                std::remove(temp.c_str());
                return false;
            }
        }
        std::error_code error;
        std::filesystem::rename(temp, path, error);
        if (error)
            std::remove(temp.c_str());
        return !error;
    }

    void Out(const std::string& text) override { std::cout << text << std::flush; }
    void Err(const std::string& text) override { std::cerr << text; }
    int DefaultCodePage() override { return 1252; }
    std::unique_ptr<Codec> MakeCodec(int codePage) override { return SingleByteCodec::Create(codePage); }
    std::optional<std::vector<std::string>> ListFolder(const std::string& folder) override {
        std::error_code error;
        std::vector<std::string> names;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code notFile;
            if (it->is_regular_file(notFile))
                names.push_back(it->path().filename().string());
        }
        if (error)
            return std::nullopt;
        return names;
    }
};

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    velmora::PosixIo io;
    return velmora::RunScntool(std::vector<std::string>(argv + 1, argv + argc), io);
}
#endif
