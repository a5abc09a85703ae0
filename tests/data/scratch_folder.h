#pragma once
// A fresh working folder for one test, made the current directory for its lifetime. Raw bytes
// are read and written with the standard library, not with the code under test.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

namespace mitoran::testing {

class ScratchFolder {
  public:
    ScratchFolder() {
        char pattern[] = "/tmp/mitoran-data-XXXXXX";
        path_ = ::mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ec;
        // A test may have left a folder without write permission.
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            if (e.is_directory(ec))
                std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    static std::string bytes(std::string_view name) {
        std::ifstream in{std::string(name), std::ios::binary};
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void put(std::string_view name, std::string_view bytes) {
        std::ofstream out{std::string(name), std::ios::binary | std::ios::trunc};
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // Names of everything in the folder, so a test can see that no stray file was left.
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.insert(e.path().filename().string());
        return names;
    }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace mitoran::testing
