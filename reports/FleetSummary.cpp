#include "reports/FleetSummary.h"

#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/Utilities.h"

namespace velmora {
namespace {

const char* ResultText(PackageResult result) {
    return result == PackageResult::Done          ? "done"
           : result == PackageResult::Interrupted ? "interrupted"
                                                  : "failed";
}

std::string CodeText(const ReportedCode& code) {
    return code.number ? std::to_string(*code.number) : code.word;
}

std::string ExitText(const std::optional<ReportedCode>& code) {
    return code ? CodeText(*code) : "unfinished";
}

std::string InstallerText(const ReportedCode& installer) {
    if (installer.number)
        return "exit " + std::to_string(*installer.number);
    if (installer.word.empty() || installer.word == "-")
        return {};
    return "installer " + installer.word;
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CsvField(const std::string& text) {
    std::string field = "\"";
    if (!text.empty() && std::string("=+-@\t\r").find(text.front()) != std::string::npos)
        field += '\'';
    for (char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    return field + "\"";
}

std::string Html(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// A path for a link: bytes other than letters, digits, "-._~" and "/" as %XX.
std::string UrlPath(const std::string& path) {
    std::string url;
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain || std::string("-._~/").find(static_cast<char>(c)) != std::string::npos) {
            url += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            url += hex;
        }
    }
    return url;
}

// The files of the reports' folder the page may link to: screenshots (".png") and the files read as reports,
// never another name a report gives. Names are matched without regard to case, as Windows does.
class LinkTargets {
  public:
    LinkTargets(const FleetTable& table, const FleetLinks& links) : folder_(links.folder) {
        std::unordered_set<std::string_view> read;
        for (const ReportFile& file : table.files) {
            if (file.error.empty())
                read.insert(file.name);
        }
        for (const std::string& name : links.names) {
            std::string lower = ToLower(name);
            if (lower.ends_with(".png"))
                screenshots_.try_emplace(std::move(lower), name);
            else if (read.contains(name))
                reports_.insert(name);
        }
    }
    std::optional<std::string> Screenshot(const std::string& path) const {
        const auto found = screenshots_.find(ToLower(FileName(path)));
        if (!folder_ || found == screenshots_.end())
            return std::nullopt;
        return UrlPath(*folder_ + found->second);
    }
    std::optional<std::string> Report(const std::string& name) const {
        if (!folder_ || !reports_.contains(name))
            return std::nullopt;
        return UrlPath(*folder_ + name);
    }

  private:
    std::optional<std::string> folder_;
    std::unordered_map<std::string, std::string> screenshots_;
    std::unordered_set<std::string> reports_;
};

constexpr const char* kPageHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Velmora Runwright: runs of many machines</title>
<style>
body{font:13px/1.35 "Segoe UI",Arial,sans-serif;margin:20px;color:#1f2933;background:#f5f7fa}
h1{font-size:19px;margin:0 0 4px}h2{font-size:15px;margin:18px 0 6px}p{margin:0 0 12px;color:#52606d}
.wrap{overflow:auto;max-height:85vh;border:1px solid #cbd2d9;background:#fff}
table{border-collapse:separate;border-spacing:0}
th,td{padding:5px 9px;border:solid #e4e7eb;border-width:0 1px 1px 0;text-align:left;vertical-align:top;
white-space:nowrap}
thead th{position:sticky;top:0;z-index:2;background:#e9edf2;white-space:normal}
tbody th{position:sticky;left:0;z-index:1;background:#fff}
tr.r0 th{box-shadow:inset 5px 0 #d64545}tr.r1 th{box-shadow:inset 5px 0 #9aa5b1}
tr.r2 th{box-shadow:inset 5px 0 #e8a33d}
td.done{background:#eaf7ee}td.failed{background:#fde8e8}td.interrupted{background:#fff4dc}
td.done b{color:#1e7b3c}td.failed b{color:#b42318}td.interrupted b{color:#9a5b00}
td.bad{color:#b42318;font-weight:600}small{display:block;color:#616e7c;font-weight:normal}a{color:#1a5fb4}
</style>
</head>
<body>
)";

void AddCellHtml(std::string& html, const ReportedPackage& package, const LinkTargets& links) {
    const std::string kind = ResultText(package.result);
    html += "<td class=\"" + kind + "\"><b>" + kind + "</b>";
    if (!package.detail.empty())
        html += " " + Html(package.detail);
    std::string facts = InstallerText(package.installer);
    facts += (facts.empty() || package.duration.empty() ? "" : " · ") + package.duration;
    html += "<small>" + Html(facts) + "</small>";
    if (!package.screenshot.empty()) {
        const std::optional<std::string> href = links.Screenshot(package.screenshot);
        html += href ? "<a href=\"" + Html(*href) + "\">screenshot</a>"
                     : "<small>screenshot: " + Html(package.screenshot) + "</small>";
    }
    html += "</td>";
}

// Columns the row has no cell in, as one cell.
void AddGapHtml(std::string& html, std::size_t columns) {
    if (columns == 1)
        html += "<td></td>";
    else if (columns > 1)
        html += "<td colspan=\"" + std::to_string(columns) + "\"></td>";
}

void AddRowHtml(std::string& html, const FleetRow& row, std::size_t columns, const LinkTargets& links) {
    const std::optional<std::string> report = links.Report(row.file);
    html += "<tr class=\"r" + std::to_string(static_cast<int>(row.rank)) + "\"><th>";
    html += report ? "<a href=\"" + Html(*report) + "\">" + Html(row.computer) + "</a>" : Html(row.computer);
    html += "<small>" + Html(row.user) + " · " + Html(row.started) + "</small></th>";
    const bool bad = !row.exitCode || IsFailureExitCode(*row.exitCode);
    html += std::string(bad ? "<td class=\"bad\">" : "<td>") + Html(ExitText(row.exitCode)) + "</td>";
    std::size_t next = 0;
    for (const FleetCell& cell : row.cells) {
        AddGapHtml(html, cell.column - next);
        AddCellHtml(html, cell.package, links);
        next = cell.column + 1;
    }
    AddGapHtml(html, columns - next);
    html += "</tr>\n";
}

std::string SummaryHtml(const FleetTable& table) {
    std::size_t byRank[4] = {};
    for (const FleetRow& row : table.rows)
        ++byRank[static_cast<int>(row.rank)];
    std::size_t unreadable = 0, past = 0;
    for (const ReportFile& file : table.files) {
        unreadable += !file.error.empty() && !file.pastFolderLimits;
        past += file.pastFolderLimits;
    }
    std::string html = "<h1>Velmora Runwright: " + std::to_string(table.rows.size()) +
                       " runs</h1>\n<p>From " + std::to_string(table.files.size()) + " report files: ";
    html += "<b style=\"color:#b42318\">" + std::to_string(byRank[0]) + " with failures</b>, " +
            std::to_string(byRank[1]) + " unfinished, " + std::to_string(byRank[2]) + " interrupted, " +
            std::to_string(byRank[3]) + " done.";
    if (unreadable > 0)
        html += " " + std::to_string(unreadable) + " could not be read (listed below the table).";
    if (past > 0)
        html += " <b style=\"color:#b42318\">" + std::to_string(past) +
                " left out: the folder holds more than one table takes (listed below the table).</b>";
    return html + "</p>\n";
}

// The files left out, under a heading, with their reasons; nothing when there are none.
std::string FileListHtml(const FleetTable& table, bool pastFolderLimits, const char* heading) {
    std::string list;
    for (const ReportFile& file : table.files) {
        if (!file.error.empty() && file.pastFolderLimits == pastFolderLimits)
            list += "<li><b>" + Html(file.name) + "</b>: " + Html(file.error) + "</li>\n";
    }
    return list.empty() ? list : "<h2>" + std::string(heading) + "</h2>\n<ul>\n" + list + "</ul>\n";
}

std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + "/") {
        if (c != '/' && c != '\\') {
            part += c;
        } else {
            if (!part.empty() && part != ".")
                parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

// What a relative link cannot climb out of: a drive ("C:"), a share ("//server/share"), the root of a Unix
// path; empty for a relative path.
std::string PathRoot(const std::string& path, const std::vector<std::string>& parts) {
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    if ((path.starts_with("\\\\") || path.starts_with("//")) && parts.size() >= 2)
        return "//" + parts[0] + "/" + parts[1];
    return path.starts_with("/") || path.starts_with("\\") ? "/" : "";
}

}  // namespace

std::string CellText(const ReportedPackage& package) {
    std::string text = ResultText(package.result);
    if (!package.detail.empty())
        text += ": " + package.detail;
    for (const std::string& part : {InstallerText(package.installer), package.duration}) {
        if (!part.empty())
            text += "; " + part;
    }
    return text;
}

std::string FleetCsv(const FleetTable& table) {
    std::string csv = "\xEF\xBB\xBF\"Computer\",\"User\",\"Started\",\"Run exit code\"";
    // Appended piece by piece: GCC 12 warns of an overlap that cannot happen in "," + field.
    auto add = [&csv](const std::string& text) {
        csv += ',';
        csv += CsvField(text);
    };
    for (const std::string& name : table.packages)
        add(name);
    csv += "\r\n";
    for (const FleetRow& row : table.rows) {
        csv += CsvField(row.computer);
        for (const std::string& text : {row.user, row.started, ExitText(row.exitCode)})
            add(text);
        auto cell = row.cells.begin();
        for (std::size_t column = 0; column < table.packages.size(); ++column) {
            const bool played = cell != row.cells.end() && cell->column == column;
            add(played ? CellText((cell++)->package) : std::string());
        }
        csv += "\r\n";
    }
    return csv;
}

std::string FleetHtml(const FleetTable& table, const FleetLinks& links) {
    const LinkTargets targets(table, links);
    std::string html = kPageHead + SummaryHtml(table);
    html +=
        "<div class=\"wrap\"><table>\n<thead><tr><th>Computer<small>user · start</small></th><th>Run exit "
        "code</th>";
    for (const std::string& name : table.packages)
        html += "<th>" + Html(name) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (const FleetRow& row : table.rows)
        AddRowHtml(html, row, table.packages.size(), targets);
    html += "</tbody></table></div>\n";
    html += FileListHtml(table, false, "Files that could not be read");
    html += FileListHtml(table, true, "Files left out: the folder holds more than one table takes");
    return html + "</body>\n</html>\n";
}

std::optional<std::string> RelativeFolder(const std::string& from, const std::string& to) {
    const std::vector<std::string> a = PathParts(from), b = PathParts(to);
    const std::string root = PathRoot(from, a);
    if (!EqualsNoCase(root, PathRoot(to, b)))
        return std::nullopt;
    const bool windows = root.size() > 1;  // a drive or a share: names are the same in any letter case
    std::size_t same = 0;
    while (same < a.size() && same < b.size() &&
           (windows ? EqualsNoCase(a[same], b[same]) : a[same] == b[same]))
        ++same;
    std::string link;
    for (std::size_t i = same; i < a.size(); ++i) {
        if (a[i] == "..")
            return std::nullopt;
        link += "../";
    }
    for (std::size_t i = same; i < b.size(); ++i)
        link += b[i] + "/";
    return link;
}

}  // namespace velmora
