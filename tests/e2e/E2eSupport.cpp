#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/win32/WideText.h"
#include "tests/e2e/PngFile.h"

namespace velmora::e2e {

namespace {

constexpr UINT kMessageTimeoutMs = 5000;

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int n = GetClassNameW(window, name, 256);
    return std::wstring(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

struct EnumState {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    const WindowQuery& q = *state->query;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((q.processId != 0 && pid != q.processId) || (q.visibleOnly && !IsWindowVisible(window)) ||
        (q.className && ClassOf(window) != *q.className) || (q.caption && WindowText(window) != *q.caption)) {
        return TRUE;
    }
    state->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// Puts the window in front, as the window a person works with, and lets its program handle what waits.
void BringForward(HWND window) {
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, Deadline{2000});
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &ignored);
}

// The screen's pixels in the rectangle as RGB rows, top row first.
std::optional<std::string> CaptureRgb(const RECT& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    unique_hdc_window screen(nullptr);
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first, as PNG wants it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    unique_hbitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || bits == nullptr) {
        return std::nullopt;
    }
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    const bool copied =
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory.get(), old);
    if (!copied) {
        return std::nullopt;
    }
    const auto* bgrx = static_cast<const unsigned char*>(bits);
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::string rgb(pixels * 3, '\0');
    for (std::size_t i = 0; i < pixels; ++i) {
        rgb[i * 3] = static_cast<char>(bgrx[i * 4 + 2]);
        rgb[i * 3 + 1] = static_cast<char>(bgrx[i * 4 + 1]);
        rgb[i * 3 + 2] = static_cast<char>(bgrx[i * 4]);
    }
    return rgb;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, Deadline deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::wstring HostPathToWindows(const std::string& hostPath) {
    std::wstring path = Utf8ToWide(hostPath);
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return !path.empty() && path[0] == L'\\' ? L"Z:" + path : path;
}

std::wstring VelmoraExePath() {
    return HostPathToWindows(VELMORA_EXE);
}

std::wstring VelmoraFolder() {
    const std::wstring exe = VelmoraExePath();
    return exe.substr(0, exe.find_last_of(L'\\'));
}

std::optional<Process> Process::Start(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
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
    Terminate();
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Terminate();
        process_ = std::move(other.process_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

bool Process::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitExit(Deadline deadline) const {
    if (!process_ ||
        WaitForSingleObject(process_.get(), static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

void Process::Terminate() {
    if (Running()) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), kMessageTimeoutMs);
    }
}

std::optional<Process> StartVelmora(const std::wstring& arguments) {
    return Process::Start(VelmoraExePath(), arguments);
}

std::vector<HWND> TopLevelWindows(const WindowQuery& query) {
    EnumState state{&query, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND FindTopLevelWindow(const WindowQuery& query) {
    const std::vector<HWND> found = TopLevelWindows(query);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const WindowQuery& query, Deadline deadline) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevelWindow(query)) != nullptr; }, deadline);
    return found;
}

std::wstring WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

std::wstring ClassNameOf(HWND window) {
    return ClassOf(window);
}

HWND Control(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

HWND WaitForMessageBox(DWORD processId, Deadline deadline) {
    return WaitForWindow({.className = L"#32770", .processId = processId}, deadline);
}

std::wstring MessageBoxText(HWND box) {
    std::vector<HWND> children;
    EnumChildWindows(box, CollectChildren, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0) {
            std::wstring text = WindowText(child);
            if (!text.empty()) {
                return text;
            }
        }
    }
    return {};
}

bool PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) {
        return false;
    }
    // A posted command works whether or not the dialog is active, where a simulated click might not.
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) !=
           0;
}

std::optional<std::wstring> ReadUserString(const std::wstring& subkey, const std::wstring& name) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(),
                     &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

bool WriteUserString(const std::wstring& subkey, const std::wstring& name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::optional<std::wstring> ReadSetting(const std::wstring& section, const std::wstring& key) {
    return ReadUserString(std::wstring(kSettingsKey) + L"\\" + section, key);
}

void RemoveProgramSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
}

TempFolder::TempFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp, n) + L"velmora-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_, ignored);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

bool TempFolder::WriteFile(const std::wstring& name, const std::string& bytes) const {
    unique_hfile file(CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring SaveScreenshot(HWND window, const std::wstring& name) {
    RECT r{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    r.right = r.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    r.bottom = r.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (window != nullptr) {
        BringForward(window);
        RECT w{};
        if (!GetWindowRect(window, &w) || !IntersectRect(&r, &r, &w)) {
            return {};
        }
    }
    // A window that has just appeared may still be drawing: the picture counts once it has stayed the same
    // for a moment.
    std::optional<std::string> rgb = CaptureRgb(r);
    auto unchangedSince = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            std::optional<std::string> now = CaptureRgb(r);
            if (now != rgb) {
                rgb = std::move(now);
                unchangedSince = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - unchangedSince >= std::chrono::milliseconds(300);
        },
        Deadline{5000});
    if (!rgb) {
        return {};
    }
    const std::string png = EncodePng(r.right - r.left, r.bottom - r.top, *rgb);

    const std::wstring folder = HostPathToWindows(VELMORA_SCREENSHOT_DIR);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::wstring path = folder + L"\\" + name + L".png";
    unique_hfile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (png.empty() || !file ||
        !::WriteFile(file.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) ||
        written != png.size()) {
        return {};
    }
    return path;
}

}  // namespace velmora::e2e

namespace velmora::e2e {
namespace {

// The virtual display has no window manager, so Wine would show windows without caption or border. Asked to
// draw them itself, it makes the screenshots show what a person sees.
class DisplayEnvironment : public testing::Environment {
  public:
    void SetUp() override { WriteUserString(L"Software\\Wine\\X11 Driver", L"Managed", L"N"); }
};

[[maybe_unused]] testing::Environment* const kDisplayEnvironment =
    testing::AddGlobalTestEnvironment(new DisplayEnvironment);

}  // namespace
}  // namespace velmora::e2e
