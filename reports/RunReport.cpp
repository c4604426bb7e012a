#include "reports/RunReport.h"

#include "base/Utilities.h"

namespace velmora {

namespace {

constexpr const char* kSection = "Report";
constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

std::string FolderWithSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

// The package's result as the summary line gives it: the result, then why, in words no translation touches.
std::string SummaryResult(const PackageRecord& record) {
    const std::string step = std::to_string(record.step);
    switch (record.end) {
        case PackageEnd::Played:
            return "done";
        case PackageEnd::Skipped:
            return "interrupted skipped";
        case PackageEnd::Stopped:
            return "interrupted stopped";
        case PackageEnd::ScenarioUnreadable:
            return "failed scenario-unreadable";
        case PackageEnd::InstallerMissing:
            return "failed installer-missing";
        case PackageEnd::InstallerNotStarted:
            return "failed installer-not-started";
        case PackageEnd::Damaged:
            return "failed damaged";
        case PackageEnd::Changed:
            return "failed changed";
        case PackageEnd::WindowNotFound:
            return std::string("failed window-not-found ").append(step);
        case PackageEnd::WindowCovered:
            return std::string("failed window-covered ").append(step);
        case PackageEnd::WindowDisabled:
            return std::string("failed window-disabled ").append(step);
    }
    return "failed";
}

// Its exit code, "running", "ended" (by the player, after a time-out) or "-" (never started, or unknown).
std::string SummaryInstaller(const PackageRecord& record) {
    switch (record.installer) {
        case InstallerEnd::Exited:
            return record.installerExitCode ? std::to_string(*record.installerExitCode) : "-";
        case InstallerEnd::StillRunning:
            return "running";
        case InstallerEnd::EndedAfterTimeOut:
            return "ended";
        case InstallerEnd::NotStarted:
            break;
    }
    return "-";
}

}  // namespace

std::string ReportTime(const LocalTime& time) {
    return std::to_string(time.year) + "-" + PadTwo(time.month) + "-" + PadTwo(time.day) + " " +
           PadTwo(time.hour) + ":" + PadTwo(time.minute) + ":" + PadTwo(time.second);
}

std::string ReportPathFor(const std::string& logPath, const std::string& reportFolder,
                          const LocalTime& start) {
    if (!Trim(logPath).empty())
        return Trim(logPath);
    if (Trim(reportFolder).empty())
        return {};
    return FolderWithSlash(Trim(reportFolder)) + "velmora-" + std::to_string(start.year) + "-" +
           PadTwo(start.month) + "-" + PadTwo(start.day) + "-" + PadTwo(start.hour) + PadTwo(start.minute) +
           PadTwo(start.second) + ".txt";
}

std::string RunReport::Text(const char* def, int key) const {
    return p_.language.LangText(def, kSection, key);
}

std::string RunReport::Format(const char* def, int key, const std::string& value) const {
    return p_.language.LangTextFormat(FormatPercentS(def, value), kSection, key, value);
}

void RunReport::Write(const std::string& line) {
    if (path_.empty())
        return;
    if (!p_.files.Append(path_, line + "\r\n"))
        failed_ = true;
}

void RunReport::Begin(const std::string& logPath, const std::string& reportFolder,
                      const std::string& version) {
    const LocalTime start = p_.clock.Now();
    path_ = ReportPathFor(logPath, reportFolder, start);
    failed_ = false;
    if (path_.empty())
        return;
    // Notepad of older Windows reads a file without the mark in the ANSI code page.
    const std::optional<std::string> before = p_.files.ReadAll(path_);
    if (!before || before->empty())
        failed_ = !p_.files.Append(path_, kUtf8Bom);
    else
        Write("");
    const std::string computer = p_.system.ComputerName().value_or("?");
    const std::string user = p_.system.UserName().value_or("?");
    Write(kRunReportFormatLine);
    Write(Format("Отчёт Velmora Runwright, версия %s", 1, version));
    Write(Format("Компьютер: %s", 2, computer));
    Write(Format("Пользователь: %s", 3, user));
    Write(Format("Начало: %s", 4, ReportTime(start)));
    Write(kSummaryRun + computer + kSummarySeparator + user + kSummarySeparator + ReportTime(start));
}

void RunReport::Resume(const std::string& path) {
    path_ = path;
    failed_ = false;
    // The report of the run before the restart may be gone, or never have been: this one starts it anew.
    const std::optional<std::string> before = path_.empty() ? std::nullopt : p_.files.ReadAll(path_);
    if (!path_.empty() && (!before || before->empty()))
        failed_ = !p_.files.Append(path_, kUtf8Bom);
    Write("");
    Write(Format("Продолжено после перезагрузки: %s", 35, ReportTime(p_.clock.Now())));
}

void RunReport::RestartPrepared() {
    Write("");
    Write(Text("Перезагрузка Windows: прогон продолжится при следующем входе в систему", 36));
}

void RunReport::RestartCancelled() {
    Write(Text("Перезагрузка отменена", 37));
}

void RunReport::RestartNotDone(RestartNotMade why, int limit) {
    std::string reason;
    switch (why) {
        case RestartNotMade::RecordNotWritten:
            reason = Text("не удалось записать файл продолжения", 39);
            break;
        case RestartNotMade::TaskNotRegistered:
            reason = Text("не удалось зарегистрировать задание продолжения", 40);
            break;
        case RestartNotMade::Refused:
            reason = Text("Windows отказала в перезагрузке", 41);
            break;
        case RestartNotMade::Limit:
            reason = Format("прогон уже сделал перезагрузок: %s", 42, std::to_string(limit));
            break;
        case RestartNotMade::FolderNotProtected:
            reason =
                Text("нет папки для файла продолжения, которую могут изменить только администраторы", 64);
            break;
        case RestartNotMade::ProgramNotProtected:
            reason = Text(
                "не удалось скопировать программу туда, где её могут изменить только администраторы", 63);
            break;
    }
    Write(Format("Перезагрузка не выполнена: %s", 38, reason));
}

void RunReport::FolderMovedAside(const std::string& path) {
    Write(Format("Папка, которую могли изменить не только администраторы, переименована: %s", 66, path));
}

void RunReport::PackageChanged(PackageChange why, const std::string& installer) {
    std::string reason;
    switch (why) {
        case PackageChange::ScenarioChanged:
            reason = Text("сценарий изменён после того, как была запланирована перезагрузка", 57);
            break;
        case PackageChange::ScenarioGone:
            reason = Text("сценария больше нет", 58);
            break;
        case PackageChange::InstallerChanged:
            reason = Format("установщик изменён после того, как была запланирована перезагрузка: %s", 59,
                            installer);
            break;
        case PackageChange::InstallerGone:
            reason = Format("установщика больше нет: %s", 60, installer);
            break;
    }
    Write(Format("Не выполнен: %s", 56, reason));
}

void RunReport::ResumeNotCleared(const std::string& what) {
    Write(Format("Не удалось удалить файл или задание продолжения: %s", 65, what));
}

void RunReport::Refused(const std::string& reason) {
    Write("");
    Write(Format("Результат: %s", 14, Format("ошибка: %s", 16, reason)));
}

void RunReport::WriteSummary(const PackageRecord& record) {
    std::string line = kSummaryPackage + package_ + kSummarySeparator + SummaryResult(record) +
                       kSummarySeparator + SummaryInstaller(record) + kSummarySeparator + record.duration;
    if (!screenshot_.empty())
        line += kSummarySeparator + screenshot_;
    Write(line);
    summarized_ = true;
}

void RunReport::PackageStarted(std::size_t number, std::size_t count, const std::string& scenario) {
    package_ = std::to_string(number) + "/" + std::to_string(count) + " " + FileTitleNoExt(scenario);
    screenshot_.clear();
    summarized_ = false;
    Write("");
    Write(Format("Пакет %s", 5, package_));
    Write(Format("Сценарий: %s", 6, scenario));
}

void RunReport::InstallerStarting(const std::string& installer, const std::string& commandLine) {
    Write(Format("Установщик: %s", 7, installer));
    Write(Format("Командная строка: %s", 8, commandLine));
}

void RunReport::StepPlayed(std::int64_t step, const std::string& windowClass, const std::string& caption,
                           bool pressed, bool byMessages, std::size_t textChars, std::int64_t waitedMs) {
    const std::string head = Format("Шаг %s:", 9, std::to_string(step)) + " ";
    if (waitedMs > kLongWaitMs)
        Write(head + Format("окна ждали %s", 13, FormatDuration(waitedMs / 1000)));
    std::string line = head + Text("окно найдено", 10) + " (" + windowClass;
    if (!caption.empty())
        line += " \"" + caption + "\"";
    line += ")";
    if (pressed)
        line += ", " + (byMessages ? Text("нажатие воспроизведено сообщениями окну", 70)
                                   : Text("нажатие воспроизведено мышью", 11));
    if (textChars > 0)
        line += ", " + Format("вставлен текст, символов: %s", 12, std::to_string(textChars));
    Write(line);
}

void RunReport::InputRefused(std::int64_t step) {
    Write(Format("Шаг %s:", 9, std::to_string(step)) + " " +
          Text("система не приняла нажатие (компьютер заблокирован или ввод идёт на другой рабочий стол), "
               "шаг ждёт",
               68));
}

void RunReport::WindowNotReady(std::int64_t step) {
    Write(Format("Шаг %s:", 9, std::to_string(step)) + " " +
          Text("окно или окно над ним скрыто либо недоступно, шаг ждёт", 71));
}

void RunReport::CaptionDiffered(std::int64_t step, const std::string& stored, const std::string& shown) {
    // Two values: the first "%s" is the caption shown, the next the one recorded.
    const std::string text = Text("окно \"%s\" принято несмотря на другой заголовок; записан: \"%s\"", 34);
    const std::size_t at = FindNoCase(text, "%s");
    const std::string line = at == std::string::npos
                                 ? text
                                 : text.substr(0, at) + shown + FormatPercentS(text.substr(at + 2), stored);
    Write(Format("Шаг %s:", 9, std::to_string(step)) + " " + line);
}

void RunReport::WindowOutsideInstaller(std::int64_t step) {
    Write(Format("Шаг %s:", 9, std::to_string(step)) + " " +
          Text("окно принадлежит не установщику пакета и не запущенным им процессам", 67));
}

std::string RunReport::ScreenshotPath(std::size_t package, std::int64_t step) const {
    if (path_.empty())
        return {};
    std::string base = path_;
    const std::size_t slash = base.find_last_of("\\/");
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        base.erase(dot);
    return base + "-" + std::to_string(package) + "-step" + std::to_string(step) + ".png";
}

void RunReport::ScreenshotKept(const std::string& path) {
    screenshot_ = path;
    Write(Format("Снимок экрана: %s", 27, path));
}

void RunReport::PackageEnded(const PackageRecord& record) {
    std::string reason;
    switch (record.end) {
        case PackageEnd::Played:
            reason = Text("сценарий выполнен до конца", 15);
            break;
        case PackageEnd::Skipped:
            reason = Text("пропущен", 21);
            break;
        case PackageEnd::Stopped:
            reason = Text("остановлен", 22);
            break;
        case PackageEnd::ScenarioUnreadable:
            reason = Text("сценарий не прочитан", 17);
            break;
        case PackageEnd::InstallerMissing:
            reason = Text("установщик не найден", 18);
            break;
        case PackageEnd::InstallerNotStarted:
            reason = Text("установщик не запустился", 19);
            break;
        case PackageEnd::Damaged:
            reason = Text("сценарий повреждён", 20);
            break;
        case PackageEnd::Changed:
            reason = Text("изменён после того, как была запланирована перезагрузка", 55);
            break;
        case PackageEnd::WindowNotFound:
        case PackageEnd::WindowCovered:
        case PackageEnd::WindowDisabled:
            reason = OutcomeText(record, p_.language);
            if (!record.awaited.empty())
                reason += ", " + AwaitedText(record, p_.language);
            break;
    }
    if (record.result == kStatFailed)
        reason = Format("ошибка: %s", 16, reason);
    Write(Format("Результат: %s", 14, reason));
    if (summarized_)
        WriteSummary(record);
}

void RunReport::InstallerEnded(const PackageRecord& record) {
    std::string code;
    if (record.installer == InstallerEnd::Exited && record.installerExitCode) {
        code = std::to_string(*record.installerExitCode);
        if (IsRestartCode(*record.installerExitCode))
            code += " (" + p_.language.LangText("требуется перезагрузка", "Statistic", 6) + ")";
    } else if (record.installer == InstallerEnd::StillRunning) {
        code = Text("установщик ещё работает", 24);
    } else if (record.installer == InstallerEnd::EndedAfterTimeOut) {
        code = Text("установщик и запущенные им процессы завершены", 25);
    }
    if (!code.empty())
        Write(Format("Код выхода установщика: %s", 23, code));
    Write(Format("Длительность: %s", 26, record.duration));
    WriteSummary(record);
}

void RunReport::End(int exitCode) {
    Write("");
    Write(Format("Конец: %s", 28, ReportTime(p_.clock.Now())));
    Write(Format("Код завершения: %s", 29, std::to_string(exitCode)));
    Write(kSummaryEnd + std::to_string(exitCode));
}

}  // namespace velmora
