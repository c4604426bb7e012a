#include "app/UnattendedRun.h"

#include "base/ProjectAddresses.h"
#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kSection = "Report";

std::string Format(const Language& language, const char* def, int key, const std::string& value) {
    return language.LangTextFormat(FormatPercentS(def, value), kSection, key, value);
}

}  // namespace

std::string NoDesktopText(NoDesktop why, const DesktopFacts& facts, const Language& language) {
    std::string reason;
    switch (why) {
        case NoDesktop::Service:
            reason = language.LangText("программа запущена как служба (сеанс 0)", kSection, 44);
            break;
        case NoDesktop::HiddenWindowStation:
            reason = language.LangText("станция окон программы не видна на экране", kSection, 45);
            break;
        case NoDesktop::Disconnected:
            reason = language.LangText("сеанс отключён", kSection, 48);
            break;
        case NoDesktop::Locked:
            reason =
                language.LangText("рабочий стол ввода недоступен (компьютер заблокирован)", kSection, 46);
            break;
        case NoDesktop::OtherDesktop:
            reason =
                Format(language, "на экране другой рабочий стол: %s", 47, facts.inputDesktop.value_or(""));
            break;
    }
    return Format(language, "нет рабочего стола, куда можно нажать: %s", 43, reason);
}

std::optional<NoDesktop> WhyRunRefused(const DesktopFacts& facts, InputChoice choice) {
    return ChooseDelivery(facts, choice) ? std::nullopt : WhyNoDesktop(facts);
}

std::string OwnDesktopFailedText(unsigned long error, const Language& language) {
    return Format(
        language,
        "не удалось создать для прогона свой рабочий стол, которого не видно ни на одном экране: ошибка %s",
        75, std::to_string(error));
}

std::string InstanceHeldText(const Language& language) {
    return language.LangText("работает другой экземпляр программы; этот ничего не установил", kSection, 69);
}

int RefuseRun(RunReport& report, const SharedState& state, const std::string& reportFolder,
              const std::string& reason, int exitCode) {
    report.Begin(state.reportLog, reportFolder, ProgramVersionText());
    report.Refused(reason);
    report.End(exitCode);
    return exitCode;
}

std::optional<ResumeRefusal> TakeResumeRecord(const ResumePorts& ports, SharedState& state) {
    const ResumeStorePorts store{ports.vault, ports.files, ports.system, ports.clock};
    ResumeCheck check = ReadResumeRecord(store);
    if (!check.record) {
        static_cast<void>(ports.tasks.Remove(ResumeTaskName(ports.system.UserSid().value_or(""))));
        // Nothing is removed where someone else could have put a link: that could delete anything.
        if (check.removable)
            static_cast<void>(RemoveResumeRecord(store));
        return check.refusal;
    }
    ResumeRecord& record = *check.record;
    state.runList.clear();
    for (const PackagePin& pin : record.packages)
        state.runList.push_back(pin.scenario);
    state.currentScenario = state.runList.front();
    state.reportLog = record.report;
    state.noStatistics = !record.statistics;
    // Written back as taken before the first package starts (RunRestart::Progress).
    state.resumed = ResumedRun{record.restarts + (record.taken ? 1 : 0),
                               record.packagesDone,
                               record.exitCode,
                               record.speed,
                               record.timeoutMinutes,
                               std::move(record.packages)};
    return std::nullopt;
}

std::string ResumeRefusalText(ResumeRefusal why, const std::string& removedRecord, const Language& language) {
    std::string reason;
    switch (why) {
        case ResumeRefusal::Missing:
            reason = language.LangText("файла продолжения нет", kSection, 50);
            break;
        case ResumeRefusal::Damaged:
            reason = language.LangText("файл продолжения повреждён", kSection, 51);
            break;
        case ResumeRefusal::Stale:
            reason = language.LangText("файл продолжения старше недели", kSection, 52);
            break;
        case ResumeRefusal::Foreign:
            reason = language.LangText("файл продолжения записан другим пользователем", kSection, 53);
            break;
        case ResumeRefusal::Untrusted:
            reason = language.LangText(
                "файл продолжения или его папку могут изменить не только администраторы", kSection, 61);
            break;
        case ResumeRefusal::TooManyRestarts:
            reason = language.LangText(
                "прогон слишком часто начинался заново при входе в систему, не доходя до конца", kSection,
                62);
            break;
    }
    std::string text = Format(language, "Прогон нельзя продолжить после перезагрузки: %s", 49, reason);
    if (!removedRecord.empty())
        text += "; " + Format(language, "он удалён: %s", 54, removedRecord);
    return text;
}

namespace {

// Waits until `ready` or the deadline from `start`; whether it became ready.
bool WaitFor(Clock& clock, const LocalTime& start, const std::function<void(int)>& wait,
             const std::function<bool()>& ready) {
    while (!ready()) {
        if (SecondsBetween(start, clock.Now()) >= kResumeWaitSeconds)
            return false;
        wait(kResumeWaitStepMs);
    }
    return true;
}

// The folders the packages lie in, each once: a share or a mapped drive may come up after the logon.
bool PackageFoldersThere(FileSystem& files, const std::vector<std::string>& packages) {
    for (const std::string& package : packages) {
        if (!IsFolder(files, ParentFolder(package)))
            return false;
    }
    return true;
}

int EndResumedRun(RunReport& report, const std::string& reportPath, const std::string& reason, int exitCode) {
    report.Resume(reportPath);
    report.Refused(reason);
    report.End(exitCode);
    return exitCode;
}

}  // namespace

ResumeStart StartResumedRun(const ResumePorts& ports, const Language& language, SharedState& state,
                            RunReport& report, InputChoice choice, const std::function<void(int)>& wait) {
    const LocalTime start = ports.clock.Now();
    DesktopFacts facts = ports.desktop.Facts();
    // The record is left for a logon where the run can be played; its task starts the program again then.
    if (!WaitFor(ports.clock, start, wait,
                 [&] { return !WhyRunRefused(facts = ports.desktop.Facts(), choice); })) {
        const std::string reason = NoDesktopText(*WhyNoDesktop(facts), facts, language);
        return {EndResumedRun(report, state.reportLog, reason, kNoDesktopExitCode)};
    }
    const std::string recordPath = ResumeRecordPath(ports.vault, ports.system.UserSid().value_or(""));
    const bool there = ports.vault.Trust(recordPath) != FileTrust::Missing;
    if (const std::optional<ResumeRefusal> why = TakeResumeRecord(ports, state)) {
        const bool removed = there && ports.vault.Trust(recordPath) == FileTrust::Missing;
        return {EndResumedRun(report, state.reportLog,
                              ResumeRefusalText(*why, removed ? recordPath : std::string(), language),
                              kNoResumeExitCode)};
    }
    // Played all the same when they do not come: a package whose scenario is gone fails and says so.
    static_cast<void>(
        WaitFor(ports.clock, start, wait, [&] { return PackageFoldersThere(ports.files, state.runList); }));
    return {};
}

}  // namespace velmora
