#pragma once
// Restarting Windows.

namespace velmora {

class SystemRestart {
  public:
    virtual ~SystemRestart() = default;
    // Asks Windows to restart, as a planned restart for an application's installation. True when Windows took
    // the request: the session then ends soon after (every program is asked first, and one may still refuse),
    // so the caller must let its own windows agree to it.
    [[nodiscard]] virtual bool Restart() = 0;
};

}  // namespace velmora
