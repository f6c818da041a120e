#include "hostrun.h"
#include "testpaths.h"

#include "pluginloader.h"

#include <baseprotocol.h>
#include <protocolpackage.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class HostProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "<dir>": a fresh directory
        QTest::addColumn<QString>("dirHolds");      // "junk": a library that is no plug-in
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // of stdout; on failure, the first of stderr
        const QStringList inDir{"list", "--plugin-dir", "<dir>"};
        const QString noPlugin =
            QStringLiteral("ipcore-host list: <dir>: no protocol plug-in found");
        // clang-format off
        QTest::newRow("list") << QStringList{"list"} << "" << 0 << QStringList{"id:         jesd204b", "name:       JESD204B", "version:    1.0", "categories: Interfaces, High-Speed Serial", "summary:    JESD204B link between data converters and logic on up to eight SERDES lanes"};
        QTest::newRow("device by name") << QStringList{"list", "--device", "TQ2-S1"} << "" << 0 << QStringList{"device:     TQ2-S1 supported"};
        QTest::newRow("device by part-number id") << QStringList{"list", "--device", "TQ3H8-FF900"} << "" << 0 << QStringList{"device:     TQ3-H8 supported"};
        QTest::newRow("devices") << QStringList{"devices"} << "" << 0 << QStringList{"TQ2M1-BG256\tTQ2-M1", "TQ2S1-FG324\tTQ2-S1"};
        QTest::newRow("empty plug-in directory") << inDir << "" << 1 << QStringList{noPlugin};
        QTest::newRow("library that is no plug-in") << inDir << "junk" << 1 << QStringList{noPlugin};
        QTest::newRow("plug-in without its description") << inDir << "libjesd204b.so" << 1 << QStringList{"ipcore-host list: <dir>/libjesd204b.so: the plug-in offers no IP core: <dir>/jesd204b.ipspec: no such file"};
        QTest::newRow("missing directory") << QStringList{"list", "--plugin-dir", "<dir>/nothing"} << "" << 2 << QStringList{"ipcore-host list: <dir>/nothing: no such directory"};
        QTest::newRow("unknown option") << QStringList{"list", "--frobnicate"} << "" << 2 << QStringList{"ipcore-host list: Unknown option 'frobnicate'."};
        QTest::newRow("option without value") << QStringList{"list", "--plugin-dir"} << "" << 2 << QStringList{"ipcore-host list: Missing value after '--plugin-dir'."};
        QTest::newRow("unknown device") << QStringList{"list", "--device", "TQ9-X"} << "" << 2 << QStringList{"ipcore-host list: device 'TQ9-X' is not in the device database"};
        QTest::newRow("stray argument") << QStringList{"devices", "extra"} << "" << 2 << QStringList{"ipcore-host devices: unexpected argument 'extra'"};
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "" << 2 << QStringList{"ipcore-host: unknown command 'frobnicate'", "Usage: ipcore-host <command> [options]"};
        // clang-format on
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, dirHolds);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        if (dirHolds == "junk") {
            QFile junk(dir.filePath("libjunk.so"));
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a shared object") > 0);
        } else if (!dirHolds.isEmpty()) {
            QVERIFY(QFile::copy(TestPaths::pluginDir() + "/" + dirHolds, dir.filePath(dirHolds)));
        }
        arguments.replaceInStrings("<dir>", dir.path());
        lines.replaceInStrings("<dir>", dir.path());

        const TestSupport::HostRun host = TestSupport::runHost(arguments);
        const QString out = QString::fromUtf8(host.out);
        const QString err = QString::fromUtf8(host.err);
        QCOMPARE(host.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY(out.isEmpty());
            QCOMPARE(err.split('\n').mid(0, lines.size()), lines);
            return;
        }
        QVERIFY2(err.isEmpty(), qPrintable(err));
        const QStringList printed = out.split('\n');
        for (const QString &line : lines)
            QVERIFY2(printed.contains(line), qPrintable(out));
    }

    void loaderFillsPackageDirectory()
    {
        QString error;
        const HostProgram::PluginSet set = HostProgram::loadPlugins(TestPaths::pluginDir(), &error);
        QCOMPARE(set.status(), HostProgram::PluginSet::Status::Loaded);
        QCOMPARE(set.packages().size(), std::size_t(1));
        QCOMPARE(set.packages().front().instance->directory(),
                 QDir(TestPaths::pluginDir()).absolutePath());
        QVERIFY(set.jesd204b());
        QCOMPARE(set.jesd204b()->name(), QStringLiteral("JESD204B"));
        QCOMPARE(set.findProtocol("no-such-core"), nullptr);
    }
};

QTEST_MAIN(HostProgramTest)
#include "tst_hostprogram.moc"
