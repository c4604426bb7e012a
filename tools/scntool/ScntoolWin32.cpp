// The Windows console entry point: UTF-16 arguments, files through the Win32 file system, the system's ANSI
// code page by default. Output is UTF-8; the console is switched to it so that captions show as written.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WideText.h"
#include "scenario/AnsiCodePage.h"
#include "tools/scntool/Scntool.h"

namespace velmora {
namespace {

// The system's ANSI code page; characters it lacks become '?' rather than a look-alike.
class AnsiCodePageCodec : public Codec {
  public:
    std::string ToAnsi(std::string_view utf8) override {
        std::wstring wide = Utf8ToWide(utf8);
        if (wide.empty())
            return {};
        int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                       static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
        std::string ansi(size > 0 ? size : 0, '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                            ansi.data(), size, nullptr, nullptr);
        return ansi;
    }

    std::string FromAnsi(std::string_view ansi) override {
        if (ansi.empty())
            return {};
        int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
        std::wstring wide(size > 0 ? size : 0, L'\0');
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
        return WideToUtf8(wide);
    }
};

class Win32Io : public ScntoolIo {
  public:
    std::optional<std::string> ReadFile(const std::string& path) override { return files_.ReadAll(path); }
    bool WriteFile(const std::string& path, const std::string& bytes) override {
        return files_.ReplaceFile(path, bytes);
    }
    void Out(const std::string& text) override { Write(stdout, text); }
    void Err(const std::string& text) override { Write(stderr, text); }
    int DefaultCodePage() override { return static_cast<int>(GetACP()); }
    std::unique_ptr<Codec> MakeCodec(int codePage) override {
        if (codePage == DefaultCodePage())
            return std::make_unique<AnsiCodePageCodec>();
        return SingleByteCodec::Create(codePage);
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
