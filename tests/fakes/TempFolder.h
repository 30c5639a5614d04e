#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace trawlit::fakes {

// A fresh folder under `base`, else $TMPDIR (or /tmp), removed with everything in it at the end.
class TempFolder {
public:
    TempFolder()
        : TempFolder(std::getenv("TMPDIR"))
    {
    }
    explicit TempFolder(const char* base)
    {
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp")
            + "/trawlit-test-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~TempFolder()
    {
        if (path_.empty())
            return;
        std::error_code ignored;
        // Read-only marks must not keep the tree alive.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow,
                ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Creates the file (and its folders) with these contents; returns its path.
    std::string Write(const std::string& name, const std::string& contents = {}) const
    {
        const std::string file = *this / name;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }
    std::string Read(const std::string& name) const { return ReadWholeFile(*this / name); }
    static std::string ReadWholeFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }

private:
    std::string path_;
};

} // namespace trawlit::fakes
