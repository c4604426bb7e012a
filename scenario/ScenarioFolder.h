#pragma once
// The scenario files of one folder in the order the user gave them: the order file "Position.lst" beside
// them names the packages that come first. The main window's list and the package path editor both show a
// folder this way.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Codec.h"
#include "platform/FileSystem.h"

namespace velmora {

// The order file's name inside the scenario folder.
inline constexpr const char* kOrderFileName = "Position.lst";

// The lines of an order file's text: CR LF or LF ends a line; an empty line is an entry with an empty name; a
// last line without its line end still counts; no text gives no entries. Line ends are the same bytes in the
// ANSI code page and in UTF-8, so the file's bytes can be split before or after decoding.
std::vector<std::string> ParseOrderFile(std::string_view text);
// One name per line, each ended by CR LF.
std::string FormatOrderFile(const std::vector<std::string>& names);

// Reorders names by the order file's entries exactly as users' existing files expect: for each entry in file
// order, the first name equal to it (case-sensitive, searched from the top) is swapped with the name at the
// next target position, which then advances; an entry that matches nothing is skipped. Names named in the
// file thus come first in file order, a name listed twice is moved again, and the rest keep the order the
// swaps leave. Once every position has been filled the remaining entries have no target and are ignored.
// Costs O(names + entries) when the names are distinct, as a folder's are; a name standing in several places
// costs a logarithm of their number on each move.
void ApplyOrder(std::vector<std::string>& names, const std::vector<std::string>& entries);

// The names (without ".scn") of the folder's "*.scn" files, sorted by name without regard to case and then
// reordered by the folder's order file. Its lines are compared with the names in the file's code page, so a
// name the code page cannot hold (written with '?' for those characters) finds its place again. The caller
// checks that the folder exists.
std::vector<std::string> OrderedScenarioNames(FileSystem& files, Codec& codec, const std::string& folder);

}  // namespace velmora
