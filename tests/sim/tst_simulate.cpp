#include "hostrun.h"
#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

static QMap<QString, QString> summaryFields(const TestSupport::HostRun &run)
{
    QMap<QString, QString> fields;
    const QStringList lines = run.outLines();
    if (lines.size() != 1 || !lines.first().startsWith("JESD204B_SIM "))
        return fields;
    for (const QString &word : lines.first().split(' ', Qt::SkipEmptyParts).mid(1))
        fields.insert(word.section('=', 0, 0), word.section('=', 1));
    return fields;
}

// `ipcore-host simulate` as a user runs it: exit codes, the summary line and the files it
// writes. The link runs over every set and option mix are CTest's sim_link_* runs.
class TestSimulate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_work.isValid()); }
    void links_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("linkups");
        QTest::addColumn<QString>("recovered");
        // clang-format off
        QTest::newRow("re-syncs") << QStringList{"--resyncs", "2", "--frames", "96"} << 0 << "3" << "n/a";
        QTest::newRow("injected error") << QStringList{"--inject-error", "0", "--frames", "96"} << 0 << "2" << "yes";
        // Four converters of one sample (the set's F = 8 on one lane) through the transport.
        QTest::newRow("samples") << QStringList{"--samples", "--frames", "96"} << 0 << "1" << "n/a";
        // Skew beyond the 128-octet buffer next to a 64-octet multiframe cannot align.
        QTest::newRow("skew beyond the buffer") << QStringList{"--lane-skew", "120", "--frames", "32"} << 1 << "0" << "n/a";
        // clang-format on
    }
    void links()
    {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, linkups);
        QFETCH(QString, recovered);
        const TestSupport::HostRun run = simulate(exitCode == 0 ? "lanes1.json" : "lanes4.json",
                                                  QTest::currentDataTag(), options);
        QCOMPARE(run.exitCode, exitCode);
        const QMap<QString, QString> fields = summaryFields(run);
        QCOMPARE(fields.value("result"), QString(exitCode == 0 ? "PASS" : "FAIL"));
        QCOMPARE(fields.value("linkups"), linkups);
        QCOMPARE(fields.value("recovered"), recovered);
        if (exitCode != 0)
            return;
        QCOMPARE(fields.value("latency_constant"), QString("yes"));
        QCOMPARE(fields.value("data_errors"), QString("0"));
        QVERIFY(fields.value("frames").toInt() >= 96);
        QVERIFY(fields.value("latency").toInt() > 0);
        QCOMPARE(fields.value("lane_errors").toInt() > 0, recovered == "yes");
        QCOMPARE(fields.contains("samples_checked"), options.contains("--samples"));
        if (options.contains("--samples")) {
            QVERIFY(fields.value("samples_checked").toInt() >= 96 * 4);
            QCOMPARE(fields.value("sample_errors"), QString("0"));
        }
    }
    void refusedBeforeRunning_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("multiframe too short") << QStringList{"--f", "1", "--k", "16"} << "F*K";
        QTest::newRow("lane out of range")
            << QStringList{"--inject-error", "9"} << "--inject-error";
        QTest::newRow("unknown simulator") << QStringList{"--simulator", "xsim"} << "--simulator";
        QTest::newRow("bad number") << QStringList{"--frames", "ten"} << "--frames";
        QTest::newRow("samples and a pattern")
            << QStringList{"--samples", "--test-pattern", "rpat"} << "--test-pattern";
        QTest::newRow("samples and control words")
            << QStringList{"--samples", "--cf", "1"} << "control words (CF > 0) are not supported";
    }
    void refusedBeforeRunning()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        const TestSupport::HostRun run = simulate("lanes1.json", "refused", options);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QVERIFY(!QFileInfo::exists(m_work.filePath("refused/jesd_l1/sim/tb_config.vh")));
    }
    void missingSimulator()
    {
        QTemporaryDir emptyPath;
        const TestSupport::HostRun run = simulate(
            "lanes1.json", "nosim", {"--simulator", "verilator"}, {"PATH=" + emptyPath.path()});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.err, QByteArray("ipcore-host simulate: verilator is not installed (not found "
                                     "on PATH)\n"));
    }
    // The dump's content is checked by check_lanes.py (CTest's sim_lanes_* runs); here the
    // files are written where the options say, one column per lane.
    void laneDumpAndWaveform()
    {
        const QString dump = m_work.filePath("lanes.txt");
        const QString vcd = m_work.filePath("wave.vcd");
        const TestSupport::HostRun run =
            simulate("lanes4.json", "dump", {"--frames", "32", "--dump-lanes", dump, "--vcd", vcd});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(TestFiles::bytes(dump).split('\n').first().split(' ').size(), 4);
        const QByteArray wave = TestFiles::bytes(vcd);
        QVERIFY(wave.contains("$enddefinitions") && wave.contains(" sync_n "));
    }

private:
    // One run on sim/tests/configs/<set> in a work folder of its own.
    TestSupport::HostRun simulate(const QString &set, const QString &workdir,
                                  const QStringList &options, const QStringList &environment = {})
    {
        TestSupport::HostSetup setup;
        setup.environment = environment;
        setup.timeoutMs = 300000;
        return TestSupport::runHost(QStringList{"simulate",
                                                JESD_SOURCE_DIR "/sim/tests/configs/" + set,
                                                "--workdir", m_work.filePath(workdir)} +
                                        options,
                                    setup);
    }
    QTemporaryDir m_work;
};

QTEST_GUILESS_MAIN(TestSimulate)
#include "tst_simulate.moc"
