#pragma once
// The package dialog as a model. It opens in one of two modes: a new package (name, installer, command line
// and description go to the recorder) or the properties of a listed package (its scenario's header is shown,
// changed and written back, and the file renamed when the name changed). The window renders the fields,
// forwards every edit and click here, and carries out what OK answers; the model asks its questions and
// shows its messages itself, through the Dialogs port.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Language.h"
#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

enum class PackageDialogMode { NewPackage, Properties };
enum class PackageField { Name, Path, CommandLine, Description };

// The description field of a scenario holds this many characters.
inline constexpr int kDescriptionLimit = 200;

struct PackageDialogPorts {
    FileSystem& files;
    SettingsStore& settings;
    Dialogs& dialogs;
    Codec& codec;
    const Language& language;
    const PathVariables& pathVars;
    SharedState& state;
};

// Captions and tooltips from the language section "New" (the check box's caption from "Stels").
struct PackageDialogTexts {
    std::string caption;
    std::string nameLabel, nameTip;
    std::string pathLabel, pathTip, browseTip;
    std::string autoReplaceCaption, autoReplaceTip;
    std::string commandLineLabel;
    std::string descriptionLabel, descriptionTip, counterTip;
    std::string ok, cancel;
};

// A label's text colour.
struct LabelColour {
    unsigned char red, green, blue;
    bool operator==(const LabelColour&) const = default;
};

// What OK left to do: close the dialog, or keep it open with the focus on a field (its text selected when
// selectAll is set).
struct OkVerdict {
    bool close = false;
    PackageField focus = PackageField::Name;
    bool selectAll = false;
};

class PackageDialogModel {
  public:
    // listedNames: the main window's packages, in list order. In properties mode, listedName is the package
    // being shown; its scenario is read at once (all fields stay empty when it cannot be).
    PackageDialogModel(const PackageDialogPorts& ports, PackageDialogMode mode,
                       std::vector<std::string> listedNames, const std::string& listedName = {});

    // Every edit of a field, by the user or the model, goes through here.
    void SetField(PackageField field, const std::string& text);
    const std::string& Field(PackageField field) const;

    // The check box shows the path and the command line in their stored form (ticked) or real form.
    void SetAutoReplace(bool ticked);
    // The open-file dialog for the installer: its folder is remembered, and in new mode an empty name is
    // filled from the chosen file.
    void Browse();
    OkVerdict Ok();
    void Cancel();

    // The labels' colours; nullopt is the system's button-text colour.
    std::optional<LabelColour> NameColour() const;
    std::optional<LabelColour> PathColour() const;
    // 200 minus the description's length in characters.
    int DescriptionLeft() const;

    PackageDialogMode Mode() const { return mode_; }
    bool AutoReplace() const { return autoReplace_; }
    // Properties mode, after a closing OK: the name the package's file has now.
    const std::string& NewName() const { return newName_; }

    PackageDialogTexts texts;
    WindowId owner = 0;  // the dialog, as owner of the messages and the file dialog

  private:
    std::string Text(const char* builtIn, int key) const;
    void Message(const std::string& text, const std::string& title, MsgIcon icon);
    std::optional<OkVerdict> CheckCommon();
    OkVerdict OkNew();
    OkVerdict OkProperties();
    std::optional<OkVerdict> WriteProperties();
    void LoadProperties();

    PackageDialogPorts p_;
    PackageDialogMode mode_;
    std::vector<std::string> listedNames_;
    std::string oldName_;
    std::array<std::string, 4> fields_;  // by PackageField
    bool autoReplace_ = true;
    bool changed_ = false;
    bool loaded_ = false;
    std::string newName_;
    ScenarioImage image_;
};

}  // namespace velmora
