#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace tollivex::test {

TempFolder::TempFolder()
{
    std::random_device rd;
    for (;;) {
        const fs::path candidate = fs::temp_directory_path() / ("tollivex-test-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempFolder::File(const std::string& name) const { return (fs::path(path_) / name).string(); }

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::string path = File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return path;
}

} // namespace tollivex::test
