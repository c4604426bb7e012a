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

bool InJob(WindowSystem& windows, WindowId window, const std::vector<SystemProcessId>& job) {
    return std::find(job.begin(), job.end(), windows.ProcessOf(window)) != job.end();
}

// The n-th window matching class and caption among the children of parent (0: the top-level windows), only
// those of the processes in `only` counted when it is given; 0 when there are fewer than n, or n <= 0. The
// search ends when the matches run out.
WindowId FindNthWindow(WindowSystem& windows, WindowId parent, const std::optional<std::string>& className,
                       const std::optional<std::string>& caption, std::int64_t n,
                       const std::vector<SystemProcessId>* only = nullptr) {
    if (n <= 0)
        return 0;
    for (WindowId after = 0;;) {
        const WindowId next = windows.FindWindowEx(parent, after, className, caption);
        if (next == 0 || next == after)
            return 0;
        after = next;
        if ((only == nullptr || InJob(windows, next, *only)) && --n == 0)
            return next;
    }
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
        if (!topLevel || InJob(windows, next, installerProcesses))
            found.push_back({next, windows.Text(next)});
    }
}

// The n-th candidate (at least the first) whose caption is the one nearest to the stored one, when one
// caption is nearest.
std::optional<Candidate> NearestCandidate(const std::vector<Candidate>& candidates, const std::string& stored,
                                          std::int64_t n, const VersionSubstitutions& learned) {
    std::vector<std::string> captions;
    for (const Candidate& c : candidates) {
        if (std::find(captions.begin(), captions.end(), c.caption) == captions.end())
            captions.push_back(c.caption);
    }
    const std::optional<std::size_t> nearest = NearestByVersion(stored, captions, learned);
    if (!nearest)
        return std::nullopt;
    std::int64_t k = std::max<std::int64_t>(n, 1);
    for (const Candidate& c : candidates) {
        if (c.caption == captions[*nearest] && --k == 0)
            return c;
    }
    return std::nullopt;
}

// The window of one link under the window of the link before: by its exact caption, then by a near one where
// that is allowed; for a top-level link the installer's windows first. A near caption taken and a window
// outside the installer are noted in `match`.
WindowId FindLink(WindowSystem& windows, const WindowRef& link, WindowId parent,
                  const std::vector<SystemProcessId>& job, bool nearAllowed, ChainMatch& match) {
    if (link.matchIndex == -1)
        return windows.Desktop();
    const std::optional<std::string> className = WithoutTrailingNul(link.className);
    const std::optional<std::string> caption = CaptionToMatch(link.caption);
    const bool topLevel = link.matchIndex == 0 || parent == 0 || parent == windows.Desktop();
    const WindowId under = topLevel ? windows.Desktop() : parent;
    // 0 names the first top-level match.
    const std::int64_t n = topLevel ? std::max<std::int64_t>(link.matchIndex, 1) : link.matchIndex;
    WindowId window = 0;
    if (!topLevel || !job.empty())
        window = FindNthWindow(windows, under, className, caption, n, topLevel ? &job : nullptr);
    if (window == 0 && caption && nearAllowed) {
        const std::optional<Candidate> near = NearestCandidate(
            Candidates(windows, under, topLevel, className, job), *caption, n, match.substitutions);
        if (near) {
            window = near->window;
            match.nearCaptions.push_back({*caption, near->caption});
            LearnSubstitutions(*caption, near->caption, match.substitutions);
        }
    }
    if (window == 0 && topLevel) {
        window = FindNthWindow(windows, under, className, caption, n);
        match.outsideInstaller = match.outsideInstaller || window != 0;
    }
    return window;
}

}  // namespace

ChainMatch FindChainWindow(WindowSystem& windows, const std::vector<WindowRef>& chain,
                           const std::vector<SystemProcessId>& installerProcesses,
                           const VersionSubstitutions& learned) {
    ChainMatch match;
    match.substitutions = learned;
    const auto links = std::count_if(chain.begin(), chain.end(), [](const WindowRef& link) {
        return link.matchIndex != -1;  // the desktop is no window of the installer's
    });
    WindowId parent = 0;
    for (const WindowRef& link : chain) {
        parent = FindLink(windows, link, parent, installerProcesses, links > 1, match);
        if (parent == 0)
            return ChainMatch{};
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
