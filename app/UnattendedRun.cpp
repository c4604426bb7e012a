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

std::optional<NoDesktop> WhyNoDesktop(const DesktopFacts& facts) {
    if (facts.sessionId == 0u)
        return NoDesktop::Service;
    if (!facts.windowStationVisible)
        return NoDesktop::HiddenWindowStation;
    if (facts.connection == SessionConnection::Disconnected)
        return NoDesktop::Disconnected;
    if (!facts.inputDesktop)
        return NoDesktop::Locked;
    if (!EqualsNoCase(*facts.inputDesktop, "Default"))
        return NoDesktop::OtherDesktop;
    return std::nullopt;
}

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

std::string InstanceHeldText(const Language& language) {
    return language.LangText("работает другой экземпляр программы; этот ничего не установил", kSection, 56);
}

int RefuseRun(RunReport& report, const SharedState& state, const std::string& reportFolder,
              const std::string& reason, int exitCode) {
    report.Begin(state.reportLog, reportFolder, ProgramVersionText());
    report.Refused(reason);
    report.End(exitCode);
    return exitCode;
}

std::optional<ResumeRefusal> TakeResumeRecord(const ResumePorts& ports, SharedState& state) {
    ResumeCheck check = ReadResumeRecord(ports.files, ports.system, ports.clock);
    // Gone whatever the record held: nothing starts the program again for it, and a refused record would be
    // refused again.
    static_cast<void>(ports.tasks.Remove(kResumeTaskName));
    static_cast<void>(ports.files.Remove(ResumeRecordPath(ports.system)));
    if (!check.record)
        return check.refusal;
    ResumeRecord& record = *check.record;
    state.runList = std::move(record.packages);
    state.currentScenario = state.runList.front();
    state.reportLog = record.report;
    state.noStatistics = !record.statistics;
    state.resumed = ResumedRun{record.restarts, record.packagesDone, record.exitCode, record.speed,
                               record.timeoutMinutes};
    return std::nullopt;
}

std::string ResumeRefusalText(ResumeRefusal why, const std::string& recordPath, const Language& language) {
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
    }
    std::string text = Format(language, "Прогон нельзя продолжить после перезагрузки: %s", 49, reason);
    if (why != ResumeRefusal::Missing)
        text += "\r\n" + Format(language, "Он удалён: %s", 54, recordPath);
    return text;
}

ResumeStart StartResumedRun(const ResumePorts& ports, const DesktopFacts& facts, const Language& language,
                            SharedState& state) {
    // The record is left for a logon where the run can be played; its task starts the program again then.
    if (WhyNoDesktop(facts))
        return {kNoDesktopExitCode, {}};
    if (const std::optional<ResumeRefusal> why = TakeResumeRecord(ports, state))
        return {kNoResumeExitCode, ResumeRefusalText(*why, ResumeRecordPath(ports.system), language)};
    return {};
}

}  // namespace velmora
