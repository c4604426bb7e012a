#pragma once
// Where the program's windows are: whether a person, or the player's synthetic input, can reach them.
#include <optional>
#include <string>

namespace velmora {

// How a terminal-services session stands; only the states that matter here are told apart.
enum class SessionConnection { Active, Connected, Disconnected, Other };

struct DesktopFacts {
    std::optional<unsigned> sessionId;  // nothing when the system would not say
    bool windowStationVisible = true;   // the window station shows on a screen (WSF_VISIBLE)
    // The name of the desktop that receives input ("Default" for the user's, "Winlogon" while locked), or
    // nothing when it cannot be opened.
    std::optional<std::string> inputDesktop;
    std::optional<SessionConnection> connection;  // nothing when the system would not say
};

class DesktopInfo {
  public:
    virtual ~DesktopInfo() = default;
    virtual DesktopFacts Facts() = 0;
};

}  // namespace velmora
