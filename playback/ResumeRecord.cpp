#include "playback/ResumeRecord.h"

#include <charconv>

#include "base/Utilities.h"
#include "platform/SystemInfo.h"
#include "reports/RunReport.h"

namespace velmora {
namespace {

constexpr const char* kFirstLine = "velmora-resume 2";
constexpr std::size_t kLargestRecord = 1 << 20;
constexpr int kLongestTimeout = 1440;
constexpr std::size_t kMostPackages = 100000;

// Splits whole CR LF lines; nothing when the text does not end with one.
std::optional<std::vector<std::string_view>> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        if (end == std::string_view::npos)
            return std::nullopt;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    return lines;
}

// Reads the lines in order, each "key value"; any deviation is remembered and spoils the whole record.
class Reader {
  public:
    explicit Reader(std::vector<std::string_view> lines) : lines_(std::move(lines)) {}
    bool ok() const { return ok_; }
    bool AtEnd() const { return at_ == lines_.size(); }
    std::string_view Value(std::string_view key) {
        if (!ok_ || at_ >= lines_.size() || !lines_[at_].starts_with(key) ||
            lines_[at_].size() <= key.size() || lines_[at_][key.size()] != ' ') {
            ok_ = false;
            return {};
        }
        const std::string_view value = lines_[at_++].substr(key.size() + 1);
        for (const char c : value) {
            if (static_cast<unsigned char>(c) < 0x20)
                ok_ = false;
        }
        return value;
    }
    // An empty value keeps its blank: "report " for a run without a report.
    std::string_view OptionalValue(std::string_view key) {
        if (ok_ && at_ < lines_.size() && lines_[at_] == std::string(key) + " ") {
            ++at_;
            return {};
        }
        return Value(key);
    }
    long long Number(std::string_view key, long long least, long long most) {
        const std::string_view text = Value(key);
        long long n = -1;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (text.empty() || text.front() == '-' || error != std::errc{} || end != text.data() + text.size() ||
            n < least || n > most)
            ok_ = false;
        return n;
    }

  private:
    std::vector<std::string_view> lines_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

bool IsSid(std::string_view text) {
    return text.starts_with("S-1-") && text.find_first_not_of("S0123456789-") == std::string_view::npos;
}

// "C:\..." or "\\server\...".
bool IsFullPath(std::string_view path) {
    const bool drive =
        path.size() > 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path.substr(1, 2) == ":\\";
    return drive || (path.size() > 2 && path.starts_with("\\\\"));
}

// 64 lower-case hex digits, or "-" for a file that was not there.
bool IsFingerprint(std::string_view text) {
    return text == "-" ||
           (text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos);
}

std::optional<LocalTime> ParseTime(std::string_view text) {
    // "2026-12-06 21:47:55", as the report writes its times.
    if (text.size() != 19)
        return std::nullopt;
    LocalTime t;
    int* const fields[] = {&t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second};
    const std::size_t starts[] = {0, 5, 8, 11, 14, 17};
    const std::size_t lengths[] = {4, 2, 2, 2, 2, 2};
    for (std::size_t i = 0; i < 6; ++i) {
        const char* from = text.data() + starts[i];
        const auto [end, error] = std::from_chars(from, from + lengths[i], *fields[i]);
        if (error != std::errc{} || end != from + lengths[i] || *from == '-' || *from == '+')
            return std::nullopt;
    }
    if (ReportTime(t) != text || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 ||
        t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

// Element text: quotes stand as they are, as the scheduler writes them back.
std::string XmlText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string FormatResumeRecord(const ResumeRecord& r) {
    std::string text = std::string(kFirstLine) + "\r\n";
    const auto line = [&text](const char* key, const std::string& value) {
        text += std::string(key) + " " + value + "\r\n";
    };
    line("user", r.user);
    line("written", ReportTime(r.written));
    line("restarts", std::to_string(r.restarts));
    line("taken", r.taken ? "1" : "0");
    line("done", std::to_string(r.packagesDone));
    line("exit", std::to_string(r.exitCode));
    line("report", r.report);
    line("speed", std::to_string(r.speed));
    line("timeout", std::to_string(r.timeoutMinutes));
    line("statistics", r.statistics ? "1" : "0");
    for (const PackagePin& package : r.packages) {
        line("package", package.scenario);
        line("scenario-sha256", package.scenarioSha256);
        line("installer", package.installer);
        line("installer-sha256", package.installerSha256);
    }
    return text;
}

std::optional<ResumeRecord> ParseResumeRecord(std::string_view text) {
    const std::optional<std::vector<std::string_view>> lines =
        text.size() <= kLargestRecord ? Lines(text) : std::nullopt;
    if (!lines || lines->empty() || lines->front() != kFirstLine)
        return std::nullopt;
    Reader in(std::vector<std::string_view>(lines->begin() + 1, lines->end()));
    ResumeRecord r;
    r.user = in.Value("user");
    const std::optional<LocalTime> written = ParseTime(in.Value("written"));
    r.restarts = static_cast<int>(in.Number("restarts", 1, kMostRestarts));
    r.taken = in.Number("taken", 0, 1) == 1;
    r.packagesDone = static_cast<std::size_t>(in.Number("done", 1, kMostPackages));
    r.exitCode = static_cast<int>(in.Number("exit", 0, 2));
    r.report = in.OptionalValue("report");
    r.speed = static_cast<int>(in.Number("speed", 0, 2));
    r.timeoutMinutes = static_cast<int>(in.Number("timeout", 0, kLongestTimeout));
    r.statistics = in.Number("statistics", 0, 1) == 1;
    while (in.ok() && !in.AtEnd() && r.packages.size() < kMostPackages) {
        PackagePin& pin = r.packages.emplace_back();
        pin.scenario = in.Value("package");
        pin.scenarioSha256 = in.Value("scenario-sha256");
        // A scenario that could not be read when the restart was planned names no installer.
        pin.installer = in.OptionalValue("installer");
        pin.installerSha256 = in.Value("installer-sha256");
        if (!IsFullPath(pin.scenario) || !IsFingerprint(pin.scenarioSha256) ||
            !IsFingerprint(pin.installerSha256))
            return std::nullopt;
    }
    if (!in.ok() || !in.AtEnd() || !written || !IsSid(r.user) || r.packages.empty() ||
        (!r.report.empty() && !IsFullPath(r.report)))
        return std::nullopt;
    r.written = *written;
    return r;
}

std::string ResumeTaskName(const std::string& userSid) {
    return kResumeTaskPrefix + userSid;
}

std::string ResumeArguments(const std::string& report) {
    return report.empty() ? std::string(kResumeSwitch)
                          : std::string(kResumeSwitch) + " /LOG=\"" + report + "\"";
}

std::string ResumeTaskDefinition(const std::string& program, const std::string& userSid,
                                 const std::string& report) {
    const std::string arguments = ResumeArguments(report);
    const std::string command = "\"" + program + "\" " + arguments;
    const std::string user = XmlText(userSid);
    const bool system = userSid == kLocalSystemSid;
    const std::string trigger = system ? "    <BootTrigger>\r\n"
                                         "      <Delay>PT30S</Delay>\r\n"
                                         "    </BootTrigger>\r\n"
                                       : "    <LogonTrigger>\r\n"
                                         "      <UserId>" +
                                             user +
                                             "</UserId>\r\n"
                                             "      <Delay>PT30S</Delay>\r\n"
                                             "    </LogonTrigger>\r\n";
    const char* logonType = system ? "ServiceAccount" : "InteractiveToken";
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           "  <RegistrationInfo>\r\n"
           "    <Description>Velmora Runwright goes on with the run that restarted Windows: " +
           XmlText(command) +
           "</Description>\r\n"
           "  </RegistrationInfo>\r\n"
           "  <Triggers>\r\n" +
           trigger +
           "  </Triggers>\r\n"
           "  <Principals>\r\n"
           "    <Principal id=\"Author\">\r\n"
           "      <UserId>" +
           user +
           "</UserId>\r\n"
           "      <LogonType>" +
           logonType +
           "</LogonType>\r\n"
           "      <RunLevel>HighestAvailable</RunLevel>\r\n"
           "    </Principal>\r\n"
           "  </Principals>\r\n"
           "  <Settings>\r\n"
           "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
           "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
           "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
           "    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\r\n"
           "    <Priority>4</Priority>\r\n"
           "  </Settings>\r\n"
           "  <Actions Context=\"Author\">\r\n"
           "    <Exec>\r\n"
           "      <Command>" +
           XmlText(program) +
           "</Command>\r\n"
           "      <Arguments>" +
           XmlText(arguments) +
           "</Arguments>\r\n"
           "      <WorkingDirectory>" +
           XmlText(ParentFolder(program)) +
           "</WorkingDirectory>\r\n"
           "    </Exec>\r\n"
           "  </Actions>\r\n"
           "</Task>\r\n";
}

}  // namespace velmora
