#include "platform/doubles/FakeWindowSystem.h"
#include "tests/contract/WindowSystemContract.h"

namespace velmora {
namespace {

struct FakeWindowWorld {
    WindowSystem& System() { return fake; }
    WindowId AddTopLevel(const std::string& className, const std::string& caption, Point origin, Size size,
                         WindowId owner = 0) {
        return Own(fake.AddTopLevel(className, caption, origin.x, origin.y, size.width, size.height, owner));
    }
    // The double keeps screen rectangles; the contract speaks of places in the parent's client area.
    WindowId AddChild(WindowId parent, const std::string& className, const std::string& caption, Point origin,
                      Size size) {
        const Point at = fake.ClientToScreen(parent, origin);
        return Own(fake.AddChild(parent, className, caption, at.x, at.y, size.width, size.height));
    }
    WindowId Own(WindowId window) {
        fake.Get(window).process = OwnProcess();
        return window;
    }
    int ScreenDpi() { return 96; }
    SystemProcessId OwnProcess() { return 4242; }
    bool IsTopMost(WindowId window) {
        for (auto it = fake.topMostCalls.rbegin(); it != fake.topMostCalls.rend(); ++it) {
            if (it->window == window)
                return it->topMost;
        }
        return false;
    }

    FakeWindowSystem fake;
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, WindowSystemContract, FakeWindowWorld);
}  // namespace contract
}  // namespace velmora
