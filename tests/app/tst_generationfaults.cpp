// Generation when the file system refuses: a directory that cannot be created, a target that
// cannot be replaced, a read-only disk, a disk that fills or a size limit hit in the middle of a
// write. In every case generate answers false, the files before the failing one are new and
// whole, the rest are the earlier ones byte for byte, and no scratch file is left behind.
#include "faultfixture.h"

#include <QScopeGuard>
#include <QtTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace Faults;

namespace {

enum Fault { BlockedTarget, ReadOnlyDisk, DiskFull, SizeLimit };

// Fills the disk below dir to the last byte, then gives back the given number of bytes.
bool fillDisk(const QString &dir, qint64 leaveFree)
{
    QFile filler(dir + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    return filler.resize(qMax<qint64>(0, QFileInfo(filler).size() - leaveFree));
}

bool remountTmpfs(const QByteArray &dir, unsigned long flags)
{
    return ::mount("tmpfs", dir.constData(), "tmpfs", MS_REMOUNT | flags, nullptr) == 0;
}

} // namespace

void FaultsTest::initTestCase()
{
    std::signal(SIGXFSZ, SIG_IGN); // a write past the size limit fails instead of killing us
    m_old = exampleSet(QStringLiteral("tx_2lane.json"));
    m_new = exampleSet(QStringLiteral("both_8lane.json"));
    m_new.insert(QStringLiteral("file"), m_old.value(QStringLiteral("file")));
    QTemporaryDir clean;
    QVERIFY(generate(*loadedProtocol(), m_old, clean.path()).ok);
    m_oldBytes = outputs(generationDir(clean.path(), m_old));
    QVERIFY(generate(*loadedProtocol(), m_new, clean.path()).ok);
    m_newBytes = outputs(generationDir(clean.path(), m_new));
}

void FaultsTest::uncreatableDirectory_data()
{
    QTest::addColumn<QString>("blocker"); // a regular file where a directory must go
    QTest::addColumn<QString>("workDirBelow");
    QTest::newRow("working directory is a file") << QStringLiteral("work") << "work";
    QTest::newRow("core directory is a file") << QStringLiteral("work/jesd_tx") << "work";
    QTest::newRow("temp is a file") << QStringLiteral("work/jesd_tx/temp") << "work";
    QTest::newRow("working directory below a file") << QStringLiteral("work") << "work/sub";
}

void FaultsTest::uncreatableDirectory()
{
    QFETCH(QString, blocker);
    QFETCH(QString, workDirBelow);
    const QTemporaryDir temp;
    const QString root = temp.path();
    QVERIFY(QDir(root).mkpath(QFileInfo(root + QLatin1Char('/') + blocker).path()));
    writeBytes(root + QLatin1Char('/') + blocker, "not a directory\n");
    const QStringList before = tree(root);

    const Result result =
        generate(*loadedProtocol(), m_old, root + QLatin1Char('/') + workDirBelow);
    QVERIFY(!result.ok);
    QCOMPARE(tree(root), before);
    QCOMPARE(result.reports.size(), 1);
    QVERIFY2(result.reports.first().contains(QStringLiteral("Cannot create the directory")),
             qPrintable(result.reports.first()));
}

void FaultsTest::faultDuringWrite_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("failing"); // index of the output whose write fails
    for (int i = 0; i < outputNames.size(); ++i)
        QTest::addRow("%s is a directory", qPrintable(outputNames.at(i)))
            << int(BlockedTarget) << i;
    QTest::newRow("read-only disk") << int(ReadOnlyDisk) << 0;
    // One page left: each define file fits it and frees its predecessor's page on replacing
    // it; the eight-lane .ini needs two pages and runs out in the middle of its write.
    QTest::newRow("disk fills") << int(DiskFull) << 2;
    QTest::newRow("file size limit") << int(SizeLimit) << 2;
}

void FaultsTest::faultDuringWrite()
{
    QFETCH(int, fault);
    QFETCH(int, failing);
    const QTemporaryDir temp;
    const QString work = temp.path();
    const QByteArray mountPoint = QFile::encodeName(work);
    // A small tmpfs of its own (root only): a disk that really fills, and that can turn read-only.
    const bool onTmpfs = fault == ReadOnlyDisk || fault == DiskFull;
    if (onTmpfs && ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=128k,mode=0700"))
        QSKIP("mounting a tmpfs needs root");
    const auto unmount = qScopeGuard([&] {
        if (onTmpfs)
            ::umount2(mountPoint.constData(), MNT_DETACH);
    });
    QVERIFY(generate(*loadedProtocol(), m_old, work).ok);
    const QString dir = generationDir(work, m_old);
    const QString target = dir + QLatin1Char('/') + outputNames.at(failing);

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto lift = [&] { setrlimit(RLIMIT_FSIZE, &saved); };
    const auto liftOnExit = qScopeGuard(lift);
    switch (fault) {
    case BlockedTarget: // a directory with something in it: no rename can replace it
        QVERIFY(QFile::remove(target) && QDir().mkpath(target + QStringLiteral("/keep")));
        break;
    case ReadOnlyDisk:
        QVERIFY(remountTmpfs(mountPoint, MS_RDONLY));
        break;
    case DiskFull:
        QVERIFY(m_newBytes.last().size() > 4096 && m_oldBytes.last().size() <= 4096);
        QVERIFY(fillDisk(work, 4096));
        break;
    case SizeLimit: {
        rlimit limit = saved; // the write that crosses it fails, even for root
        limit.rlim_cur = rlim_t(m_newBytes.last().size() / 2);
        QVERIFY(qMax(m_newBytes.at(0).size(), m_newBytes.at(1).size()) < int(limit.rlim_cur));
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
    }
    }
    const QStringList before = tree(work);

    const Result result = generate(*loadedProtocol(), m_new, work);
    lift();
    QVERIFY(!result.ok);
    const QList<QByteArray> now = outputs(dir);
    for (int i = 0; i < outputNames.size(); ++i) {
        if (i != failing || fault != BlockedTarget)
            QCOMPARE(now.at(i), i < failing ? m_newBytes.at(i) : m_oldBytes.at(i));
    }
    QCOMPARE(tree(work), before);
    QCOMPARE(result.reports.size(), 1);
    QVERIFY2(result.reports.first().contains(outputNames.at(failing)),
             qPrintable(result.reports.first()));

    // Once the fault is gone the same call succeeds and every file is the new one.
    if (fault == BlockedTarget)
        QVERIFY(QDir(target).removeRecursively());
    if (fault == ReadOnlyDisk)
        QVERIFY(remountTmpfs(mountPoint, 0));
    if (fault == DiskFull)
        QVERIFY(QFile::remove(work + QStringLiteral("/filler")));
    QVERIFY(generate(*loadedProtocol(), m_new, work).ok);
    QCOMPARE(outputs(dir), m_newBytes);
}

QTEST_MAIN(FaultsTest)
