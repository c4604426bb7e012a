#include "playback/WindowChain.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "playback/CaptionMatch.h"
#include "recording/Recorder.h"

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

struct Candidate {
    WindowId window;
    std::string caption;
};

// The windows of the class under parent (the top-level windows when topLevel), those of a top-level search
// only when one of the installer's processes made them.
std::vector<Candidate> Candidates(WindowSystem& windows, WindowId parent, bool topLevel,
                                  const std::optional<std::string>& className,
                                  const std::vector<SystemProcessId>& installerProcesses) {
    std::vector<Candidate> found;
    if (topLevel && installerProcesses.empty())
        return found;
    const WindowId under = topLevel ? windows.Desktop() : parent;
    for (WindowId after = 0;;) {
        const WindowId next = windows.FindWindowEx(under, after, className, std::nullopt);
        if (next == 0 || next == after)
            return found;
        after = next;
        if (!topLevel ||
            std::count(installerProcesses.begin(), installerProcesses.end(), windows.ProcessOf(next)) > 0)
            found.push_back({next, windows.Text(next)});
    }
}

// The n-th candidate (at least the first) whose caption is the one nearest to the stored one, when one
// caption is nearest.
std::optional<Candidate> NearestCandidate(const std::vector<Candidate>& candidates, const std::string& stored,
                                          std::int64_t n) {
    std::vector<std::string> captions;
    for (const Candidate& c : candidates) {
        if (std::find(captions.begin(), captions.end(), c.caption) == captions.end())
            captions.push_back(c.caption);
    }
    const std::optional<std::size_t> nearest = NearestByVersion(stored, captions);
    if (!nearest)
        return std::nullopt;
    std::int64_t k = std::max<std::int64_t>(n, 1);
    for (const Candidate& c : candidates) {
        if (c.caption == captions[*nearest] && --k == 0)
            return c;
    }
    return std::nullopt;
}

}  // namespace

ChainMatch FindChainWindow(WindowSystem& windows, const std::vector<WindowRef>& chain,
                           const std::vector<SystemProcessId>& installerProcesses) {
    ChainMatch match;
    WindowId parent = 0;
    for (const WindowRef& link : chain) {
        const std::optional<std::string> className = WithoutTrailingNul(link.className);
        const std::optional<std::string> caption = CaptionToMatch(link.caption);
        const bool topLevel = link.matchIndex == 0 || parent == 0 || parent == windows.Desktop();
        WindowId window = 0;
        if (link.matchIndex == -1)
            window = windows.Desktop();
        else if (link.matchIndex == 0)
            window = windows.FindWindowEx(windows.Desktop(), 0, className, caption);
        else
            window = FindNthWindow(windows, parent, className, caption, link.matchIndex);
        if (window == 0 && caption) {
            const std::optional<Candidate> near =
                NearestCandidate(Candidates(windows, parent, topLevel, className, installerProcesses),
                                 *caption, link.matchIndex);
            if (near) {
                window = near->window;
                match.nearCaptions.push_back({*caption, near->caption});
            }
        }
        if (window == 0)
            return ChainMatch{};
        parent = window;
    }
    match.window = parent;
    return match;
}

std::string ChainText(const std::vector<WindowRef>& chain) {
    std::string text;
    for (const WindowRef& link : chain) {
        if (!text.empty())
            text += " > ";
        text += WithoutTrailingNul(link.className);
        const std::optional<std::string> caption = CaptionToMatch(link.caption);
        if (caption && !IsEditClass(link.className))
            text += " \"" + *caption + "\"";
    }
    return text;
}

}  // namespace velmora
