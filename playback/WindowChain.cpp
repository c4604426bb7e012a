#include "playback/WindowChain.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {
namespace {

std::string WithoutTrailingNul(const std::string& text) {
    if (!text.empty() && text.back() == '\0')
        return text.substr(0, text.size() - 1);
    return text;
}

std::optional<std::string> CaptionToMatch(const std::string& stored) {
    const std::string caption = WithoutTrailingNul(stored);
    if (caption == std::string(1, '\0') || caption.find_first_not_of(' ') == std::string::npos)
        return std::nullopt;
    return caption;
}

// The n-th window matching class and caption among the children of parent (0: the top-level windows); 0 when
// there are fewer than n, or n <= 0. The search ends when the matches run out.
WindowId FindNthWindow(WindowSystem& windows, WindowId parent, const std::optional<std::string>& className,
                       const std::optional<std::string>& caption, std::int64_t n) {
    WindowId found = 0;
    for (std::int64_t k = 1; k <= n; ++k) {
        const WindowId next = windows.FindWindowEx(parent, found, className, caption);
        if (next == 0 || next == found)
            return 0;
        found = next;
    }
    return found;
}

}  // namespace

WindowId FindChainWindow(WindowSystem& windows, const std::vector<WindowRef>& chain) {
    WindowId parent = 0;
    WindowId window = 0;
    for (const WindowRef& link : chain) {
        const std::optional<std::string> className = WithoutTrailingNul(link.className);
        const std::optional<std::string> caption = CaptionToMatch(link.caption);
        if (link.matchIndex == -1)
            window = windows.Desktop();
        else if (link.matchIndex == 0)
            window = windows.FindWindowEx(windows.Desktop(), 0, className, caption);
        else
            window = FindNthWindow(windows, parent, className, caption, link.matchIndex);
        if (window == 0)
            return 0;
        parent = window;
    }
    return window;
}

}  // namespace velmora
