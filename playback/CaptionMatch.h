#pragma once
// A window caption recorded against one version of an installer and the caption the next version shows:
// "Quill Tool 1.0 Setup" and "Quill Tool 1.1 Setup". They are taken as the same window when they differ only
// in what looks like a version; a caption that differs in a word, or in a number that counts or names
// something else ("Step 2 of 4", "45% complete", "Error 1618", "x64", "Windows 11"), is never taken, so a
// wrong window or the wrong page of the right one is never pressed.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The versions one package's near matches put in place of the recorded ones, recorded token to shown token,
// in lower case ("1.0" -> "1.1"). Once one window of a package was taken for 1.1, a window of 1.2 is not
// that package's next version: its later near matches must make the same substitutions.
using VersionSubstitutions = std::map<std::string, std::string>;

// How many version tokens differ between the stored caption and a window's caption, when every other part of
// them is the same (letter case and runs of blanks aside); nothing when they differ in anything else, hold a
// different number of version tokens, or replace a token otherwise than `learned` says.
// A version token is a dotted number ("1.0", "2.1.3", "6.4.1.7"), a "v" with digits ("v6") or a year from
// 1900 to 2099, with the usual suffixes ("5.0b2", "2.1-rc1", "2.1 beta 2", "3.0 build 7"). It is never a
// number before "%", before "bit" ("64-bit"), glued to letters ("x64", "win10", "mp3"), or after the words
// that make it a count or a code: "step", "page", "of", "error", "code" and their Russian words.
std::optional<int> VersionDistance(const std::string& stored, const std::string& caption,
                                   const VersionSubstitutions& learned = {});

// The index of the one caption nearest to the stored one by VersionDistance; nothing when none is near or
// when the nearest two are equally near.
std::optional<std::size_t> NearestByVersion(const std::string& stored,
                                            const std::vector<std::string>& captions,
                                            const VersionSubstitutions& learned = {});

// Adds the substitutions that taking `caption` for `stored` makes to `learned`, a token kept as it was too
// (a package that kept 1.0 in one caption does not turn 1.0 into 1.1 in the next).
void LearnSubstitutions(const std::string& stored, const std::string& caption, VersionSubstitutions& learned);

}  // namespace velmora
