#include "tests/win32/WindowTools.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32LogonTasks.h"

namespace velmora {
namespace {

constexpr UINT kMessageTimeoutMs = 5000;

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    return std::wstring(name, static_cast<std::size_t>(std::max(GetClassNameW(window, name, 256), 0)));
}

// A message with a timeout, so a hung or busy program fails the test instead of blocking it; 0 on failure.
DWORD_PTR Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &answer)
               ? answer
               : 0;
}

// The test programs live two folders below the build folder.
std::filesystem::path BuildFolder() {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    return std::filesystem::path(program).parent_path().parent_path().parent_path();
}

struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    const WindowQuery& q = *search->query;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((q.processId == 0 || pid == q.processId) && (!q.visibleOnly || IsWindowVisible(window)) &&
        window != q.except && (!q.className || ClassOf(window) == *q.className) &&
        (!q.caption || WindowText(window) == *q.caption)) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, Deadline deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

WindowQuery OwnDialog(std::optional<std::wstring> caption) {
    return {.className = L"#32770", .caption = std::move(caption), .processId = GetCurrentProcessId()};
}

std::vector<HWND> TopLevelWindows(const WindowQuery& query) {
    Search search{&query, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildWindows(HWND parent, const WindowQuery& query) {
    Search search{&query, {}};
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    std::wstring text(Ask(window, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(std::min(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())),
                         text.size() - 1));
    return text;
}

std::vector<std::wstring> ListBoxLines(HWND list) {
    std::vector<std::wstring> lines(Ask(list, LB_GETCOUNT));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].resize(Ask(list, LB_GETTEXTLEN, i) + 1);
        lines[i].resize(std::min(Ask(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(lines[i].data())),
                                 lines[i].size() - 1));
    }
    return lines;
}

std::wstring MessageBoxText(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0 && !WindowText(child).empty())
            return WindowText(child);
    }
    return {};
}

bool PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button != nullptr &&
           PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

POINT Centre(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool PumpUntil(const std::function<bool()>& condition, Deadline deadline) {
    return WaitUntil(
        [&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            return condition();
        },
        deadline);
}

unique_hmodule LoadProgramResources() {
    return unique_hmodule(LoadLibraryExW((BuildFolder() / "velmora.exe").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

int Picture::Count(BYTE red, BYTE green, BYTE blue) const {
    const DWORD wanted = 0xFF000000u | (red << 16) | (green << 8) | blue;
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), wanted));
}

Picture Capture(const RECT& r) {
    Picture picture{r.right - r.left, r.bottom - r.top, {}};
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    unique_hdc_window screen(nullptr);
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), picture.width, picture.height));
    {
        unique_select_object selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, picture.width, picture.height, screen.get(), r.left, r.top,
               SRCCOPY | CAPTUREBLT);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(picture.height), picture.pixels.data(), &info,
              DIB_RGB_COLORS);
    for (DWORD& pixel : picture.pixels)
        pixel |= 0xFF000000u;  // opaque: the screen has no alpha, and viewers take 0 for transparent
    return picture;
}

Picture SaveScreenshot(HWND window, const std::wstring& name) {
    RECT r{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    r.right = r.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    r.bottom = r.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (window != nullptr) {
        // In front, as the window a person works with, with what its program has waiting handled.
        SetForegroundWindow(window);
        WaitUntil([&] { return GetForegroundWindow() == window; }, Deadline{2000});
        Ask(window, WM_NULL);
        RECT w{};
        if (!GetWindowRect(window, &w) || !IntersectRect(&r, &r, &w))
            return {};
    }
    Picture picture = Capture(r);
    auto unchangedSince = std::chrono::steady_clock::now();
    PumpUntil(
        [&] {
            if (Picture now = Capture(r); !(now == picture)) {
                picture = std::move(now);
                unchangedSince = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - unchangedSince >= std::chrono::milliseconds(300);
        },
        Deadline{5000});
    const std::filesystem::path folder = BuildFolder() / "screenshots";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const DWORD bytes = static_cast<DWORD>(picture.pixels.size() * sizeof(DWORD));
    constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{0x4D42, kHeaders + bytes, 0, 0, kHeaders};
    BITMAPINFOHEADER header{sizeof header, picture.width, -picture.height, 1, 32, BI_RGB, bytes, 0, 0, 0, 0};
    std::ofstream out(folder / (name + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(picture.pixels.data()), bytes);
    return picture;
}

WindowWatcher::WindowWatcher(WindowQuery query, std::function<void(HWND)> act, Deadline deadline)
    : thread_([this, query = std::move(query), act = std::move(act), deadline] {
          if (HWND window = WaitForWindow(query, deadline)) {
              found_ = true;
              act(window);
              return;
          }
          for (HWND stray : TopLevelWindows({.processId = GetCurrentProcessId()})) {
              for (int id : {IDCANCEL, IDNO, IDOK})
                  PressButton(stray, id);
              PostMessageW(stray, WM_CLOSE, 0, 0);
          }
      }) {}

bool WindowWatcher::Join() {
    if (thread_.joinable())
        thread_.join();
    return found_;
}

bool StartTaskScheduler() {
    using unique_service = unique_any<NullIsEmpty<SC_HANDLE, &CloseServiceHandle>>;
    unique_service manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    unique_service service(
        manager ? OpenServiceW(manager.get(), L"Schedule", SERVICE_START | SERVICE_QUERY_STATUS) : nullptr);
    if (!service)
        return false;
    return WaitUntil(
        [&] {
            SERVICE_STATUS status{};
            if (QueryServiceStatus(service.get(), &status) && status.dwCurrentState == SERVICE_STOPPED)
                StartServiceW(service.get(), 0, nullptr);
            // Answered only by a scheduler that runs: a task that is not there is removed all the same.
            return Win32LogonTasks{}.Remove("Velmora Runwright: no such task");
        },
        Deadline{120000});
}

}  // namespace velmora
