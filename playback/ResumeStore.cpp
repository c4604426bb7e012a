#include "playback/ResumeStore.h"

#include "base/Utilities.h"
#include "reports/RunReport.h"

namespace velmora {
namespace {

constexpr const char* kProgramDataFolder = "Velmora Runwright";
constexpr const char* kResumeFolder = "Resume";
constexpr const char* kLanguageFolder = "language";

std::string ProgramDataFolder(ProtectedFiles& vault) {
    const std::string common = vault.CommonDataFolder();
    return common.empty() ? std::string() : AddBackslash(common) + kProgramDataFolder;
}

// The folder and its parent, outermost first. %ProgramData% itself lets users make folders in it but not
// rename or remove what others made there, so a trusted folder of ours stays where it is checked.
std::vector<std::string> FolderChain(ProtectedFiles& vault) {
    const std::string parent = ProgramDataFolder(vault);
    if (parent.empty())
        return {};
    return {parent, parent + "\\" + kResumeFolder};
}

std::string UserSid(SystemInfo& system) {
    return system.UserSid().value_or("");
}

// A name beside the entry that tells a person what happened and when: "Resume (untrusted 2026-12-05 140309)".
std::string AsideName(const std::string& path, const LocalTime& now) {
    std::string stamp = ReportTime(now);
    std::erase(stamp, ':');
    return path + " (untrusted " + stamp + ")";
}

// A folder that must hold only our files: there and trusted, or made now.
bool EnsureOwnFolder(ProtectedFiles& vault, const std::string& path) {
    const FileTrust trust = vault.Trust(path);
    if (trust == FileTrust::Missing && !vault.CreateFolder(path))
        return false;
    return vault.Trust(path) == FileTrust::Trusted;
}

}  // namespace

std::string ResumeFolder(ProtectedFiles& vault) {
    const std::vector<std::string> chain = FolderChain(vault);
    return chain.empty() ? std::string() : chain.back();
}

std::string ResumeRecordPath(ProtectedFiles& vault, const std::string& userSid) {
    const std::string folder = ResumeFolder(vault);
    return folder.empty() || userSid.empty() ? std::string() : folder + "\\" + userSid + ".txt";
}

std::optional<std::string> PrepareResumeFolder(const ResumeStorePorts& p,
                                               std::vector<std::string>& movedAside) {
    const std::vector<std::string> chain = FolderChain(p.vault);
    if (chain.empty())
        return std::nullopt;
    for (const std::string& folder : chain) {
        const FileTrust trust = p.vault.Trust(folder);
        if (trust == FileTrust::Trusted)
            continue;
        // Users may make folders in %ProgramData%, so ours may have been made by one, or be a link to
        // anywhere. Renaming acts on the entry alone, whatever it holds or points at: nothing in it is
        // touched with administrator rights, its maker keeps their files, and the restart is not blocked for
        // ever. One that cannot be renamed (its maker holds it open) blocks this restart only.
        if (trust != FileTrust::Missing) {
            const std::string aside = AsideName(folder, p.clock.Now());
            if (!p.vault.MoveAside(folder, aside))
                return std::nullopt;
            movedAside.push_back(aside);
        }
        if (!p.vault.CreateFolder(folder) || p.vault.Trust(folder) != FileTrust::Trusted)
            return std::nullopt;
    }
    return chain.back();
}

ResumeCheck ReadResumeRecord(const ResumeStorePorts& p) {
    ResumeCheck check;
    const std::string path = ResumeRecordPath(p.vault, UserSid(p.system));
    if (path.empty())
        return check;
    for (const std::string& folder : FolderChain(p.vault)) {
        const FileTrust trust = p.vault.Trust(folder);
        if (trust != FileTrust::Trusted) {
            // Nothing is removed from a folder someone else could change: the path may lead anywhere.
            check.refusal = trust == FileTrust::Missing ? ResumeRefusal::Missing : ResumeRefusal::Untrusted;
            return check;
        }
    }
    check.removable = true;
    const FileTrust trust = p.vault.Trust(path);
    const std::optional<std::string> text =
        trust == FileTrust::Trusted ? p.vault.Read(path) : std::optional<std::string>();
    if (trust == FileTrust::Missing)
        return check;
    if (!text) {
        check.refusal = ResumeRefusal::Untrusted;
        return check;
    }
    std::optional<ResumeRecord> record = ParseResumeRecord(*text);
    const LocalTime now = p.clock.Now();
    constexpr std::int64_t kLimit = kResumeRecordDays * 86400;
    if (!record)
        check.refusal = ResumeRefusal::Damaged;
    else if (!EqualsNoCase(UserSid(p.system), record->user))
        check.refusal = ResumeRefusal::Foreign;
    else if (SecondsBetween(record->written, now) > kLimit || SecondsBetween(now, record->written) > kLimit)
        check.refusal = ResumeRefusal::Stale;
    else if (record->taken && record->restarts >= kMostRestarts)
        check.refusal = ResumeRefusal::TooManyRestarts;
    else
        check.record = std::move(record);
    return check;
}

bool WriteResumeRecord(const ResumeStorePorts& p, const ResumeRecord& record) {
    const std::string path = ResumeRecordPath(p.vault, record.user);
    std::vector<std::string> movedAside;
    if (path.empty() || !EqualsNoCase(record.user, UserSid(p.system)) || !PrepareResumeFolder(p, movedAside))
        return false;
    // A link or a stranger's file in the record's place is replaced, not followed: the move replaces the
    // entry.
    return p.vault.Write(path, FormatResumeRecord(record)) && p.vault.Trust(path) == FileTrust::Trusted;
}

bool RemoveResumeRecord(const ResumeStorePorts& p) {
    const std::string path = ResumeRecordPath(p.vault, UserSid(p.system));
    for (const std::string& folder : FolderChain(p.vault)) {
        if (p.vault.Trust(folder) != FileTrust::Trusted)
            return p.vault.Trust(folder) == FileTrust::Missing;
    }
    return path.empty() || p.vault.Remove(path);
}

std::optional<std::string> ProtectedProgramCopy(const ResumeStorePorts& p, const std::string& folder) {
    const std::string sid = UserSid(p.system);
    if (sid.empty())
        return std::nullopt;
    const std::string copyFolder = folder + "\\" + sid;
    const std::string languages = copyFolder + "\\" + kLanguageFolder;
    const std::string program = p.system.ProgramPath();
    const std::size_t name = program.find_last_of('\\');
    const std::string copy = copyFolder + program.substr(name == std::string::npos ? 0 : name);
    if (name == std::string::npos || !EnsureOwnFolder(p.vault, copyFolder) ||
        !EnsureOwnFolder(p.vault, languages))
        return std::nullopt;
    // A resumed run that restarts again runs from the copy: it is what the task starts already.
    if (!EqualsNoCase(program, copy)) {
        const std::optional<std::string> bytes = p.files.ReadAll(program);
        if (!bytes || !p.vault.Write(copy, *bytes))
            return std::nullopt;
        const std::string source = AddBackslash(p.system.ProgramFolder()) + kLanguageFolder;
        for (const std::string& name : p.files.ListFiles(source, "*.lng")) {
            const std::optional<std::string> text = p.files.ReadAll(source + "\\" + name);
            if (!text || !p.vault.Write(languages + "\\" + name, *text))
                return std::nullopt;
        }
    }
    // The task starts the copy elevated at logon: whoever could replace it, or what it loads beside itself,
    // would run with the user's administrator rights.
    for (const std::string& path : {copy, copyFolder, languages}) {
        if (p.vault.Trust(path) != FileTrust::Trusted)
            return std::nullopt;
    }
    return copy;
}

PackagePin PinPackage(const ResumeStorePorts& p, ScenarioImage& scenario, const PathVariables& pathVars,
                      const std::string& scenarioPath) {
    PackagePin pin{scenarioPath, "-", "", "-"};
    if (!scenario.LoadImageFile(p.files, scenarioPath))
        return pin;
    // The very bytes the player loads, hashed before they are unscrambled.
    pin.scenarioSha256 = p.vault.Sha256(scenario.Bytes()).value_or("-");
    scenario.UnscrambleImage();
    std::string stored;
    if (!scenario.ReadHeader() || !scenario.GetInstallerPath(stored))
        return pin;
    pin.installer = pathVars.ExpandPathVars(stored);
    if (const std::unique_ptr<HeldFile> held = pin.installer.empty() ? nullptr : p.vault.Hold(pin.installer))
        pin.installerSha256 = held->Sha256().value_or("-");
    return pin;
}

}  // namespace velmora
