#pragma once
// A fresh temporary working folder for one test: created and made the current directory on
// construction, the previous directory restored and the folder removed on destruction.
#include <map>
#include <string>
#include <string_view>

namespace mitoran::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

    // Raw bytes of a file in the folder (empty when missing), and writing raw bytes.
    static std::string read(std::string_view name);
    static void write(std::string_view name, std::string_view bytes);
    static bool exists(std::string_view name);
    // Every file below the current folder (paths relative to it) with its bytes.
    static std::map<std::string, std::string> allFiles();
    // Converts UTF-8 text to the CP932 bytes the files hold (for building expected contents).
    static std::string cp932(std::string_view utf8);

  private:
    std::string path_;
    std::string previous_;
};

}  // namespace mitoran::testing
