#include "app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>

namespace mitoran {
namespace {

constexpr char kComeForward[] = "come-forward\n";
constexpr char kAnswer[] = "ok\n";

// Asks the program holding the folder to come forward; true once it has answered.
bool askHolder(const QString& name, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kComeForward);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.readLine() == kAnswer;
}

}  // namespace

QString folderServerName(const QString& folder) {
    QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty()) path = QDir::cleanPath(QDir(folder).absolutePath());
    QByteArray key = path.toUtf8();
    key += '\0';
    key += QByteArray::number(static_cast<qulonglong>(::getuid()));
    return QStringLiteral("mitoran-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32));
}

DataFolderGuard::DataFolderGuard() = default;
DataFolderGuard::~DataFolderGuard() = default;

DataFolderGuard::Outcome DataFolderGuard::claim(const QString& folder,
                                                std::function<void()> comeForward, int answerMs) {
    comeForward_ = std::move(comeForward);
    const QString name = folderServerName(folder);
    lock_ = std::make_unique<QLockFile>(QDir(folder).filePath(QLatin1String(kLockFileName)));
    // Stale only when the program that wrote it is gone, never by age: a program may wait
    // with the lock for hours, and a lock left by a killed one must not block the next start.
    lock_->setStaleLockTime(0);

    const QDeadlineTimer deadline(answerMs);
    for (;;) {
        if (lock_->tryLock(0)) {
            listen(name);
            return Outcome::First;
        }
        const int left = static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0));
        if (askHolder(name, std::min(left, 1000))) return Outcome::HandedOn;
        if (lock_->error() != QLockFile::LockFailedError) {
            // No lock file can be made here (a read-only folder): no program can write to this
            // folder either, so none can lose data. Run, and answer later starts.
            lock_.reset();
            listen(name);
            return Outcome::First;
        }
        // The holder may be starting and not listen yet.
        if (deadline.hasExpired()) return Outcome::Blocked;
        QThread::msleep(100);
    }
}

bool DataFolderGuard::listen(const QString& name) {
    // A socket left by a killed program; this one holds the folder now.
    QLocalServer::removeServer(name);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) return false;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine()) return;
                const bool asked = socket->readLine() == kComeForward;
                if (asked) socket->write(kAnswer);
                socket->disconnectFromServer();
                // Outside the socket's handler: coming forward may open or close windows.
                if (asked)
                    QTimer::singleShot(0, this, [this] {
                        if (comeForward_) comeForward_();
                    });
            });
        }
    });
    return true;
}

}  // namespace mitoran
