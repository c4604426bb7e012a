#include "base/NoticeTexts.h"

namespace velmora {
namespace {

constexpr const char* kShowAgain = "не &показывать больше";
constexpr const char* kListPrefix = "- ";

}  // namespace

NoticeTexts RecordingHintTexts(const Language& language) {
    NoticeTexts texts;
    texts.title = "Velmora Runwright";
    texts.showAgain = language.LangText(kShowAgain, "Future", 1);
    texts.frame = language.LangText("Примечание", "Future", 2);
    texts.intro = language.LangText("Установите приложение в обычном режиме.", "Future", 5);
    texts.lines = {language.LangText("Для вставки, изменения текста жмите кнопку \"Пауза\"", "Future", 3),
                   language.LangText("Для окончания записи нажмите кнопку \"Стоп\".", "Future", 4)};
    return texts;
}

NoticeTexts PauseHintTexts(const Language& language) {
    NoticeTexts texts;
    texts.title = "Velmora Runwright - пауза";
    texts.showAgain = language.LangText(kShowAgain, "Pause", 1);
    texts.frame = language.LangText("Общая информация", "Pause", 2);
    texts.heading =
        language.LangText("Если Вы хочете, изменить текст в текстовом поле, необходимо:", "Pause", 5);
    // The steps in the order the user takes them: click the field first, then pause.
    texts.lines = {
        language.LangTextAffix("- произвести щелчок мышью в требуемом окне", "Pause", 4, true, kListPrefix),
        language.LangTextAffix("- далее нажать кнопку \"Паузу\"", "Pause", 3, true, kListPrefix),
        language.LangTextAffix("- если в строке состояния появиться надпись \"Это поле не является "
                               "текстовым\" - но вы видите что это не так, просто уберите галочку \"Фильтр\"",
                               "Pause", 6, true, kListPrefix)};
    return texts;
}

bool HintWanted(SettingsStore& settings, const SettingKey& setting) {
    return GetSettingNumber(settings, setting) != 1;
}

void StoreHintChoice(SettingsStore& settings, const SettingKey& setting, bool doNotShowAgain) {
    SaveSetting(settings, setting, doNotShowAgain ? "1" : "0");
}

}  // namespace velmora
