#include "discs/DiscCopy.h"

#include <algorithm>

#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kTexts = "Wizard";

}  // namespace

std::vector<CopyOperation> PlanDiscCopy(const DiscCopyInput& input, FileSystem& files) {
    std::vector<CopyOperation> plan;
    if (input.scenarioNames.empty())
        return plan;
    const std::string d = AddBackslash(input.destination);
    const std::string s = AddBackslash(input.source);
    const std::string a = AddBackslash(input.programFolder);
    const std::string scenarios = d + kDiscScenarioFolder;
    const std::string program = d + "Velmora";

    plan.push_back({CopyOperation::CreateFolder, {}, scenarios});
    for (const std::string& name : input.scenarioNames)
        plan.push_back({CopyOperation::CopyFile, s + name, scenarios + "\\" + name});
    // The order file is part of the folder: without it the disc would list its packages in another order.
    plan.push_back({CopyOperation::CopyFile, s + "position.lst", scenarios + "\\position.lst"});
    plan.push_back({CopyOperation::CreateFolder, {}, program});
    for (const char* name : {"Velmora.exe", "Velmora.ini", "help.chm"})
        plan.push_back({CopyOperation::CopyFile, a + name, program + "\\" + name});
    plan.push_back({CopyOperation::CreateFolder, {}, program + "\\Language"});
    // A program without language files speaks its built-in texts; that is no failure.
    const std::string languages = a + "Language";
    if (PathExists(files, languages)) {
        std::vector<std::string> names = files.ListFiles(languages, "*.lng");
        std::sort(names.begin(), names.end(),
                  [](const std::string& x, const std::string& y) { return ToLower(x) < ToLower(y); });
        for (const std::string& name : names)
            plan.push_back(
                {CopyOperation::CopyFile, languages + "\\" + name, program + "\\Language\\" + name});
    }
    plan.push_back({CopyOperation::WriteAutorun, {}, d + kAutorunFileName});
    return plan;
}

bool DiscCopy::RunNext() {
    if (Finished())
        return false;
    const CopyOperation& operation = plan_[next_++];
    bool ok = false;
    switch (operation.kind) {
        case CopyOperation::CreateFolder:
            ok = CreateFolderLogged(operation.target);
            break;
        case CopyOperation::CopyFile:
            ok = CopyFileLogged(operation.source, operation.target);
            break;
        case CopyOperation::WriteAutorun:
            ok = WriteAutorunLogged(operation.target);
            autorunFailed_ = !ok;
            break;
    }
    failed_ = failed_ || !ok;
    return true;
}

bool DiscCopy::CreateFolderLogged(const std::string& path) {
    // A folder the destination already holds is used as it is; a file of that name is no folder.
    if (IsFolder(files_, path))
        return true;
    const bool created = files_.CreateFolder(path);
    // The second letter of the built-in text is a Latin "o", as users' logs have always shown it.
    Line(language_.LangText("Сoздание папки", kTexts, 55) + " " + path);
    if (!created)
        Line(language_.LangText("Ошибка создания папки", kTexts, 56) + " " + path);
    return created;
}

bool DiscCopy::CopyFileLogged(const std::string& source, const std::string& target) {
    const bool copied = files_.Copy(source, target);
    Line(language_.LangTextFormat("Копирование файла `%s` в `", kTexts, 53, source) + " " + target);
    // Files copied from a disc are read-only; the copy must stay writable for whoever edits it next. Best
    // effort: a copy that stays read-only is still a whole copy, and the next copy over it would say so.
    static_cast<void>(files_.SetNormalAttributes(target));
    if (!copied)
        Line(language_.LangText("Ошибка копирования файла", kTexts, 54));
    return copied;
}

bool DiscCopy::WriteAutorunLogged(const std::string& path) {
    // Both keys must land: a file with only "open" would start the program without its icon, and one with
    // neither starts nothing.
    const bool written = profile_.WriteString(path, "Autorun", "open", "velmora\\Velmora.exe") &&
                         profile_.WriteString(path, "Autorun", "icon", "velmora\\Velmora.exe,0");
    if (written)
        Line(language_.LangText("Создание файла автозапуска", kTexts, 52) + " " + path);
    else
        Line(language_.LangText("Ошибка создания файла автозапуска", kTexts, 50) + " " + path);
    return written;
}

}  // namespace velmora
