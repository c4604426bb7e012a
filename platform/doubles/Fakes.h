#pragma once
// Test doubles of the small ports. Each keeps what it was told in public fields so tests can arrange and
// inspect without ceremony.
#include <deque>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Clock.h"
#include "platform/DesktopInfo.h"
#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"
#include "platform/LogonTasks.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/SystemRestart.h"

namespace velmora {

// Compares keys the way the registry does: without regard to letter case.
struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class MemorySettingsStore : public SettingsStore {
  public:
    std::string Get(const std::string& section, const std::string& key, const std::string& def) override;
    void Save(const std::string& section, const std::string& key, const std::string& value) override;
    std::map<std::string, std::string, CaseInsensitiveLess> values;  // "section\key" -> value
};

class MemoryRegistry : public Registry {
  public:
    std::string GetString(RegistryRoot root, const std::string& subkey, const std::string& name) override;
    bool SetString(RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& value) override;
    // Stores a value of a non-string type, which GetString must not return.
    void SetNonString(RegistryRoot root, const std::string& subkey, const std::string& name);
    bool Has(RegistryRoot root, const std::string& subkey, const std::string& name) const;
    // Keys under this subkey (and below it) are refused, as Windows refuses a key another program locked.
    std::string refusedSubkey;

  private:
    static std::string Key(RegistryRoot root, const std::string& subkey, const std::string& name);
    std::map<std::string, std::string, CaseInsensitiveLess> strings_;
    std::set<std::string, CaseInsensitiveLess> others_;
};

class FakeSystemInfo : public SystemInfo {
  public:
    std::string ProgramFolder() override { return programFolder; }
    std::string ProgramPath() override { return programFolder + "\\velmora.exe"; }
    std::string CommandLineArguments() override { return commandLine; }
    DriveType GetDriveType(const std::string& root) override;
    std::vector<std::string> LogicalDriveRoots() override { return driveRoots; }
    std::optional<std::string> UserName() override { return userName; }
    std::optional<std::string> ComputerName() override { return computerName; }
    std::optional<std::string> UserSid() override { return userSid; }
    std::string LocalAppDataFolder() override { return localAppDataFolder; }
    std::string ProfilesFolder() override { return profilesFolder; }
    std::string WindowsFolder() override { return windowsFolder; }
    std::string TempFolder() override { return tempFolder; }
    int UserDefaultLangId() override { return langId; }
    Size ScreenSize() override { return screen; }

    std::string programFolder = "C:\\Tools";
    std::string commandLine;
    std::map<std::string, DriveType, CaseInsensitiveLess> driveTypes{{"C:\\", DriveType::Fixed}};
    std::vector<std::string> driveRoots{"C:\\"};
    std::optional<std::string> userName = "admin";
    std::optional<std::string> computerName = "PC-01";
    std::optional<std::string> userSid = "S-1-5-21-7-8-9-1001";
    std::string localAppDataFolder = "C:\\Users\\admin\\AppData\\Local";
    std::string profilesFolder = "C:\\Users";
    std::string windowsFolder = "C:\\WINDOWS";
    std::string tempFolder = "C:\\TEMP\\";
    int langId = 1033;
    Size screen{1024, 768};
};

class FakeClock : public Clock {
  public:
    LocalTime Now() override { return now; }
    LocalTime now{2026, 12, 5, 14, 3, 9};
};

class FakeShell : public Shell {
  public:
    struct Call {
        std::string file, parameters, workingFolder;
        WindowId owner;
    };
    bool Open(const std::string& file, const std::string& parameters, const std::string& workingFolder,
              WindowId owner) override;
    std::optional<ProcessId> Start(const std::string& file, const std::string& parameters,
                                   const std::string& workingFolder, WindowId owner) override;
    std::optional<int> ExitCodeOf(ProcessId process, int waitMs) override;
    void EndAll(ProcessId process) override;
    // The process's job while it is held.
    std::vector<SystemProcessId> ProcessesOf(ProcessId process) override;
    void Release(ProcessId process) override;

    // A process Start made: ids count from 1, so process id n is processes[n - 1].
    struct Process {
        std::optional<int> exitCode;  // set by a test to end it
        bool endedByAll = false;
        bool released = false;
        std::vector<SystemProcessId> job;
    };
    Process& ProcessOf(ProcessId id) { return processes.at(static_cast<std::size_t>(id - 1)); }
    std::vector<Call> calls;
    std::vector<Process> processes;
    std::optional<int> startedExitCode = 0;   // what a new process ends with at once; nothing: it runs on
    std::vector<SystemProcessId> startedJob;  // the system's processes in a new process's job
    bool result = true;
};

class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        std::string text, title;
        MsgButtons buttons;
        MsgIcon icon;
        MsgDefault defaultButton;
    };
    MsgResult Message(WindowId owner, const std::string& text, const std::string& title, MsgButtons buttons,
                      MsgIcon icon, MsgDefault defaultButton) override;
    std::optional<std::string> OpenFile(WindowId owner, const std::string& filter, const std::string& title,
                                        const std::string& initialFolder) override;
    std::optional<std::string> SaveFile(WindowId owner, const std::string& filter, const std::string& title,
                                        const std::string& initialFolder) override;
    std::optional<std::string> BrowseFolder(WindowId owner, const std::string& initialFolder,
                                            const std::string& title) override;

    std::vector<Shown> messages;
    std::deque<MsgResult> answers;                       // next answers; Ok / No when empty
    std::deque<std::optional<std::string>> fileAnswers;  // next dialog results; cancelled when empty
    std::vector<std::tuple<std::string, std::string, std::string>> fileDialogs;  // filter, title, folder
};

// Tasks by name, kept as they were given. A name in `refused` is not registered.
class FakeLogonTasks : public LogonTasks {
  public:
    bool Register(const std::string& name, const std::string& definition) override;
    std::optional<std::string> Read(const std::string& name) override;
    bool Remove(const std::string& name) override;
    std::map<std::string, std::string, CaseInsensitiveLess> tasks;
    std::set<std::string, CaseInsensitiveLess> refused;
};

class FakeSystemRestart : public SystemRestart {
  public:
    bool Restart() override {
        ++requests;
        return result;
    }
    int requests = 0;
    bool result = true;
};

// The user's desktop of an interactive session until a test says otherwise.
class FakeDesktopInfo : public DesktopInfo {
  public:
    DesktopFacts Facts() override { return facts; }
    DesktopFacts facts{1, true, "Default", SessionConnection::Active};
};

// Names held by any FakeInstanceLock sharing the same table, as processes share the system's names.
class FakeInstanceLock : public InstanceLock {
  public:
    explicit FakeInstanceLock(std::set<std::string>& heldNames) : held_(heldNames) {}
    FakeInstanceLock(const FakeInstanceLock&) = delete;
    FakeInstanceLock& operator=(const FakeInstanceLock&) = delete;
    ~FakeInstanceLock() override { Release(); }
    bool TryAcquire(const std::string& name) override;
    void Release() override;

  private:
    std::set<std::string>& held_;
    std::string mine_;
};

}  // namespace velmora
