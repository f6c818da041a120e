#include "hostrun.h"
#include "testpaths.h"

#include "testfiles.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::HostRun;
using TestSupport::runHost;

using TestFiles::readJson;
using TestFiles::writeJson;

namespace {} // namespace

// Sets that the planner writes: proved by check, given back unchanged by the dialog.
class HostPlanSetTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void emittedSets_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("lineRate"); // M * N' * Fs * 10/8 / L, in Gbps
        QTest::addColumn<QString>("f");        // M * S * N' / (8 * L)
        QTest::addColumn<QString>("k");        // the largest K with F * K <= 1024, at most 32
        // clang-format off
        // Two-channel 1 GSPS converter, mode L 4 M 2 F 1 (the worked mode).
        QTest::newRow("2 converters on 4 lanes") << QStringList{"--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16"} << "TQ2H4-FF676" << "10" << "1" << "32";
        // Quad 14-bit ADC, mode L 4 M 4 F 2 with two control bits, receiving.
        QTest::newRow("quad ADC, receive") << QStringList{"--fs", "245.76", "--l", "4", "--m", "4", "--s", "1", "--np", "16", "--n", "14", "--cs", "2", "--mode", "rx", "--scrambling", "on"} << "TQ2S2-FG484" << "4.9152" << "2" << "32";
        // Dual 16-bit DAC, mode L 1 M 2 F 4, transmitting.
        QTest::newRow("dual DAC, one lane") << QStringList{"--fs", "122.88", "--l", "1", "--m", "2", "--s", "1", "--np", "16", "--mode", "tx"} << "TQ2S1-FG324" << "4.9152" << "4" << "32";
        // Dual 12-bit ADC, mode L 2 M 2 F 2 at 368.64 MSPS.
        QTest::newRow("dual ADC, two lanes") << QStringList{"--fs", "368.64", "--l", "2", "--m", "2", "--s", "1", "--np", "16", "--n", "12", "--mode", "rx"} << "TQ2M1-BG256" << "7.3728" << "2" << "32";
        // Octal ADC, mode L 8 M 8 F 2: both quads.
        QTest::newRow("octal ADC on two quads") << QStringList{"--fs", "500", "--l", "8", "--m", "8", "--s", "1", "--np", "16", "--mode", "rx"} << "TQ2H4-FF676" << "10" << "2" << "32";
        // Single 16-bit converter, two samples a frame on one lane: F 4, 2 Gbps on the CPLL band.
        QTest::newRow("one converter, S 2") << QStringList{"--fs", "100", "--l", "1", "--m", "1", "--s", "2", "--np", "16", "--k", "20"} << "TQ2S1N-FG324" << "2" << "4" << "20";
        // clang-format on
    }

    void emittedSets()
    {
        QFETCH(QStringList, mode);
        QFETCH(QString, device);
        QFETCH(QString, lineRate);
        QFETCH(QString, f);
        QFETCH(QString, k);
        const QString set =
            path(QString("set_%1.json").arg(QTest::currentDataTag()).replace(' ', '_').remove(','));
        const HostRun plan =
            runHost(QStringList{"plan", "--device", device, "--emit-set", set} + mode);
        QVERIFY2(plan.exitCode == 0, plan.err.constData());
        const QJsonObject emitted = readJson(set);
        QCOMPARE(emitted["Line_Rate"].toString(), lineRate);
        QCOMPARE(emitted["Default_F"].toString(), f);
        QCOMPARE(emitted["Default_K"].toString(), k);
        QCOMPARE(emitted["target_device"].toString(), device);

        const HostRun check = runHost({"check", set, "--strict"});
        QVERIFY2(check.exitCode == 0, (check.out + check.err).constData());
        QVERIFY(check.err.isEmpty()); // no link rule broken

        const QString back = path("back.json");
        QFile::remove(back);
        const HostRun dialog = runHost({"configure", "--edit", set, "--batch", "--output", back});
        QVERIFY2(dialog.exitCode == 0, dialog.err.constData());
        QCOMPARE(readJson(back), emitted);
    }

    // plan -> emit -> check -> the dialog gives it back -> generate.
    void workedModeEndToEnd()
    {
        const QString set = path("worked.json");
        QCOMPARE(runHost({"plan", "--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16",
                          "--device", "TQ2H4-FF676", "--emit-set", set})
                     .exitCode,
                 0);
        const HostRun check = runHost({"check", set});
        QCOMPARE(check.exitCode, 0);
        QVERIFY(check.outLines().value(0).endsWith(": the line rate can be made"));
        QCOMPARE(check.outLines().size(), 5); // the verdict and four lanes
        const QString back = path("worked_back.json");
        QCOMPARE(runHost({"configure", "--edit", set, "--batch", "--output", back}).exitCode, 0);
        QCOMPARE(readJson(back), readJson(set));
        const QString work = path("work");
        QVERIFY(QDir().mkpath(work));
        QCOMPARE(runHost({"generate", back, "--workdir", work}).exitCode, 0);
        QFile ini(work + "/worked/temp/jesd204b/jesd204b.ini");
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray lines = ini.readAll();
        QVERIFY(lines.contains("q0_ln3_tx_rate 10"));
    }

    // A design that runs Q0_QPLL0 and its clock for another core: the plan leaves that PLL out
    // unless it serves the rate from the same clock, and the emitted set is proved there.
    void emittedSetInsideDesign()
    {
        const QString design = TestPaths::examplesDir() + "/designs/jesd_rx_q0.json";
        const QString set = path("in_design.json");
        const HostRun plan = runHost({"plan",     "--fs",   "122.88",     "--l",      "1",
                                      "--m",      "2",      "--s",        "1",        "--np",
                                      "16",       "--mode", "tx",         "--device", "TQ2H4-FF676",
                                      "--design", design,   "--emit-set", set,        "--json"});
        QVERIFY2(plan.exitCode == 0, plan.err.constData());
        // 4.9152 Gbps is 14.7456 GHz / 3, and 3 is no output divider: QPLL0 is out. The
        // design's Q0 REFCLK0 runs at 122.88 MHz, so only that clock may come from it.
        const QJsonArray clocking =
            QJsonDocument::fromJson(plan.out).object()["clocking"].toArray();
        QVERIFY(!clocking.isEmpty());
        for (const QJsonValue &value : clocking) {
            const QJsonObject option = value.toObject();
            QVERIFY(option["pll"].toString() != "QPLL0");
            QVERIFY(option["refClockSource"].toString() != "Q0 REFCLK0" ||
                    option["refClockMHz"].toDouble() == 122.88);
        }
        const HostRun check = runHost({"check", set, "--design", design});
        QVERIFY2(check.exitCode == 0, (check.out + check.err).constData());
    }

    // The public vector: DID 0x55, BID 0xA, L 4, M 4, F 2, S 1, K 32, N 14, N' 16, CS 2,
    // scrambling on, subclass 1. Each further lane raises LID, and FCHK with it, by one.
    void ilasOfStoredSet()
    {
        QJsonObject set = readJson(TestPaths::examplesDir() + "/rx_2lane.json");
        set["Number_of_lanes"] = "4";
        set["Default_F"] = "2";
        set["Default_K"] = "32";
        set["Default_Scrambling_ON"] = "Scrambling ON";
        const QString file = path("ilas.json");
        QVERIFY(writeJson(file, set));
        const HostRun run = runHost({"ilas", file, "--m", "4", "--n", "14", "--np", "16", "--s",
                                     "1", "--cs", "2", "--did", "85", "--bid", "10"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.outLines(),
                 QStringList({"ILAS lane 0: 55 0A 00 83 01 1F 03 8D 2F 20 00 00 00 A6 (FCHK A6)",
                              "ILAS lane 1: 55 0A 01 83 01 1F 03 8D 2F 20 00 00 00 A7 (FCHK A7)",
                              "ILAS lane 2: 55 0A 02 83 01 1F 03 8D 2F 20 00 00 00 A8 (FCHK A8)",
                              "ILAS lane 3: 55 0A 03 83 01 1F 03 8D 2F 20 00 00 00 A9 (FCHK A9)"}));
    }

    void ilasRefusals_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("line");
        const QString p = "ipcore-host ilas: ";
        // clang-format off
        // The example's L 2, F 4: M 2, S 1, N' 16 give 2 * 16 / 16 = 2, not 4.
        QTest::newRow("F of the set disagrees") << QStringList{"--m", "2", "--n", "16", "--np", "16", "--s", "1"} << 1 << p + "Octets per frame: F = 4 was given, but M * S * N' / (8 * L) = 2 * 1 * 16 / (8 * 2) = 2; F must be 2";
        QTest::newRow("DID wider than 8 bits") << QStringList{"--m", "4", "--n", "16", "--np", "16", "--s", "1", "--did", "300"} << 1 << "";
        QTest::newRow("missing N") << QStringList{"--m", "4", "--np", "16", "--s", "1"} << 2 << p + "--n is required (--m, --n, --np and --s)";
        // clang-format on
    }

    void ilasRefusals()
    {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, line);
        const HostRun run =
            runHost(QStringList{"ilas", TestPaths::examplesDir() + "/rx_2lane.json"} + options);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(line.isEmpty() || run.errLines().contains(line), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(HostPlanSetTest)
#include "tst_hostplanset.moc"
