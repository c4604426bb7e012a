#include "platform/doubles/FakeWindowSystem.h"

#include <algorithm>
#include <cstdint>

#include "platform/LetterCase.h"

namespace velmora {

namespace {

bool Contains(const FakeWindowSystem::Window& w, Point p) {
    return p.x >= w.left && p.y >= w.top && std::int64_t{p.x} < std::int64_t{w.left} + w.width &&
           std::int64_t{p.y} < std::int64_t{w.top} + w.height;
}

int Offset(int value, int by) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{value} + by, INT32_MIN, INT32_MAX));
}

}  // namespace

WindowId FakeWindowSystem::NewWindow(const std::string& className, const std::string& caption, int left,
                                     int top, int width, int height) {
    const WindowId id = next_ += 0x10;
    Window w;
    w.className = className;
    w.caption = caption;
    w.left = left;
    w.top = top;
    w.width = width;
    w.height = height;
    w.clientOrigin = Point{left, top};
    windows_[id] = w;
    return id;
}

WindowId FakeWindowSystem::AddTopLevel(const std::string& className, const std::string& caption, int left,
                                       int top, int width, int height, WindowId owner) {
    const WindowId id = NewWindow(className, caption, left, top, width, height);
    windows_[id].owner = owner;
    auto& top_level = children_[0];
    top_level.insert(top_level.begin(), id);
    return id;
}

WindowId FakeWindowSystem::AddChild(WindowId parent, const std::string& className, const std::string& caption,
                                    int left, int top, int width, int height) {
    Get(parent);
    const WindowId id = NewWindow(className, caption, left, top, width, height);
    windows_[id].parent = parent;
    children_[parent].push_back(id);
    return id;
}

void FakeWindowSystem::Remove(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return;
    const std::vector<WindowId> kids = children_[window];
    for (WindowId child : kids)
        Remove(child);
    children_.erase(window);
    auto& siblings = children_[it->second.parent];
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    windows_.erase(window);
}

FakeWindowSystem::Window& FakeWindowSystem::Get(WindowId window) {
    return windows_.at(window);
}

std::vector<WindowId>& FakeWindowSystem::Siblings(WindowId parent) {
    return children_[parent == kDesktop ? 0 : parent];
}

WindowId FakeWindowSystem::FindWindowEx(WindowId parent, WindowId after,
                                        const std::optional<std::string>& className,
                                        const std::optional<std::string>& caption) {
    ++findCalls;
    const std::vector<WindowId>& siblings = Siblings(parent);
    auto it = siblings.begin();
    if (after != 0) {
        it = std::find(siblings.begin(), siblings.end(), after);
        if (it == siblings.end())
            return 0;
        ++it;
    }
    for (; it != siblings.end(); ++it) {
        const Window& w = windows_.at(*it);
        if (className && !EqualsNoCase(w.className, *className))
            continue;
        if (caption && !EqualsNoCase(w.caption, *caption))
            continue;
        return *it;
    }
    return 0;
}

WindowId FakeWindowSystem::Parent(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return 0;
    return it->second.parent != 0 ? it->second.parent : it->second.owner;
}

std::string FakeWindowSystem::Text(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? std::string{} : it->second.caption;
}

std::string FakeWindowSystem::ClassName(WindowId window) {
    if (window == kDesktop)
        return "#32769";
    auto it = windows_.find(window);
    return it == windows_.end() ? std::string{} : it->second.className;
}

WindowId FakeWindowSystem::HitTest(const std::vector<WindowId>& siblings, Point screen) {
    for (WindowId id : siblings) {
        const Window& w = windows_.at(id);
        if (!w.visible || !Contains(w, screen))
            continue;
        auto kids = children_.find(id);
        if (kids != children_.end()) {
            const WindowId child = HitTest(kids->second, screen);
            if (child != 0)
                return child;
        }
        return id;
    }
    return 0;
}

WindowId FakeWindowSystem::FromPoint(Point screen) {
    const WindowId hit = HitTest(children_[0], screen);
    if (hit == 0)
        return kDesktop;
    const WindowId cover = windows_.at(hit).coveredBy;
    return cover != 0 ? cover : hit;
}

Point FakeWindowSystem::ClientToScreen(WindowId window, Point client) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return client;
    return Point{Offset(client.x, it->second.clientOrigin.x), Offset(client.y, it->second.clientOrigin.y)};
}

Point FakeWindowSystem::ScreenToClient(WindowId window, Point screen) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return screen;
    return Point{Offset(screen.x, -it->second.clientOrigin.x), Offset(screen.y, -it->second.clientOrigin.y)};
}

Size FakeWindowSystem::ClientSize(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return {};
    const Window& w = it->second;
    return {Offset(w.left, w.width - w.clientOrigin.x), Offset(w.top, w.height - w.clientOrigin.y)};
}

int FakeWindowSystem::Dpi(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? 0 : it->second.dpi;
}

SystemProcessId FakeWindowSystem::ProcessOf(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? 0 : it->second.process;
}

bool FakeWindowSystem::SetCursorPos(Point screen) {
    if (!inputRefused)
        cursor = screen;
    return !inputRefused;
}

bool FakeWindowSystem::MouseEvent(unsigned flags, int x, int y) {
    if (!inputRefused)
        mouseEvents.push_back({flags, x, y, cursor});
    return !inputRefused;
}

bool FakeWindowSystem::SetForeground(WindowId window) {
    foregroundCalls.push_back(window);
    return windows_.count(window) > 0;
}

void FakeWindowSystem::SetText(WindowId window, const std::string& text) {
    textsSet.push_back({window, text});
    auto it = windows_.find(window);
    if (it != windows_.end())
        it->second.caption = text;
}

void FakeWindowSystem::SetTopMost(WindowId window, bool topMost) {
    topMostCalls.push_back({window, topMost});
}

bool FakeWindowSystem::ReadyForInput(WindowId window) {
    for (WindowId at = window; at != 0 && at != kDesktop;) {
        auto it = windows_.find(at);
        if (it == windows_.end() || !it->second.visible || !it->second.enabled)
            return false;
        at = it->second.parent;
    }
    return window != 0;
}

ControlKind FakeWindowSystem::KindOf(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? ControlKind::Other : it->second.kind;
}

WindowId FakeWindowSystem::ChildAt(WindowId window, Point client) {
    auto kids = children_.find(window);
    if (windows_.count(window) == 0 || kids == children_.end())
        return window;
    const WindowId hit = HitTest(kids->second, ClientToScreen(window, client));
    return hit != 0 ? hit : window;
}

bool FakeWindowSystem::PostClick(WindowId window) {
    if (windows_.count(window) == 0)
        return false;
    clicksPosted.push_back(window);
    return true;
}

bool FakeWindowSystem::PostMouse(WindowId window, unsigned message, Point client, unsigned keys) {
    if (windows_.count(window) == 0)
        return false;
    mousePosted.push_back({window, message, client, keys});
    return true;
}

void FakeWindowSystem::EndTextEntry(WindowId window) {
    auto it = windows_.find(window);
    if (it != windows_.end() && it->second.textField && it->second.parent != 0)
        textEntriesEnded.push_back(window);
}

void FakeWindowSystem::PumpMessages() {
    if (onPump)
        onPump();
}

}  // namespace velmora
