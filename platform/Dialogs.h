#pragma once
#include <optional>
#include <string>

#include "platform/Types.h"

namespace velmora {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Information, Critical, Exclamation, Question };
enum class MsgDefault { First, Second };
enum class MsgResult { Ok, Yes, No, Cancel };

// Message boxes and the common dialogs. Filters use "|" between description and pattern parts.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MsgResult Message(WindowId owner, const std::string& text, const std::string& title,
                              MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton) = 0;
    // The chosen path, or nothing when cancelled.
    [[nodiscard]] virtual std::optional<std::string> OpenFile(WindowId owner, const std::string& filter,
                                                              const std::string& title,
                                                              const std::string& initialFolder) = 0;
    [[nodiscard]] virtual std::optional<std::string> SaveFile(WindowId owner, const std::string& filter,
                                                              const std::string& title,
                                                              const std::string& initialFolder) = 0;
    [[nodiscard]] virtual std::optional<std::string> BrowseFolder(WindowId owner,
                                                                  const std::string& initialFolder,
                                                                  const std::string& title) = 0;
};

}  // namespace velmora
