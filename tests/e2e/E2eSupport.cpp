#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/win32/WideText.h"

namespace velmora::e2e {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Velmora";

// The build passes host paths; Wine shows the host's root as drive Z:.
std::wstring HostPathToWindows(const std::string& hostPath) {
    std::wstring path = Utf8ToWide(hostPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return !path.empty() && path[0] == L'\\' ? L"Z:" + path : path;
}

bool WriteUserString(const std::wstring& subkey, const std::wstring& name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The screen's pixels in the rectangle as the rows of a 24-bit bottom-up bitmap, which is what a BMP file
// holds after its headers.
std::optional<std::string> Capture(const RECT& r, BITMAPINFOHEADER& header) {
    header = {};
    header.biSize = sizeof header;
    header.biWidth = r.right - r.left;
    header.biHeight = r.bottom - r.top;
    header.biPlanes = 1;
    header.biBitCount = 24;
    unique_hdc_window screen(nullptr);
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    unique_hbitmap bitmap(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header),
                                           DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || bits == nullptr)
        return std::nullopt;
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    const bool copied = BitBlt(memory.get(), 0, 0, header.biWidth, header.biHeight, screen.get(), r.left,
                               r.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory.get(), old);
    const std::size_t rowBytes = (static_cast<std::size_t>(header.biWidth) * 3 + 3) & ~std::size_t{3};
    return copied ? std::optional(std::string(static_cast<const char*>(bits),
                                              rowBytes * static_cast<std::size_t>(header.biHeight)))
                  : std::nullopt;
}

// The virtual display has no window manager, so Wine would show windows without caption or border. Asked to
// draw them itself, it makes the screenshots show what a person sees.
class DisplayEnvironment : public testing::Environment {
  public:
    void SetUp() override { WriteUserString(L"Software\\Wine\\X11 Driver", L"Managed", L"N"); }
};

[[maybe_unused]] testing::Environment* const kDisplayEnvironment =
    testing::AddGlobalTestEnvironment(new DisplayEnvironment);

}  // namespace

std::wstring VelmoraFolder() {
    const std::wstring exe = HostPathToWindows(VELMORA_EXE);
    return exe.substr(0, exe.find_last_of(L'\\'));
}

std::optional<Process> Process::Start(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    return Process(unique_handle(info.hProcess), info.dwProcessId);
}

Process::~Process() {
    if (Running()) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> Process::WaitExit(Deadline deadline) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

std::optional<Process> StartVelmora(const std::wstring& arguments) {
    return Process::Start(HostPathToWindows(VELMORA_EXE), arguments);
}

std::optional<std::wstring> ReadSetting(const std::wstring& section, const std::wstring& key) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\" + section).c_str(), key.c_str(),
                     RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

bool WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return WriteUserString(std::wstring(kSettingsKey) + L"\\" + section, key, value);
}

void RemoveProgramSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
}

void SaveScreenshot(HWND window, const std::wstring& name) {
    RECT r{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    r.right = r.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    r.bottom = r.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT w{};
    if (window != nullptr) {
        // In front, as the window a person works with, with what its program has waiting handled.
        SetForegroundWindow(window);
        WaitUntil([&] { return GetForegroundWindow() == window; }, Deadline{2000});
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        if (!GetWindowRect(window, &w) || !IntersectRect(&r, &r, &w))
            return;
    }
    // A window that has just appeared may still be drawing: the picture counts once it has stayed the same
    // for a moment.
    BITMAPINFOHEADER header{};
    std::optional<std::string> bits = Capture(r, header);
    auto unchangedSince = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            std::optional<std::string> now = Capture(r, header);
            if (now != bits) {
                bits = std::move(now);
                unchangedSince = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - unchangedSince >= std::chrono::milliseconds(300);
        },
        Deadline{5000});
    if (!bits)
        return;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + bits->size());
    const std::filesystem::path folder = HostPathToWindows(VELMORA_SCREENSHOT_DIR);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::ofstream out(folder / (name + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out << *bits;
    EXPECT_TRUE(out.good()) << "screenshot " << WideToUtf8(name) << " not saved";
}

}  // namespace velmora::e2e
