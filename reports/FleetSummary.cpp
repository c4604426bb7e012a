#include "reports/FleetSummary.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "base/Utilities.h"

namespace velmora {
namespace {

// "done", "interrupted" or "failed": a result this reader does not know counts as a failure, so it is seen.
std::string Kind(const ReportedPackage& package) {
    return package.result == "done" || package.result == "interrupted" ? package.result : "failed";
}

int Rank(const FleetRow& row) {
    bool interrupted = false;
    for (const ReportedPackage* package : row.cells) {
        if (package != nullptr && Kind(*package) == "failed")
            return 0;
        interrupted = interrupted || (package != nullptr && package->result == "interrupted");
    }
    if (row.exitCode == "2")
        return 0;
    if (row.exitCode.empty())
        return 1;
    return interrupted || row.exitCode == "1" ? 2 : 3;
}

std::string WorseExitCode(const std::string& a, const std::string& b) {
    for (const char* code : {"2", "", "1", "3010"}) {
        if (a == code || b == code)
            return code;
    }
    return a;
}

// The package's column, a new one at the end for a name not seen before.
std::size_t Column(std::vector<std::string>& packages, const std::string& name) {
    const auto column = std::find(packages.begin(), packages.end(), name);
    const auto index = static_cast<std::size_t>(column - packages.begin());
    if (column == packages.end())
        packages.push_back(name);
    return index;
}

// Whether the run goes on the row before it: the same file and computer, and none of its packages there yet.
bool Joins(const FleetTable& table, const std::string& file, const ReportedRun& run) {
    if (table.rows.empty() || table.rows.back().file != file || table.rows.back().computer != run.computer)
        return false;
    const FleetRow& row = table.rows.back();
    return std::none_of(run.packages.begin(), run.packages.end(), [&](const ReportedPackage& package) {
        const auto column = std::find(table.packages.begin(), table.packages.end(), package.name);
        const auto index = static_cast<std::size_t>(column - table.packages.begin());
        return index < row.cells.size() && row.cells[index] != nullptr;
    });
}

std::string InstallerText(const std::string& installer) {
    if (installer.empty() || installer == "-")
        return {};
    if (installer.find_first_not_of("-0123456789") == std::string::npos)
        return "exit " + installer;
    return "installer " + installer;
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

// A relative link to a file of the reports' folder, or nothing when it is not there. Names are matched
// without regard to case, as Windows does.
std::optional<std::string> Link(const FleetLinks& links, const std::string& path) {
    const std::string name = FileName(path);
    if (!links.folder || name.empty())
        return std::nullopt;
    for (const std::string& present : links.names) {
        if (EqualsNoCase(present, name))
            return UrlPath(*links.folder + present);
    }
    return std::nullopt;
}

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

std::string CellHtml(const ReportedPackage* package, const FleetLinks& links) {
    if (package == nullptr)
        return "<td></td>";
    const std::string kind = Kind(*package);
    std::string cell = "<td class=\"" + kind + "\"><b>" + Html(package->result) + "</b>";
    if (!package->detail.empty())
        cell += " " + Html(package->detail);
    std::string facts = InstallerText(package->installer);
    facts += (facts.empty() || package->duration.empty() ? "" : " · ") + package->duration;
    cell += "<small>" + Html(facts) + "</small>";
    if (!package->screenshot.empty()) {
        const std::optional<std::string> href = Link(links, package->screenshot);
        cell += href ? "<a href=\"" + Html(*href) + "\">screenshot</a>"
                     : "<small>screenshot: " + Html(package->screenshot) + "</small>";
    }
    return cell + "</td>";
}

std::string RowHtml(const FleetRow& row, const FleetLinks& links) {
    const std::optional<std::string> report = Link(links, row.file);
    std::string html = "<tr class=\"r" + std::to_string(row.rank) + "\"><th>";
    html += report ? "<a href=\"" + Html(*report) + "\">" + Html(row.computer) + "</a>" : Html(row.computer);
    html += "<small>" + Html(row.user) + " · " + Html(row.started) + "</small></th>";
    const bool bad = row.exitCode.empty() || row.exitCode == "2";
    html += std::string(bad ? "<td class=\"bad\">" : "<td>") +
            (row.exitCode.empty() ? "unfinished" : Html(row.exitCode)) + "</td>";
    for (const ReportedPackage* package : row.cells)
        html += CellHtml(package, links);
    return html + "</tr>\n";
}

std::string SummaryHtml(const FleetTable& table, const std::vector<ReportFile>& files) {
    int byRank[4] = {};
    for (const FleetRow& row : table.rows)
        ++byRank[row.rank];
    const auto unreadable =
        std::count_if(files.begin(), files.end(), [](auto& f) { return !f.error.empty(); });
    std::string html = "<h1>Velmora Runwright: " + std::to_string(table.rows.size()) +
                       " runs</h1>\n<p>From " + std::to_string(files.size()) + " report files: ";
    html += "<b style=\"color:#b42318\">" + std::to_string(byRank[0]) + " with failures</b>, " +
            std::to_string(byRank[1]) + " unfinished, " + std::to_string(byRank[2]) + " interrupted, " +
            std::to_string(byRank[3]) + " done.";
    if (unreadable > 0)
        html += " " + std::to_string(unreadable) + " could not be read (listed below the table).";
    return html + "</p>\n";
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

FleetTable BuildFleetTable(const std::vector<ReportFile>& files) {
    FleetTable table;
    for (const ReportFile& file : files) {
        for (const ReportedRun& run : file.runs) {
            if (Joins(table, file.name, run))
                table.rows.back().exitCode = WorseExitCode(table.rows.back().exitCode, run.exitCode);
            else
                table.rows.push_back({file.name, run.computer, run.user, run.started, run.exitCode, {}, 0});
            FleetRow& row = table.rows.back();
            for (const ReportedPackage& package : run.packages) {
                const std::size_t index = Column(table.packages, package.name);
                row.cells.resize(table.packages.size());
                row.cells[index] = &package;
            }
        }
    }
    for (FleetRow& row : table.rows) {
        row.cells.resize(table.packages.size());
        row.rank = Rank(row);
    }
    std::stable_sort(table.rows.begin(), table.rows.end(), [](const FleetRow& a, const FleetRow& b) {
        return std::tie(a.rank, a.computer, a.started) < std::tie(b.rank, b.computer, b.started);
    });
    return table;
}

std::string CellText(const ReportedPackage& package) {
    std::string text = package.result;
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
        for (const std::string& text :
             {row.user, row.started, row.exitCode.empty() ? "unfinished" : row.exitCode})
            add(text);
        for (const ReportedPackage* package : row.cells)
            add(package ? CellText(*package) : "");
        csv += "\r\n";
    }
    return csv;
}

std::string FleetHtml(const FleetTable& table, const std::vector<ReportFile>& files,
                      const FleetLinks& links) {
    std::string html = kPageHead + SummaryHtml(table, files);
    html +=
        "<div class=\"wrap\"><table>\n<thead><tr><th>Computer<small>user · start</small></th><th>Run exit "
        "code</th>";
    for (const std::string& name : table.packages)
        html += "<th>" + Html(name) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (const FleetRow& row : table.rows)
        html += RowHtml(row, links);
    html += "</tbody></table></div>\n";
    std::string unread;
    for (const ReportFile& file : files) {
        if (!file.error.empty())
            unread += "<li><b>" + Html(file.name) + "</b>: " + Html(file.error) + "</li>\n";
    }
    if (!unread.empty())
        html += "<h2>Files that could not be read</h2>\n<ul>\n" + unread + "</ul>\n";
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
