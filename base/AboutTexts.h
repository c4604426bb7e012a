#pragma once
// What the about window says, in the current language: every caption with its built-in default and affix,
// the program's version, and the links with the addresses they open.
#include <string>

#include "base/Language.h"

namespace velmora {

// A text that opens an address when clicked; an empty target makes it plain text.
struct AboutLink {
    std::string text;
    std::string target;
    bool operator==(const AboutLink&) const = default;
};

struct AboutTexts {
    std::string title;
    std::string product;
    std::string description;
    std::string version;
    std::string suggestions;  // the request to write to the author, empty when there is no address
    AboutLink mail;           // the author's address; not shown when the build gives none
    AboutLink site;           // the two web sites, likewise
    AboutLink guestBook;
    std::string rightsCaption;
    std::string rights;
    std::string translatorCaption;
    AboutLink translator;  // the translator's name, linked to the language file's address when it has one
};

AboutTexts MakeAboutTexts(const Language& language);

}  // namespace velmora
