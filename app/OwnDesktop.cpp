#include "app/OwnDesktop.h"

#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kOwnStationPrefix = "VelmoraRun-";

}  // namespace

std::string OwnWindowStationName(unsigned processId) {
    return kOwnStationPrefix + std::to_string(processId);
}

bool IsOwnWindowStation(const std::string& name) {
    const std::string prefix = kOwnStationPrefix;
    return name.size() > prefix.size() && EqualsNoCase(name.substr(0, prefix.size()), prefix);
}

bool NeedsOwnDesktop(const DesktopFacts& facts, bool runningAsSystem, bool alreadyOnOwnDesktop) {
    return !alreadyOnOwnDesktop && (runningAsSystem || facts.sessionId == 0u);
}

}  // namespace velmora
