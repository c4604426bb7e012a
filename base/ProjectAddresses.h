#pragma once
// The project's addresses and the program's version as the build sets them (the CMake options VELMORA_MAIL,
// VELMORA_SITE and VELMORA_GUESTBOOK, and the project's version). An address the build leaves empty is not
// offered to the user.
#include <string>

namespace velmora {

// The author's e-mail address, without "mailto:".
std::string AuthorMailAddress();
// The project's two web sites.
std::string WebSiteAddress();
std::string GuestBookAddress();

// "major.minor.build", such as "1.2.8".
std::string ProgramVersionText();

}  // namespace velmora
