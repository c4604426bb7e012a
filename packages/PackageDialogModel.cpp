#include "packages/PackageDialogModel.h"

#include <algorithm>

#include "base/Settings.h"
#include "base/Utilities.h"
#include "scenario/SaveScenario.h"

namespace velmora {
namespace {

constexpr const char* kSection = "New";
constexpr const char* kLineBreak = "\r\n";
// Characters no file name may hold; a path may hold all but the first two.
constexpr const char* kForbidden = "\\:/*?\"<>|";
constexpr const char* kPathForbidden = kForbidden + 2;
constexpr const char* kForbiddenList = "\\ : / * ? \" < > |";
constexpr LabelColour kFilledColour{0, 128, 0};
constexpr LabelColour kMissingColour{192, 0, 0};

constexpr OkVerdict StayAt(PackageField field, bool selectAll = false) {
    return {false, field, selectAll};
}

}  // namespace

PackageDialogModel::PackageDialogModel(const PackageDialogPorts& ports, PackageDialogMode mode,
                                       std::vector<std::string> listedNames, const std::string& listedName)
    : p_(ports), mode_(mode), listedNames_(std::move(listedNames)), image_(ports.codec, ports.pathVars) {
    const bool props = mode_ == PackageDialogMode::Properties;
    texts.caption = props ? Text("Свойства", 25) : Text("Новый пакет", 1);
    // The labels keep a blank after their text, as they always had.
    auto label = [&](const char* builtIn, int key) {
        return p_.language.LangTextAffix(builtIn, kSection, key, false, " ");
    };
    texts.commandLineLabel = label("Дополнительные параметры командной строки", 8);
    texts.descriptionLabel = label("Описание", 9);
    texts.pathLabel = label("Исполняемый файл", 10);
    texts.nameLabel = label("Имя", 11);
    texts.descriptionTip = Text("Введите несколько слов, характеризующих пакет", 2);
    texts.cancel = Text("Отмена", 3);
    texts.ok = Text("Ок", 4);
    texts.browseTip = Text("Обзор файлов", 5);
    texts.pathTip = Text("Чтобы ввести файл - нажмите кнопочку обзор", 6);
    texts.nameTip = Text("Введите имя понятное для Вас", 7);
    texts.autoReplaceTip = Text("Автоматическая замена пути на переменную", 32);
    texts.counterTip = Text("Осталось символов", 34);
    texts.autoReplaceCaption = p_.language.LangText("Автозамена", "Stels", 1);
    if (props) {
        oldName_ = listedName;
        LoadProperties();
    }
}

std::string PackageDialogModel::Text(const char* builtIn, int key) const {
    return p_.language.LangText(builtIn, kSection, key);
}

void PackageDialogModel::Message(const std::string& text, const std::string& title, MsgIcon icon) {
    p_.dialogs.Message(owner, text, title, MsgButtons::Ok, icon, MsgDefault::First);
}

void PackageDialogModel::LoadProperties() {
    const std::string path = AddBackslash(p_.state.scenarioFolder) + oldName_ + ".SCN";
    if (!PathExists(p_.files, path) || !image_.LoadImageFile(p_.files, path))
        return;
    image_.UnscrambleImage();
    // A damaged file shows nothing, and nothing is ever written over it from here.
    loaded_ = image_.ReadHeader();
    if (!loaded_)
        return;
    SetField(PackageField::Path, image_.GetInstallerPath());
    SetField(PackageField::Name, oldName_);
    SetField(PackageField::Description, image_.GetDescription());
    SetField(PackageField::CommandLine, image_.GetCommandLine());
}

void PackageDialogModel::SetField(PackageField field, const std::string& text) {
    std::string& value = fields_[static_cast<std::size_t>(field)];
    if (value != text) {
        value = text;
        changed_ = true;
    }
}

const std::string& PackageDialogModel::Field(PackageField field) const {
    return fields_[static_cast<std::size_t>(field)];
}

void PackageDialogModel::SetAutoReplace(bool ticked) {
    autoReplace_ = ticked;
    for (PackageField field : {PackageField::Path, PackageField::CommandLine}) {
        const std::string& text = Field(field);
        SetField(field, ticked ? p_.pathVars.ContractPathVars(text) : p_.pathVars.ExpandPathVars(text));
    }
}

void PackageDialogModel::Browse() {
    const std::string executables = Text("Исполняемые файлы", 12);
    const std::string filter = executables + " (*.exe)|*.exe|" + executables + " (*.msi)|*.msi|" +
                               Text("Файлы реестра", 13) + " (*.reg)|*.reg|" +
                               Text("Пакетные файлы MS-DOS", 14) + " (*.bat)|*.bat";
    const std::string chosen = ShowOpenFileDialog(p_.dialogs, p_.state, owner, filter, Text("Открыть", 15),
                                                  GetSetting(p_.settings, kSettingFolderBrowseExe));
    p_.state.installerPath = chosen;
    if (!chosen.empty()) {
        SetField(PackageField::Path, autoReplace_ ? p_.pathVars.ContractPathVars(chosen) : chosen);
        if (mode_ == PackageDialogMode::NewPackage && Trim(Field(PackageField::Name)).empty())
            SetField(PackageField::Name, FileTitleNoExt(chosen));
    }
    // Stored also when cancelled: the next browse then starts where the system's dialog chooses.
    SaveSetting(p_.settings, kSettingFolderBrowseExe, ParentFolder(p_.state.installerPath));
}

std::optional<LabelColour> PackageDialogModel::NameColour() const {
    return Trim(Field(PackageField::Name)).empty() ? kMissingColour : kFilledColour;
}

std::optional<LabelColour> PackageDialogModel::PathColour() const {
    if (Field(PackageField::Path).empty())
        return kMissingColour;
    return std::nullopt;
}

int PackageDialogModel::DescriptionLeft() const {
    return kDescriptionLimit - static_cast<int>(CharCount(Field(PackageField::Description)));
}

std::optional<OkVerdict> PackageDialogModel::CheckCommon() {
    if (Field(PackageField::Path).empty()) {
        Message(Text("Необходимо ввести адрес исполняемого файла", 30), kProgramTitle, MsgIcon::None);
        return StayAt(PackageField::Path);
    }
    const std::string& name = Field(PackageField::Name);
    if (Trim(name).empty()) {
        Message(Text("Введите имя пакета", 16), kProgramTitle, MsgIcon::None);
        return StayAt(PackageField::Name);
    }
    if (name.find_first_of(kForbidden) != std::string::npos) {
        Message(Text("Имя файла не должно содержать следующих знаков", 17) + kLineBreak + kForbiddenList,
                kProgramTitle, MsgIcon::Exclamation);
        return StayAt(PackageField::Name);
    }
    return std::nullopt;
}

OkVerdict PackageDialogModel::Ok() {
    if (std::optional<OkVerdict> failed = CheckCommon())
        return *failed;
    return mode_ == PackageDialogMode::NewPackage ? OkNew() : OkProperties();
}

OkVerdict PackageDialogModel::OkNew() {
    const std::string& name = Field(PackageField::Name);
    const std::string real = p_.pathVars.ExpandPathVars(Field(PackageField::Path));
    if (!PathExists(p_.files, real) || IsFolder(p_.files, real)) {
        Message(Text("Введите существующий адрес файла.", 31), kProgramTitle, MsgIcon::None);
        return StayAt(PackageField::Path, true);
    }
    // A path too short to end in a name and one of the four extensions gets the same answer as a wrong
    // extension, rather than a click that does nothing.
    std::string extension = Trim(Field(PackageField::Path));
    extension = extension.size() < 5 ? std::string{} : ToUpper(extension.substr(extension.size() - 4));
    if (extension != ".MSI" && extension != ".EXE" && extension != ".BAT" && extension != ".REG") {
        Message(Text("Выберите только поддерживаемый тип файлов", 33), kProgramTitle, MsgIcon::None);
        return StayAt(PackageField::Path, true);
    }
    p_.state.installerPath = real;
    // A name that differs from a listed one only in letter case names the same file on Windows: recording it
    // would replace that package without a word, so it is asked about like an exact match.
    if (std::any_of(listedNames_.begin(), listedNames_.end(),
                    [&](const std::string& listed) { return EqualsNoCase(listed, name); })) {
        const std::string question =
            p_.language.LangTextFormat("Пакет с именем '%s' уже существует в выбранной директории.", kSection,
                                       18, name) +
            kLineBreak + kLineBreak + Text("Нажмите Да для перезаписи или Нет для ввода заново.", 19);
        if (p_.dialogs.Message(owner, question, kProgramTitle, MsgButtons::YesNo, MsgIcon::None,
                               MsgDefault::First) != MsgResult::Yes)
            return StayAt(PackageField::Name, true);
    }
    SaveSetting(p_.settings, kSettingFolderBrowseExe, ParentFolder(real));
    p_.state.packageName = name;
    p_.state.description = Field(PackageField::Description);
    p_.state.installerCommandLine = p_.pathVars.ExpandPathVars(Trim(Field(PackageField::CommandLine)));
    p_.state.recordMode = true;
    return {true};
}

OkVerdict PackageDialogModel::OkProperties() {
    const std::string& path = Field(PackageField::Path);
    if (path.find_first_of(kPathForbidden) != std::string::npos) {
        Message(Text("Путь к файлу не должен содержать следующих знаков", 20) + kLineBreak + kForbiddenList,
                kProgramTitle, MsgIcon::Exclamation);
        return StayAt(PackageField::Path);
    }
    if (!PathExists(p_.files, p_.pathVars.ExpandPathVars(path))) {
        const std::string question =
            p_.language.LangTextAffix("Указанный Вами файл не найден.", kSection, 21, false, ".") +
            kLineBreak +
            Text("Если Вы уверены, что указанный путь будет существовать, в будущем - нажмите Да.", 22) +
            kLineBreak + kLineBreak + Text("Нажмите Нет - если желаете ввести другой путь к файлу", 23);
        const std::string title =
            p_.language.LangTextAffix("Сохранить путь к файлу?", kSection, 24, false, "?");
        if (p_.dialogs.Message(owner, question, title, MsgButtons::YesNo, MsgIcon::Information,
                               MsgDefault::Second) != MsgResult::Yes)
            return StayAt(PackageField::Path);
    }
    if (std::optional<OkVerdict> failed = WriteProperties())
        return *failed;
    return {true};
}

// The package is renamed first and its changed header then written under the new name:
// - a name another package already has is refused before anything is touched, and the rename itself never
//   replaces a file, so no other package can be overwritten;
// - a rename that fails leaves both the old file and its contents as they were, and nothing is saved;
// - the header is written through a temporary file moved over the renamed one, so a failed save leaves the
//   package whole under its new name with its old header.
// Writing the new file first and deleting the old one afterwards could instead leave two packages behind.
std::optional<OkVerdict> PackageDialogModel::WriteProperties() {
    newName_.clear();
    if (!changed_)
        return std::nullopt;
    const std::string folder = AddBackslash(p_.state.scenarioFolder);
    const std::string newName = Field(PackageField::Name);
    const std::string oldPath = folder + oldName_ + ".SCN";
    std::string newPath = folder + newName + ".SCN";
    const bool rename = newName != oldName_;
    // A change of letter case only names the same file.
    if (rename && !EqualsNoCase(newName, oldName_) && PathExists(p_.files, newPath)) {
        Message(p_.language.LangTextFormat("Пакет с именем '%s' уже существует. Выберите другое имя.",
                                           kSection, 36, newName),
                Text("Переименование невозможно", 29), MsgIcon::Exclamation);
        return StayAt(PackageField::Name, true);
    }

    ScenarioImage changed = image_;
    const std::string& description = Field(PackageField::Description);
    // An emptied description is cleared; setting an empty text would keep the old one.
    if (description.empty())
        changed.ReplaceRange(kDescriptionSize, std::string(kDescriptionSize, '\0'), kHeaderSize);
    else
        changed.SetDescription(description);
    if (!loaded_ || !changed.ChangeInstallerPath(Field(PackageField::Path)) ||
        !changed.ChangeCommandLine(p_.pathVars.ContractPathVars(Trim(Field(PackageField::CommandLine))))) {
        Message(p_.language.LangText("Файл не сохранён.", "MdlFile", 1),
                p_.language.LangText("Ошибка при сохранении", "MdlFile", 4), MsgIcon::Exclamation);
        return StayAt(PackageField::Name);
    }
    changed.ScrambleImage();

    if (rename && !p_.files.Rename(oldPath, newPath)) {
        Message(p_.language.LangTextFormat("Переименнование файла '%s' невозможно.", kSection, 28, oldPath),
                Text("Переименование невозможно", 29), MsgIcon::Information);
        return StayAt(PackageField::Name, true);
    }
    if (!rename)
        newPath = oldPath;
    SaveScenarioFile(changed, p_.files, p_.dialogs, p_.language, owner, newPath, p_.state.scenarioFolder);
    newName_ = newName;
    return std::nullopt;
}

void PackageDialogModel::Cancel() {
    p_.state.installerPath.clear();
    p_.state.lastFileTitle.clear();
}

}  // namespace velmora
