#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorvanti::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sorvanti-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with '/'.
    const std::string& path() const { return path_; }

    // Writes `bytes` exactly as given to the file `name` inside the folder.
    std::string write(const std::string& name, std::string_view bytes) const {
        const std::string file = path_ + name;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::FILE* f = std::fopen(file.c_str(), "wb");
        if (!f)
            throw std::runtime_error("cannot write " + file);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return file;
    }

private:
    std::string path_;
};

} // namespace sorvanti::test
