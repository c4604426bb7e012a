#pragma once
// The behaviour every WindowSystem must share, run against the in-memory double (unit tests) and against
// real windows under Wine (win32 tests), so the player's tests on the double mean something on Windows.
//
// A world type provides:
//   WindowSystem& System();
//   WindowId AddTopLevel(className, caption, Point origin, Size size, WindowId owner = 0);
//       a visible borderless top-level window (its client area starts at its top-left corner), in front of
//       the windows created before it
//   WindowId AddChild(parent, className, caption, Point origin, Size size);   origin in parent client pixels
//   bool IsTopMost(WindowId window);
//   void SetShown(WindowId window, bool visible, bool enabled);
//   int ScreenDpi();                 the DPI of the screen the windows are made on
//   SystemProcessId OwnProcess();    the process the windows belong to
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/WindowSystem.h"

namespace velmora::contract {

template <typename World>
class WindowSystemContract : public ::testing::Test {
  protected:
    World world;
    WindowSystem& windows = world.System();
    const std::optional<std::string> any = std::nullopt;
};

TYPED_TEST_SUITE_P(WindowSystemContract);

TYPED_TEST_P(WindowSystemContract, SiblingsAreFoundInCreationOrderByClassAndCaption) {
    auto& w = this->world;
    WindowId parent = w.AddTopLevel("VelmoraContractFrame", "Setup", {40, 40}, {300, 200});
    WindowId first = w.AddChild(parent, "VelmoraContractItem", "Add", {10, 10}, {80, 20});
    WindowId second = w.AddChild(parent, "VelmoraContractItem", "Add", {100, 10}, {80, 20});
    WindowId other = w.AddChild(parent, "VelmoraContractItem", "Remove", {190, 10}, {80, 20});

    auto& windows = this->windows;
    EXPECT_EQ(windows.FindWindowEx(parent, 0, "VelmoraContractItem", "Add"), first);
    EXPECT_EQ(windows.FindWindowEx(parent, first, "VelmoraContractItem", "Add"), second);
    EXPECT_EQ(windows.FindWindowEx(parent, second, "VelmoraContractItem", "Add"), 0u);
    // A missing caption matches any caption; class and caption compare without regard to letter case.
    EXPECT_EQ(windows.FindWindowEx(parent, second, "VelmoraContractItem", this->any), other);
    EXPECT_EQ(windows.FindWindowEx(parent, 0, "velmoracontractitem", "ADD"), first);
    EXPECT_EQ(windows.FindWindowEx(parent, 0, this->any, "remove"), other);
    EXPECT_EQ(windows.FindWindowEx(parent, 0, "VelmoraContractOther", this->any), 0u);
}

TYPED_TEST_P(WindowSystemContract, EmptyCaptionMatchesOnlyWindowsWithoutText) {
    auto& w = this->world;
    WindowId parent = w.AddTopLevel("VelmoraContractFrame", "Setup", {40, 40}, {300, 200});
    w.AddChild(parent, "VelmoraContractItem", "Named", {10, 10}, {80, 20});
    WindowId blank = w.AddChild(parent, "VelmoraContractItem", "", {100, 10}, {80, 20});
    EXPECT_EQ(this->windows.FindWindowEx(parent, 0, "VelmoraContractItem", ""), blank);
}

TYPED_TEST_P(WindowSystemContract, TopLevelSearchFindsOwnedWindowsButNotUnderTheirOwner) {
    auto& w = this->world;
    WindowId owner = w.AddTopLevel("VelmoraContractFrame", "Wizard", {40, 40}, {300, 200});
    WindowId owned = w.AddTopLevel("VelmoraContractDialog", "Details", {80, 80}, {150, 100}, owner);
    auto& windows = this->windows;

    EXPECT_EQ(windows.FindWindowEx(0, 0, "VelmoraContractDialog", "Details"), owned);
    EXPECT_EQ(windows.FindWindowEx(windows.Desktop(), 0, "VelmoraContractDialog", this->any), owned);
    EXPECT_EQ(windows.FindWindowEx(windows.Desktop(), owned, "VelmoraContractDialog", this->any), 0u);
    EXPECT_EQ(windows.FindWindowEx(owner, 0, "VelmoraContractDialog", this->any), 0u);
}

TYPED_TEST_P(WindowSystemContract, ParentIsTheParentOrTheOwner) {
    auto& w = this->world;
    WindowId frame = w.AddTopLevel("VelmoraContractFrame", "Wizard", {40, 40}, {300, 200});
    WindowId child = w.AddChild(frame, "VelmoraContractItem", "Next", {10, 10}, {80, 20});
    WindowId owned = w.AddTopLevel("VelmoraContractDialog", "Details", {80, 80}, {150, 100}, frame);
    EXPECT_EQ(this->windows.Parent(child), frame);
    EXPECT_EQ(this->windows.Parent(owned), frame);
    EXPECT_EQ(this->windows.Parent(frame), 0u);
}

TYPED_TEST_P(WindowSystemContract, TextAndClassNameRoundTripUnicode) {
    auto& w = this->world;
    WindowId frame = w.AddTopLevel("VelmoraContractFrame", "Установка — Далее", {40, 40}, {300, 200});
    EXPECT_EQ(this->windows.Text(frame), "Установка — Далее");
    EXPECT_EQ(this->windows.ClassName(frame), "VelmoraContractFrame");
    EXPECT_EQ(this->windows.FindWindowEx(0, 0, "VelmoraContractFrame", "установка — далее"), frame);

    this->windows.SetText(frame, "C:\\Программы\\X");
    EXPECT_EQ(this->windows.Text(frame), "C:\\Программы\\X");
    EXPECT_EQ(this->windows.ReadText(frame), "C:\\Программы\\X");
    this->windows.SetText(frame, "");
    EXPECT_EQ(this->windows.Text(frame), "");
}

TYPED_TEST_P(WindowSystemContract, ClientAndScreenPointsConvertBothWays) {
    auto& w = this->world;
    WindowId frame = w.AddTopLevel("VelmoraContractFrame", "Setup", {300, 200}, {300, 200});
    WindowId child = w.AddChild(frame, "VelmoraContractItem", "Next", {10, 20}, {80, 20});
    EXPECT_EQ(this->windows.ClientToScreen(child, {5, 6}), (Point{315, 226}));
    EXPECT_EQ(this->windows.ScreenToClient(child, {315, 226}), (Point{5, 6}));
    EXPECT_EQ(this->windows.ScreenToClient(frame, {290, 190}), (Point{-10, -10}));
}

TYPED_TEST_P(WindowSystemContract, ClientSizeDpiAndProcessOfAWindowAndOfNone) {
    auto& w = this->world;
    WindowId frame = w.AddTopLevel("VelmoraContractFrame", "Setup", {40, 40}, {300, 200});
    WindowId child = w.AddChild(frame, "VelmoraContractItem", "Next", {10, 20}, {80, 25});
    auto& windows = this->windows;
    EXPECT_EQ(windows.ClientSize(frame), (Size{300, 200}));
    EXPECT_EQ(windows.ClientSize(child), (Size{80, 25}));
    EXPECT_EQ(windows.Dpi(child), w.ScreenDpi());
    EXPECT_EQ(windows.ProcessOf(child), w.OwnProcess());
    EXPECT_EQ(windows.ClientSize(0), (Size{}));
    EXPECT_EQ(windows.Dpi(0), 0);
    EXPECT_EQ(windows.ProcessOf(0), 0u);
}

TYPED_TEST_P(WindowSystemContract, PointFindsTheDeepestWindowOfTheFrontmostTopLevel) {
    auto& w = this->world;
    WindowId back = w.AddTopLevel("VelmoraContractFrame", "Back", {100, 100}, {200, 150});
    WindowId button = w.AddChild(back, "VelmoraContractItem", "Next", {10, 10}, {60, 30});
    WindowId front = w.AddTopLevel("VelmoraContractFrame", "Front", {250, 100}, {200, 150});

    EXPECT_EQ(this->windows.FromPoint({120, 120}), button);
    EXPECT_EQ(this->windows.FromPoint({200, 200}), back);
    EXPECT_EQ(this->windows.FromPoint({270, 120}), front);  // both contain it; the later one is in front
}

TYPED_TEST_P(WindowSystemContract, CursorGoesWhereItIsSet) {
    EXPECT_TRUE(this->windows.SetCursorPos({123, 145}));
    EXPECT_EQ(this->windows.CursorPos(), (Point{123, 145}));
}

TYPED_TEST_P(WindowSystemContract, TopMostCanBeSetAndCleared) {
    auto& w = this->world;
    WindowId frame = w.AddTopLevel("VelmoraContractFrame", "Panel", {40, 40}, {300, 40});
    this->windows.SetTopMost(frame, true);
    EXPECT_TRUE(w.IsTopMost(frame));
    this->windows.SetTopMost(frame, false);
    EXPECT_FALSE(w.IsTopMost(frame));
}

// A window takes input by messages only while it and all above it can: a page hidden or a wizard disabled
// under a modal box holds its buttons too.
TYPED_TEST_P(WindowSystemContract, ReadyForInputOnlyWhileItAndEveryWindowAboveItAreVisibleAndEnabled) {
    auto& w = this->world;
    WindowId frame = w.AddTopLevel("VelmoraContractFrame", "Setup", {40, 40}, {300, 200});
    WindowId page = w.AddChild(frame, "VelmoraContractPage", "Page", {0, 0}, {300, 150});
    WindowId next = w.AddChild(page, "VelmoraContractItem", "Next", {200, 100}, {80, 25});
    const struct {
        WindowId changed;
        bool visible, enabled;
    } cases[] = {{next, true, false}, {next, false, true}, {page, false, true}, {frame, true, false}};
    EXPECT_TRUE(this->windows.ReadyForInput(next));
    for (const auto& c : cases) {
        w.SetShown(c.changed, c.visible, c.enabled);
        EXPECT_FALSE(this->windows.ReadyForInput(next)) << c.changed << c.visible << c.enabled;
        EXPECT_EQ(this->windows.ReadyForInput(frame), c.changed != frame) << c.changed;
        w.SetShown(c.changed, true, true);
        EXPECT_TRUE(this->windows.ReadyForInput(next));
    }
    EXPECT_FALSE(this->windows.ReadyForInput(0));
}

TYPED_TEST_P(WindowSystemContract, ChildAtFindsTheDeepestVisibleDescendantUnderAClientPoint) {
    auto& w = this->world;
    WindowId frame = w.AddTopLevel("VelmoraContractFrame", "Setup", {40, 40}, {300, 200});
    WindowId page = w.AddChild(frame, "VelmoraContractPage", "Page", {10, 10}, {280, 150});
    WindowId next = w.AddChild(page, "VelmoraContractItem", "Next", {100, 50}, {80, 25});
    // A top-level window in front changes nothing: no screen is asked.
    w.AddTopLevel("VelmoraContractFrame", "Cover", {0, 0}, {400, 300});
    auto& windows = this->windows;
    EXPECT_EQ(windows.ChildAt(frame, {115, 65}), next);
    EXPECT_EQ(windows.ChildAt(page, {105, 55}), next);
    EXPECT_EQ(windows.ChildAt(frame, {20, 20}), page);
    EXPECT_EQ(windows.ChildAt(frame, {5, 180}), frame);
    EXPECT_EQ(windows.ChildAt(next, {5, 5}), next);
    w.SetShown(next, false, true);
    EXPECT_EQ(windows.ChildAt(frame, {115, 65}), page);
}

REGISTER_TYPED_TEST_SUITE_P(WindowSystemContract, SiblingsAreFoundInCreationOrderByClassAndCaption,
                            EmptyCaptionMatchesOnlyWindowsWithoutText,
                            TopLevelSearchFindsOwnedWindowsButNotUnderTheirOwner, ParentIsTheParentOrTheOwner,
                            TextAndClassNameRoundTripUnicode, ClientAndScreenPointsConvertBothWays,
                            ClientSizeDpiAndProcessOfAWindowAndOfNone,
                            PointFindsTheDeepestWindowOfTheFrontmostTopLevel, CursorGoesWhereItIsSet,
                            TopMostCanBeSetAndCleared,
                            ReadyForInputOnlyWhileItAndEveryWindowAboveItAreVisibleAndEnabled,
                            ChildAtFindsTheDeepestVisibleDescendantUnderAClientPoint);

}  // namespace velmora::contract
