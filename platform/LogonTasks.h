#pragma once
// The system's task scheduler, for tasks that start a program when its user logs on (or, for LocalSystem,
// when Windows starts). Tasks are named; their definitions are Task Scheduler XML texts (UTF-8 here).
#include <optional>
#include <string>

namespace velmora {

class LogonTasks {
  public:
    virtual ~LogonTasks() = default;
    // Registers the definition under the name, replacing a task of that name. False when the scheduler
    // refuses it or cannot be reached.
    [[nodiscard]] virtual bool Register(const std::string& name, const std::string& definition) = 0;
    // The definition of the named task as the scheduler keeps it, or nothing when there is no such task. The
    // scheduler writes it out again in its own layout; what it keeps of it is its own affair.
    [[nodiscard]] virtual std::optional<std::string> Read(const std::string& name) = 0;
    // True when the named task is gone afterwards, also when there was none.
    [[nodiscard]] virtual bool Remove(const std::string& name) = 0;
};

}  // namespace velmora
