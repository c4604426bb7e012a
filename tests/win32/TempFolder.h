#pragma once
// A fresh folder under the system's temporary folder for one test, removed with everything in it (read-only
// entries included) when the test ends.
#include <string>

namespace velmora {

class TempFolder {
  public:
    // A fresh folder in the given parent folder (with its trailing backslash), by default the temporary one.
    explicit TempFolder(const std::wstring& parent = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a trailing backslash.
    const std::string& Path() const { return path_; }
    std::wstring WidePath() const;

  private:
    std::string path_;
};

void MakeReadOnly(const std::string& path);

// A name no other test run uses at the same time, for registry keys and named objects.
std::string UniqueName(const std::string& prefix);

}  // namespace velmora
