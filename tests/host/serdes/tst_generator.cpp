#include "testfiles.h"

#include <generator.h>
#include <serdes.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using IPSERDESIP::generator;
using IPSERDESIP::serdes;

namespace {

// The option block the plug-in writes for one lane, as far as the generator reads it.
QStringList laneLines(const QString &prefix, const QString &pll, const QString &tx,
                      const QString &rx = QString())
{
    return {prefix + "_tx_rate " + tx, prefix + "_rx_rate " + (rx.isNull() ? tx : rx),
            prefix + "_pll_sel " + pll.toLower(), prefix + "_loopback_mode off",
            prefix + "_enable true"};
}

QStringList oneLane(const QString &rate, const QString &refMHz, const QString &pll)
{
    return laneLines("q0_ln0", pll, rate) +
           QStringList{"q0_enable true", "q0_refclk0_freq " + refMHz};
}

// What the rest of the design holds before the run, in the words of the data rows:
// "Q0_QPLL0 runs 14.7456 from Q0_REFCLK0 for adc.v:jesd_rx" (optionally "from Q0_REFCLK0 at
// 122.88 for ..."), "Q0_LANE0 used by eth.v:mac"
// (and routed from Q0_REFCLK0) or "Q0_LANE0_TX routed from Q0_REFCLK1 at 156.25".
void prepare(const QString &setup)
{
    serdes *model = serdes::instance();
    const QStringList w = setup.split(' ');
    if (setup.contains(" runs ")) {
        auto *pll = dynamic_cast<IPSERDESIP::PLL *>(model->allInstance().value(w[0]));
        pll->setEnabled(true);
        pll->setVco(w[2]);
        pll->setRefClock(w[4]);
        pll->setOwner(w.last());
        if (w[5] == "at")
            model->FormStringToREFSPtr(w[4])->setFrequency(w[6]);
    } else if (setup.contains(" used by ")) {
        auto *lane = dynamic_cast<IPSERDESIP::LANE *>(model->allInstance().value(w[0]));
        lane->setLaneStatus(IPSERDESIP::LANE::Transmit);
        lane->setOwner(w[3]);
        model->checkRoute({w[0] + "_TX"}, {"Q0_QPLL1"}, {"Q0_REFCLK0"}, {"122.88"});
    } else if (setup.contains(" routed ")) {
        model->checkRoute({w[0]}, {"Q0_CPLL0"}, {w[3]}, {w[5]});
    }
}

} // namespace

class GeneratorTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { serdes::instance()->reset(); }

    // Lanes that share a VCO, and the reasons a run fails.
    void generate_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("expected"); // parts of the solved lines, or the reasons
        const QStringList quads{"q0_enable true", "q1_enable true", "q0_refclk0_freq 122.88"};
        const QString noRoute;
        const QString running = "Q0_QPLL0 runs 14.7456 from Q0_REFCLK0 for adc.v:jesd_rx";
        // clang-format off
        QTest::newRow("10.3125 from 156.25 on QPLL0") << noRoute << oneLane("10.3125", "156.25", "QPLL0") << true << QStringList{"Q0_QPLL0, M 1, N 66, D 1, VCO 10.3125 GHz"};
        QTest::newRow("1.0 from 50 on QPLL1") << noRoute << oneLane("1.0", "50", "QPLL1") << true << QStringList{"Q0_QPLL1, M 1, N 160, D 8, VCO 8 GHz"};
        QTest::newRow("12.5 from 156.25 on QPLL1") << noRoute << oneLane("12.5", "156.25", "QPLL1") << true << QStringList{"VCO 12.5 GHz"};
        QTest::newRow("QPLL0 band's upper edge") << noRoute << oneLane("16.375", "163.75", "QPLL0") << true << QStringList{"N 100"};
        QTest::newRow("above QPLL1's band whatever D") << noRoute << oneLane("16.375", "163.75", "QPLL1") << false << QStringList{"q0_ln0 on Q0_QPLL1: QPLL1 cannot make 16.375 Gbps from Q0_REFCLK0 at 163.75 MHz: 16.375 Gbps needs a VCO of 16.375, 32.75, 65.5, 131, 262 GHz (rate x D, D in {1, 2, 4, 8, 16}), none of which lies in 8-13 GHz. QPLL0 would make it from 163.75 MHz."};
        QTest::newRow("no tolerance window") << noRoute << oneLane("4.91520001", "122.88", "QPLL1") << false << QStringList{"q0_ln0 on Q0_QPLL1: QPLL1 cannot make 4.91520001 Gbps from Q0_REFCLK0 at 122.88 MHz: VCO ~9.8304 GHz (D 2) would need N / M = ~80, which no N in 16..160 with M in 1..4 gives. No other PLL makes it from 122.88 MHz either, and no other PLL was found that makes it from another clock on Q0_REFCLK0."};
        QTest::newRow("trailing zeros change nothing") << noRoute << oneLane("2.4576", "122.880", "CPLL") << true << QStringList{"Q0_CPLL0, M 1, N1 4, N2 5, D 2, VCO 2.4576 GHz"};
        // The phase detector takes clock / M, 20-410 MHz on the QPLLs (410 itself too) and 20-300 MHz on the CPLL; the reference input is 40-820 MHz.
        QTest::newRow("QPLL1 from 500: M 2") << noRoute << oneLane("10", "500", "QPLL1") << true << QStringList{"Q0_QPLL1, M 2, N 40, D 1, VCO 10 GHz"};
        QTest::newRow("QPLL1 at the top") << noRoute << oneLane("8.2", "410", "QPLL1") << true << QStringList{"Q0_QPLL1, M 1, N 20, D 1, VCO 8.2 GHz"};
        QTest::newRow("CPLL from 500: M 2") << noRoute << oneLane("5", "500", "CPLL") << true << QStringList{"Q0_CPLL0, M 2, N1 5, N2 2, D 1, VCO 2.5 GHz"};
        QTest::newRow("QPLL1 from 30") << noRoute << oneLane("4.8", "30", "QPLL1") << false << QStringList{"q0_ln0 on Q0_QPLL1: QPLL1 cannot make 4.8 Gbps from Q0_REFCLK0 at 30 MHz: 30 MHz lies outside its reference clock input range of 40-820 MHz. Reference clocks that would work on QPLL1: 60, 64, 75 MHz. No other PLL makes it from 30 MHz either."};
        // 4.9152 and 2.4576 share a 9.8304 GHz VCO (D 2 and D 4); 6.144 needs 12.288 GHz.
        QTest::newRow("one quad PLL, divisible rates") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152") + laneLines("q0_ln1", "QPLL1", "2.4576") + quads << true << QStringList{"D 2, VCO 9.8304", "D 4, VCO 9.8304"};
        QTest::newRow("one quad PLL, two VCOs") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152") + laneLines("q0_ln1", "QPLL1", "6.144") + quads << false << QStringList{"q0_ln0, q0_ln1 on Q0_QPLL1: QPLL1 cannot make 4.9152 and 6.144 Gbps from Q0_REFCLK0 at 122.88 MHz: the rates 4.9152, 6.144 Gbps share one VCO, and no VCO in 8-13 GHz gives all of them with D in {1, 2, 4, 8, 16}. CPLL would make it from 122.88 MHz."};
        QTest::newRow("each quad its PLL") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152") + laneLines("q1_ln0", "QPLL1", "6.144") + quads << true << QStringList{"VCO 9.8304", "VCO 12.288"};
        QTest::newRow("each lane its CPLL") << noRoute << laneLines("q0_ln0", "CPLL", "4.9152") + laneLines("q0_ln1", "CPLL", "6.144") + quads << true << QStringList{"Q0_CPLL0", "Q0_CPLL1"};
        QTest::newRow("two directions, divisible") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152", "2.4576") + quads << true << QStringList{"(Q0_LANE0, tx+rx): 4.9152/2.4576 Gbps on Q0_QPLL1, M 1, N 80, D tx 2, rx 4"};
        QTest::newRow("two directions, two VCOs") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152", "6.144") + quads << false << QStringList{"q0_ln0 on Q0_QPLL1: QPLL1 cannot make 4.9152 and 6.144 Gbps from Q0_REFCLK0 at 122.88 MHz: the rates 4.9152, 6.144 Gbps share one VCO, and no VCO in 8-13 GHz gives all of them with D in {1, 2, 4, 8, 16}. No other PLL makes it from 122.88 MHz either, and no other PLL was found that makes it from another clock on Q0_REFCLK0."};
        QTest::newRow("running PLL / 2") << running << oneLane("7.3728", "122.88", "QPLL0") << true << QStringList{"shared with adc.v:jesd_rx"};
        QTest::newRow("running PLL, other VCO") << running << oneLane("4.9152", "122.88", "QPLL0") << false << QStringList{"q0_ln0 on Q0_QPLL0: the PLL already runs at 14.7456 GHz for adc.v:jesd_rx and serves 7.3728, 3.6864, 1.8432, 0.9216 Gbps, not 4.9152 Gbps. QPLL1 or CPLL would make it from 122.88 MHz."};
        // The clock the running PLL needs is suggested only when the core is proved with it.
        QTest::newRow("running PLL, other clock") << "Q0_QPLL1 runs 9.8304 from Q0_REFCLK1 for other" << oneLane("4.9152", "122.88", "QPLL1") << false << QStringList{"q0_ln0: Q0_QPLL1 runs from Q0_REFCLK1 for other, not from Q0_REFCLK0. QPLL0 or CPLL would make it from 122.88 MHz."};
        QTest::newRow("running PLL, its clock proved") << "Q0_QPLL1 runs 9.8304 from Q0_REFCLK1 at 122.88 for other" << oneLane("4.9152", "122.88", "QPLL1") << false << QStringList{"q0_ln0: Q0_QPLL1 runs from Q0_REFCLK1 for other, not from Q0_REFCLK0; use Q0_REFCLK1. QPLL0 or CPLL would make it from 122.88 MHz."};
        // A refin pin's frequency line names the clock when no route does.
        QTest::newRow("refin clock line") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152") + QStringList{"q0_enable true", "q0_gpio1_freq 122.88"} << true << QStringList{"from Q0_REFIN1 at 122.88 MHz"};
        QTest::newRow("route picks clock and line") << "Q0_LANE0_TX routed from Q0_REFCLK1 at 156.25" << oneLane("6.25", "122.88", "CPLL") + QStringList{"q0_refclk1_freq 156.25"} << true << QStringList{"(Q0_LANE0, tx): 6.25 Gbps on Q0_CPLL0, M 1, N1 4, N2 5, D 1, VCO 3.125 GHz, from Q0_REFCLK1 at 156.25 MHz"};
        QTest::newRow("proved at the configured clock") << "Q0_LANE0_TX routed from Q0_REFCLK0 at 122.8804" << oneLane("4.9152", "122.88", "QPLL1") << true << QStringList{"from Q0_REFCLK0 at 122.88 MHz (the configuration line's clock; 122.8804 MHz was asked)"};
        QTest::newRow("route conflict") << "Q0_LANE0 used by eth.v:mac" << oneLane("4.9152", "122.88", "QPLL1") << false << QStringList{"Q0_LANE0_TX: the transmit line is already used by eth.v:mac"};
        QTest::newRow("QPLL1 short of band") << noRoute << oneLane("7.3728", "122.88", "QPLL1") << false << QStringList{"q0_ln0 on Q0_QPLL1: QPLL1 cannot make 7.3728 Gbps from Q0_REFCLK0 at 122.88 MHz: 7.3728 Gbps needs a VCO of 7.3728, 14.7456, 29.4912, 58.9824, 117.9648 GHz (rate x D, D in {1, 2, 4, 8, 16}), none of which lies in 8-13 GHz. QPLL0 would make it from 122.88 MHz."};
        QTest::newRow("no PLL at all") << noRoute << oneLane("8.0", "156.25", "QPLL0") << false << QStringList{"q0_ln0 on Q0_QPLL0: QPLL0 cannot make 8 Gbps from Q0_REFCLK0 at 156.25 MHz: VCO 16 GHz (D 2) would need N / M = 102.4, which no N in 16..160 with M in 1..4 gives. Reference clocks that would work on QPLL0: 160, 128, 125 MHz. No other PLL makes it from 156.25 MHz either."};
        QTest::newRow("CPLL, nearest clocks") << noRoute << oneLane("7.3728", "122.88", "CPLL") << false << QStringList{"q0_ln0 on Q0_CPLL0: CPLL cannot make 7.3728 Gbps from Q0_REFCLK0 at 122.88 MHz: VCO 3.6864 GHz (D 1) would need N1 x N2 / M = 30, which no N1 in {4, 5}, N2 in 1..5 with M in {1, 2} gives. Reference clocks that would work on CPLL: 147.456, 184.32, 230.4 MHz. QPLL0 would make it from 122.88 MHz."};
        // The clock outside the PLL's input range; suggestions stay within 50-500 MHz: VCO 10.3125
        // GHz x 1000 x M / N for N / M = 22, 25 (M 2, 4) and 27.5 (M 4, N 110).
        QTest::newRow("clock above the input range") << noRoute << oneLane("10.3125", "4000", "QPLL0") << false << QStringList{"q0_ln0 on Q0_QPLL0: QPLL0 cannot make 10.3125 Gbps from Q0_REFCLK0 at 4000 MHz: 4000 MHz lies outside its reference clock input range of 40-820 MHz. Reference clocks that would work on QPLL0: 468.75, 412.5, 375 MHz. No other PLL makes it from 4000 MHz either."};
        // 157.2864 MHz typed, 157.286 configured: the refusal says so, and 157.2864 (seven
        // significant digits) is not suggested again; 9830.4 / 64, / 60, / 75 are.
        QTest::newRow("clock cut by its option line") << "Q0_LANE0_TX routed from Q0_REFCLK0 at 157.2864" << oneLane("9.8304", "157.286", "QPLL1") << false << QStringList{"q0_ln0 on Q0_QPLL1: QPLL1 cannot make 9.8304 Gbps from Q0_REFCLK0 at 157.286 MHz: VCO 9.8304 GHz (D 1) would need N / M = ~62.500159, which no N in 16..160 with M in 1..4 gives. The configuration line gives the clock as 157.286 MHz, not the 157.2864 MHz asked. Reference clocks that would work on QPLL1: 153.6, 163.84, 131.072 MHz. No other PLL makes it from 157.286 MHz either."};
        // QPLL0 would serve 7.3728 Gbps, but it runs from another clock for another core.
        QTest::newRow("other PLL runs from another clock") << "Q0_QPLL0 runs 14.7456 from Q0_REFCLK1 for other" << oneLane("7.3728", "122.88", "QPLL1") << false << QStringList{"q0_ln0 on Q0_QPLL1: QPLL1 cannot make 7.3728 Gbps from Q0_REFCLK0 at 122.88 MHz: 7.3728 Gbps needs a VCO of 7.3728, 14.7456, 29.4912, 58.9824, 117.9648 GHz (rate x D, D in {1, 2, 4, 8, 16}), none of which lies in 8-13 GHz. No other PLL makes it from 122.88 MHz either. Other PLLs with another clock on Q0_REFCLK0 that would work: CPLL at 147.456 MHz, CPLL at 184.32 MHz, CPLL at 230.4 MHz."};
        // Its clock would not help: 9.8304 GHz / 6.144 Gbps is no allowed D.
        QTest::newRow("running PLL, other clock and VCO") << "Q0_QPLL1 runs 9.8304 from Q0_REFCLK1 for other" << oneLane("6.144", "122.88", "QPLL1") << false << QStringList{"q0_ln0 on Q0_QPLL1: the PLL already runs at 9.8304 GHz for other and serves 9.8304, 4.9152, 2.4576, 1.2288, 0.6144 Gbps, not 6.144 Gbps. QPLL0 or CPLL would make it from 122.88 MHz."};
        // Advice only when nothing else stands in the way.
        QTest::newRow("no advice beside a conflict") << "Q0_LANE0 used by eth.v:mac" << oneLane("8.0", "122.88", "QPLL1") << false << QStringList{"Q0_LANE0_TX: the transmit line is already used by eth.v:mac", "q0_ln0 on Q0_QPLL1: QPLL1 cannot make 8 Gbps from Q0_REFCLK0 at 122.88 MHz: VCO 8 GHz (D 1) would need N / M = ~65.104167, which no N in 16..160 with M in 1..4 gives."};
        QTest::newRow("empty rate") << noRoute << oneLane("", "122.88", "QPLL1") << false << QStringList{"q0_ln0: the transmit line rate \"\" is no positive decimal number of Gbps", "q0_ln0: the receive line rate \"\" is no positive decimal number of Gbps"};
        QTest::newRow("unknown PLL") << noRoute << oneLane("4.9152", "122.88", "LCPLL") << false << QStringList{"q0_ln0: unknown PLL \"lcpll\"; choose QPLL0, QPLL1 or CPLL"};
        QTest::newRow("quad not enabled") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152") + QStringList{"q0_refclk0_freq 122.88"} << false << QStringList{"q0_ln0: quad q0 is not enabled (no \"q0_enable true\" line)"};
        QTest::newRow("no clock") << noRoute << laneLines("q0_ln0", "QPLL1", "4.9152") + QStringList{"q0_enable true"} << false << QStringList{"q0_ln0: no reference clock frequency is given (a line such as \"q0_refclk0_freq 122.88\")"};
        QTest::newRow("two clocks, no route") << noRoute << oneLane("4.9152", "122.88", "QPLL1") + QStringList{"q0_refclk1_freq 156.25"} << false << QStringList{"q0_ln0: the options give several reference clocks (Q0_REFCLK0, Q0_REFCLK1) and no route says which one drives this lane"};
        QTest::newRow("nothing enabled") << noRoute << QStringList{"global_reset_enable true"} << false << QStringList{"the options enable no lane (no \"qN_lnM_enable true\" line)"};
        // clang-format on
    }

    void generate()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, options);
        QFETCH(bool, ok);
        QFETCH(QStringList, expected);
        prepare(setup);
        generator gen;
        QCOMPARE(gen.generate(options, QString(), {}), ok);
        if (!ok || !gen.getErrStringList().isEmpty()) {
            QCOMPARE(gen.getErrStringList(), expected);
            return;
        }
        const QStringList solved = gen.solvedSettings();
        QCOMPARE(solved.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(solved[i].contains(expected[i]), qPrintable(solved[i]));
    }

    void recordWrittenOnlyOnSuccess()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("jesd204b.csr");
        generator gen;
        QVERIFY(!gen.generate(oneLane("8.0", "156.25", "QPLL1"), path, {}));
        QVERIFY(!QFile::exists(path));

        // Receive and transmit dividers differ, so neither line can print the other's.
        const QStringList options = laneLines("q0_ln0", "QPLL1", "4.9152", "2.4576") +
                                    QStringList{"q0_enable true", "q0_refclk0_freq 122.88"};
        QVERIFY(gen.generate(options, path, {"core doc:top"}));
        const QStringList lines = QString::fromUtf8(TestFiles::bytes(path)).split('\n');
        QStringList expected = QString("# core doc:top|[q0_ln0]|pll = Q0_QPLL1|refclk = Q0_REFCLK0|"
                                       "refclk_mhz = 122.88|m = 1|n = 80|tx_d = 2|rx_d = 4|"
                                       "vco_ghz = 9.8304")
                                   .split('|');
        for (const QString &option : options)
            expected << "    " + option;
        for (const QString &line : expected)
            QVERIFY2(lines.contains(line), qPrintable(line));

        // A directory that does not exist is a failure with a reason, not a silent success.
        QVERIFY(!gen.generate(options, dir.filePath("missing/x.csr"), {}));
        QVERIFY(gen.getErrStringList().value(0).startsWith("cannot write "));
    }
};

QTEST_GUILESS_MAIN(GeneratorTest)
#include "tst_generator.moc"
