#include "reports/PackageRecord.h"

#include <algorithm>

#include "base/Utilities.h"

namespace velmora {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian), valid for any year.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t SecondsOf(const LocalTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + std::int64_t{t.hour} * 3600 +
           std::int64_t{t.minute} * 60 + t.second;
}

}  // namespace

std::uint8_t ResultOf(PackageEnd end) {
    switch (end) {
        case PackageEnd::Played:
            return kStatDone;
        case PackageEnd::Skipped:
        case PackageEnd::Stopped:
            return kStatInterrupted;
        default:
            return kStatFailed;
    }
}

bool IsRestartCode(int exitCode) {
    return exitCode == 3010 || exitCode == 1641;
}

int CombineExitCodes(int first, int second) {
    for (const int worse : {2, 1, kRestartRunExitCode}) {
        if (first == worse || second == worse)
            return worse;
    }
    return 0;
}

std::string PadTwo(std::int32_t n) {
    std::string text = std::to_string(n);
    return text.size() == 2 ? text : "0" + text;
}

std::string FormatDuration(std::int64_t seconds) {
    if (seconds < 0)
        seconds = 0;
    const std::int64_t hours = seconds / 3600;
    const auto minutes = static_cast<std::int32_t>((seconds / 60) % 60);
    const auto secs = static_cast<std::int32_t>(seconds % 60);
    return std::to_string(hours) + ":" + PadTwo(minutes) + ":" + PadTwo(secs);
}

std::int64_t SecondsBetween(const LocalTime& from, const LocalTime& to) {
    return std::max<std::int64_t>(0, SecondsOf(to) - SecondsOf(from));
}

std::string OutcomeText(const PackageRecord& record, const Language& language) {
    const std::string step = std::to_string(record.step);
    if (record.end == PackageEnd::WindowNotFound)
        return language.LangTextFormat("окно не найдено, шаг " + step, "Statistic", 5, step);
    if (record.end == PackageEnd::WindowCovered)
        return language.LangTextFormat("окно закрыто другим окном, шаг " + step, "Statistic", 8, step);
    if (record.end == PackageEnd::WindowDisabled)
        return language.LangTextFormat("окно недоступно, шаг " + step, "Statistic", 9, step);
    // An installer the player ended after a time-out has the code it was ended with, which says nothing.
    if (record.installer != InstallerEnd::Exited || !record.installerExitCode ||
        *record.installerExitCode == 0)
        return {};
    if (IsRestartCode(*record.installerExitCode))
        return language.LangText("требуется перезагрузка", "Statistic", 6);
    const std::string code = std::to_string(*record.installerExitCode);
    return language.LangTextFormat("код выхода " + code, "Statistic", 7, code);
}

std::string AwaitedText(const PackageRecord& record, const Language& language) {
    if (record.awaited.empty() ||
        (record.end != PackageEnd::WindowNotFound && record.end != PackageEnd::WindowCovered &&
         record.end != PackageEnd::WindowDisabled))
        return {};
    return language.LangTextFormat(FormatPercentS("ожидаемое окно: %s", record.awaited), "Report", 33,
                                   record.awaited);
}

}  // namespace velmora
