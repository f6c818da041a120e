// Generation when the file system refuses: a directory that cannot be created, a target that
// cannot be replaced, a disk that fills or a size limit hit in the middle of a write. In every
// case generate answers false, and each output is either the earlier file byte for byte or a
// complete new one, never a partial file, with no scratch file left behind.
#include "faultfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Faults;

namespace {

// A small tmpfs of its own (root only): a disk that really fills, and that can turn read-only.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &dir, int kibibytes) : m_dir(dir)
    {
        const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,mode=0700";
        m_mounted = ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0,
                            options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    bool makeReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(m_dir).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString m_dir;
    bool m_mounted = false;
};

// Caps the size of files this process writes; the write that crosses it fails (even for root).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool isActive() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

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
    const qint64 size = QFileInfo(filler).size();
    return filler.resize(qMax<qint64>(0, size - leaveFree));
}

} // namespace

class GenerationFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void uncreatableDirectory_data();
    void uncreatableDirectory();
    void targetCannotBeReplaced_data();
    void targetCannotBeReplaced();
    void readOnlyDisk();
    void diskFillsDuringWrite();
    void sizeLimitDuringWrite();

private:
    // The two sets' outputs from a clean generation: old (two lanes) and new (eight lanes).
    void referenceOutputs();
    // Generates the old set, then checks that a failed generation of the new set left each
    // file either old or new and whole, and nothing else in the directory.
    void checkOutputsWhole(const QString &dir, const QStringList &before);

    ParameterSet m_old;
    ParameterSet m_new;
    QList<QByteArray> m_oldBytes;
    QList<QByteArray> m_newBytes;
    std::unique_ptr<QTemporaryDir> m_work;
};

void GenerationFaultsTest::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
    m_old = exampleSet(QStringLiteral("tx_2lane.json"));
    m_new = exampleSet(QStringLiteral("both_8lane.json"));
    // Same output directory for both, so the second generation replaces the first.
    m_new.insert(QStringLiteral("file"), m_old.value(QStringLiteral("file")));
    referenceOutputs();
}

void GenerationFaultsTest::referenceOutputs()
{
    QTemporaryDir clean;
    QVERIFY(generate(*loadedProtocol(), m_old, clean.path()).ok);
    m_oldBytes = outputs(generationDir(clean.path(), m_old));
    QVERIFY(generate(*loadedProtocol(), m_new, clean.path()).ok);
    m_newBytes = outputs(generationDir(clean.path(), m_new));
    QVERIFY(m_newBytes.last().size() > m_oldBytes.last().size());
}

void GenerationFaultsTest::checkOutputsWhole(const QString &dir, const QStringList &before)
{
    const QList<QByteArray> now = outputs(dir);
    for (int i = 0; i < outputNames().size(); ++i)
        QVERIFY2(now.at(i) == m_oldBytes.at(i) || now.at(i) == m_newBytes.at(i),
                 qPrintable(outputNames().at(i) + QStringLiteral(" is neither file whole")));
    QCOMPARE(tree(dir), before);
}

void GenerationFaultsTest::uncreatableDirectory_data()
{
    QTest::addColumn<QString>("blocker"); // a regular file where a directory must go
    QTest::addColumn<QString>("workDirBelow");
    QTest::newRow("working directory is a file") << QStringLiteral("work") << "work";
    QTest::newRow("core directory is a file") << QStringLiteral("work/jesd_tx") << "work";
    QTest::newRow("temp is a file") << QStringLiteral("work/jesd_tx/temp") << "work";
    QTest::newRow("working directory below a file") << QStringLiteral("work") << "work/sub";
}

void GenerationFaultsTest::uncreatableDirectory()
{
    QFETCH(QString, blocker);
    QFETCH(QString, workDirBelow);
    const QString root = m_work->path();
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

void GenerationFaultsTest::targetCannotBeReplaced_data()
{
    QTest::addColumn<int>("blocked");
    for (int i = 0; i < outputNames().size(); ++i)
        QTest::newRow(qPrintable(outputNames().at(i))) << i;
}

void GenerationFaultsTest::targetCannotBeReplaced()
{
    QFETCH(int, blocked);
    const QString work = m_work->path();
    QVERIFY(generate(*loadedProtocol(), m_old, work).ok);
    const QString dir = generationDir(work, m_old);
    // A directory with something in it where the file should be: no rename can replace it.
    const QString target = dir + QLatin1Char('/') + outputNames().at(blocked);
    QVERIFY(QFile::remove(target));
    QVERIFY(QDir().mkpath(target + QStringLiteral("/keep")));
    const QStringList before = tree(work);

    const Result result = generate(*loadedProtocol(), m_new, work);
    QVERIFY(!result.ok);
    const QList<QByteArray> now = outputs(dir);
    for (int i = 0; i < outputNames().size(); ++i) {
        if (i < blocked)
            QCOMPARE(now.at(i), m_newBytes.at(i)); // written whole before the failure
        else if (i > blocked)
            QCOMPARE(now.at(i), m_oldBytes.at(i)); // never reached
    }
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(tree(work), before);
    QCOMPARE(result.reports.size(), 1);
    QVERIFY2(result.reports.first().contains(outputNames().at(blocked)),
             qPrintable(result.reports.first()));
}

void GenerationFaultsTest::readOnlyDisk()
{
    SmallDisk disk(m_work->path(), 256);
    if (!disk.isMounted())
        QSKIP("mounting a tmpfs needs root");
    const QString work = m_work->path();
    QVERIFY(generate(*loadedProtocol(), m_old, work).ok);
    QVERIFY(disk.makeReadOnly());
    const QStringList before = tree(work);

    const Result result = generate(*loadedProtocol(), m_new, work);
    QVERIFY(!result.ok);
    QCOMPARE(outputs(generationDir(work, m_old)), m_oldBytes);
    QCOMPARE(tree(work), before);
    QCOMPARE(result.reports.size(), 1);
}

void GenerationFaultsTest::diskFillsDuringWrite()
{
    SmallDisk disk(m_work->path(), 128);
    if (!disk.isMounted())
        QSKIP("mounting a tmpfs needs root");
    const QString work = m_work->path();
    QVERIFY(generate(*loadedProtocol(), m_old, work).ok);
    const QString dir = generationDir(work, m_old);
    // One page left: each define file fits it and frees its predecessor's page on replacing
    // it; the eight-lane .ini needs two pages and runs out in the middle of its write.
    QVERIFY(m_newBytes.last().size() > 4096 && m_oldBytes.last().size() <= 4096);
    QVERIFY(fillDisk(work, 4096));
    const QStringList before = tree(dir);

    const Result result = generate(*loadedProtocol(), m_new, work);
    QVERIFY(!result.ok);
    checkOutputsWhole(dir, before);
    QCOMPARE(fileBytes(dir + QStringLiteral("/jesd204b.ini")), m_oldBytes.last());
    QCOMPARE(result.reports.size(), 1);
    QVERIFY2(result.reports.first().contains(QStringLiteral("jesd204b.ini")),
             qPrintable(result.reports.first()));

    // Space again: the same call succeeds and every file is the new one.
    QVERIFY(QFile::remove(work + QStringLiteral("/filler")));
    QVERIFY(generate(*loadedProtocol(), m_new, work).ok);
    QCOMPARE(outputs(dir), m_newBytes);
}

void GenerationFaultsTest::sizeLimitDuringWrite()
{
    const QString work = m_work->path();
    QVERIFY(generate(*loadedProtocol(), m_old, work).ok);
    const QString dir = generationDir(work, m_old);
    const QStringList before = tree(dir);
    Result result;
    {
        const qint64 limit = m_newBytes.last().size() / 2;
        QVERIFY(m_newBytes.at(0).size() < limit && m_newBytes.at(1).size() < limit);
        FileSizeLimit cap{static_cast<rlim_t>(limit)};
        QVERIFY(cap.isActive());
        result = generate(*loadedProtocol(), m_new, work);
    }
    QVERIFY(!result.ok);
    checkOutputsWhole(dir, before);
    QCOMPARE(fileBytes(dir + QStringLiteral("/jesd204b.ini")), m_oldBytes.last());
    QCOMPARE(result.reports.size(), 1);
}

std::unique_ptr<QObject> makeGenerationFaultsTest()
{
    return std::make_unique<GenerationFaultsTest>();
}

#include "tst_generationfaults.moc"
