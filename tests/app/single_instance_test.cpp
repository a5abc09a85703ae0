// One program per data folder: the lock file, a lock left by a killed program, a holder that
// does not answer, and the second start that hands over to the first.
#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>

#include "support/temp_folder.h"

namespace mitoran {
namespace {

using Outcome = DataFolderGuard::Outcome;
using testing::TempFolder;

// Claims the folder from another thread, as a second program would, while this thread's event
// loop lets the first one answer.
Outcome claimFromElsewhere(const QString& folder, int answerMs = 3000) {
    Outcome outcome = Outcome::Blocked;
    QThread* other = QThread::create([&] {
        DataFolderGuard second;
        outcome = second.claim(
            folder, [] {}, answerMs);
    });
    QEventLoop loop;
    QObject::connect(other, &QThread::finished, &loop, &QEventLoop::quit);
    other->start();
    loop.exec();
    delete other;
    return outcome;
}

TEST(DataFolderGuard, ASecondStartHandsOverToTheFirstWhichComesForward) {
    TempFolder folder;
    const QString here = QDir::currentPath();
    int forwarded = 0;
    DataFolderGuard first;
    ASSERT_EQ(first.claim(here, [&] { ++forwarded; }), Outcome::First);
    EXPECT_TRUE(TempFolder::exists(kLockFileName));

    EXPECT_EQ(claimFromElsewhere(here), Outcome::HandedOn);
    QEventLoop later;  // the first comes forward once back in its event loop
    QThread::msleep(10);
    later.processEvents();
    EXPECT_EQ(forwarded, 1);

    // Another folder is another program's.
    TempFolder other;
    EXPECT_EQ(claimFromElsewhere(QDir::currentPath()), Outcome::First);
}

TEST(DataFolderGuard, ALockLeftByAGoneProgramDoesNotBlockButALiveSilentHolderDoes) {
    TempFolder folder;
    const QString here = QDir::currentPath();
    // As a killed program leaves it: its process is gone (no process has this number).
    TempFolder::write(kLockFileName,
                      "2147483646\nmitoran\n" + QSysInfo::machineHostName().toStdString() + "\n");
    {
        DataFolderGuard guard;
        EXPECT_EQ(guard.claim(here, [] {}), Outcome::First);
    }
    // Held by a live program that does not answer: refused rather than a second writer.
    QLockFile held(QDir(here).filePath(QLatin1String(kLockFileName)));
    ASSERT_TRUE(held.tryLock(0));
    EXPECT_EQ(claimFromElsewhere(here, 300), Outcome::Blocked);
}

TEST(DataFolderGuard, OneServerNamePerFolderHoweverSpelled) {
    TempFolder folder;
    QDir().mkdir(QStringLiteral("sub"));
    const QString here = QDir::currentPath();
    const QString name = folderServerName(here);
    EXPECT_EQ(folderServerName(here + QStringLiteral("/sub/..")), name);
    EXPECT_EQ(folderServerName(here + QStringLiteral("/.")), name);
    EXPECT_NE(folderServerName(here + QStringLiteral("/sub")), name);
    EXPECT_LE(name.size(), 48);  // well inside a socket path
}

}  // namespace
}  // namespace mitoran
