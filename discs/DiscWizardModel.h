#pragma once
// The disc creation wizard as a model: five pages (destination, source and speed, summary, log, hints), the
// enabled buttons, the coloured folder lines, the title, the settings it writes and the copy it runs. The
// window renders these fields after every call; the model shows its own message boxes through Dialogs.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Language.h"
#include "discs/DiscCopy.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsStore.h"

namespace velmora {

inline constexpr int kWizardPageCount = 5;

enum class TextColour { Plain, Green, Red };

struct ColouredText {
    std::string text;
    TextColour colour = TextColour::Plain;
};

struct DiscWizardPorts {
    FileSystem& files;
    ProfileFile& profile;
    SettingsStore& settings;
    Dialogs& dialogs;
    const Language& language;
    std::string programFolder;
    std::string scenarioFolder;  // where the folder browsers open
};

// Every caption of the pages and buttons, taken from the language when the wizard opens.
struct DiscWizardTexts {
    std::string cancel, back;
    // Page 0: where the disc image goes, and what it will hold.
    std::string chooseDestination, createFolderFirst, destinationGroup, browse, willReceive;
    std::array<std::string, 3> contents;  // the program, "FOLDER SCN", "Autorun.inf"
    // Page 1: the scenario folder and the speed.
    std::string sourceGroup, found, speedGroup, speedNote;
    std::array<std::string, 3> speeds;
    // Page 2: the summary.
    std::string ready, pressNext, check, sourceCaption, destinationCaption, programCaption;
    // Page 3: the log.
    std::string logCaption;
    // Page 4: what is left to do by hand.
    std::string remaining, step4Heading, step4Text, step5Heading, step5Text, example, tip;
};

class DiscWizardModel {
  public:
    explicit DiscWizardModel(const DiscWizardPorts& ports);

    // "Мастер создания диска (Шаг 1 из 5)".
    std::string Title() const;

    // The folder browsers of pages 0 and 1; a cancelled browser says in red that a folder is needed.
    void ChooseDestination();
    void ChooseSource();
    // The speed list's selection: 0 fast to 2 slow.
    void SelectSpeed(int index) { speed = index; }

    enum class Action { None, CopyStarted, Close };
    // Leaving page 1 writes the disc settings; leaving the summary starts the copy (CopyStarted: the window
    // calls CopyStep until it answers false); the last page closes (Close). Nothing happens while Next is
    // disabled.
    Action Next();
    void Back();

    // Runs the copy's next operation; after the last one the result is reported (a message box on failure)
    // and, on success, the scenario folder setting points at the copy. False once the copy is over.
    bool CopyStep();
    bool Copying() const { return copy_ && !copyReported_; }
    std::size_t CopyDone() const { return copy_ ? copy_->Done() : 0; }
    std::size_t CopyCount() const { return copy_ ? copy_->Count() : 0; }
    // The file-operation log, each line ended by CR LF, then the result.
    const std::string& Log() const { return copy_ ? copy_->log : noLog_; }

    // Any close but the last page's Next asks first; true when the window may close.
    bool RequestClose();

    WindowId owner = 0;  // the wizard's window, owner of the message boxes and folder browsers
    DiscWizardTexts texts;
    int step = 0;
    std::string destination;
    std::string source;
    std::vector<std::string> scenarioNames;
    ColouredText destinationLine;
    ColouredText sourceLine;
    std::string countLine;      // "3 - файлов"
    std::string diagnosisLine;  // red
    int speed = -1;             // -1: the stored speed was none of the three
    std::string summarySource = "----", summaryDestination = "----", summaryProgram = "----";
    std::string nextCaption;
    bool nextEnabled = false;
    bool backEnabled = false;
    bool finished = false;

  private:
    std::string Text(const char* def, int key) const;
    void WriteDiscSettings();
    void ReportCopy();

    DiscWizardPorts p_;
    bool sourceAccepted_ = false;  // the last source chosen holds scenarios
    std::optional<DiscCopy> copy_;
    bool copyReported_ = false;
    std::string noLog_;
};

}  // namespace velmora
