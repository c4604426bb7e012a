#include "base/ProjectAddresses.h"

// The project's build defines all of these; a compile outside it gets no addresses and version 1.2.0.
#ifndef VELMORA_MAIL
#define VELMORA_MAIL ""
#endif
#ifndef VELMORA_SITE
#define VELMORA_SITE ""
#endif
#ifndef VELMORA_GUESTBOOK
#define VELMORA_GUESTBOOK ""
#endif
#ifndef VELMORA_VERSION_MAJOR
#define VELMORA_VERSION_MAJOR 1
#endif
#ifndef VELMORA_VERSION_MINOR
#define VELMORA_VERSION_MINOR 2
#endif
#ifndef VELMORA_VERSION_BUILD
#define VELMORA_VERSION_BUILD 0
#endif

namespace velmora {

std::string AuthorMailAddress() {
    return VELMORA_MAIL;
}

std::string WebSiteAddress() {
    return VELMORA_SITE;
}

std::string GuestBookAddress() {
    return VELMORA_GUESTBOOK;
}

std::string ProgramVersionText() {
    return std::to_string(VELMORA_VERSION_MAJOR) + "." + std::to_string(VELMORA_VERSION_MINOR) + "." +
           std::to_string(VELMORA_VERSION_BUILD);
}

}  // namespace velmora
