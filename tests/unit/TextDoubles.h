#pragma once
// The doubles behind the language tables, for the tests of everything that shows texts: the program lives in
// C:\Tools, and its language file is whatever a test puts there.
#include <fstream>
#include <sstream>
#include <string>

#include "base/Language.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {

struct TextDoubles {
    // Loads the text as the program's English language file.
    void LoadEnglish(const std::string& text) {
        files.AddFile("C:\\Tools\\language\\English.lng", text);
        language.languageName = "English";
        language.LoadLanguage("C:\\Tools", 1033, false);
    }
    // The English language file the program ships with.
    static std::string ShippedEnglish() {
        std::ifstream shipped(VELMORA_SOURCE_DIR "/language/English.lng", std::ios::binary);
        return (std::ostringstream() << shipped.rdbuf()).str();
    }

    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
};

}  // namespace velmora
