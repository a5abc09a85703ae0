#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "data/cp932.h"

namespace mitoran::testing {

TempFolder::TempFolder() {
    std::vector<char> cwd(4096);
    if (!::getcwd(cwd.data(), cwd.size()))
        throw std::runtime_error(std::string("getcwd: ") + std::strerror(errno));
    previous_ = cwd.data();

    std::string pattern = "/tmp/mitoran-test-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data()))
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    path_ = buf.data();
    if (::chdir(path_.c_str()) != 0)
        throw std::runtime_error(std::string("chdir: ") + std::strerror(errno));
}

TempFolder::~TempFolder() {
    // Leave the folder before removing it; a test that made it read-only must not leave it behind.
    if (::chdir(previous_.c_str()) != 0) (void)::chdir("/tmp");
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::read(std::string_view name) {
    std::ifstream in{std::string(name), std::ios::binary};
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TempFolder::write(std::string_view name, std::string_view bytes) {
    std::ofstream out{std::string(name), std::ios::binary | std::ios::trunc};
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "could not write test file " << name;
}

bool TempFolder::exists(std::string_view name) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(std::string(name)), ec);
}

std::string TempFolder::cp932(std::string_view utf8) {
    std::string bad;
    auto bytes = encodeCp932(utf8, &bad);
    if (!bytes) {
        ADD_FAILURE() << "test text has no CP932 form: " << bad;
        return {};
    }
    return *bytes;
}

std::map<std::string, std::string> TempFolder::allFiles() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("."))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), ".").string()] =
                read(entry.path().string());
    return files;
}

}  // namespace mitoran::testing
