#include "testpaths.h"

#include "pluginloader.h"

#include <baseprotocol.h>
#include <protocolpackage.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runHost(const QStringList &arguments)
{
    QProcess process;
    process.start(TestPaths::hostProgram(), arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class HostProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void listShowsTheCore();
    void listTellsDeviceSupport_data();
    void listTellsDeviceSupport();
    void listFailures_data();
    void listFailures();
    void devicesOneLineEach();
    void badUsage_data();
    void badUsage();
    void loaderFillsPackageDirectory();
    void loaderReportsPackageWithoutCore();
};

void HostProgramTest::listShowsTheCore()
{
    const Run run = runHost({"list"});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.contains("id:         jesd204b"), qPrintable(run.out));
    QVERIFY(lines.contains("name:       JESD204B"));
    QVERIFY(lines.contains("version:    1.0"));
    QVERIFY(run.err.isEmpty());
}

void HostProgramTest::listTellsDeviceSupport_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("line");

    QTest::newRow("by name") << "TQ2-S1"
                             << "device:     TQ2-S1 supported";
    QTest::newRow("by part-number id") << "TQ3H8-FF900"
                                       << "device:     TQ3-H8 supported";
}

void HostProgramTest::listTellsDeviceSupport()
{
    QFETCH(QString, device);
    QFETCH(QString, line);

    const Run run = runHost({"list", "--device", device});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.split('\n').contains(line), qPrintable(run.out));
}

void HostProgramTest::listFailures_data()
{
    QTest::addColumn<QString>("content"); // what the plug-in directory holds
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty directory") << "empty" << 1 << "no protocol plug-in found";
    QTest::newRow("library that is no plug-in") << "junk" << 1 << "no protocol plug-in found";
    QTest::newRow("missing directory") << "missing" << 2 << "no such directory";
}

void HostProgramTest::listFailures()
{
    QFETCH(QString, content);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    QTemporaryDir tmp;
    QString dir = tmp.path();
    if (content == "missing") {
        dir += "/nothing";
    } else if (content == "junk") {
        QFile junk(dir + "/libjunk.so");
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a shared object");
    }
    const Run run = runHost({"list", "--plugin-dir", dir});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.startsWith("ipcore-host list: " + dir + ": " + message), qPrintable(run.err));
    QCOMPARE(run.err.count('\n'), 1);
}

void HostProgramTest::devicesOneLineEach()
{
    const Run run = runHost({"devices"});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 10);
    QVERIFY2(lines.contains("TQ2S1-FG324\tTQ2-S1"), qPrintable(run.out));
    for (const QString &line : lines)
        QCOMPARE(line.count('\t'), 1);
}

void HostProgramTest::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown option")
        << QStringList{"list", "--frobnicate"} << "ipcore-host list: Unknown option 'frobnicate'.";
    QTest::newRow("option without value")
        << QStringList{"list", "--plugin-dir"}
        << "ipcore-host list: Missing value after '--plugin-dir'.";
    QTest::newRow("unknown device") << QStringList{"list", "--device", "TQ9-X"}
                                    << "ipcore-host list: device 'TQ9-X' is not in the device "
                                       "database";
    QTest::newRow("stray argument")
        << QStringList{"devices", "extra"} << "ipcore-host devices: unexpected argument 'extra'";
    QTest::newRow("unknown command")
        << QStringList{"frobnicate"} << "ipcore-host: unknown command 'frobnicate'";
}

void HostProgramTest::badUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const Run run = runHost(arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err.section('\n', 0, 0), message);
    QVERIFY(run.out.isEmpty());
}

void HostProgramTest::loaderFillsPackageDirectory()
{
    QString error;
    const HostProgram::PluginSet set = HostProgram::loadPlugins(TestPaths::pluginDir(), &error);
    QCOMPARE(set.status(), HostProgram::PluginSet::Status::Loaded);
    QCOMPARE(set.packages().size(), std::size_t(1));
    const QString dir = set.packages().front().instance->directory();
    QCOMPARE(dir, QDir(TestPaths::pluginDir()).absolutePath());
    QVERIFY(!dir.endsWith('/'));
    QVERIFY(set.jesd204b());
    QCOMPARE(set.jesd204b()->name(), QStringLiteral("JESD204B"));
    QCOMPARE(set.findProtocol("no-such-core"), nullptr);
}

void HostProgramTest::loaderReportsPackageWithoutCore()
{
    // The plug-in alone, without its description file: the package loads and offers nothing.
    QTemporaryDir tmp;
    QVERIFY(
        QFile::copy(TestPaths::pluginDir() + "/libjesd204b.so", tmp.filePath("libjesd204b.so")));
    const Run run = runHost({"list", "--plugin-dir", tmp.path()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(tmp.filePath("libjesd204b.so") + ": the plug-in offers no IP core"),
             qPrintable(run.err));
}

QTEST_MAIN(HostProgramTest)
#include "tst_hostprogram.moc"
