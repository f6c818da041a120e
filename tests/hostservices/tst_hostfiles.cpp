#include "hostservicestests.h"

#include "messageboxwatcher.h"

#include <idecore.h>
#include <ipcore.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Caps the size of files this process may write, so a write fails even for root.
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

} // namespace

void HostServicesTest::makeDirs()
{
    const QString nested = m_dir->filePath("a/b/temp/jesd204b");
    QVERIFY(IPCore::makeDirs(nested, "JESD204B"));
    QVERIFY(QFileInfo(nested).isDir());
    QVERIFY(IPCore::makeDirs(nested, "JESD204B")); // already there
    QVERIFY(reports.isEmpty());
}

void HostServicesTest::makeDirsReportsFailure()
{
    const QString blocker = writeFile("plain.txt", "x");
    QVERIFY(!IPCore::makeDirs(blocker + "/sub", "JESD204B"));
    QCOMPARE(reports, QStringList{"JESD204B: Cannot create the directory " + blocker + "/sub"});
    QVERIFY(!IPCore::makeDirs(QString(), "JESD204B"));
}

void HostServicesTest::generateFileWritesUtf8Lines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("each line terminated")
        << QStringList{"`define TX_EN", "", "q0_enable true"} << QString()
        << QByteArray("`define TX_EN\n\nq0_enable true\n");
    QTest::newRow("utf-8 by default") << QStringList{QStringLiteral("f = 122.88 MHz \u00b1 5%")}
                                      << QString() << QByteArray("f = 122.88 MHz \xc2\xb1 5%\n");
    QTest::newRow("named encoding") << QStringList{QStringLiteral("\u00b1")}
                                    << QStringLiteral("ISO-8859-1") << QByteArray("\xb1\n");
    QTest::newRow("no lines, empty file") << QStringList() << QString() << QByteArray();
}

void HostServicesTest::generateFileWritesUtf8Lines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, encoding);
    QFETCH(QByteArray, expected);

    const QString path = writeFile("out.vh", "previous content that is longer\n");
    QVERIFY(IPCore::generateFile(path, lines, nullptr, encoding));
    QCOMPARE(readAll(path), expected);
    QVERIFY(reports.isEmpty());
    // Nothing of the atomic write stays behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"out.vh"});
}

void HostServicesTest::generateFileFailureKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("file grows beyond the disk limit") << "limit";
    QTest::newRow("unknown encoding") << "encoding";
}

void HostServicesTest::generateFileFailureKeepsPreviousFile()
{
    QFETCH(QString, cause);

    const QByteArray previous("old\n");
    const QString path = writeFile("jesd204b.ini", previous);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("q0_ln%1_rx_enable true").arg(i % 8);
    QString encoding;
    bool written = true;
    if (cause == "limit") {
        const FileSizeLimit limit(1024);
        QVERIFY(limit.isActive());
        written = IPCore::generateFile(path, lines, nullptr, encoding);
    } else {
        encoding = QStringLiteral("no-such-encoding");
        written = IPCore::generateFile(path, lines, nullptr, encoding);
    }

    QVERIFY(!written);
    QCOMPARE(readAll(path), previous);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"jesd204b.ini"});
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().startsWith("Error: Cannot write " + path + ": "),
             qPrintable(reports.first()));
}

void HostServicesTest::generateFileFailureShowsBoxOnParent()
{
    Core::MessageSink::setHandler(nullptr); // the host's own sink: a box in a GUI host
    QWidget parent;
    MessageBoxWatcher watcher;
    const QString path = m_dir->filePath("missing/out.vh");
    QVERIFY(!IPCore::generateFile(path, {"x"}, &parent, QString()));
    QCOMPARE(watcher.titles(), QStringList{"Error"});
    QVERIFY2(watcher.texts().first().startsWith("Cannot write " + path),
             qPrintable(watcher.lines().join('\n')));
    QVERIFY(!QFileInfo::exists(path));
}
