// "ipcore-host plan" from a converter's mode, the sets it emits proved by check and given back
// by the dialog, and "ipcore-host ilas" on a stored set.
#include "hostrun.h"
#include "testfiles.h"
#include "testpaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using TestFiles::readJson;
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
    // What plan and ilas print: each line on standard output, or for a refusal on standard
    // error with one line per broken rule.
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "<set>": the L 4, F 2, K 32 set below, with
                                                    // its record; "<design>": a design holding it
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines");
        const QString p = "ipcore-host plan: ";
        const QString i = "ipcore-host ilas: ";
        const QStringList plan{"plan"};
        const QStringList ilas{"ilas", TestPaths::example("rx_2lane.json")};
        // clang-format off
        // The worked mode: F = 2 * 1 * 16 / (8 * 4) = 1, 8 * F = 8 bits per lane and frame split a 16-bit sample (HD 1), K the largest legal 32, lane rate 2 * 16 * 1000 * 10/8 / 4 = 10000 Mbps, LMFC 1000 / 32 = 31.25 MHz.
        QTest::newRow("worked mode") << plan + WorkedMode << 0 << QStringList{"F (octets per frame): 1", "HD (high density): 1", "K range: 17 to 32", "K (frames per multiframe): 32", "Lane rate: 10 Gbps", "Frame clock: 1000 MHz", "LMFC: 31.25 MHz", "Device clock, 32-bit PCS: 250 MHz"};
        // 31.25 MHz = 4 x 7.8125 MHz; 31.25 / 10 = 3.125.
        QTest::newRow("SYSREF divides the LMFC") << plan + WorkedMode + QStringList{"--sysref", "7.8125"} << 0 << QStringList{"SYSREF: LMFC 31.25 MHz = 4 x SYSREF 7.8125 MHz"};
        QTest::newRow("SYSREF does not divide") << plan + WorkedMode + QStringList{"--sysref", "10"} << 1 << QStringList{p + "SYSREF 10 MHz does not divide LMFC 31.25 MHz (3.125 periods)"};
        // The design's "set" (4.9152 Gbps, F 2, K 32: LMFC 7.68 MHz) with the worked mode's 31.25 MHz share only 0.01 MHz / n, slower than device clock 250 MHz / 8192; "other" has no record, the Quillan core none to look for.
        QTest::newRow("design links share no SYSREF") << plan + WorkedMode + QStringList{"--design", "<design>"} << 0 << QStringList{"Design link other:other: no link record other.link.json, left out", "Design link set:set: LMFC 7.68 MHz", "SYSREF: the 2 links share none from device clock 250 MHz / 8192 = 0.030517578125 MHz up; set:set (LMFC 7.68 MHz) breaks it, leaving 0.01 MHz / n"};
        QTest::newRow("skew budget beyond its bound") << plan + WorkedMode + QStringList{"--skew-budget", "100000.5"} << 2 << QStringList{p + "--skew-budget takes a decimal number of ns from 0 to 100000, not '100000.5'"};
        // Two rules at once: the worked mode with HD 0 and a K beyond 32.
        QTest::newRow("HD and K") << QStringList{"plan", "--fs", "1000", "--l", "4", "--m", "2", "--s", "1", "--np", "16", "--hd", "0", "--k", "40"} << 1 << QStringList{p + "High density: a sample of N' = 16 bits spans lanes, since a lane carries 8 * F = 8 bits per frame, no multiple of N'; HD = 0 is not allowed, HD must be 1", p + "Frames per multiframe: K = 40 is out of range for F = 1; 17 <= F * K <= 1024 and K <= 32 allow K = 17 to 32"};
        // 2222.222 Mbps = 2 * 1111111 kbps: every clock that makes it has seven significant digits or more.
        QTest::newRow("no clock the frequency line keeps") << QStringList{"plan", "--fs", "111.1111", "--l", "1", "--m", "1", "--s", "1", "--np", "16", "--device", TwoQuads} << 1 << QStringList{p + "Clocking: no PLL of TQ2-H4 makes 2.222222 Gbps on Q0 Lane0 from a reference clock of 50 to 500 MHz that the design leaves free"};
        QTest::newRow("missing mode value") << QStringList{"plan", "--fs", "1000", "--l", "4", "--m", "2", "--s", "1"} << 2 << QStringList{p + "--np is required (--fs, --m, --l, --s and --np give the converter's mode)"};
        QTest::newRow("bad number") << plan + WorkedMode + QStringList{"--k", "x"} << 2 << QStringList{p + "--k takes a whole number from 1 to 1024, not 'x'"};
        // Bounded before any arithmetic: F would overflow 32 bits.
        QTest::newRow("M beyond its field") << plan + QStringList{"--fs", "10", "--l", "1", "--m", "1073741824", "--s", "1", "--np", "16"} << 2 << QStringList{p + "--m takes a whole number from 1 to 256, not '1073741824'"};
        QTest::newRow("reserved subclass") << plan + WorkedMode + QStringList{"--subclass", "3"} << 2 << QStringList{p + "--subclass takes a whole number from 0 to 2, not '3' (subclasses 3 to 7 are reserved)"};
        QTest::newRow("bad direction") << plan + WorkedMode + QStringList{"--mode", "up"} << 2 << QStringList{p + "--mode takes rx, tx or both, not 'up'"};
        QTest::newRow("bad scrambling") << plan + WorkedMode + QStringList{"--scrambling", "yes"} << 2 << QStringList{p + "--scrambling takes on or off, not 'yes'"};
        QTest::newRow("emit without device") << plan + WorkedMode + QStringList{"--emit-set", "x.json"} << 2 << QStringList{p + "--emit-set needs a device: give --device ID or a design that names one"};
        QTest::newRow("unknown device") << plan + WorkedMode + QStringList{"--device", "TQ9"} << 2 << QStringList{p + "device 'TQ9' is not in the device database"};
        // Group A devices have four lanes.
        QTest::newRow("more lanes than free") << QStringList{"plan", "--fs", "500", "--l", "8", "--m", "4", "--s", "1", "--np", "16", "--device", "TQ2S1-FG324"} << 1 << QStringList{p + "Lanes: L = 8, but TQ2-S1 leaves 4 lanes free for the core (Q0 Lane0, Q0 Lane1, Q0 Lane2, Q0 Lane3)"};
        // The public vector: DID 0x55, BID 0xA, L 4, M 4, F 2, S 1, K 32, N 14, N' 16, CS 2, scrambling on, subclass 1; L, F, K and scrambling come from the set. LID, and FCHK with it, rise by one a lane.
        QTest::newRow("ILAS of a stored set") << QStringList{"ilas", "<set>", "--m", "4", "--n", "14", "--np", "16", "--s", "1", "--cs", "2", "--did", "0x55", "--bid", "0xA"} << 0 << QStringList{"ILAS lane 0: 55 0A 00 83 01 1F 03 8D 2F 20 00 00 00 A6 (FCHK A6)", "ILAS lane 3: 55 0A 03 83 01 1F 03 8D 2F 20 00 00 00 A9 (FCHK A9)"};
        // A received lane 2 with F - 1 = 0 and the sent FCHK; one line alone compares with the lane its LID names.
        QTest::newRow("ILAS comparison") << QStringList{"ilas", "<set>", "--m", "4", "--n", "14", "--np", "16", "--s", "1", "--cs", "2", "--did", "85", "--bid", "10", "--compare", "55 0A 02 83 00 1F 03 8D 2F 20 00 00 00 A8"} << 1 << QStringList{"lane 2: F expected 2 (octet 0x01), received 1 (0x00)", "lane 2: FCHK received 0xA8, the fields sum to 0xA7"};
        QTest::newRow("ILAS comparison, 13 octets") << ilas + QStringList{"--m", "2", "--n", "16", "--np", "32", "--s", "1", "--compare", "55 0A"} << 2 << QStringList{i + "'55 0A' is not 14 octets in hex"};
        // The example's L 2, F 4: M 2, S 1, N' 16 give 2 * 16 / 16 = 2, not 4.
        QTest::newRow("F of the set disagrees") << ilas + QStringList{"--m", "2", "--n", "16", "--np", "16", "--s", "1"} << 1 << QStringList{i + "Octets per frame: F = 4 was given, but M * S * N' / (8 * L) = 2 * 1 * 16 / (8 * 2) = 2; F must be 2"};
        QTest::newRow("no record, no M") << ilas + QStringList{"--np", "16"} << 2 << QStringList{i + "--m is required: no link record rx_2lane.link.json beside the set"};
        // clang-format on
    }

    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        TestFiles::writeJson(dir.filePath("set.json"),
                             TestFiles::changedJson(TestPaths::example("rx_2lane.json"),
                                                    {{"Number_of_lanes", "4"},
                                                     {"Default_F", "2"},
                                                     {"Default_K", "32"},
                                                     {"Default_Scrambling_ON", "Scrambling ON"}}));
        TestFiles::writeJson(dir.filePath("set.link.json"),
                             {{"format", "jesd204b-link"}, {"version", 1}, {"M", 4}, {"N'", 16}});
        const auto instance = [](const char *name, const char *protocol) {
            return QJsonObject{{"name", name}, {"protocol", protocol}, {"lanes", QJsonArray()}};
        };
        TestFiles::writeJson(dir.filePath("design.json"),
                             {{"instances", QJsonArray{instance("other:other", "JESD204B"),
                                                       instance("eth:mac", "Quillan 64B66B"),
                                                       instance("set:set", "JESD204B")}}});
        arguments.replaceInStrings("<set>", dir.filePath("set.json"));
        arguments.replaceInStrings("<design>", dir.filePath("design.json"));
        const HostRun run = runHost(arguments);
        QCOMPARE(run.exitCode, exitCode);
        // A comparison's differences are its result, on standard output.
        const bool result = exitCode == 0 || (exitCode == 1 && arguments.contains("--compare"));
        const QStringList printed = result ? run.outLines() : run.errLines();
        for (const QString &line : lines)
            QVERIFY2(printed.contains(line), qPrintable(run.out + run.err));
        if (!result) // a plan that breaks a rule is still shown; ILAS octets are not
            QVERIFY(run.out.isEmpty() || (exitCode == 1 && arguments.first() == "plan"));
        if (exitCode == 1) // one line per rule or difference
            QCOMPARE(printed.size() - (result ? 0 : 1), lines.size());
    }
    // Each emitted set passes check with no rule broken and one line per lane, comes back
    // unchanged from the dialog, and generates. Every clocking option the plan lists beside it
    // makes the lane rate with its own dividers, from a clock the dialog takes that its
    // frequency line writes unchanged; for modes from data sheets, a clock a single clock chip
    // gives comes first: the device clock, lane rate / (10 x PCS octets). designs/jesd_rx_q0.json
    // runs Q0_QPLL0 at 14.7456 GHz from Q0 REFCLK0 at 122.88 MHz for a receiver on Q0 lanes 2
    // and 3: a transmitter at 3.6864 Gbps (14.7456 GHz / 4) gets the lanes the dialog offers it
    // and that PLL first, and is proved there on the shared PLL.
    void emittedSets_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("lineRate"); // M * N' * Fs * 10/8 / L, in Gbps
        QTest::addColumn<QString>("f");        // M * S * N' / (8 * L)
        QTest::addColumn<QString>("k");        // the largest K with F * K <= 1024, at most 32
        QTest::addColumn<int>("lanes");
        QTest::addColumn<int>("pcsBits");
        QTest::addColumn<bool>("deviceClockFirst");
        QTest::addColumn<QString>("design"); // an example design the core joins; empty: none
        // clang-format off
        // 10 Gbps: 250 MHz is the device clock.
        QTest::newRow("worked mode") << WorkedMode << TwoQuads << "10" << "1" << "32" << 4 << 32 << true << "";
        // Quad 14-bit ADC, mode L 4 M 4 F 2 with two control bits, receiving.
        QTest::newRow("quad ADC, receive") << QStringList{"--fs", "245.76", "--l", "4", "--m", "4", "--s", "1", "--np", "16", "--n", "14", "--cs", "2", "--mode", "rx", "--scrambling", "on"} << "TQ2S2-FG484" << "4.9152" << "2" << "32" << 4 << 32 << true << "";
        // Dual DAC, mode L 1 M 2 F 4, transmitting.
        QTest::newRow("dual DAC, one lane") << QStringList{"--fs", "122.88", "--l", "1", "--m", "2", "--s", "1", "--np", "16", "--mode", "tx"} << "TQ2S1-FG324" << "4.9152" << "4" << "32" << 1 << 32 << true << "";
        // Octal ADC, mode L 8 M 8 F 2: both quads.
        QTest::newRow("octal ADC on two quads") << QStringList{"--fs", "500", "--l", "8", "--m", "8", "--s", "1", "--np", "16", "--mode", "rx"} << TwoQuads << "10" << "2" << "32" << 8 << 32 << true << "";
        // Single 16-bit converter, two samples a frame on one lane: F 4, 2 Gbps on the CPLL band.
        QTest::newRow("one converter, S 2") << QStringList{"--fs", "100", "--l", "1", "--m", "1", "--s", "2", "--np", "16", "--k", "20"} << "TQ2S1N-FG324" << "2" << "4" << "20" << 1 << 32 << true << "";
        // One 16-bit converter at 98.7654 MSPS: 1.975308 Gbps, which the CPLL also makes (493.827 MHz x 2 x 4 x 4 / (2 x 4)).
        QTest::newRow("odd rate, CPLL among the options") << QStringList{"--fs", "98.7654", "--l", "1", "--m", "1", "--s", "1", "--np", "16"} << TwoQuads << "1.975308" << "2" << "32" << 1 << 32 << false << "";
        // 12.5 Gbps: a 312.5 MHz 32-bit core clock passes the fabric; 156.25 MHz on the 64-bit PCS.
        QTest::newRow("12.5 Gbps, 64-bit PCS") << QStringList{"--fs", "625", "--l", "2", "--m", "2", "--s", "1", "--np", "16"} << TwoQuads << "12.5" << "2" << "32" << 2 << 64 << true << "";
        QTest::newRow("inside a design") << QStringList{"--fs", "92.16", "--l", "1", "--m", "2", "--s", "1", "--np", "16", "--mode", "tx"} << TwoQuads << "3.6864" << "4" << "32" << 1 << 32 << false << "designs/jesd_rx_q0.json";
        // clang-format on
    }

    void emittedSets()
    {
        QFETCH(QStringList, mode);
        QFETCH(QString, device);
        QFETCH(QString, lineRate);
        QFETCH(QString, f);
        QFETCH(QString, k);
        QFETCH(int, lanes);
        QFETCH(int, pcsBits);
        QFETCH(bool, deviceClockFirst);
        QFETCH(QString, design);
        QTemporaryDir dir;
        const QString set = dir.filePath("set.json");
        QStringList inDesign; // a copy of the design, which configure changes last
        if (!design.isEmpty()) {
            inDesign << "--design" << dir.filePath("design.json");
            QVERIFY(QFile::copy(TestPaths::example(design), inDesign.last()));
        }
        const HostRun plan = runHost(
            QStringList{"plan", "--json", "--device", device, "--emit-set", set} + mode + inDesign);
        QVERIFY2(plan.exitCode == 0, plan.err.constData());
        const QJsonObject planned = plan.json();
        QCOMPARE(planned["laneRateGbps"].toDouble(), lineRate.toDouble());
        QCOMPARE(planned["pcsBits"].toInt(), pcsBits);
        const QJsonArray clocking = planned["clocking"].toArray();
        QVERIFY(!clocking.isEmpty());
        QCOMPARE(clocking.first()["relation"].toString() == "device clock" &&
                     clocking.first()["refClockMHz"].toDouble() ==
                         lineRate.toDouble() * 1000 / (pcsBits / 8 * 10),
                 deviceClockFirst);
        for (const QJsonValue &option : clocking) {
            const double ref = option["refClockMHz"].toDouble();
            QVERIFY(ref >= 50 && ref <= 500);
            QCOMPARE(QString::number(ref, 'g', 6).toDouble(), ref);
            QVERIFY2(qFuzzyCompare(rateFromDividers(option.toObject()), lineRate.toDouble() * 1000),
                     qPrintable(QJsonDocument(option.toObject()).toJson()));
        }
        const QJsonObject emitted = readJson(set);
        QCOMPARE(emitted["Line_Rate"].toString(), lineRate);
        QCOMPARE(emitted["Default_F"].toString(), f);
        QCOMPARE(emitted["Default_K"].toString(), k);
        QCOMPARE(emitted["target_device"].toString(), device);

        const HostRun check = runHost(QStringList{"check", set, "--strict"} + inDesign);
        QVERIFY2(check.exitCode == 0 && check.err.isEmpty(), (check.out + check.err).constData());
        QCOMPARE(check.outLines().size(), 1 + lanes); // the verdict, then each lane
        if (!design.isEmpty()) {
            QCOMPARE(planned["lanes"].toArray(), QJsonArray{"Q0 Lane0"});
            const QJsonObject first = clocking.first().toObject();
            QCOMPARE(QStringList({first["pll"].toString(), first["refClockSource"].toString(),
                                  QString::number(first["refClockMHz"].toDouble())}),
                     QStringList({"QPLL0", "Q0 REFCLK0", "122.88"}));
            QVERIFY2(check.out.contains("(shared with adc.v:jesd_rx)"), check.out.constData());
        }
        const QString back = dir.filePath("back.json");
        const HostRun dialog = runHost(
            QStringList{"configure", "--edit", set, "--batch", "--output", back} + inDesign);
        QVERIFY2(dialog.exitCode == 0, dialog.err.constData());
        QCOMPARE(readJson(back), emitted);
        const HostRun generate = runHost({"generate", back, "--workdir", dir.path()});
        QVERIFY2(generate.exitCode == 0 && generate.err.isEmpty(), generate.err.constData());
        // The converter's mode came along beside the dialog's set: ilas needs no option.
        const HostRun ilas = runHost({"ilas", back});
        QVERIFY2(ilas.exitCode == 0, ilas.err.constData());
        const QJsonArray lanesIlas = planned["ilas"].toArray();
        QCOMPARE(ilas.outLines().size(), lanesIlas.size());
        for (const QJsonValue &lane : lanesIlas) {
            QStringList hex;
            for (const QJsonValue &octet : lane["octets"].toArray())
                hex << QString::asprintf("%02X", octet.toInt());
            QVERIFY(ilas.outLines().at(lane["lane"].toInt()).contains(hex.join(' ')));
        }
        // Nor does transport: its modules' first line states the recorded mode.
        const HostRun transport = runHost({"transport", back, "--workdir", dir.path()});
        QVERIFY2(transport.exitCode == 0, transport.err.constData());
        const QString header = QString(" M=%1 F=%2 ").arg(mode.at(mode.indexOf("--m") + 1), f);
        QVERIFY(TestFiles::bytes(transport.outLines().first()).contains(header.toUtf8()));
    }
};

QTEST_GUILESS_MAIN(HostPlanTest)
#include "tst_hostplan.moc"
