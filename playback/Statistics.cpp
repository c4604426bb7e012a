#include "playback/Statistics.h"

#include <algorithm>

#include "base/Utilities.h"

namespace velmora {

namespace {

// The first `chars` characters of a UTF-8 text.
std::string FirstChars(const std::string& utf8, std::size_t chars) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (seen == chars)
                return utf8.substr(0, i);
            ++seen;
        }
    }
    return utf8;
}

const char* StatusText(std::uint8_t result) {
    switch (result) {
        case kStatInterrupted:
            return "MB";
        case kStatDone:
            return "\xD0\x9E\xD0\x9A";  // "ОК" in Cyrillic letters, as the list has always shown it
        default:
            return "NO";
    }
}

constexpr std::size_t kMaxNameWidth = 30;
constexpr std::size_t kCutNameChars = 27;

std::string TotalOf(const std::vector<PackageRecord>& records) {
    if (records.empty())
        return {};
    std::int64_t total = 0;
    for (const PackageRecord& record : records)
        total += SecondsBetween(record.startTime, record.endTime);
    return FormatDuration(total);
}

std::string TotalText(const std::string& total, const Language& language) {
    return language.LangTextAffix("Общее время установки", "Statistic", 3, false, " -") + " " + total;
}

}  // namespace

void Statistics::Reset() {
    records.clear();
    earlierExitCode.reset();
}

void Statistics::StartPackage(const std::string& packageName) {
    PackageRecord info;
    info.packageName = packageName;
    info.startTime = clock_.Now();
    records.push_back(info);
}

void Statistics::EndPackage(PackageEnd end, std::int64_t step, const std::string& awaited) {
    // Nothing was started (a stop before the first package): there is nothing to end.
    if (records.empty())
        return;
    PackageRecord& last = records.back();
    last.result = ResultOf(end);
    last.end = end;
    last.step = step;
    last.awaited = awaited;
    last.endTime = clock_.Now();
    last.duration = FormatDuration(SecondsBetween(last.startTime, last.endTime));
}

void Statistics::SetInstallerEnd(InstallerEnd end, std::optional<int> exitCode) {
    if (records.empty())
        return;
    records.back().installer = end;
    records.back().installerExitCode = exitCode;
}

std::string Statistics::TotalTime() const {
    return TotalOf(records);
}

int Statistics::ExitCode() const {
    int code = records.empty() ? 1 : 0;
    for (const PackageRecord& record : records) {
        if (record.result == kStatFailed)
            code = CombineExitCodes(code, 2);
        else if (record.result != kStatDone)
            code = CombineExitCodes(code, 1);
        else if (record.installer == InstallerEnd::Exited && record.installerExitCode &&
                 IsRestartCode(*record.installerExitCode))
            code = CombineExitCodes(code, kRestartRunExitCode);
    }
    return earlierExitCode ? CombineExitCodes(*earlierExitCode, code) : code;
}

std::vector<std::string> StatisticsLines(const std::vector<PackageRecord>& records, const Language& language,
                                         const TimeOfDayFormatter& timeOfDay) {
    std::vector<std::string> lines;
    if (records.empty())
        return lines;
    std::size_t width = 0;
    for (const PackageRecord& record : records)
        width = std::max(width, CharCount(record.packageName));
    width = std::min(width, kMaxNameWidth);

    for (std::size_t i = 0; i < records.size(); ++i) {
        const PackageRecord& info = records[i];
        std::string name = info.packageName;
        const std::size_t chars = CharCount(name);
        if (chars <= kMaxNameWidth)
            name.append(width - chars, ' ');
        else
            name = FirstChars(name, kCutNameChars) + "...";
        const std::size_t number = i + 1;  // the user counts from 1
        std::string line = std::to_string(number) + (number < 10 ? "   " : "  ");
        line += StatusText(info.result);
        line += "  " + name + "  " + info.duration + "  " + timeOfDay(info.startTime) + "  " +
                timeOfDay(info.endTime);
        const std::string outcome = OutcomeText(info, language);
        if (!outcome.empty())
            line += "  " + outcome;
        lines.push_back(std::move(line));
    }
    lines.emplace_back();
    lines.push_back(TotalText(TotalOf(records), language));
    return lines;
}

std::string TotalLine(const Statistics& stats, const Language& language) {
    return TotalText(stats.TotalTime(), language);
}

std::string CountdownText(const Language& language, int seconds) {
    const std::string number = std::to_string(seconds);
    return language.LangTextFormat("Автоматическое завершение программы через " + number + " сек",
                                   "Statistic", 4, number);
}

void StatisticsWindowModel::Load(const TimeOfDayFormatter& timeOfDay) {
    secondsLeft = kCountdownSeconds;
    lines = StatisticsLines(stats_.records, language_, timeOfDay);
    tips.assign(lines.size(), std::string{});
    for (std::size_t i = 0; i < stats_.records.size() && i < tips.size(); ++i)
        tips[i] = AwaitedText(stats_.records[i], language_);
    caption = language_.LangText("Статистика", "Statistic", 1);
    closeCaption = language_.LangText("Закрыть", "Statistic", 2);
    exitCode = stats_.ExitCode();
    countdownVisible = directRun_;
    timerEnabled = directRun_;
    countdownLine = directRun_ ? CountdownText(language_, secondsLeft) : std::string{};
    reportPath.clear();
    openReportCaption.clear();
    if (reportPath_.empty())
        return;
    if (reportFailed_) {
        lines.push_back(language_.LangTextFormat(FormatPercentS("Отчёт не удалось записать: %s", reportPath_),
                                                 "Report", 31, reportPath_));
        return;
    }
    reportPath = reportPath_;
    openReportCaption = language_.LangText("Открыть отчёт", "Report", 30);
}

bool StatisticsWindowModel::Tick() {
    if (!timerEnabled)
        return false;
    const int before = secondsLeft--;
    if (before <= 1) {
        timerEnabled = false;
        return true;
    }
    countdownLine = CountdownText(language_, secondsLeft);
    return false;
}

bool StatisticsWindowModel::CloseClicked() {
    stats_.Reset();
    return directRun_;
}

}  // namespace velmora
