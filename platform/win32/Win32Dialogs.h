#pragma once
#include "platform/Dialogs.h"

namespace velmora {

// Message boxes, the common open and save dialogs and the shell's folder browser.
class Win32Dialogs : public Dialogs {
  public:
    MsgResult Message(WindowId owner, const std::string& text, const std::string& title, MsgButtons buttons,
                      MsgIcon icon, MsgDefault defaultButton) override;
    std::optional<std::string> OpenFile(WindowId owner, const std::string& filter, const std::string& title,
                                        const std::string& initialFolder) override;
    std::optional<std::string> SaveFile(WindowId owner, const std::string& filter, const std::string& title,
                                        const std::string& initialFolder) override;
    std::optional<std::string> BrowseFolder(WindowId owner, const std::string& initialFolder,
                                            const std::string& title) override;
};

// A "|"-separated filter in the form the common dialogs take: NUL between the parts and two at the end.
std::wstring DialogFilter(const std::string& filter);

}  // namespace velmora
