#include "paths/PathEditorModel.h"

#include <algorithm>
#include <unordered_map>

#include "base/Settings.h"
#include "base/Utilities.h"
#include "scenario/SaveScenario.h"
#include "scenario/ScenarioFolder.h"
#include "scenario/ScenarioImage.h"

namespace velmora {
namespace {

constexpr const char* kSection = "frmWizardPack";

std::string Numbered(const Language& language, const char* builtIn, int key, int number) {
    return language.LangTextFormat(builtIn, kSection, key, std::to_string(number));
}

}  // namespace

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

std::optional<std::string> ReplaceFirst(const std::string& path, const std::string& find,
                                        const std::string& replacement) {
    // Letters keep their byte length when their case is folded, so the match is as long as the search text.
    const std::size_t at = FindNoCase(path, find);
    if (find.empty() || at == std::string::npos)
        return std::nullopt;
    std::string result;
    result.reserve(path.size() - find.size() + replacement.size());
    return result.append(path, 0, at).append(replacement).append(path, at + find.size());
}

PathEditorTexts LoadPathEditorTexts(const Language& language) {
    auto text = [&](const char* builtIn, int key) { return language.LangText(builtIn, kSection, key); };
    PathEditorTexts t;
    t.folderGroup = language.LangText("Каталог расположения SCN-файлов", "main", 1);
    t.placeholder = language.LangText("Выберите папку", "main", 1);
    t.findGroup = text("Поиск и замена", 1);
    t.findLabel = text("Что искать", 2);
    t.replaceLabel = text("Заменить на", 3);
    t.replaceButton = text("Заменить", 4);
    t.saveGroup = text("Сохранение", 5);
    t.saveHint = text(
        "Уберите галочку напротив пакета, если Вы не желаете вносить изменения. Измененные пакеты выделены "
        "жирным шрифтом.",
        6);
    t.saveButton = text("Сохранить", 7);
    t.statsGroup = text("Статистика", 8);
    // The colon is the window's, not the language file's.
    t.totalCaption = text("пакетов всего", 9) + ":";
    t.changedCaption = text("пакетов изменено", 10) + ":";
    t.toSaveCaption = text("будет сохранено", 11) + ":";
    t.title = text("Мастер пакетного поиска и замены пути", 12);
    t.columns[0] = text("Имя пакета", 13);
    t.columns[1] = text("Путь к файлу", 14);
    t.columns[2] = text("Новый путь", 15);
    t.note = text("Автозамена отключена", 16);
    return t;
}

PathEditorModel::PathEditorModel(const PathEditorPorts& ports)
    : texts(LoadPathEditorTexts(ports.language)), p_(ports) {}

void PathEditorModel::Start(const PathEditorProgress& progress) {
    const std::string folder = GetSetting(p_.settings, kSettingFolderScn);
    if (folder.empty()) {
        folderText = texts.placeholder;
        statusText = texts.placeholder;
        return;
    }
    folderText = folder;
    LoadFolder(folder, progress);
}

PathEditorFocus PathEditorModel::TypeFolder(WindowId owner, const std::string& text,
                                            const PathEditorProgress& progress) {
    folderText = text;
    if (!text.empty() && PathExists(p_.files, text)) {
        LoadFolder(text, progress);
        StoreFolder();
        return PathEditorFocus::Unchanged;
    }
    ClearTable();
    p_.state.scenarioFolder.clear();
    statusText = p_.language.LangText("Путь не найден, попробуйте ввести заново", "main", 25);
    p_.dialogs.Message(owner, p_.language.LangText("Не найден указанный путь", "main", 26),
                       p_.language.LangText("Ошибка", "main", 6), MsgButtons::Ok, MsgIcon::Exclamation,
                       MsgDefault::First);
    return PathEditorFocus::FolderBoxSelected;
}

bool PathEditorModel::ChooseFolder(WindowId owner, const PathEditorProgress& progress) {
    const std::string folder =
        BrowseForFolder(p_.dialogs, owner, p_.state.scenarioFolder,
                        p_.language.LangText("Выберите папку содержащую файлы .SCN", "main", 7));
    if (folder.empty())
        return false;
    folderText = folder;
    LoadFolder(folder, progress);
    StoreFolder();
    return true;
}

void PathEditorModel::ClearTable() {
    rows.clear();
    total = changed = toSave = 0;
    // The new paths went with the rows: nothing is left to lose on closing.
    noPendingChanges = true;
}

void PathEditorModel::LoadFolder(const std::string& folder, const PathEditorProgress& progress) {
    ClearTable();
    statusText.clear();
    p_.state.scenarioFolder = folder;
    if (!IsFolder(p_.files, folder)) {
        p_.state.scenarioFolder.clear();
        statusText = p_.language.LangTextFormat("Обнаружена ошибка в модуле %s", "Error", 2, "LoadListView");
        return;
    }
    for (std::string& name : OrderedScenarioNames(p_.files, p_.codec, folder))
        rows.push_back(PathEditorRow{std::move(name), true, {}, {}, false});
    total = static_cast<int>(rows.size());
    ScenarioImage image(p_.codec, p_.pathVars);
    std::string description;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // A file that cannot be read, or holds no path, keeps an empty stored path; a pass passes it by.
        if (!image.LoadImageFile(p_.files, PathOf(rows[i])))
            continue;
        if (progress)
            progress(static_cast<int>(i) + 1, total);
        image.ReadScrambledSummary(rows[i].storedPath, description);
    }
}

void PathEditorModel::StoreFolder() {
    // A folder that could not be listed is not stored over the one that could.
    if (!p_.state.scenarioFolder.empty())
        SaveSetting(p_.settings, kSettingFolderScn, p_.state.scenarioFolder);
}

std::string PathEditorModel::PathOf(const PathEditorRow& row) const {
    return AddBackslash(p_.state.scenarioFolder) + row.name + ".SCN";
}

void PathEditorModel::SetTicked(std::size_t row, bool ticked) {
    if (row < rows.size())
        rows[row].ticked = ticked;
    UpdateCounters();
}

void PathEditorModel::UpdateCounters() {
    changed = toSave = 0;
    for (const PathEditorRow& row : rows) {
        if (!IsBlank(row.newPath)) {
            ++changed;
            toSave += row.ticked ? 1 : 0;
        }
    }
}

void PathEditorModel::Sort(int column) {
    ascending_ = !ascending_;
    auto textOf = [column](const PathEditorRow& row) -> const std::string& {
        return column == 1 ? row.storedPath : column == 2 ? row.newPath : row.name;
    };
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const PathEditorRow& row : rows)
        keys.push_back(ToUpper(textOf(row)));
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return ascending_ ? keys[a] < keys[b] : keys[b] < keys[a];
    });
    std::vector<PathEditorRow> sorted;
    sorted.reserve(rows.size());
    for (std::size_t from : order)
        sorted.push_back(std::move(rows[from]));
    rows = std::move(sorted);
}

PathEditorFocus PathEditorModel::Replace(WindowId owner, const std::string& find,
                                         const std::string& replacement) {
    const std::string searchError = p_.language.LangText("Ошибка поиска", kSection, 19);
    if (IsBlank(find)) {
        p_.dialogs.Message(owner, p_.language.LangText("Введите строку для поиска", kSection, 18),
                           searchError, MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::First);
        return PathEditorFocus::FindBox;
    }
    if (IsBlank(replacement) &&
        p_.dialogs.Message(
            owner,
            p_.language.LangText("Вы дествительно желаете оставить пустую строку для замены. В "
                                 "этом случае искомый текст будет удален.",
                                 kSection, 20),
            searchError, MsgButtons::YesNo, MsgIcon::Question, MsgDefault::First) != MsgResult::Yes) {
        return PathEditorFocus::ReplaceBox;
    }
    if (rows.empty()) {
        noPendingChanges = true;
        return PathEditorFocus::Unchanged;
    }
    int matches = 0;
    for (PathEditorRow& row : rows) {
        const std::string& working = IsBlank(row.newPath) ? row.storedPath : row.newPath;
        // A row without a path (its file was missing or unreadable) is passed by; the rows below it are
        // still searched.
        if (working.empty())
            continue;
        if (std::optional<std::string> result = ReplaceFirst(working, find, replacement)) {
            row.newPath = std::move(*result);
            row.bold = true;
            ++matches;
        }
    }
    statusText = matches > 0
                     ? Numbered(p_.language, "Результов последнего поиска - %s", 21, matches) + ". " +
                           p_.language.LangText("Чтобы сохранить - нажмите кнопку Сохранить", kSection, 22)
                     : p_.language.LangText("Не было найденно ни одного совпадения.", kSection, 23);
    UpdateCounters();
    noPendingChanges = changed == 0;
    return PathEditorFocus::Unchanged;
}

bool PathEditorModel::WriteNewPath(WindowId owner, const PathEditorRow& row,
                                   std::optional<std::string> bytes) {
    if (!bytes)
        return false;
    std::string path = PathOf(row);
    ScenarioImage image(p_.codec, p_.pathVars);
    image.LoadImageBytes(std::move(*bytes));
    image.UnscrambleImage();
    // A damaged file is left as it is rather than written with a path spliced into the wrong place.
    if (!image.ReadHeader() || !image.ChangeInstallerPath(row.newPath))
        return false;
    image.ScrambleImage();
    return SaveScenarioFile(image, p_.files, p_.dialogs, p_.language, owner, path, p_.state.scenarioFolder);
}

void PathEditorModel::Save(WindowId owner, const PathEditorProgress& saving,
                           const PathEditorProgress& reading) {
    saved = 0;
    std::vector<PathEditorRow> notWritten;
    const int count = static_cast<int>(rows.size());
    for (int i = 0; i < count; ++i) {
        const PathEditorRow& row = rows[static_cast<std::size_t>(i)];
        if (row.newPath.empty() || !row.ticked)
            continue;
        // A file that can be read exists; only one that cannot is looked for. One that has gone is skipped.
        std::optional<std::string> bytes = p_.files.ReadAll(PathOf(row));
        if (!bytes && !PathExists(p_.files, PathOf(row)))
            continue;
        if (saving)
            saving(i + 1, count);
        // A new path of spaces only changed nothing and is not written.
        if (IsBlank(row.newPath))
            continue;
        if (WriteNewPath(owner, row, std::move(bytes)))
            ++saved;
        else
            notWritten.push_back(row);
    }
    const std::string report = Numbered(p_.language, "Сохранено изменений - %s", 17, saved);
    if (saved > 0) {
        Start(reading);
        std::unordered_map<std::string, std::size_t> byName;
        for (std::size_t i = 0; i < rows.size(); ++i)
            byName.emplace(rows[i].name, i);
        for (PathEditorRow& row : notWritten) {
            if (auto it = byName.find(row.name); it != byName.end()) {
                PathEditorRow& reloaded = rows[it->second];
                reloaded.newPath = std::move(row.newPath);
                reloaded.bold = reloaded.ticked = true;
            }
        }
    }
    // The count outlasts the reading again, so the user sees what was written.
    statusText = report;
    UpdateCounters();
    noPendingChanges = true;
}

bool PathEditorModel::MayClose(WindowId owner) {
    return noPendingChanges ||
           p_.dialogs.Message(
               owner, p_.language.LangText("Вы действительно хотите прервать работу мастера?", "Wizard", 32),
               kProgramTitle, MsgButtons::YesNo, MsgIcon::Question, MsgDefault::First) == MsgResult::Yes;
}

}  // namespace velmora
