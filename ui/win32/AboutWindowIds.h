#pragma once
// The about window's class and the ids of its texts; tests find the window and read it by them.
namespace velmora::about_window {

inline constexpr wchar_t kClassName[] = L"VelmoraAbout";
inline constexpr int kProduct = 100;
inline constexpr int kVersion = 101;
inline constexpr int kDescription = 102;
inline constexpr int kSuggestions = 103;
inline constexpr int kMail = 104;  // the links exist only when they have an address
inline constexpr int kSite = 105;
inline constexpr int kGuestBook = 106;
inline constexpr int kRightsCaption = 107;
inline constexpr int kRights = 108;
inline constexpr int kTranslatorCaption = 109;
inline constexpr int kTranslator = 110;  // a link when the language file gives the translator's address

}  // namespace velmora::about_window
