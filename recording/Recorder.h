#pragma once
// Turns one manual run of an installer into a scenario. Every mouse gesture outside the control panel becomes
// a step: the chain of windows that identifies the pressed control, then the press, the moves while the
// button is held and the release, relative to the press. Text typed into a field is taken when the user
// pauses: the field's text is shown for correction and stored as an extra step on resuming. The shell's mouse
// hook hands the events over; the control panel shows the state this class keeps.
#include <string>
#include <vector>

#include "base/Language.h"
#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/WindowSystem.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

struct RecorderPorts {
    WindowSystem& windows;
    FileSystem& files;
    Dialogs& dialogs;
    Clock& clock;
    const Language& language;
    const PathVariables& pathVars;
    ScenarioImage& scenario;
    StepState& step;
    // The hand-over from the package dialog (packageName, installerPath, installerCommandLine, description),
    // the scenarioFolder it is saved to, and lastWindow, the window of the last recorded press.
    SharedState& shared;
};

// A mouse event as the hook saw it.
struct HookedMouseEvent {
    MouseKind kind = kKindMove;
    MouseButton button = kButtonLeft;
    Point screen;
    // For a press, the window under the point at that moment: once the event reaches the recorder, the
    // installer may already have closed it.
    WindowId window = 0;
};

// What the status line says about the captured text.
enum class CaptureNote { None, ChangesMade, NotTextField };

// True for edit fields of any kind: the class name holds "EDIT" in any letter case ("Edit", "RichEdit20W").
bool IsEditClass(const std::string& className);

// The window's chain from its outermost ancestor (or owner) down to the window itself. Each link's matchIndex
// is its 1-based place among the windows under its parent with the same class and caption (a blank class or
// caption matches any), -1 for the desktop; an owned window, which is not a child of its owner, gets the
// number of matches under the owner, normally 0, which the player resolves among the top-level windows.
std::vector<WindowRef> BuildWindowChain(WindowSystem& windows, WindowId window);

class Recorder {
  public:
    explicit Recorder(const RecorderPorts& ports) : p_(ports) {}

    // A new scenario image for the hand-over's installer and description, at the screen's size.
    void Begin(Size screen);
    // One event from the hook; onPanel: the press landed on the control panel, so its gesture is left out.
    void OnMouse(const HookedMouseEvent& event, bool onPanel);

    // The last pressed window's text becomes the captured text. For a window that is not an edit field the
    // filter is ticked and notes it; the caller then shows the pause hint unless it is switched off.
    void Pause();
    // Every change of the captured text, typed or pasted.
    void SetCapturedText(const std::string& text);
    // Replaces the selection [start, start + length) of the captured text with `inserted`, as pasting does;
    // returns where the inserted text begins (the window selects it). Out-of-range selections are clamped.
    std::size_t InsertCapturedText(const std::string& inserted, std::size_t start, std::size_t length);
    // Resumes recording; keepText false drops the captured text. With the text, a field of an edit class (or
    // any field when the filter is cleared) is given the text again and a step repeating the last gesture
    // stores it, as a path variable where auto-replace (or a cleared filter) says so.
    void Resume(bool keepText);
    // Saves the scenario as <package>.SCN in the scenario folder. False when nothing was saved: no step was
    // recorded and the installer is not a batch file, or the user gave up saving.
    bool Stop(WindowId owner);

    bool paused = false;
    std::string capturedText;
    bool textSet = false;  // the captured text was set since the pause, and is stored on resuming
    bool lastWindowIsEdit = false;
    bool filterChecked = true;
    bool filterEnabled = true;
    bool autoReplaceChecked = true;
    bool autoReplaceEnabled = true;
    CaptureNote note = CaptureNote::None;

  private:
    bool HoldsPathValue(const std::string& text) const;

    RecorderPorts p_;
    bool buttonDown_ = false;
    bool skipGesture_ = false;
    Point downPoint_;
    MouseButton button_ = kButtonLeft;
};

}  // namespace velmora
