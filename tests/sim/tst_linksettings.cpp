#include <coreheaders.h>
#include <latencyreport.h>
#include <linksettings.h>
#include <summaryline.h>

#include <QtTest>

using namespace LinkSim;

// The testbench configuration the command derives from a core's headers and its options.
class TestLinkSettings : public QObject
{
    Q_OBJECT

private slots:
    void defaultsMakeAValidFrame_data()
    {
        QTest::addColumn<int>("f");
        QTest::addColumn<int>("lanes");
        QTest::addColumn<int>("hd"); // a 16-bit sample spread over lanes needs the dense format
        QTest::newRow("F1 L1") << 1 << 1 << 0;
        QTest::newRow("F1 L2") << 1 << 2 << 1;
        QTest::newRow("F3 L1") << 3 << 1 << 0;
        QTest::newRow("F8 L8") << 8 << 8 << 0;
        QTest::newRow("F256 L8") << 256 << 8 << 0;
    }
    // F = M * S * N' / (8 * L) must hold with every field in its ILAS range.
    void defaultsMakeAValidFrame()
    {
        QFETCH(int, f);
        QFETCH(int, lanes);
        QFETCH(int, hd);
        const QMap<QString, int> p = defaultLinkParams(f, lanes);
        const int m = p.value("M"), s = p.value("S"), np = p.value("NP"), n = p.value("N");
        QCOMPARE(m * s * np, 8 * f * lanes);
        QVERIFY(m >= 1 && m <= 256);
        QVERIFY(s >= 1 && s <= 32);
        QVERIFY(n >= 1 && n <= np && np <= 32);
        QCOMPARE(p.value("HD"), hd);
    }
    void modelLimits_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("f");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("inject");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("F4 K32") << 1 << 4 << 32 << -1 << true;
        QTest::newRow("F32 K1") << 1 << 32 << 1 << -1 << true;
        QTest::newRow("F1 K16: short multiframe") << 1 << 1 << 16 << -1 << false;
        QTest::newRow("F3 K8 32-bit") << 1 << 3 << 8 << -1 << true;
        QTest::newRow("F5 K5: not whole clocks") << 1 << 5 << 5 << -1 << false;
        QTest::newRow("F2 K10 64-bit: not whole clocks") << 2 << 2 << 10 << -1 << false;
        QTest::newRow("F2 K12 64-bit") << 2 << 2 << 12 << -1 << true;
        QTest::newRow("error on the last lane") << 1 << 4 << 32 << 3 << true;
        QTest::newRow("error beyond the lanes") << 1 << 4 << 32 << 4 << false;
    }
    void modelLimits()
    {
        QFETCH(int, mode);
        QFETCH(int, f);
        QFETCH(int, k);
        QFETCH(int, inject);
        QFETCH(bool, accepted);
        const CoreShape shape{"core", 4, mode, 2, 32}; // four lanes, F 2, K 32
        RunSettings settings;
        settings.injectLane = inject;
        settings.overrides = {{"F", f}, {"K", k}};
        QCOMPARE(checkRun(shape, settings).isEmpty(), accepted);
    }
    // A fixed configuration ignores F and scrambling from the command line; the rest applies.
    void fixedConfigurationKeepsFraming()
    {
        // Eight lanes, F 8, K 16, scrambled, fixed.
        CoreShape shape{"core", 8, 1, 8, 16, true, true};
        RunSettings settings;
        settings.overrides = {{"F", 2}, {"SCR", 0}, {"K", 4}, {"DID", 0x21}};
        settings.dumpLanes = true;
        const QStringList lines = testbenchConfig(shape, settings);
        for (const char *line : {"`define TB_F (8)", "`define TB_SCR (1)", "`define TB_K (4)",
                                 "`define TB_DID (33)", "`define TB_DUMP \"lanes.txt\""})
            QVERIFY2(lines.contains(line), line);
        QVERIFY(!lines.join('\n').contains("TB_VCD"));
        shape.fixed = false;
        QVERIFY(testbenchConfig(shape, settings).contains("`define TB_F (2)"));
    }
    void summaryLine_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<bool>("found");
        QTest::addColumn<bool>("passed");
        QTest::addColumn<QString>("latency");
        QTest::addColumn<QStringList>("report"); // at 4.9152 Gbps: 2.0345 ns per octet
        // clang-format off
        QTest::newRow("pass") << QByteArray("VCD info\nJESD204B_SIM result=PASS latency=17 x=y\n") << true << true << "17" << QStringList();
        QTest::newRow("lanes, an overflow, a crossing, a refused ILAS")
            << QByteArray("JESD204B_LANE lane=0 arrival=16 release=0 margin=1136 overflow=1 buffer=1024 octets_per_clock=4\n"
                          "JESD204B_CROSSED linkup=2 delay=17 margin=36 latency=41 first=9\n"
                          "JESD204B_LANE lane=1 arrival=92 release=0 margin=36 overflow=0 buffer=1024 octets_per_clock=4\n"
                          "JESD204B_ILAS lane=1 expected=550A0083011F038D2F20000000A6 received=550A0083001F038D2F20000000A6\n"
                          "JESD204B_SIM result=FAIL latency=-1\n")
            << true << false << "-1"
            << QStringList{"lane 0: ILAS start 16 octets after the LMFC boundary, 1136 octets (2311.2 ns) before the release point (octet 0): elastic buffer overflow, the lane would hold 1140 octets at the release, its buffer 1024",
                           "lane 1: ILAS start 92 octets after the LMFC boundary, 36 octets (73.2 ns) before the release point (octet 0)",
                           "margin: 36 octets (73.2 ns) between the latest lane (1) and the release point",
                           "elastic buffer overflow: the lanes' skew exceeds what the buffer holds; the link does not come up",
                           "link-up 2: the channel delay grew by 17 octets (34.6 ns), beyond the margin of 36 octets (73.2 ns): the release point was crossed, the latency is 41 core clocks instead of 9",
                           "lane 1: F expected 2 (octet 0x01), received 1 (0x00)",
                           "lane 1: FCHK received 0xA6, the fields sum to 0xA5"};
        QTest::newRow("last line wins") << QByteArray("JESD204B_SIM result=PASS latency=1\nJESD204B_SIM result=FAIL latency=2\n") << true << false << "2" << QStringList();
        QTest::newRow("none") << QByteArray("error: timeout\n") << false << false << "" << QStringList();
        QTest::newRow("quoted, not a line start") << QByteArray("note: JESD204B_SIM result=PASS\n") << false << false << "" << QStringList();
        // clang-format on
    }
    void summaryLine()
    {
        QFETCH(QByteArray, output);
        QFETCH(bool, found);
        QFETCH(bool, passed);
        QFETCH(QString, latency);
        QFETCH(QStringList, report);
        const SummaryLine summary = findSummary(output);
        QCOMPARE(summary.found(), found);
        QCOMPARE(summary.passed(), passed);
        QCOMPARE(summary.fields.value("latency"), latency);
        QCOMPARE(latencyReport(output, IPSERDESIP::Ratio::fromDecimal("4915.2")), report);
    }
};

QTEST_GUILESS_MAIN(TestLinkSettings)
#include "tst_linksettings.moc"
