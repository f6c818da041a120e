#include <hostrun.h>
#include <testfiles.h>
#include <testpaths.h>

#include <QtTest>

using TestFiles::bytes;
using TestSupport::HostRun;
using TestSupport::runHost;

class TestHostGenerate : public QObject
{
    Q_OBJECT

private slots:
    void examples_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("withTemplate");
        // clang-format off
        QTest::newRow("transmit, 2 lanes") << "tx_2lane" << "jesd_tx" << false;
        QTest::newRow("receive, 2 lanes, with template") << "rx_2lane" << "jesd_rx" << true;
        QTest::newRow("both, 8 lanes, with design and template") << "both_8lane" << "jesd_both" << true;
        QTest::newRow("group B device") << "groupb" << "jesd_b" << false;
        // clang-format on
    }

    // The example files pin typical configurations down to the byte, beside the host's own
    // files too.
    void examples()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(bool, withTemplate);
        QTemporaryDir work;
        const QString expected = TestPaths::example("expected/" + name);
        QStringList arguments{"generate", TestPaths::example(name + ".json"), "--workdir",
                              work.path()};
        if (QFileInfo::exists(expected + "/design.json"))
            arguments << "--design" << expected + "/design.json";
        if (withTemplate)
            arguments << "--with-template";
        const HostRun result = runHost(arguments);
        QVERIFY2(result.exitCode == 0 && result.err.isEmpty(), result.err.constData());
        QCOMPARE(result.out, bytes(expected + "/module_options.txt"));

        const QDir dir(work.path() + "/" + file + "/temp/jesd204b");
        const QStringList outputs{"jesd204b.ini", "jesd204b_top_defines.vh", "top_define.vh"};
        QStringList all = outputs;
        if (withTemplate)
            all << file + ".sdc" << file + "_inst.v";
        all.sort();
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), all);
        for (const QString &output : outputs)
            QCOMPARE(bytes(dir.filePath(output)), bytes(expected + "/" + output));
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QStringList work{"--workdir", "<dir>/work"};
        // clang-format off
        QTest::newRow("unknown device") << QByteArray("{\"file\": \"x\"}") << work + QStringList{"--device", "NOPE"} << 2 << "device 'NOPE' is not in the device database";
        QTest::newRow("set judged on the given device") << bytes(TestPaths::example("both_8lane.json")) << work + QStringList{"--device", "TQ2M1-BG256"} << 2 << "<dir>/params.json: \"recordlanes\" is \"Q1 Lane0\"; allowed: lanes of TQ2-M1: \"Q0 Lane0\", \"Q0 Lane1\", \"Q0 Lane2\", \"Q0 Lane3\"";
        QTest::newRow("empty set") << QByteArray("{}") << work + QStringList{"--as-is"} << 1 << "<dir>/params.json: the parameter set is empty; nothing was generated";
        QTest::newRow("transport without its mode") << QByteArray("{\"file\": \"x\"}") << work + QStringList{"--with-transport", "--m", "2"} << 2 << "--s is required (--m, --s and --np give the converter's mode)";
        QTest::newRow("working directory below a file") << QByteArray("{\"file\": \"x\"}") << QStringList{"--workdir", "<dir>/params.json/work", "--as-is"} << 1 << "Cannot create the directory <dir>/params.json/work/x/temp/jesd204b: cannot create the working folder <dir>/params.json/work: Not a directory";
        // clang-format on
    }

    void refusals()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString params = dir.filePath("params.json");
        TestFiles::put(params, content);
        options.replaceInStrings("<dir>", dir.path());
        message.replace("<dir>", dir.path());

        const HostRun result = runHost(QStringList{"generate", params} + options);
        QCOMPARE(result.exitCode, exitCode);
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(result.out.isEmpty() && err.endsWith(message + '\n'), qPrintable(err));
        QVERIFY(!QFileInfo::exists(dir.filePath("work")));
    }

    // The modules go beside the core, committed with it, as the transport command writes them.
    void withTransport()
    {
        QTemporaryDir work;
        const QStringList mode{"--m", "2", "--s", "2", "--np", "16", "--workdir"};
        const HostRun generated = runHost(
            QStringList{"generate", TestPaths::example("rx_2lane.json"), "--with-transport"} +
            mode + QStringList{work.filePath("g")});
        QVERIFY2(generated.exitCode == 0, generated.err.constData());
        const QDir dir(work.filePath("g/jesd_rx/transport"));
        QCOMPARE(dir.entryList(QDir::Files), QStringList{"jesd_rx_rx_transport.v"});
        const HostRun written =
            runHost(QStringList{"transport", TestPaths::example("rx_2lane.json")} + mode +
                    QStringList{work.filePath("t")});
        QVERIFY2(written.exitCode == 0, written.err.constData());
        const QByteArray module = bytes(dir.filePath("jesd_rx_rx_transport.v"));
        QVERIFY(module.contains("module jesd_rx_rx_transport ("));
        QCOMPARE(bytes(work.filePath("t/jesd_rx/transport/jesd_rx_rx_transport.v")), module);
    }

    void synthesis()
    {
        QTemporaryDir work;
        const QString plugins = TestFiles::pluginCopy(work.path());
        QStringList arguments{"generate", TestPaths::example("rx_2lane.json"), "--synthesis"};
        arguments << "--workdir" << work.filePath("w") << "--plugin-dir" << plugins;
        const HostRun missing = runHost(arguments);
        QVERIFY2(missing.exitCode == 1 && missing.out.isEmpty() &&
                     missing.err.contains("jesd204b_core_encryption.v not found"),
                 missing.err.constData());

        TestFiles::put(plugins + "/data/jesd204b_core_encryption.v", {});
        const HostRun ready = runHost(arguments);
        QVERIFY2(ready.exitCode == 0 && ready.err.count('\n') == 1 && ready.err.contains("jesd_rx"),
                 ready.err.constData());
    }

    void resources()
    {
        const HostRun result = runHost({"resources", TestPaths::example("groupb.json")});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        const QJsonObject report = result.json();
        QCOMPARE(report.keys(), (QStringList{"bothRateList", "file", "instanceName", "laneList",
                                             "module", "pllList", "protocolName", "refClkFreqList",
                                             "refClkList", "rxRateList", "txRateList"}));
        QCOMPARE(report.value("laneList").toArray(), (QJsonArray{"Q0_LANE1_RX", "Q0_LANE0_RX"}));
        QCOMPARE(report.value("refClkList").toArray(), (QJsonArray{"MCLK", "MCLK"}));
    }
};

QTEST_MAIN(TestHostGenerate)
#include "tst_hostgenerate.moc"
