#include "scenario/SaveScenario.h"

#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kSection = "MdlFile";
constexpr const char* kLineBreak = "\r\n";

std::string FailureText(const Language& language, const std::string& path) {
    return language.LangText("Файл не сохранён.", kSection, 1) + kLineBreak +
           language.LangText("Невозможно внести изменения в файл", kSection, 2) + kLineBreak + "'" + path +
           "'." + kLineBreak +
           language.LangTextAffix("Желаете сохранить файл в другом месте?", kSection, 3, false, "?");
}

}  // namespace

bool SaveScenarioFile(const ScenarioImage& image, FileSystem& files, Dialogs& dialogs,
                      const Language& language, WindowId owner, std::string& path,
                      const std::string& scnFolder) {
    while (!image.WriteImageFile(files, path)) {
        MsgResult elsewhere = dialogs.Message(owner, FailureText(language, path),
                                              language.LangText("Ошибка при сохранении", kSection, 4),
                                              MsgButtons::YesNo, MsgIcon::Information, MsgDefault::Second);
        if (elsewhere != MsgResult::Yes)
            return false;
        std::optional<std::string> chosen = dialogs.SaveFile(
            owner, language.LangText("Сценарий установки программ", kSection, 5) + " (*.SCN)|*.SCN|",
            language.LangText("Сохранить", kSection, 6), scnFolder);
        if (chosen) {
            std::string newPath = StripTrailingNulls(*chosen);
            // Only the exact upper-case suffix counts: "x.scn" is saved as "x.scn.SCN".
            if (!EndsWith(newPath, ".SCN"))
                newPath += ".SCN";
            path = newPath;
            continue;
        }
        MsgResult giveUp = dialogs.Message(
            owner,
            language.LangTextAffix("Вы действительно не желаете сохранить файл?", kSection, 7, false, "?"),
            language.LangTextAffix("Не сохранять?", kSection, 8, false, "?"), MsgButtons::YesNo,
            MsgIcon::Information, MsgDefault::Second);
        if (giveUp == MsgResult::Yes)
            return false;
    }
    return true;
}

}  // namespace velmora
