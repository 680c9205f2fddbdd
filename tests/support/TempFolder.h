#pragma once
// A fresh folder under the system's temporary folder, removed with its content.

#include <string>

namespace tollivex::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    /// Path of a name inside the folder.
    std::string File(const std::string& name) const;
    /// Writes bytes to a file inside the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

} // namespace tollivex::test
