#include "hostrun.h"
#include "testfiles.h"

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using namespace TestSupport;

// The fields of the summary line, the run's last line.
static QMap<QString, QString> summaryFields(const HostRun &run)
{
    QMap<QString, QString> fields;
    const QStringList lines = run.outLines();
    if (lines.isEmpty() || !lines.last().startsWith("JESD204B_SIM "))
        return fields;
    for (const QString &word : lines.last().split(' ', Qt::SkipEmptyParts).mid(1))
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
        QTest::addColumn<QString>("set");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("linkups");
        QTest::addColumn<QString>("recovered");
        QTest::addColumn<QString>("constant"); // latency_constant
        QTest::addColumn<QString>("printed");  // a line the run prints before its summary
        // clang-format off
        QTest::newRow("re-syncs") << "lanes1.json" << QStringList{"--resyncs", "2", "--frames", "96"} << 0 << "3" << "n/a" << "yes" << "margin: ";
        QTest::newRow("injected error") << "lanes1.json" << QStringList{"--inject-error", "0", "--frames", "96"} << 0 << "2" << "yes" << "yes" << "";
        // Four converters of one sample (the set's F = 8 on one lane) through the transport.
        QTest::newRow("samples") << "lanes1.json" << QStringList{"--samples", "--frames", "96"} << 0 << "1" << "n/a" << "yes" << "";
        // Skew beyond the 128-octet buffer next to a 64-octet multiframe cannot align.
        QTest::newRow("skew beyond the buffer") << "lanes4.json" << QStringList{"--lane-skew", "120", "--frames", "32"} << 1 << "0" << "n/a" << "n/a" << "elastic buffer overflow: ";
        // A common delay that grows at each re-sync by less than the latest lane's margin keeps
        // the release point; one beyond it moves the release by a multiframe.
        QTest::newRow("delay inside the margin") << "lanes4.json" << QStringList{"--lane-skew", "8", "--resyncs", "2", "--delay-variation", "4", "--frames", "64"} << 0 << "3" << "n/a" << "yes" << "";
        QTest::newRow("delay across the release point") << "lanes4.json" << QStringList{"--lane-skew", "8", "--rbd", "16", "--resyncs", "2", "--delay-variation", "200", "--frames", "64"} << 1 << "3" << "n/a" << "no" << "the release point was crossed";
        // The dump's content is checked by check_lanes.py (CTest's sim_lanes_* runs); here the
        // files are written where the options say, one column per lane.
        QTest::newRow("lane dump and waveform") << "lanes4.json" << QStringList{"--frames", "64", "--dump-lanes", "<work>/lanes.txt", "--vcd", "<work>/wave.vcd"} << 0 << "1" << "n/a" << "yes" << "";
        QTest::newRow("ILAS refused") << "lanes1.json" << QStringList{"--tx-did", "7", "--frames", "32"} << 1 << "1" << "n/a" << "yes" << "lane 0: DID expected 0 (octet 0x00), received 7 (0x07)";
        // clang-format on
    }
    void links()
    {
        QFETCH(QString, set);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, linkups);
        QFETCH(QString, recovered);
        QFETCH(QString, constant);
        QFETCH(QString, printed);
        options.replaceInStrings("<work>", m_work.path());
        const HostRun run = simulate(set, QTest::currentDataTag(), options);
        QCOMPARE(run.exitCode, exitCode);
        const QMap<QString, QString> fields = summaryFields(run);
        QCOMPARE(fields.value("result"), QString(exitCode == 0 ? "PASS" : "FAIL"));
        QCOMPARE(fields.value("linkups"), linkups);
        QCOMPARE(fields.value("recovered"), recovered);
        QCOMPARE(fields.value("latency_constant"), constant);
        QVERIFY2(run.out.contains(printed.toUtf8()), run.out.constData());
        // The reported margin decides: a variation up to it keeps the latency.
        const int variation = options.indexOf("--delay-variation");
        if (variation >= 0)
            QCOMPARE(options.at(variation + 1).toInt() <= fields.value("margin_octets").toInt(),
                     constant == "yes");
        if (exitCode != 0)
            return;
        if (options.contains("--dump-lanes")) {
            QCOMPARE(TestFiles::bytes(options.at(3)).split('\n').first().split(' ').size(), 4);
            const QByteArray wave = TestFiles::bytes(options.at(5));
            QVERIFY(wave.contains("$enddefinitions") && wave.contains(" sync_n "));
        }
        QCOMPARE(fields.value("data_errors"), QString("0"));
        QVERIFY(fields.value("frames").toInt() >= 64);
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
        QTest::addColumn<QString>("message"); // within the one line on standard error
        QTest::addColumn<bool>("emptyPath");  // PATH one empty folder
        // clang-format off
        QTest::newRow("multiframe too short") << QStringList{"--f", "1", "--k", "16"} << "Frames per multiframe: K = 16" << false;
        QTest::newRow("lane out of range") << QStringList{"--inject-error", "9"} << "--inject-error" << false;
        QTest::newRow("unknown simulator") << QStringList{"--simulator", "xsim"} << "--simulator" << false;
        QTest::newRow("bad number") << QStringList{"--frames", "ten"} << "--frames" << false;
        QTest::newRow("transmitter without the pattern generator") << QStringList{"--test-pattern", "rpat"} << "(\"Include_RPAT_Generator\" is off)" << false;
        QTest::newRow("samples and a pattern") << QStringList{"--samples", "--test-pattern", "rpat"} << "--test-pattern" << false;
        QTest::newRow("release point beyond the multiframe") << QStringList{"--rbd", "4"} << "--rbd 4: K = 4 allows 0..3" << false;
        QTest::newRow("delay variation without re-syncs") << QStringList{"--delay-variation", "8"} << "--delay-variation" << false;
        QTest::newRow("skew on one lane") << QStringList{"--lane-skew", "4"} << "--lane-skew needs two lanes" << false;
        QTest::newRow("samples and control words") << QStringList{"--samples", "--cf", "1"} << "control words (CF > 0) are not supported" << false;
        QTest::newRow("missing simulator") << QStringList{"--simulator", "verilator"} << "ipcore-host simulate: verilator is not installed (not found on PATH)\n" << true;
        // clang-format on
    }
    void refusedBeforeRunning()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        QFETCH(bool, emptyPath);
        QTemporaryDir empty;
        const QStringList environment{"PATH=" + (emptyPath ? empty.path() : qgetenv("PATH"))};
        const HostRun run = simulate("lanes1.json", "refused", options, environment);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(message.toUtf8()) && run.err.count('\n') == 1,
                 run.err.constData());
        QVERIFY(!QFileInfo::exists(m_work.filePath("refused/jesd_l1/sim/tb_config.vh")));
    }
    // Through the one door: a set that would write outside the work folder or add a line to a
    // generated file is refused before anything is written, and links planted where the run
    // writes lead nowhere: nothing outside the work folder changes.
    void gate_data()
    {
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QString>("plant"); // a link below DIR/jesd_l1 to the outside
        QTest::addColumn<int>("exitCode");
        // clang-format off
        QTest::newRow("file up two") << QJsonObject{{"file", "../../x"}} << "" << 2;
        QTest::newRow("define by newline") << QJsonObject{{"LMFC_Buffer", "4\n`define X 1"}, {"Default_SYSREF_Always", "x"}} << "" << 2;
        QTest::newRow("backtick") << QJsonObject{{"Clock_Frequency", "`X"}} << "" << 2;
        QTest::newRow("quote") << QJsonObject{{"module", "m\""}} << "" << 2;
        QTest::newRow("carriage return") << QJsonObject{{"Line_Rate", "5\r"}} << "" << 2;
        QTest::newRow("9 lanes") << QJsonObject{{"Number_of_lanes", "9"}} << "" << 2;
        QTest::newRow("200000000 lanes") << QJsonObject{{"Number_of_lanes", "200000000"}} << "" << 2;
        QTest::newRow("headers folder a link") << QJsonObject() << "temp/jesd204b" << 1;
        QTest::newRow("sim a link") << QJsonObject() << "sim" << 0;
        QTest::newRow("tb.vvp a link") << QJsonObject() << "sim/tb.vvp" << 0;
        QTest::newRow("tb.vvp a hard link") << QJsonObject() << "sim/tb.vvp=" << 0;
        // clang-format on
    }
    void gate()
    {
        QFETCH(QJsonObject, changes);
        QFETCH(QString, plant);
        QFETCH(int, exitCode);
        QTemporaryDir root;
        const QString outside = root.filePath("outside");
        const QString core = root.filePath("w/jesd_l1");
        QVERIFY(QDir().mkpath(outside) && QDir().mkpath(core + "/sim"));
        TestFiles::put(outside + "/victim", "kept\n");
        const QString params = TestFiles::writeJson(
            root.filePath("p.json"),
            TestFiles::changedJson(JESD_SOURCE_DIR "/sim/tests/configs/lanes1.json", changes));
        if (plant.endsWith('='))
            QVERIFY(::link(QFile::encodeName(outside + "/victim").constData(),
                           QFile::encodeName(core + "/" + plant.chopped(1)).constData()) == 0);
        else if (plant.endsWith(".vvp"))
            QVERIFY(QFile::link(outside + "/victim", core + "/" + plant));
        else if (!plant.isEmpty())
            QVERIFY(QDir(core + "/" + plant).removeRecursively() &&
                    QDir().mkpath(QFileInfo(core + "/" + plant).path()) &&
                    QFile::link(outside, core + "/" + plant));
        const QStringList before = TestFiles::tree(outside, true);
        const QStringList all = TestFiles::tree(root.path(), true);
        const HostRun run =
            runHost({"simulate", params, "--workdir", root.filePath("w"), "--frames", "32"},
                    {{}, 0, 120000});
        QVERIFY2(run.exitCode == exitCode, run.err.constData());
        QCOMPARE(TestFiles::tree(outside, true), before);
        if (exitCode == 2)
            QCOMPARE(TestFiles::tree(root.path(), true), all);
        if (exitCode == 0)
            QVERIFY(QFileInfo(core + "/sim/run.log").isFile() &&
                    !QFileInfo(core + "/sim").isSymLink());
    }
    // SIGTERM ends the simulator and everything it started, and the run in one line.
    void stoppedBySignal()
    {
        QTemporaryDir root;
        const auto host = startHost({"simulate", JESD_SOURCE_DIR "/sim/tests/configs/lanes8.json",
                                     "--workdir", root.path(), "--frames", "1000000"});
        const auto runningBelowRoot = [&root] {
            for (const QFileInfo &proc : QDir("/proc").entryInfoList(QDir::Dirs)) {
                if (QFileInfo(proc.filePath() + "/cwd").symLinkTarget().startsWith(root.path()))
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(root.filePath("jesd_l8/temp")) && runningBelowRoot(), 60000);
        ::kill(pid_t(host->processId()), SIGTERM);
        const HostRun run = finishHost(*host);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY(!runningBelowRoot());
    }

private:
    // One run on sim/tests/configs/<set> in a work folder of its own.
    HostRun simulate(const QString &set, const QString &workdir, const QStringList &options,
                     const QStringList &environment = {})
    {
        return runHost(QStringList{"simulate", JESD_SOURCE_DIR "/sim/tests/configs/" + set,
                                   "--workdir", m_work.filePath(workdir)} +
                           options,
                       {environment, 0, 300000});
    }
    QTemporaryDir m_work;
};

QTEST_GUILESS_MAIN(TestSimulate)
#include "tst_simulate.moc"
