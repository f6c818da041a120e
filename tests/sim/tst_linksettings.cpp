#include <coreheaders.h>
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
        CoreShape shape;
        shape.lanes = 4;
        shape.mode = mode;
        shape.f = 2;
        shape.k = 32;
        RunSettings settings;
        settings.injectLane = inject;
        settings.overrides = {{"F", f}, {"K", k}};
        QCOMPARE(checkRun(shape, settings).isEmpty(), accepted);
    }
    // A fixed configuration ignores F and scrambling from the command line; the rest applies.
    void fixedConfigurationKeepsFraming()
    {
        CoreShape shape;
        shape.lanes = 8;
        shape.f = 8;
        shape.k = 16;
        shape.scrambling = true;
        shape.fixed = true;
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
        QTest::newRow("pass") << QByteArray("VCD info\nJESD204B_SIM result=PASS latency=17 x=y\n")
                              << true << true << "17";
        QTest::newRow("last line wins")
            << QByteArray(
                   "JESD204B_SIM result=PASS latency=1\nJESD204B_SIM result=FAIL latency=2\n")
            << true << false << "2";
        QTest::newRow("none") << QByteArray("error: timeout\n") << false << false << "";
        QTest::newRow("quoted, not a line start")
            << QByteArray("note: JESD204B_SIM result=PASS\n") << false << false << "";
    }
    void summaryLine()
    {
        QFETCH(QByteArray, output);
        QFETCH(bool, found);
        QFETCH(bool, passed);
        QFETCH(QString, latency);
        const SummaryLine summary = findSummary(output);
        QCOMPARE(summary.found(), found);
        QCOMPARE(summary.passed(), passed);
        QCOMPARE(summary.fields.value("latency"), latency);
    }
};

QTEST_GUILESS_MAIN(TestLinkSettings)
#include "tst_linksettings.moc"
