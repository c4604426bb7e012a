#pragma once
// Small operations on paths and texts used throughout the program. None touches the disk unless it takes a
// FileSystem.
#include <string>

#include "platform/FileSystem.h"

namespace velmora {

std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string ToUpper(const std::string& text);  // ASCII and Cyrillic letters
std::string ToLower(const std::string& text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// Byte offset of the first occurrence of needle ignoring letter case, or npos.
std::size_t FindNoCase(const std::string& haystack, const std::string& needle, std::size_t from = 0);
bool EndsWith(const std::string& text, const std::string& suffix);

std::string AddBackslash(const std::string& text);
std::string ParentFolder(const std::string& path);
std::string FileTitleNoExt(const std::string& path);
std::string StripExtension(const std::string& text);
std::string StripQuotes(const std::string& text);
std::string StripTrailingNulls(const std::string& text);
bool PathExists(FileSystem& files, const std::string& path);
bool IsFolder(FileSystem& files, const std::string& path);
// A dialog filter with "|" between its parts, ended by a "|" when it had none.
std::string CompleteFilter(const std::string& filter);

}  // namespace velmora
