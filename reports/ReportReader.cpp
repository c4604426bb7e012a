#include "reports/ReportReader.h"

#include <algorithm>

#include "reports/RunReport.h"

namespace velmora {
namespace {

constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find(separator, at)) != std::string::npos; at = end + separator.size())
        parts.push_back(text.substr(at, end - at));
    parts.push_back(text.substr(at));
    return parts;
}

// "2/3 name" into the package's number and name.
void SetNumberAndName(const std::string& text, ReportedPackage& package) {
    const std::size_t space = text.find(' ');
    package.number = text.substr(0, space);
    package.name = space == std::string::npos ? std::string() : text.substr(space + 1);
}

// Format 1's lines in the texts those reports were written in, the built-in Russian and the shipped English.
// They are a record of what was written then, so later changes to either language leave them alone.
enum class OldLine {
    Head,
    Computer,
    User,
    Started,
    Package,
    Result,
    Screenshot,
    Installer,
    Duration,
    RunExit
};
struct OldText {
    OldLine line;
    const char* russian;
    const char* english;
};
constexpr OldText kOldLines[] = {
    {OldLine::Head, "Отчёт Velmora Runwright, версия ", "Velmora Runwright run report, version "},
    {OldLine::Computer, "Компьютер: ", "Computer: "},
    {OldLine::User, "Пользователь: ", "User: "},
    {OldLine::Started, "Начало: ", "Started: "},
    {OldLine::Package, "Пакет ", "Package "},
    {OldLine::Result, "Результат: ", "Result: "},
    {OldLine::Screenshot, "Снимок экрана: ", "Screenshot: "},
    {OldLine::Installer, "Код выхода установщика: ", "Installer exit code: "},
    {OldLine::Duration, "Длительность: ", "Duration: "},
    {OldLine::RunExit, "Код завершения: ", "Run exit code: "},
};

std::optional<std::string> After(const std::string& text, const char* russian, const char* english) {
    for (const std::string prefix : {russian, english}) {
        if (text.starts_with(prefix))
            return text.substr(prefix.size());
    }
    return std::nullopt;
}

void SetOldResult(const std::string& value, ReportedPackage& package) {
    package.result = "interrupted";
    if (value == "сценарий выполнен до конца" || value == "scenario played to the end") {
        package.result = "done";
        package.detail.clear();
    } else if (value == "пропущен" || value == "skipped") {
        package.detail = "skipped";
    } else if (value == "остановлен" || value == "stopped") {
        package.detail = "stopped";
    } else {
        package.result = "failed";
        package.detail = After(value, "ошибка: ", "failed: ").value_or(value);
    }
}

std::string OldInstaller(const std::string& value) {
    // "3010 (restart required)" or "-1073741510"
    const std::size_t sign = value.starts_with('-') ? 1 : 0;
    const std::size_t end = std::min(value.find_first_not_of("0123456789", sign), value.size());
    if (end > sign)
        return value.substr(0, end);
    if (value == "установщик ещё работает" || value == "the installer is still running")
        return "running";
    if (value == "установщик и запущенные им процессы завершены" ||
        value == "the installer and the processes it started were ended")
        return "ended";
    return "-";
}

class Reader {
  public:
    // False when the text cannot be read on: a format this reader does not know.
    bool Line(const std::string& line, std::string& error);
    std::vector<ReportedRun> runs;

  private:
    void Summary(const std::string& line);
    void OldFormat(OldLine kind, const std::string& value);
    int format_ = 0;
};

bool Reader::Line(const std::string& line, std::string& error) {
    if (line.starts_with(kReportFormatPrefix)) {
        const std::string version = line.substr(std::string(kReportFormatPrefix).size());
        if (version != std::to_string(kRunReportFormat)) {
            error = "report format \"" + version + "\", which this reader does not know (it reads 1 to " +
                    std::to_string(kRunReportFormat) + ")";
            return false;
        }
        format_ = kRunReportFormat;
        runs.emplace_back();
        return true;
    }
    if (format_ == kRunReportFormat) {
        Summary(line);
        return true;
    }
    for (const OldText& old : kOldLines) {
        if (const std::optional<std::string> value = After(line, old.russian, old.english)) {
            OldFormat(old.line, *value);
            break;
        }
    }
    return true;
}

void Reader::Summary(const std::string& line) {
    if (line.starts_with(kSummaryRun)) {
        std::vector<std::string> fields =
            Split(line.substr(std::string(kSummaryRun).size()), kSummarySeparator);
        fields.resize(3);
        runs.back().computer = fields[0];
        runs.back().user = fields[1];
        runs.back().started = fields[2];
    } else if (line.starts_with(kSummaryEnd)) {
        runs.back().exitCode = line.substr(std::string(kSummaryEnd).size());
    } else if (line.starts_with(kSummaryPackage)) {
        std::vector<std::string> fields =
            Split(line.substr(std::string(kSummaryPackage).size()), kSummarySeparator);
        if (fields.size() < 4)
            return;
        fields.resize(5);
        ReportedPackage package;
        SetNumberAndName(fields[0], package);
        const std::size_t space = fields[1].find(' ');
        package.result = fields[1].substr(0, space);
        package.detail = space == std::string::npos ? std::string() : fields[1].substr(space + 1);
        package.installer = fields[2];
        package.duration = fields[3];
        package.screenshot = fields[4];
        // A skip or stop that marks the package again writes its summary again.
        std::vector<ReportedPackage>& packages = runs.back().packages;
        if (!packages.empty() && packages.back().number == package.number)
            packages.back() = package;
        else
            packages.push_back(package);
    }
}

void Reader::OldFormat(OldLine kind, const std::string& value) {
    if (kind == OldLine::Head) {
        format_ = 1;
        runs.emplace_back();
        return;
    }
    if (runs.empty())
        return;
    ReportedRun& run = runs.back();
    if (kind == OldLine::Package) {
        run.packages.emplace_back();
        SetNumberAndName(value, run.packages.back());
        return;
    }
    ReportedPackage* package = run.packages.empty() ? nullptr : &run.packages.back();
    switch (kind) {
        case OldLine::Computer:
            run.computer = value;
            break;
        case OldLine::User:
            run.user = value;
            break;
        case OldLine::Started:
            run.started = value;
            break;
        case OldLine::RunExit:
            run.exitCode = value;
            break;
        default:
            break;
    }
    if (package == nullptr)
        return;
    if (kind == OldLine::Result)
        SetOldResult(value, *package);
    else if (kind == OldLine::Screenshot)
        package->screenshot = value;
    else if (kind == OldLine::Installer)
        package->installer = OldInstaller(value);
    else if (kind == OldLine::Duration)
        package->duration = value;
}

}  // namespace

std::optional<std::vector<ReportedRun>> ReadRunReport(const std::string& text, std::string& error) {
    Reader reader;
    const std::size_t start = text.starts_with(kUtf8Bom) ? 3 : 0;
    for (std::string line : Split(text.substr(start), "\n")) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!reader.Line(line, error))
            return std::nullopt;
    }
    if (reader.runs.empty()) {
        error =
            "not a run report (one without a \"velmora-run-report\" line is read only in Russian or English)";
        return std::nullopt;
    }
    // A package the report started but never ended (format 1 names it before its end) is left out.
    for (ReportedRun& run : reader.runs)
        std::erase_if(run.packages, [](const ReportedPackage& package) { return package.result.empty(); });
    return reader.runs;
}

}  // namespace velmora
