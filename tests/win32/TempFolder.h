#pragma once
// A fresh folder under the system's temporary folder for one test, removed with everything in it (read-only
// entries included) when the test ends.
#include <string>

namespace velmora {

class TempFolder {
  public:
    TempFolder();
    // A fresh folder in the given parent folder (with its trailing backslash) instead.
    explicit TempFolder(const std::wstring& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // UTF-8, without a trailing backslash.
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Adds the read-only attribute to a file or folder.
void MakeReadOnly(const std::string& path);

// A name no other test run uses at the same time, for registry keys and named objects.
std::string UniqueName(const std::string& prefix);

}  // namespace velmora
