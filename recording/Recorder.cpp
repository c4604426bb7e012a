#include "recording/Recorder.h"

#include <algorithm>
#include <optional>

#include "base/Utilities.h"
#include "scenario/SaveScenario.h"

namespace velmora {
namespace {

// Window chains are a handful of links; a longer one means a parent loop in a damaged window tree.
constexpr int kMaxChainLength = 64;

std::optional<std::string> AnyWhenBlank(const std::string& text) {
    return Trim(text).empty() ? std::nullopt : std::optional<std::string>(text);
}

int MatchIndexOf(WindowSystem& windows, WindowId parent, const std::string& className,
                 const std::string& caption, WindowId window) {
    const std::optional<std::string> wantedClass = AnyWhenBlank(className);
    const std::optional<std::string> wantedCaption = AnyWhenBlank(caption);
    int count = 0;
    for (WindowId after = 0;;) {
        const WindowId found = windows.FindWindowEx(parent, after, wantedClass, wantedCaption);
        if (found == 0)
            break;
        ++count;
        if (found == window)
            break;
        after = found;
    }
    return count;
}

}  // namespace

bool IsEditClass(const std::string& className) {
    return FindNoCase(className, "EDIT") != std::string::npos;
}

std::vector<WindowRef> BuildWindowChain(WindowSystem& windows, WindowId window) {
    std::vector<WindowId> path;
    for (WindowId at = window; at != 0 && static_cast<int>(path.size()) < kMaxChainLength;
         at = windows.Parent(at))
        path.push_back(at);
    std::vector<WindowRef> chain;
    for (auto at = path.rbegin(); at != path.rend(); ++at) {
        WindowRef link{windows.ClassName(*at), windows.Text(*at), -1};
        if (*at != windows.Desktop())
            link.matchIndex = MatchIndexOf(windows, windows.Parent(*at), link.className, link.caption, *at);
        chain.push_back(std::move(link));
    }
    return chain;
}

void Recorder::Begin(Size screen) {
    const SharedState& s = p_.shared;
    p_.scenario.NewImage(s.installerPath, s.description, screen.width, screen.height);
    p_.step = StepState{};
    buttonDown_ = skipGesture_ = paused = textSet = false;
}

void Recorder::OnMouse(const HookedMouseEvent& event, bool onPanel) {
    StepState& step = p_.step;
    const Point offset{event.screen.x - downPoint_.x, event.screen.y - downPoint_.y};
    switch (event.kind) {
        case kKindPress: {
            buttonDown_ = true;
            downPoint_ = event.screen;
            skipGesture_ = onPanel;
            if (onPanel)
                return;
            step = StepState{};
            // Press points are physical pixels of the pressed window's monitor, and so is the player's:
            // the DPI of the first press that still finds its window tells the player how to scale them
            // all on a screen of another DPI.
            if (p_.scenario.RecordedDpi() == 0)
                p_.scenario.SetRecordedDpi(p_.windows.Dpi(event.window));
            const Point client = p_.windows.ScreenToClient(event.window, event.screen);
            step.windows = BuildWindowChain(p_.windows, event.window);
            p_.shared.lastWindow = event.window;
            button_ = event.button;
            step.events.push_back({button_, kKindPress, client.x, client.y});
            return;
        }
        case kKindMove:
            // Moves count only while a recorded button is held: they are the drag.
            if (!skipGesture_ && buttonDown_)
                step.events.push_back({button_, kKindMove, offset.x, offset.y});
            return;
        case kKindRelease:
            // A release that ends a gesture on the panel changes nothing: its moves stay ignored. Nor does
            // one whose press came before the hook was there (the click on the panel that resumes recording):
            // it would store the last gesture a second time.
            if (skipGesture_ || !buttonDown_)
                return;
            buttonDown_ = false;
            button_ = event.button;
            step.events.push_back({button_, kKindRelease, offset.x, offset.y});
            p_.scenario.AppendStep(step);
            return;
        default:
            return;
    }
}

bool Recorder::HoldsPathValue(const std::string& text) const {
    // Offered only where it would change something: a value the conversion leaves alone (the user's name
    // outside a profile folder, the program's drive while it runs from a fixed disk) is no reason.
    return p_.pathVars.ContractPathVars(text) != text;
}

void Recorder::Pause() {
    paused = true;
    const WindowId last = p_.shared.lastWindow;
    SetCapturedText(last != 0 ? p_.windows.ReadText(last) : std::string());
    lastWindowIsEdit = last != 0 && IsEditClass(p_.windows.ClassName(last));
    if (lastWindowIsEdit) {
        filterEnabled = false;
    } else {
        filterEnabled = filterChecked = true;
        note = CaptureNote::NotTextField;
    }
}

void Recorder::SetCapturedText(const std::string& text) {
    capturedText = text;
    textSet = true;
    note = CaptureNote::ChangesMade;
    autoReplaceEnabled = HoldsPathValue(text);
}

std::size_t Recorder::InsertCapturedText(const std::string& inserted, std::size_t start, std::size_t length) {
    start = std::min(start, capturedText.size());
    length = std::min(length, capturedText.size() - start);
    SetCapturedText(capturedText.substr(0, start) + inserted + capturedText.substr(start + length));
    return start;
}

void Recorder::Resume(bool keepText) {
    StepState& step = p_.step;
    const WindowId last = p_.shared.lastWindow;
    if (!keepText)
        textSet = false;
    if (!textSet) {
        if (last != 0)  // a courtesy to the user: a refusal leaves the focus where it was, harmless
            static_cast<void>(p_.windows.SetForeground(last));
    } else if ((!filterChecked || lastWindowIsEdit) && !step.windows.empty()) {
        // The field gets the text now, so the rest of the recording sees the installer as it will be when
        // played; the step stores it portable where asked to. Without a recorded gesture there is no field
        // to repeat, and no step is stored.
        if (!capturedText.empty()) {
            // The text is put whether or not Windows hands the field the foreground.
            static_cast<void>(p_.windows.SetForeground(last));
            p_.windows.SetText(last, p_.pathVars.ExpandPathVars(capturedText));
        }
        const bool contract = !filterChecked || autoReplaceChecked;
        step.text = contract ? p_.pathVars.ContractPathVars(capturedText) : capturedText;
        step.hasText = !capturedText.empty();
        p_.scenario.AppendStep(step);
        step.text.clear();
        step.hasText = false;
    }
    textSet = false;
    paused = false;
    note = CaptureNote::None;
}

bool Recorder::Stop(WindowId owner) {
    const SharedState& s = p_.shared;
    ScenarioImage& image = p_.scenario;
    if (!image.AppendInstallerPath(p_.pathVars.ContractPathVars(s.installerPath)))
        return false;
    image.AppendCommandLine(s.installerCommandLine);
    image.AppendRecordStamp(p_.clock.Now());
    image.ScrambleImage();
    std::string path = JoinPath(s.scenarioFolder, s.packageName + ".SCN");
    return SaveScenarioFile(image, p_.files, p_.dialogs, p_.language, owner, path, s.scenarioFolder);
}

}  // namespace velmora
