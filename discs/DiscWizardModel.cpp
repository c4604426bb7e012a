#include "discs/DiscWizardModel.h"

#include "base/Settings.h"
#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kTexts = "Wizard";

}  // namespace

std::string DiscWizardModel::Text(const char* def, int key) const {
    return p_.language.LangText(def, kTexts, key);
}

DiscWizardModel::DiscWizardModel(const DiscWizardPorts& ports) : p_(ports) {
    const auto listLine = [&](const char* def, int key) {
        return p_.language.LangTextAffix(def, kTexts, key, true, "- ");
    };
    const std::string stepWord = Text("Шаг", 17);
    texts = DiscWizardTexts{
        .cancel = Text("Отмена", 2),
        .back = Text("< Назад", 3),
        .chooseDestination = Text("Выберете папку, в которую будут помещены файлы образа будущего диска.", 9),
        .createFolderFirst = Text("Для этого сначала создайте новую папку с любым именем.", 8),
        .destinationGroup = Text("Путь к папке", 5),
        .browse = Text("Обзор", 6),
        .willReceive = Text("В выбранную папку будут помещены:", 13),
        .contents = {listLine("- Прграмма \"VELMORA\"", 12),
                     listLine("- \"FOLDER SCN\" - папка с файлами SCN", 11),
                     listLine("- Файл \"Autorun.inf\"", 10)},
        .sourceGroup = Text("Каталог расположения SCN-файлов", 27),
        .found = Text("В выбранном каталоге обнаруженно:", 29),
        .speedGroup = Text("Выберите скорость установки", 25),
        .speedNote = Text("по умолчанию медленно", 26),
        .speeds = {Text("Быстрая", 47), Text("Средняя", 48), Text("Медленно", 49)},
        .ready = Text("Всё готово, для начала копирования", 24),
        .pressNext =
            Text("Нажмите кнопку Далее чтобы скопировать подготовленные файлы, создать файлы настроек", 23),
        .check = Text("Проверьте правильность данных:", 21),
        .sourceCaption = Text("Папка содержащая SCN файлы:", 22),
        .destinationCaption = Text("Конечная папка образа:", 20),
        .programCaption = Text("Папка программы Velmora Runwright:", 19),
        .logCaption = Text("Отчёт файловых операций", 30),
        .remaining = Text("Оставшиеся 2 шага необходимо будет Вам выполнить вручную", 14),
        .step4Heading = stepWord + " 4.",
        .step4Text = Text("Самостоятельно установите порядок следования пакетов в новосозданной папке. "
                          "Используя кнопки ",
                          18),
        .step5Heading = stepWord + " 5.",
        .step5Text = Text("Самостоятельно измените путь к исполняемым файлам в свойствах проекта. В качестве "
                          "буквы CD-ROMa используйте переменную ''%cdrom%''",
                          16),
        .example = Text("Например: \"%cdrom%\\soft\\programa\\programa.exe\"", 15),
        .tip =
            Text("Совет: запишите на диск RW все нужные программы, и просто укажите расположение файлов на "
                 "диске. Это позволит избежать ошибок в написании пути к файлам",
                 57),
    };
    destinationLine.text = Text("Выберите путь", 7);
    sourceLine.text = Text("Выберите путь", 28);
    nextCaption = Text("Далее >", 4);
    if (const std::optional<int> stored = GetSpeedLevel(p_.settings))
        speed = *stored;
}

std::string DiscWizardModel::Title() const {
    return Text("Мастер создания диска", 1) + " (" + Text("Шаг", 17) + " " + std::to_string(step + 1) + " " +
           p_.language.LangText("из", "main", 13) + " " + std::to_string(kWizardPageCount) + ")";
}

void DiscWizardModel::ChooseDestination() {
    nextEnabled = false;
    const std::string folder =
        BrowseForFolder(p_.dialogs, owner, p_.scenarioFolder,
                        Text("Укажите месторасположение будущего образа диска. Папка должна быть пуста", 41));
    if (folder.empty()) {
        destinationLine = {Text("Вы должны выбрать расположение", 42), TextColour::Red};
        return;
    }
    destinationLine = {folder, TextColour::Green};
    destination = folder;
    nextEnabled = true;
}

void DiscWizardModel::ChooseSource() {
    nextEnabled = false;
    const std::string folder = BrowseForFolder(p_.dialogs, owner, p_.scenarioFolder,
                                               Text("Выберите папку содержащую файлы .SCN", 43));
    if (folder.empty()) {
        sourceLine = {Text("Вы должны выбрать расположение", 46), TextColour::Red};
        diagnosisLine.clear();
        countLine.clear();
        sourceAccepted_ = false;
        return;
    }
    sourceLine = {folder, TextColour::Green};
    std::vector<std::string> names = p_.files.ListFiles(folder, "*.scn");
    countLine = std::to_string(names.size()) + " - " + Text("файлов", 44);
    sourceAccepted_ = !names.empty();
    if (names.empty()) {
        diagnosisLine = Text("Вы должны выбрать папку, в которой содержиться как минимум 1 файл SCN", 45);
        return;
    }
    diagnosisLine.clear();
    source = folder;
    scenarioNames = std::move(names);
    nextEnabled = true;
}

DiscWizardModel::Action DiscWizardModel::Next() {
    if (!nextEnabled)
        return Action::None;
    nextEnabled = false;
    backEnabled = true;
    switch (step) {
        case 0:
            // A source chosen before a visit back to page 0 still holds.
            nextEnabled = sourceAccepted_;
            break;
        case 1:
            WriteDiscSettings();
            summaryDestination = destination;
            summarySource = source;
            summaryProgram = p_.programFolder;
            nextEnabled = true;
            break;
        case 2:
            // There is no way back to a copy that has run.
            backEnabled = false;
            copy_.emplace(p_.files, p_.profile, p_.language,
                          PlanDiscCopy({destination, source, scenarioNames, p_.programFolder}, p_.files));
            copyReported_ = false;
            ++step;
            if (copy_->Count() == 0)
                ReportCopy();
            return Action::CopyStarted;
        case 3:
            nextCaption = Text("Финиш", 40);
            backEnabled = false;
            nextEnabled = true;
            break;
        default:
            finished = true;
            return Action::Close;
    }
    ++step;
    return Action::None;
}

void DiscWizardModel::Back() {
    if (!backEnabled || step == 0)
        return;
    --step;
    nextEnabled = true;
    backEnabled = step > 0;
}

void DiscWizardModel::WriteDiscSettings() {
    // Out of range, the speed list shows no choice; the page promises slow as the default, so slow it is.
    const int level = speed >= 0 && speed <= kSlowestSpeed ? speed : kSlowestSpeed;
    const std::pair<const char*, std::string> values[] = {{kIniSpeedInstall, std::to_string(level)},
                                                          {kIniScnFolder, kIniScnFolderDefault},
                                                          {kIniLanguage, p_.language.languageName}};
    // One message box says it all: the keys after a failed one would fail the same way.
    for (const auto& [key, value] : values) {
        if (!WriteIniSetting(p_.programFolder, key, value, p_.profile, p_.dialogs))
            break;
    }
}

bool DiscWizardModel::CopyStep() {
    if (!Copying())
        return false;
    copy_->RunNext();
    if (copy_->AutorunFailed() && copy_->Finished()) {
        p_.dialogs.Message(
            owner, Text("Запись в файл - провалена. Возможно установлен атрибут только для чтения", 51),
            kProgramTitle, MsgButtons::Ok, MsgIcon::None, MsgDefault::First);
    }
    if (copy_->Finished())
        ReportCopy();
    return Copying();
}

void DiscWizardModel::ReportCopy() {
    copyReported_ = true;
    if (copy_->Succeeded()) {
        SaveSetting(p_.settings, kSettingFolderScn, AddBackslash(destination) + kDiscScenarioFolder);
        copy_->log += Text("Процесс копирования завершён успешно", 38);
    } else {
        p_.dialogs.Message(
            owner,
            p_.language.LangTextAffix("Не все файлы были скопированы. Возможно Вы не обладаете "
                                      "правами доступа, папка только для чтения или не "
                                      "достаточно места.",
                                      kTexts, 33, false, "."),
            kProgramTitle, MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::First);
        copy_->log += Text("Процесс копирования провален", 37);
    }
    nextCaption = Text("Далее", 4);
    nextEnabled = true;
}

bool DiscWizardModel::RequestClose() {
    if (finished)
        return true;
    return p_.dialogs.Message(owner, Text("Вы действительно хотите прервать работу мастера?", 32),
                              kProgramTitle, MsgButtons::YesNo, MsgIcon::Information,
                              MsgDefault::First) == MsgResult::Yes;
}

}  // namespace velmora
