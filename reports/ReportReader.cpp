#include "reports/ReportReader.h"

#include <charconv>
#include <unordered_set>

#include "reports/RunReport.h"

namespace velmora {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The first fields of a summary line into `fields` (the last takes the text only up to the next separator);
// how many the line has, `count` at most.
std::size_t SplitFields(std::string_view text, std::string_view* fields, std::size_t count) {
    const std::string_view separator = kSummarySeparator;
    std::size_t found = 0;
    while (found < count) {
        const std::size_t end = text.find(separator);
        fields[found++] = text.substr(0, end);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + separator.size());
    }
    return found;
}

// "2/3 name": the package's name.
std::string_view NameOf(std::string_view numberAndName) {
    const std::size_t space = numberAndName.find(' ');
    return space == std::string_view::npos ? std::string_view() : numberAndName.substr(space + 1);
}

// "2/3 name" into the package's number and name.
void SetNumberAndName(std::string_view text, ReportedPackage& package) {
    package.number = std::string(text.substr(0, text.find(' ')));
    package.name = std::string(NameOf(text));
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
    std::string_view russian;
    std::string_view english;
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

std::optional<std::string_view> After(std::string_view text, std::string_view russian,
                                      std::string_view english) {
    for (const std::string_view prefix : {russian, english}) {
        if (text.starts_with(prefix))
            return text.substr(prefix.size());
    }
    return std::nullopt;
}

void SetOldResult(std::string_view value, ReportedPackage& package) {
    package.result = PackageResult::Interrupted;
    if (value == "сценарий выполнен до конца" || value == "scenario played to the end") {
        package.result = PackageResult::Done;
        package.detail.clear();
    } else if (value == "пропущен" || value == "skipped") {
        package.detail = "skipped";
    } else if (value == "остановлен" || value == "stopped") {
        package.detail = "stopped";
    } else {
        package.result = PackageResult::Failed;
        package.detail = std::string(After(value, "ошибка: ", "failed: ").value_or(value));
    }
}

ReportedCode OldInstaller(std::string_view value) {
    // "3010 (restart required)" or "-1073741510"
    const std::size_t sign = value.starts_with('-') ? 1 : 0;
    const std::size_t end = std::min(value.find_first_not_of("0123456789", sign), value.size());
    if (end > sign)
        return ParseReportedCode(value.substr(0, end));
    if (value == "установщик ещё работает" || value == "the installer is still running")
        return {std::nullopt, "running"};
    if (value == "установщик и запущенные им процессы завершены" ||
        value == "the installer and the processes it started were ended")
        return {std::nullopt, "ended"};
    return {std::nullopt, "-"};
}

// "done", "failed window-not-found 3", "interrupted skipped"; a result it does not know is a failure whose
// detail is the whole field, so that nothing the report said is lost.
void SetResult(std::string_view field, ReportedPackage& package) {
    const std::size_t space = field.find(' ');
    const std::string_view word = field.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : field.substr(space + 1);
    package.result = word == "done"          ? PackageResult::Done
                     : word == "interrupted" ? PackageResult::Interrupted
                                             : PackageResult::Failed;
    package.detail = std::string(word == "done" || word == "interrupted" || word == "failed" ? rest : field);
}

class Reader {
  public:
    explicit Reader(const ReportLimits& limits) : limits_(limits) {}
    // False when the text cannot be read on: a format this reader does not know, or a limit passed.
    bool Line(std::string_view line);
    // The runs, without a package that was started and never ended.
    std::vector<ReportedRun> Finish();
    const std::string& Error() const { return error_; }

  private:
    bool StartRun();
    bool AddPackage(ReportedPackage package, std::string_view name);
    bool Fail(const std::string& error);
    void DropOpenPackage();
    bool Summary(std::string_view line);
    bool OldFormat(OldLine kind, std::string_view value);

    ReportLimits limits_;
    std::vector<ReportedRun> runs_;
    std::string error_;
    int format_ = 0;
    // Views into the text being read, which outlives the reader.
    std::unordered_set<std::string_view> names_;
    std::size_t packages_ = 0;
    bool openPackage_ = false;  // format 1: the last package has had no result yet
};

bool Reader::Fail(const std::string& error) {
    error_ = error;
    return false;
}

// A format 1 report names a package before its end; one that never ended is left out.
void Reader::DropOpenPackage() {
    if (openPackage_ && !runs_.empty() && !runs_.back().packages.empty()) {
        runs_.back().packages.pop_back();
        --packages_;
    }
    openPackage_ = false;
}

bool Reader::StartRun() {
    DropOpenPackage();
    if (runs_.size() >= limits_.runs)
        return Fail("more than " + std::to_string(limits_.runs) + " runs, which no real report holds");
    runs_.emplace_back();
    return true;
}

// `name` is the package's name as it stands in the text.
bool Reader::AddPackage(ReportedPackage package, std::string_view name) {
    std::vector<ReportedPackage>& packages = runs_.back().packages;
    if (packages.size() >= limits_.packagesPerRun)
        return Fail("a run of more than " + std::to_string(limits_.packagesPerRun) +
                    " packages, which no real run plays");
    if (packages_ >= limits_.packages)
        return Fail("more than " + std::to_string(limits_.packages) +
                    " packages, which no real report holds");
    names_.insert(name);
    if (names_.size() > limits_.names)
        return Fail("more than " + std::to_string(limits_.names) +
                    " package names, which no real report holds");
    packages.push_back(std::move(package));
    ++packages_;
    return true;
}

bool Reader::Line(std::string_view line) {
    if (line.starts_with(kReportFormatPrefix)) {
        const std::string_view version = line.substr(std::string_view(kReportFormatPrefix).size());
        if (version != std::to_string(kRunReportFormat)) {
            return Fail("report format \"" + std::string(version) +
                        "\", which this reader does not know (it reads 1 to " +
                        std::to_string(kRunReportFormat) + ")");
        }
        format_ = kRunReportFormat;
        return StartRun();
    }
    if (format_ == kRunReportFormat)
        return Summary(line);
    for (const OldText& old : kOldLines) {
        if (const std::optional<std::string_view> value = After(line, old.russian, old.english))
            return OldFormat(old.line, *value);
    }
    return true;
}

bool Reader::Summary(std::string_view line) {
    std::string_view fields[5];
    if (line.starts_with(kSummaryRun)) {
        SplitFields(line.substr(std::string_view(kSummaryRun).size()), fields, 3);
        runs_.back().computer = std::string(fields[0]);
        runs_.back().user = std::string(fields[1]);
        runs_.back().started = std::string(fields[2]);
    } else if (line.starts_with(kSummaryEnd)) {
        runs_.back().exitCode = ParseReportedCode(line.substr(std::string_view(kSummaryEnd).size()));
    } else if (line.starts_with(kSummaryPackage)) {
        if (SplitFields(line.substr(std::string_view(kSummaryPackage).size()), fields, 5) < 4)
            return true;
        ReportedPackage package;
        SetNumberAndName(fields[0], package);
        SetResult(fields[1], package);
        package.installer = ParseReportedCode(fields[2]);
        package.duration = std::string(fields[3]);
        package.screenshot = std::string(fields[4]);
        // A skip or stop that marks the package again writes its summary again.
        std::vector<ReportedPackage>& packages = runs_.back().packages;
        if (!packages.empty() && packages.back().number == package.number) {
            packages.back() = std::move(package);
            return true;
        }
        return AddPackage(std::move(package), NameOf(fields[0]));
    }
    return true;
}

bool Reader::OldFormat(OldLine kind, std::string_view value) {
    if (kind == OldLine::Head) {
        format_ = 1;
        return StartRun();
    }
    if (runs_.empty())
        return true;
    ReportedRun& run = runs_.back();
    if (kind == OldLine::Package) {
        DropOpenPackage();
        ReportedPackage package;
        SetNumberAndName(value, package);
        openPackage_ = true;
        return AddPackage(std::move(package), NameOf(value));
    }
    if (kind == OldLine::Computer)
        run.computer = std::string(value);
    else if (kind == OldLine::User)
        run.user = std::string(value);
    else if (kind == OldLine::Started)
        run.started = std::string(value);
    else if (kind == OldLine::RunExit)
        run.exitCode = ParseReportedCode(value);
    if (run.packages.empty())
        return true;
    ReportedPackage& package = run.packages.back();
    if (kind == OldLine::Result) {
        SetOldResult(value, package);
        openPackage_ = false;
    } else if (kind == OldLine::Screenshot) {
        package.screenshot = std::string(value);
    } else if (kind == OldLine::Installer) {
        package.installer = OldInstaller(value);
    } else if (kind == OldLine::Duration) {
        package.duration = std::string(value);
    }
    return true;
}

std::vector<ReportedRun> Reader::Finish() {
    DropOpenPackage();
    return std::move(runs_);
}

}  // namespace

ReportedCode ParseReportedCode(std::string_view text) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty())
        return {number, {}};
    return {std::nullopt, std::string(text)};
}

std::optional<std::vector<ReportedRun>> ReadRunReport(std::string_view text, std::string& error,
                                                      const ReportLimits& limits) {
    if (text.size() > limits.bytes) {
        const bool megabytes = limits.bytes % (1u << 20) == 0;
        error = "larger than " + std::to_string(megabytes ? limits.bytes >> 20 : limits.bytes) +
                (megabytes ? " MB" : " bytes") + ", which no real report grows to";
        return std::nullopt;
    }
    Reader reader(limits);
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    while (true) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!reader.Line(line)) {
            error = reader.Error();
            return std::nullopt;
        }
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    std::vector<ReportedRun> runs = reader.Finish();
    if (runs.empty()) {
        error =
            "not a run report (one without a \"velmora-run-report\" line is read only in Russian or English)";
        return std::nullopt;
    }
    return runs;
}

}  // namespace velmora
