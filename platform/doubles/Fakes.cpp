#include "platform/doubles/Fakes.h"

#include <algorithm>
#include <cctype>

#include "platform/LetterCase.h"

namespace velmora {

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

std::string MemorySettingsStore::Get(const std::string& section, const std::string& key,
                                     const std::string& def) {
    auto it = values.find(section + "\\" + key);
    return it == values.end() ? def : it->second;
}

void MemorySettingsStore::Save(const std::string& section, const std::string& key, const std::string& value) {
    values[section + "\\" + key] = value;
}

std::string MemoryRegistry::Key(RegistryRoot root, const std::string& subkey, const std::string& name) {
    return std::to_string(static_cast<int>(root)) + "|" + subkey + "|" + name;
}

std::string MemoryRegistry::GetString(RegistryRoot root, const std::string& subkey, const std::string& name) {
    auto it = strings_.find(Key(root, subkey, name));
    if (it == strings_.end())
        return {};
    return it->second.substr(0, it->second.find('\0'));
}

bool MemoryRegistry::SetString(RegistryRoot root, const std::string& subkey, const std::string& name,
                               const std::string& value) {
    if (!refusedSubkey.empty() && ToLower(subkey).rfind(ToLower(refusedSubkey), 0) == 0)
        return false;
    others_.erase(Key(root, subkey, name));
    strings_[Key(root, subkey, name)] = value;
    return true;
}

void MemoryRegistry::SetNonString(RegistryRoot root, const std::string& subkey, const std::string& name) {
    strings_.erase(Key(root, subkey, name));
    others_.insert(Key(root, subkey, name));
}

bool MemoryRegistry::Has(RegistryRoot root, const std::string& subkey, const std::string& name) const {
    return strings_.count(Key(root, subkey, name)) > 0 || others_.count(Key(root, subkey, name)) > 0;
}

DriveType FakeSystemInfo::GetDriveType(const std::string& root) {
    auto it = driveTypes.find(root);
    return it == driveTypes.end() ? DriveType::NoRootDir : it->second;
}

bool FakeShell::Open(const std::string& file, const std::string& parameters, const std::string& workingFolder,
                     WindowId owner) {
    if (file.empty())
        return false;  // the real shell is not even asked
    calls.push_back({file, parameters, workingFolder, owner});
    return result;
}

std::optional<ProcessId> FakeShell::Start(const std::string& file, const std::string& parameters,
                                          const std::string& workingFolder, WindowId owner) {
    if (!Open(file, parameters, workingFolder, owner))
        return std::nullopt;
    processes.push_back({startedExitCode, false, false, startedJob});
    return static_cast<ProcessId>(processes.size());
}

std::optional<int> FakeShell::ExitCodeOf(ProcessId process, int) {
    if (process == 0 || process > processes.size() || ProcessOf(process).released)
        return std::nullopt;
    return ProcessOf(process).exitCode;
}

void FakeShell::EndAll(ProcessId process) {
    if (process == 0 || process > processes.size() || ProcessOf(process).released)
        return;
    Process& p = ProcessOf(process);
    p.endedByAll = true;
    if (!p.exitCode)
        p.exitCode = 1;
}

std::vector<SystemProcessId> FakeShell::ProcessesOf(ProcessId process) {
    if (process == 0 || process > processes.size() || ProcessOf(process).released)
        return {};
    return ProcessOf(process).job;
}

void FakeShell::Release(ProcessId process) {
    if (process != 0 && process <= processes.size())
        ProcessOf(process).released = true;
}

MsgResult FakeDialogs::Message(WindowId, const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton) {
    messages.push_back({text, title, buttons, icon, defaultButton});
    if (answers.empty())
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    MsgResult answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {
std::optional<std::string> NextAnswer(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty())
        return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

std::optional<std::string> FakeDialogs::OpenFile(WindowId, const std::string& filter,
                                                 const std::string& title, const std::string& initialFolder) {
    fileDialogs.emplace_back(filter, title, initialFolder);
    return NextAnswer(fileAnswers);
}

std::optional<std::string> FakeDialogs::SaveFile(WindowId, const std::string& filter,
                                                 const std::string& title, const std::string& initialFolder) {
    fileDialogs.emplace_back(filter, title, initialFolder);
    return NextAnswer(fileAnswers);
}

std::optional<std::string> FakeDialogs::BrowseFolder(WindowId, const std::string& initialFolder,
                                                     const std::string& title) {
    fileDialogs.emplace_back(std::string{}, title, initialFolder);
    return NextAnswer(fileAnswers);
}

bool FakeInstanceLock::TryAcquire(const std::string& name) {
    // One lock holds one name, and an empty name keeps no one out, as with the system's semaphores.
    if (!mine_.empty() || name.empty() || !held_.insert(name).second)
        return false;
    mine_ = name;
    return true;
}

void FakeInstanceLock::Release() {
    if (!mine_.empty())
        held_.erase(mine_);
    mine_.clear();
}

}  // namespace velmora
