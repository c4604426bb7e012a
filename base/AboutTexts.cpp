#include "base/AboutTexts.h"

#include "base/ProjectAddresses.h"
#include "base/Utilities.h"

namespace velmora {
namespace {

const std::string kMailPrefix = "mailto:";

AboutLink MailLink(const std::string& address) {
    if (address.empty())
        return {};
    const std::string bare =
        StartsWithNoCase(address, kMailPrefix) ? address.substr(kMailPrefix.size()) : address;
    return {bare, kMailPrefix + bare};
}

}  // namespace

AboutTexts MakeAboutTexts(const Language& language) {
    AboutTexts texts;
    texts.title = language.LangText("О программе...", "About", 1);
    texts.product = "Runwright";
    texts.description = language.LangText(
        "Программа поможет Вам выполнить очередную рутину - установка ПО по заданному шаблону", "About", 2);
    texts.rightsCaption = language.LangTextAffix("Авторские права", "About", 4, false, ":");
    texts.rights = "© 2026 Velmora";

    // The file's text may have lost its trailing blank (INI readers trim values), so one is put back.
    std::string version = language.LangText("Версия ", "About", 5);
    if (!version.empty() && version.back() != ' ')
        version += ' ';
    texts.version = version + ProgramVersionText();

    texts.mail = MailLink(AuthorMailAddress());
    // The request to write is left out with the address it points to.
    if (!texts.mail.target.empty())
        texts.suggestions =
            language.LangText("Ваши предложения, замечания, пожелания присылайте по адрессу", "About", 3);
    texts.site = {WebSiteAddress(), WebSiteAddress()};
    texts.guestBook = {GuestBookAddress(), GuestBookAddress()};

    texts.translatorCaption = language.LangTextAffix("Перевод", "Autor", 1, false, ":");
    texts.translator.text = language.LangText("# translator #", "Autor", 2);
    texts.translator.target = language.LangTextAffix("", "Autor", 3, true, kMailPrefix);
    return texts;
}

}  // namespace velmora
