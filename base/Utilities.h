#pragma once
// Small operations on paths and texts used throughout the program. None touches the disk unless it takes a
// FileSystem.
#include <string>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/LetterCase.h"
#include "platform/Types.h"

namespace velmora {

struct SharedState;

// The title of every message box that names no title of its own.
inline constexpr const char* kProgramTitle = "Velmora Runwright";

// Blanks are spaces and tabs.
std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
// Byte offset of the first occurrence of needle ignoring letter case, or npos.
std::size_t FindNoCase(const std::string& haystack, const std::string& needle, std::size_t from = 0);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
bool EndsWith(const std::string& text, const std::string& suffix);
// The number of characters (code points) of a UTF-8 text.
std::size_t CharCount(const std::string& text);

std::string AddBackslash(const std::string& text);
std::string ParentFolder(const std::string& path);
// The name after the last backslash (as ParentFolder finds it) without its extension; empty when the path
// has no backslash or the name no dot.
std::string FileTitleNoExt(const std::string& path);
std::string StripExtension(const std::string& text);
// The trimmed text, or the part between its first pair of double quotes. An opening quote that is never
// closed is dropped and the rest of the text taken.
std::string StripQuotes(const std::string& text);
std::string StripTrailingNulls(const std::string& text);
bool PathExists(FileSystem& files, const std::string& path);
bool IsFolder(FileSystem& files, const std::string& path);
// A dialog filter with "|" between its parts, ended by a "|" when it had none. An empty filter stays empty.
std::string CompleteFilter(const std::string& filter);

// The common open dialog: the chosen path trimmed and without trailing NULs, or empty when cancelled. The
// bare name of the chosen file is left in lastFileTitle.
std::string ShowOpenFileDialog(Dialogs& dialogs, SharedState& state, WindowId owner,
                               const std::string& filter, const std::string& title,
                               const std::string& initialFolder);
// The common save dialog: as the open dialog, but lastFileTitle is not touched.
std::string ShowSaveFileDialog(Dialogs& dialogs, WindowId owner, const std::string& filter,
                               const std::string& title, const std::string& initialFolder);
// The folder browser: the chosen folder, or empty when cancelled.
std::string BrowseForFolder(Dialogs& dialogs, WindowId owner, const std::string& initialFolder,
                            const std::string& title);

}  // namespace velmora
