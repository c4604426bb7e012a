#pragma once
// The package path editor as a model: one row per scenario file of a folder with the installer path its
// header stores, find-and-replace passes that compute new paths in memory, the counters, and the save that
// writes the new paths of the ticked, changed rows back into their files. The window renders the fields
// after every call and forwards the user's input; message boxes and the folder chooser go through the
// Dialogs port, so the model decides everything.
#include <functional>
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
#include "platform/Types.h"

namespace velmora {

struct PathEditorRow {
    std::string name;  // the scenario file's name without ".SCN"
    bool ticked = false;
    std::string storedPath;  // as the header stores it, path variables unexpanded; empty when unreadable
    std::string newPath;     // what Save writes; empty until a pass changes the row
    bool bold = false;       // a pass changed the row; cleared only by reading the folder again
};

// Empty after removing leading and trailing spaces.
bool IsBlank(const std::string& text);
// The path with the first occurrence of `find` (letter case ignored) replaced by `replacement` as typed; the
// rest keeps its letter case. Nothing when `find` does not occur.
std::optional<std::string> ReplaceFirst(const std::string& path, const std::string& find,
                                        const std::string& replacement);

// The window's captions, from the language file with the built-in texts as defaults.
struct PathEditorTexts {
    std::string title, folderGroup, placeholder, note;
    std::string findGroup, findLabel, replaceLabel, replaceButton;
    std::string saveGroup, saveHint, saveButton;
    std::string statsGroup, totalCaption, changedCaption, toSaveCaption;
    std::string columns[3];
};
PathEditorTexts LoadPathEditorTexts(const Language& language);

// Reports how far reading or saving has got: done of count rows, done counting from 1.
using PathEditorProgress = std::function<void(int done, int count)>;

// Where the window puts the focus after a call.
enum class PathEditorFocus { Unchanged, FindBox, ReplaceBox, FolderBoxSelected };

struct PathEditorPorts {
    FileSystem& files;
    Codec& codec;
    const PathVariables& pathVars;
    SettingsStore& settings;
    Dialogs& dialogs;
    const Language& language;
    SharedState& state;  // scenarioFolder: the editor reads and replaces the program's folder
};

class PathEditorModel {
  public:
    explicit PathEditorModel(const PathEditorPorts& ports);

    // The deferred load after the window shows: the stored folder, or the placeholder when none is stored.
    void Start(const PathEditorProgress& progress = {});
    // Enter in the folder box. A path that does not exist empties the table and is reported.
    PathEditorFocus TypeFolder(WindowId owner, const std::string& text,
                               const PathEditorProgress& progress = {});
    // The browse button; false when the chooser was cancelled and nothing changed.
    bool ChooseFolder(WindowId owner, const PathEditorProgress& progress = {});

    void SetTicked(std::size_t row, bool ticked);
    // Sorts by column 0 (name), 1 (stored path) or 2 (new path); every call reverses the direction of the
    // call before, whichever column that was. The first sorts ascending.
    void Sort(int column);
    // The replace button is enabled for a search text typed (not trimmed) while the table has rows.
    bool ReplaceEnabled(const std::string& findText) const { return !findText.empty() && !rows.empty(); }
    // One find-and-replace pass over the rows in the order shown. Refuses a blank search text and asks before
    // a blank replacement deletes what it finds.
    PathEditorFocus Replace(WindowId owner, const std::string& find, const std::string& replacement);
    // Writes the new path of every ticked, changed row into its file, in the order shown; a write that fails
    // goes through the save-elsewhere dialog. When anything was written the folder is read again; the rows
    // that were not written keep their new paths, bold and ticked, so the user sees them and can try again.
    // `reading` reports that second reading.
    void Save(WindowId owner, const PathEditorProgress& saving = {}, const PathEditorProgress& reading = {});
    // A close request: true when the window may close, after asking when a pass left unsaved changes.
    bool MayClose(WindowId owner);

    std::vector<PathEditorRow> rows;
    PathEditorTexts texts;
    std::string folderText;  // the folder box
    std::string statusText;
    int total = 0;    // scenario files found
    int changed = 0;  // rows whose new path is not blank
    int toSave = 0;   // changed rows that are ticked; Save is enabled when not 0
    int saved = 0;    // rows the last Save wrote
    bool noPendingChanges = true;

  private:
    // Lists the folder and reads every row's stored path; a folder that cannot be listed leaves the table
    // empty and the program without a folder.
    void LoadFolder(const std::string& folder, const PathEditorProgress& progress);
    void StoreFolder();
    void ClearTable();
    void UpdateCounters();
    std::string PathOf(const PathEditorRow& row) const;
    // Changes the path in the file's bytes (nothing when it could not be read) and saves them; false when
    // nothing was written.
    bool WriteNewPath(WindowId owner, const PathEditorRow& row, std::optional<std::string> bytes);

    PathEditorPorts p_;
    bool ascending_ = false;  // the direction of the last sort
};

}  // namespace velmora
