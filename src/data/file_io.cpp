#include "data/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "data/ascii_case.h"
#include "data/message_text.h"

namespace mitoran {
namespace {

constexpr std::string_view kTempPrefix = ".mitoran-tmp-";

struct PathParts {
    std::string dir;   // "." for the working folder
    std::string base;  // the entry name inside dir
};

PathParts splitPath(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    if (slash == std::string_view::npos) return {".", std::string(name)};
    return {slash == 0 ? std::string("/") : std::string(name.substr(0, slash)),
            std::string(name.substr(slash + 1))};
}

std::string joinPath(const std::string& dir, const std::string& base) {
    if (dir == ".") return base;
    if (!dir.empty() && dir.back() == '/') return dir + base;
    return joinTexts({dir, "/", base});
}

bool hasAsciiLetter(std::string_view s) {
    for (char c : s)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return false;
}

class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; returns the error of close(), 0 when fine.
    int reset() {
        int err = 0;
        if (fd_ >= 0 && ::close(fd_) != 0) err = errno;
        fd_ = -1;
        return err;
    }

  private:
    int fd_;
};

int openRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do fd = ::open(path, flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Writes everything, going on after partial writes (only for files nobody reads yet).
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

void syncFolder(const std::string& dir) {
    // Makes a rename or a new entry durable. Some file systems cannot sync a folder; the entry
    // is in place either way, so this is best effort.
    Fd fd(openRetrying(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

IoResult writeFailure(std::string_view name, int err) {
    return IoResult::failure(
        joinTexts({quoted(name), "に書き込めませんでした（", describeErrno(err), "）"}));
}

std::string readReason(std::string_view name, int err) {
    const std::string why = err == EACCES || err == EPERM
                                ? std::string("読み取りの権限がありません")
                                : describeErrno(err);
    return joinTexts({quoted(name), "を読み込めませんでした（", why, "）"});
}

// Why a name cannot be one of our files, if it cannot. Names are built from item names read out
// of the item list, which an editor may have put anything into: an absolute path or a ".." part
// would reach files outside the working folder, and a NUL byte would cut the name short at the
// system call and so name a different file.
std::optional<std::string> refusedName(std::string_view name) {
    if (name.find('\0') != std::string_view::npos)
        return std::string("ファイル名に使えない文字が含まれています");
    bool outside = !name.empty() && name.front() == '/';
    for (std::size_t pos = 0; !outside && pos <= name.size();) {
        std::size_t end = name.find('/', pos);
        if (end == std::string_view::npos) end = name.size();
        outside = name.substr(pos, end - pos) == "..";
        pos = end + 1;
    }
    if (outside) return std::string("作業フォルダの外を指す名前は使えません");
    return std::nullopt;
}

// The name as shown in a message: a NUL byte would end the text there.
std::string shownName(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c == '\0')
            out += "\xEF\xBF\xBD";
        else
            out += c;
    }
    return out;
}

IoResult refusedWrite(std::string_view name, const std::string& why) {
    return IoResult::failure(
        joinTexts({quoted(shownName(name)), "に書き込めませんでした（", why, "）"}));
}

bool processAlive(long pid) {
    if (pid <= 0) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// A rewrite killed between creating its temporary file and the rename leaves that file behind;
// nothing reads it, but it should not pile up. Only files of processes that are gone are removed.
void removeStaleTempFiles(const std::string& dir) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (dirent* e = ::readdir(d)) {
        const std::string_view entry = e->d_name;
        if (entry.substr(0, kTempPrefix.size()) != kTempPrefix) continue;
        const std::string rest(entry.substr(kTempPrefix.size()));
        char* end = nullptr;
        const long pid = std::strtol(rest.c_str(), &end, 10);
        if (end == rest.c_str() || *end != '-') continue;
        if (!processAlive(pid)) ::unlink(joinPath(dir, std::string(entry)).c_str());
    }
    ::closedir(d);
}

}  // namespace

std::string describeErrno(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
            return "書き込みの権限がありません";
        case EROFS:
            return "読み取り専用の場所なので書き込めません";
        case ENOSPC:
            return "ディスクの空き容量が足りません";
        case EDQUOT:
            return "ディスクの使用量の上限を超えています";
        case EFBIG:
            return "ファイルが大きすぎます";
        case EISDIR:
            return "同じ名前のフォルダがあります";
        case ENOENT:
            return "ファイルまたはフォルダが見つかりません";
        case ENOTDIR:
            return "フォルダの指定が正しくありません";
        case EIO:
            return "ディスクの読み書き中にエラーが起きました";
        case EEXIST:
            return "同じ名前のファイルが既にあります";
        case ENAMETOOLONG:
            return "ファイル名が長すぎます";
        case EMFILE:
        case ENFILE:
            return "開いているファイルが多すぎます";
        case EBUSY:
        case ETXTBSY:
            return "ファイルが使用中です";
        case ELOOP:
            return "リンクが循環しています";
        case EINVAL:
            return "ファイル名が正しくありません";
        default:
            return joinTexts({"エラー番号 ", std::to_string(err)});
    }
}

std::string resolveName(std::string_view name) {
    std::string exact(name);
    if (exact.empty()) return exact;
    const PathParts parts = splitPath(name);
    if (!hasAsciiLetter(parts.base)) return exact;
    DIR* d = ::opendir(parts.dir.c_str());
    if (!d) return exact;
    // Several spellings may exist (a.txt and A.TXT). Whatever spelling is asked for, the same
    // one is picked, the first in byte order (capital letters first), so every reader and
    // writer of one file meets the same file even when the exact spelling asked for exists.
    std::string best;
    while (dirent* e = ::readdir(d)) {
        const std::string_view entry = e->d_name;
        if (equalsIgnoringAsciiCase(entry, parts.base) && (best.empty() || entry < best))
            best = std::string(entry);
    }
    ::closedir(d);
    return best.empty() ? exact : joinPath(parts.dir, best);
}

bool fileExists(std::string_view name) {
    if (refusedName(name)) return false;
    struct stat st;
    return ::stat(resolveName(name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

ReadBytes readWholeFile(std::string_view name) {
    ReadBytes result;
    if (auto why = refusedName(name)) {
        result.status = ReadStatus::Error;
        result.reason =
            joinTexts({quoted(shownName(name)), "を読み込めませんでした（", *why, "）"});
        return result;
    }
    const std::string path = resolveName(name);
    // O_NONBLOCK: a FIFO under a data file's name must not hang the program.
    Fd fd(openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.valid()) {
        const int err = errno;
        result.status = err == ENOENT ? ReadStatus::Missing : ReadStatus::Error;
        if (err != ENOENT) result.reason = readReason(path, err);
        return result;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) {
        result.status = ReadStatus::Error;
        result.reason = readReason(path, errno);
        return result;
    }
    if (S_ISDIR(st.st_mode)) {
        result.status = ReadStatus::Error;
        result.reason = readReason(path, EISDIR);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = ReadStatus::Error;
        result.reason = quoted(path) + "を読み込めませんでした（通常のファイルではありません）";
        return result;
    }
    std::string& bytes = result.bytes;
    // The size may change while reading; read to the end rather than trusting it.
    std::size_t used = 0;
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2 + 4096);
        const ssize_t n = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            bytes.clear();
            result.status = ReadStatus::Error;
            result.reason = readReason(path, err);
            return result;
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return result;
}

IoResult rewriteFile(std::string_view name, std::string_view bytes) {
    if (auto why = refusedName(name)) return refusedWrite(name, *why);
    std::string target = resolveName(name);
    struct stat old;
    bool hadOld = ::lstat(target.c_str(), &old) == 0;
    if (hadOld && S_ISLNK(old.st_mode)) {
        // A file kept elsewhere through a link is rewritten where it lies: renaming over the
        // link would leave the real file behind, unchanged, for the next program that reads it.
        char* real = ::realpath(target.c_str(), nullptr);
        if (!real) return writeFailure(target, errno);
        target = real;
        std::free(real);
        hadOld = ::lstat(target.c_str(), &old) == 0;
    }
    if (hadOld && S_ISDIR(old.st_mode)) return writeFailure(target, EISDIR);
    // A file made read-only is refused as an append to it would be; the rename below would
    // otherwise replace it regardless.
    if (hadOld && ::access(target.c_str(), W_OK) != 0) return writeFailure(target, errno);
    const PathParts parts = splitPath(target);

    static unsigned counter = 0;
    std::string temp;
    Fd fd;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        temp = joinPath(parts.dir, std::string(kTempPrefix) + std::to_string(::getpid()) + "-" +
                                       std::to_string(++counter));
        fd = Fd(openRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid() && errno != EEXIST) return writeFailure(target, errno);
    }
    if (!fd.valid()) return writeFailure(target, EEXIST);

    auto fail = [&](int err) {
        fd.reset();
        ::unlink(temp.c_str());
        return writeFailure(target, err);
    };
    if (hadOld && S_ISREG(old.st_mode)) ::fchmod(fd.get(), old.st_mode & 07777);
    if (int err = writeAll(fd.get(), bytes)) return fail(err);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (int err = fd.reset()) return fail(err);
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
    syncFolder(parts.dir);
    removeStaleTempFiles(parts.dir);
    return IoResult::success();
}

IoResult appendToFile(std::string_view name, std::string_view bytes) {
    if (auto why = refusedName(name)) return refusedWrite(name, *why);
    const std::string target = resolveName(name);
    struct stat st;
    const bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode)) return writeFailure(target, EISDIR);
    const int flags = O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    // Read access is only wanted to look at the last byte; a write-only file is still appended.
    bool canRead = true;
    Fd fd(openRetrying(target.c_str(), O_RDWR | flags, 0666));
    if (!fd.valid() && errno == EACCES) {
        canRead = false;
        fd = Fd(openRetrying(target.c_str(), O_WRONLY | flags, 0666));
    }
    if (!fd.valid()) return writeFailure(target, errno);
    if (::fstat(fd.get(), &st) != 0) return writeFailure(target, errno);
    if (!S_ISREG(st.st_mode))
        return IoResult::failure(quoted(target) +
                                 "に書き込めませんでした（通常のファイルではありません）");
    const off_t oldSize = st.st_size;
    // On failure a file this call created is removed again: missing stays missing.
    auto undo = [&] {
        if (existed)
            ::ftruncate(fd.get(), oldSize);
        else
            ::unlink(target.c_str());
    };

    std::string_view lineBreak;
    if (oldSize > 0) {
        char last = 0;
        ssize_t got = -1;
        if (canRead) {
            do got = ::pread(fd.get(), &last, 1, oldSize - 1);
            while (got < 0 && errno == EINTR);
        }
        if (got != 1)
            lineBreak = "\r\n";  // unknown ending: a blank line is harmless, a glued record not
        else if (last == '\r')
            lineBreak = "\n";
        else if (last != '\n')
            lineBreak = "\r\n";
    }
    std::string record;
    record.reserve(lineBreak.size() + bytes.size());
    record.append(lineBreak).append(bytes);
    if (record.empty()) return IoResult::success();

    // One write, so a record is never interleaved or split; anything short of the whole record
    // is taken back so the file stays as it was.
    ssize_t n;
    do n = ::write(fd.get(), record.data(), record.size());
    while (n < 0 && errno == EINTR);
    if (n != static_cast<ssize_t>(record.size())) {
        const int err = n < 0 ? errno : 0;
        undo();
        if (err == 0)
            return IoResult::failure(quoted(target) +
                                     "に書き込めませんでした（途中までしか書き込めませんでした）");
        return writeFailure(target, err);
    }
    if (::fsync(fd.get()) != 0) {
        const int err = errno;
        // Not known to be on disk: take it back, so the screens never count a set that may vanish.
        undo();
        return writeFailure(target, err);
    }
    fd.reset();
    if (!existed) syncFolder(splitPath(target).dir);
    return IoResult::success();
}

IoResult createIfMissing(std::string_view name) {
    if (auto why = refusedName(name)) return refusedWrite(name, *why);
    const std::string target = resolveName(name);
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return writeFailure(target, EISDIR);
        return IoResult::success();
    }
    Fd fd(openRetrying(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid()) {
        if (errno == EEXIST) return IoResult::success();
        return writeFailure(target, errno);
    }
    if (::fsync(fd.get()) != 0) return writeFailure(target, errno);
    fd.reset();
    syncFolder(splitPath(target).dir);
    return IoResult::success();
}

IoResult emptyFile(std::string_view name) { return rewriteFile(name, {}); }

IoResult removeFile(std::string_view name) {
    if (auto why = refusedName(name))
        return IoResult::failure(
            joinTexts({quoted(shownName(name)), "を削除できませんでした（", *why, "）"}));
    const std::string target = resolveName(name);
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) {
        if (errno == ENOENT) return IoResult::success();
        return IoResult::failure(
            joinTexts({quoted(target), "を削除できませんでした（", describeErrno(errno), "）"}));
    }
    if (S_ISDIR(st.st_mode) || ::unlink(target.c_str()) != 0) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        if (err == ENOENT) return IoResult::success();
        return IoResult::failure(
            joinTexts({quoted(target), "を削除できませんでした（", describeErrno(err), "）"}));
    }
    syncFolder(splitPath(target).dir);
    return IoResult::success();
}

IoResult renameFile(std::string_view from, std::string_view to) {
    for (std::string_view name : {from, to})
        if (auto why = refusedName(name))
            return IoResult::failure(
                joinTexts({quoted(shownName(from)), "の名前を", quoted(shownName(to)),
                           "に変えられませんでした（", *why, "）"}));
    const std::string source = resolveName(from);
    const std::string existing = resolveName(to);
    auto failure = [&](int err) {
        return IoResult::failure(joinTexts({quoted(source), "の名前を", quoted(to),
                                            "に変えられませんでした（", describeErrno(err), "）"}));
    };
    struct stat src, dst;
    if (::lstat(source.c_str(), &src) != 0) return failure(errno);
    const bool targetExists = ::lstat(existing.c_str(), &dst) == 0;
    // A name that differs only in the case of letters names the same file for every reader.
    if (targetExists && !(dst.st_dev == src.st_dev && dst.st_ino == src.st_ino))
        return failure(EEXIST);
    const std::string target(to);
    if (targetExists) {
        if (::rename(source.c_str(), target.c_str()) != 0) return failure(errno);
    } else if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) !=
               0) {
        if (errno != EINVAL && errno != ENOSYS) return failure(errno);
        if (::rename(source.c_str(), target.c_str()) != 0) return failure(errno);
    }
    syncFolder(splitPath(target).dir);
    return IoResult::success();
}

}  // namespace mitoran
