#pragma once
// One program per data folder: two writers on the same files lose each other's item-list edits.
// The first program holds a lock file in the folder and listens on a local socket named after
// the folder; a second start asks it to come forward and ends.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace mitoran {

// The lock file's name in the data folder.
inline constexpr const char* kLockFileName = ".mitoran.lock";

// The local socket's name for a data folder: short enough for any socket path, the same for every
// spelling of the folder, and distinct per user.
QString folderServerName(const QString& folder);

class DataFolderGuard : public QObject {
  public:
    enum class Outcome {
        First,     // this program holds the folder; `comeForward` runs on each later start
        HandedOn,  // another program holds it and was asked to come forward
        Blocked,   // another program holds it and did not answer
    };

    DataFolderGuard();
    ~DataFolderGuard() override;

    // Waits up to `answerMs` for a holder that is still starting to answer.
    Outcome claim(const QString& folder, std::function<void()> comeForward, int answerMs = 3000);

  private:
    bool listen(const QString& name);

    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<void()> comeForward_;
};

}  // namespace mitoran
