// The Windows console entry point: UTF-16 arguments, files through the Win32 file system, the system's ANSI
// code page by default. Output is UTF-8; the console is switched to it so that captions show as written.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32FileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "tools/scntool/Scntool.h"

namespace velmora {
namespace {

class Win32Io : public ScntoolIo {
  public:
    std::optional<std::string> ReadFile(const std::string& path) override { return files_.ReadAll(path); }
    bool ReadFileStart(const std::string& path, std::size_t most, std::string& bytes) override {
        bytes.clear();
        const std::wstring wide = Utf8ToWide(path);
        if (wide.find(L'\0') != std::wstring::npos)
            return false;
        unique_hfile file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size))
            return false;
        // The size only sizes the buffer: a file that grows meanwhile is still read to `most` at most.
        bytes.resize(
            static_cast<std::size_t>(std::min<ULONGLONG>(static_cast<ULONGLONG>(size.QuadPart), most)));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
            DWORD got = 0;
            if (!::ReadFile(file.get(), bytes.data() + done, want, &got, nullptr))
                return false;
            if (got == 0)
                break;
            done += got;
        }
        bytes.resize(done);
        return true;
    }
    bool WriteFile(const std::string& path, const std::string& bytes) override {
        return files_.ReplaceFile(path, bytes);
    }
    void Out(const std::string& text) override { Write(stdout, text); }
    void Err(const std::string& text) override { Write(stderr, text); }
    int DefaultCodePage() override { return static_cast<int>(GetACP()); }
    std::unique_ptr<Codec> MakeCodec(int codePage) override {
        if (codePage == DefaultCodePage())
            return std::make_unique<Win32Codec>();
        return SingleByteCodec::Create(codePage);
    }
    std::optional<std::vector<std::string>> ListFolder(const std::string& folder) override {
        if (!files_.IsDirectory(folder))
            return std::nullopt;
        return files_.ListFiles(folder, "*");
    }

  private:
    static void Write(std::FILE* stream, const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fflush(stream);
    }
    Win32FileSystem files_;
};

}  // namespace
}  // namespace velmora

int wmain(int argc, wchar_t** argv) {
    // Bytes go out as they are: no CR is added to the text's LF line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(velmora::WideToUtf8(argv[i]));
    velmora::Win32Io io;
    return velmora::RunScntool(args, io);
}
#endif
