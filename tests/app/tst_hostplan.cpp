#include "hostrun.h"
#include "testpaths.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::HostRun;
using TestSupport::runHost;

namespace {

const QString TwoQuads = QStringLiteral("TQ2H4-FF676");
const QStringList WorkedMode{"--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16"};

// rate = f_ref x N / (M x D) for a quad PLL, 2 x f_ref x N1 x N2 / (M x D) for a CPLL, in MHz.
double rateFromDividers(const QJsonObject &option)
{
    const QJsonObject d = option["dividers"].toObject();
    const double ref = option["refClockMHz"].toDouble();
    if (option["pll"].toString() == "CPLL")
        return 2 * ref * d["N1"].toInt() * d["N2"].toInt() / (d["M"].toInt() * d["D"].toInt());
    return ref * d["N"].toInt() / (d["M"].toInt() * d["D"].toInt());
}

} // namespace

class HostPlanTest : public QObject
{
    Q_OBJECT

private slots:
    // The worked mode: F = 2 * 1 * 16 / (8 * 4) = 1, 8 * F = 8 bits per lane and frame split
    // a 16-bit sample (HD 1), K the largest legal 32, lane rate 2 * 16 * 1000 * 10/8 / 4 =
    // 10000 Mbps, LMFC 1000 / 32 = 31.25 MHz.
    void workedMode()
    {
        const HostRun run = runHost(QStringList{"plan"} + WorkedMode);
        QCOMPARE(run.exitCode, 0);
        const QStringList out = run.outLines();
        for (const char *line :
             {"F (octets per frame): 1", "HD (high density): 1", "K range: 17 to 32",
              "K (frames per multiframe): 32", "Lane rate: 10 Gbps", "Frame clock: 1000 MHz",
              "LMFC: 31.25 MHz", "Device clock, 32-bit PCS: 250 MHz"})
            QVERIFY2(out.contains(line), line);
        // No device, no clocking.
        QVERIFY(!out.contains("Clocking, best first:"));
    }

    // Every option the plan lists makes the lane rate with its own dividers, from a clock the
    // dialog takes that its frequency line writes unchanged.
    void clockingOptionsMakeTheRate_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<QString>("device");
        QTest::addColumn<double>("rateMbps");
        QTest::newRow("worked mode, two quads") << WorkedMode << TwoQuads << 10000.0;
        // M 4, N' 16, L 4 at 245.76 MSPS: 4 * 16 * 245.76 * 10/8 / 4 = 4915.2 Mbps.
        QTest::newRow("four converters, group B")
            << QStringList{"--fs", "245.76", "--l", "4", "--m", "4", "--s", "1", "--np", "16"}
            << "TQ2S2-FG484" << 4915.2;
        // M 1, N' 16, L 1, S 2 at 100 MSPS: 1 * 16 * 100 * 10/8 / 1 = 2000 Mbps, CPLL band.
        QTest::newRow("one converter, one lane")
            << QStringList{"--fs", "100", "--l", "1", "--m", "1", "--s", "2", "--np", "16"}
            << "TQ2S1-FG324" << 2000.0;
    }

    void clockingOptionsMakeTheRate()
    {
        QFETCH(QStringList, mode);
        QFETCH(QString, device);
        QFETCH(double, rateMbps);
        const HostRun run = runHost(QStringList{"plan", "--json", "--device", device} + mode);
        QCOMPARE(run.exitCode, 0);
        const QJsonObject plan = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(plan["laneRateGbps"].toDouble(), rateMbps / 1000);
        const QJsonArray clocking = plan["clocking"].toArray();
        QVERIFY(!clocking.isEmpty());
        for (const QJsonValue &value : clocking) {
            const QJsonObject option = value.toObject();
            const double ref = option["refClockMHz"].toDouble();
            QVERIFY(ref >= 50 && ref <= 500);
            QCOMPARE(QString::number(ref, 'g', 6).toDouble(), ref);
            QVERIFY2(qFuzzyCompare(rateFromDividers(option), rateMbps),
                     qPrintable(QJsonDocument(option).toJson()));
        }
    }

    void brokenRules_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // each on a line of its own on stderr
        const QString p = "ipcore-host plan: ";
        // clang-format off
        // F = 2 * 1 * 16 / (8 * 8) = 1/2; 4 / L is whole for L = 1, 2, 4.
        QTest::newRow("F not whole") << QStringList{"--fs", "500", "--l", "8", "--m", "2", "--s", "1", "--np", "16"} << 1 << QStringList{p + "Octets per frame: F = M * S * N' / (8 * L) = 2 * 1 * 16 / (8 * 8) = 1/2 is not whole; L = 1, 2, 4 make it whole"};
        // F = 4: 17 <= 4K gives K >= 5.
        QTest::newRow("K too small") << QStringList{"--fs", "250", "--l", "1", "--m", "2", "--s", "1", "--np", "16", "--k", "2"} << 1 << QStringList{p + "Frames per multiframe: K = 2 is out of range for F = 4; 17 <= F * K <= 1024 and K <= 32 allow K = 5 to 32"};
        // Two rules at once: the worked mode with HD 0 and a K beyond 32.
        QTest::newRow("HD and K") << QStringList{"--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16", "--hd", "0", "--k", "40"} << 1 << QStringList{p + "High density: a sample of N' = 16 bits spans lanes, since a lane carries 8 * F = 8 bits per frame, no multiple of N'; HD = 0 is not allowed, HD must be 1", p + "Frames per multiframe: K = 40 is out of range for F = 1; 17 <= F * K <= 1024 and K <= 32 allow K = 17 to 32"};
        QTest::newRow("missing mode value") << QStringList{"--fs", "1000", "--l", "4", "--m", "2", "--s", "1"} << 2 << QStringList{p + "--np is required (--fs, --m, --l, --s and --np give the converter's mode)"};
        QTest::newRow("bad number") << WorkedMode + QStringList{"--k", "x"} << 2 << QStringList{p + "--k takes a whole number, not 'x'"};
        QTest::newRow("bad direction") << WorkedMode + QStringList{"--mode", "up"} << 2 << QStringList{p + "--mode takes rx, tx or both, not 'up'"};
        QTest::newRow("bad scrambling") << WorkedMode + QStringList{"--scrambling", "yes"} << 2 << QStringList{p + "--scrambling takes on or off, not 'yes'"};
        QTest::newRow("emit without device") << WorkedMode + QStringList{"--emit-set", "x.json"} << 2 << QStringList{p + "--emit-set needs a device: give --device ID or a design that names one"};
        QTest::newRow("unknown device") << WorkedMode + QStringList{"--device", "TQ9"} << 2 << QStringList{p + "device 'TQ9' is not in the device database"};
        // Group A devices have four lanes.
        QTest::newRow("more lanes than free") << QStringList{"--fs", "500", "--l", "8", "--m", "4", "--s", "1", "--np", "16", "--device", "TQ2S1-FG324"} << 1 << QStringList{p + "Lanes: L = 8, but TQ2-S1 leaves 4 lanes free for the core (Q0 Lane0, Q0 Lane1, Q0 Lane2, Q0 Lane3)"};
        // clang-format on
    }

    void brokenRules()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        const HostRun run = runHost(QStringList{"plan"} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        const QStringList err = run.errLines();
        for (const QString &line : lines)
            QVERIFY2(err.contains(line), qPrintable(run.err));
        if (exitCode == 1)
            QCOMPARE(err.count() - 1, lines.size()); // one line per rule, then the last newline
    }
};

QTEST_GUILESS_MAIN(HostPlanTest)
#include "tst_hostplan.moc"
