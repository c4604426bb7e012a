#pragma once
// A window caption recorded against one version of an installer and the caption the next version shows:
// "Quill Tool 1.0 Setup" and "Quill Tool 1.1 Setup". They are taken as the same window when they differ only
// in version-like tokens; a caption that differs in a word is never taken, so a wrong window is never
// pressed.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// How many version-like tokens differ between the stored caption and a window's caption, when every other
// part of them is the same (letter case and runs of blanks aside); nothing when they differ in anything else
// or hold a different number of version tokens. A version token is a run of digits with the dots and hyphens
// that join further digits, an optional "v" before it and a short letter suffix after it ("1.0", "1.1.2",
// "2024", "v6", "5.0b2", "2.1-rc1").
std::optional<int> VersionDistance(const std::string& stored, const std::string& caption);

// The index of the one caption nearest to the stored one by VersionDistance; nothing when none is near or
// when the nearest two are equally near.
std::optional<std::size_t> NearestByVersion(const std::string& stored,
                                            const std::vector<std::string>& captions);

}  // namespace velmora
