#include <generator.h>
#include <serdes.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using IPSERDESIP::generator;
using IPSERDESIP::serdes;

namespace {

// The option block the plug-in writes for one lane, as far as the generator reads it.
QStringList laneLines(const QString &prefix, const QString &rate, const QString &pll)
{
    return {prefix + QStringLiteral("_tx_rate ") + rate,
            prefix + QStringLiteral("_rx_rate ") + rate,
            prefix + QStringLiteral("_pll_sel ") + pll.toLower(),
            prefix + QStringLiteral("_loopback_mode off"), prefix + QStringLiteral("_enable true")};
}

QStringList oneLane(const QString &rate, const QString &refMHz, const QString &pll)
{
    return laneLines(QStringLiteral("q0_ln0"), rate, pll) +
           QStringList{QStringLiteral("q0_enable true"),
                       QStringLiteral("q0_refclk0_freq ") + refMHz};
}

IPSERDESIP::PLL *pllObject(const QString &name)
{
    return dynamic_cast<IPSERDESIP::PLL *>(serdes::instance()->allInstance().value(name));
}

} // namespace

class GeneratorTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { serdes::instance()->reset(); }
    void cleanup() { serdes::instance()->reset(); }

    void verdict_data();
    void verdict();
    void solvedDividers_data();
    void solvedDividers();
    void failureNamesLaneAndAlternatives();
    void suggestsNearestReferenceClocks();
    void sharedQuadPll_data();
    void sharedQuadPll();
    void directionsOfOneLane_data();
    void directionsOfOneLane();
    void runningPllKeepsItsVco_data();
    void runningPllKeepsItsVco();
    void runningPllFromOtherClock();
    void malformedOptions_data();
    void malformedOptions();
    void recordWrittenOnlyOnSuccess();
    void routeChoosesClockAndDirections();
    void routeConflictsFail();
};

void GeneratorTest::verdict_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("ref");
    QTest::addColumn<QString>("pll");
    QTest::addColumn<bool>("feasible");

    const auto row = [](const char *rate, const char *ref, const char *pll, bool ok) {
        QTest::addRow("%s from %s on %s", rate, ref, pll)
            << QString::fromLatin1(rate) << QString::fromLatin1(ref) << QString::fromLatin1(pll)
            << ok;
    };
    // The worked checks.
    row("4.9152", "122.88", "QPLL1", true);
    row("4.9152", "122.88", "CPLL", true);
    row("7.3728", "122.88", "QPLL0", true);
    row("7.3728", "122.88", "QPLL1", false);
    row("7.3728", "122.88", "CPLL", false);
    row("8.0", "156.25", "QPLL0", false);
    row("8.0", "156.25", "QPLL1", false);
    row("8.0", "156.25", "CPLL", false);
    row("10.3125", "156.25", "QPLL0", true);
    row("10.3125", "156.25", "QPLL1", true);
    row("10.3125", "156.25", "CPLL", false);
    row("1.0", "50", "QPLL0", false);
    row("1.0", "50", "QPLL1", true);
    row("1.0", "50", "CPLL", false);
    // Further rates.
    row("4.9152", "122.88", "QPLL0", true);  // VCO 9.8304 GHz, just inside the band
    row("6.25", "156.25", "CPLL", true);     // N1 4, N2 5
    row("12.5", "156.25", "QPLL1", true);    // VCO 12.5 GHz
    row("12.5", "156.25", "CPLL", false);    // VCO 6.25 GHz needs N1 x N2 = 40
    row("16.375", "163.75", "QPLL0", true);  // the band's upper edge, N 100
    row("16.375", "163.75", "QPLL1", false); // above QPLL1's band whatever D
    row("0.5", "50", "QPLL1", true);         // D 16, N 160
    row("9.8304", "122.88", "QPLL0", true);
    row("4.91520001", "122.88", "QPLL1", false); // no tolerance window
    row("3.072", "122.88", "CPLL", true);
    row("2.4576", "122.880", "CPLL", true); // trailing zeros change nothing
}

void GeneratorTest::verdict()
{
    QFETCH(QString, rate);
    QFETCH(QString, ref);
    QFETCH(QString, pll);
    QFETCH(bool, feasible);
    generator gen;
    const bool ok = gen.generate(oneLane(rate, ref, pll), QString(), {});
    QVERIFY2(ok == feasible, qPrintable(gen.getErrStringList().join(QLatin1Char('\n'))));
    QCOMPARE(gen.getErrStringList().isEmpty(), feasible);
    QCOMPARE(gen.solvedSettings().size(), feasible ? 1 : 0);
}

void GeneratorTest::solvedDividers_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("ref");
    QTest::addColumn<QString>("pll");
    QTest::addColumn<QString>("expected");

    QTest::newRow("QPLL1 4.9152") << "4.9152"
                                  << "122.88"
                                  << "QPLL1"
                                  << "Q0_QPLL1, M 1, N 80, D 2, VCO 9.8304 GHz";
    QTest::newRow("CPLL 4.9152") << "4.9152"
                                 << "122.88"
                                 << "CPLL"
                                 << "Q0_CPLL0, M 1, N1 4, N2 5, D 1, VCO 2.4576 GHz";
    QTest::newRow("QPLL0 10.3125") << "10.3125"
                                   << "156.25"
                                   << "QPLL0"
                                   << "Q0_QPLL0, M 1, N 66, D 1, VCO 10.3125 GHz";
    QTest::newRow("QPLL1 1.0") << "1.0"
                               << "50"
                               << "QPLL1"
                               << "Q0_QPLL1, M 1, N 160, D 8, VCO 8 GHz";
}

void GeneratorTest::solvedDividers()
{
    QFETCH(QString, rate);
    QFETCH(QString, ref);
    QFETCH(QString, pll);
    QFETCH(QString, expected);
    generator gen;
    QVERIFY(gen.generate(oneLane(rate, ref, pll), QString(), {}));
    QVERIFY2(gen.solvedSettings().value(0).contains(expected),
             qPrintable(gen.solvedSettings().value(0)));
}

void GeneratorTest::failureNamesLaneAndAlternatives()
{
    generator gen;
    QVERIFY(!gen.generate(
        oneLane(QStringLiteral("7.3728"), QStringLiteral("122.88"), QStringLiteral("QPLL1")),
        QString(), {}));
    const QStringList errors = gen.getErrStringList();
    QCOMPARE(errors.size(), 1);
    const QString &reason = errors.first();
    QVERIFY2(reason.startsWith(QStringLiteral("q0_ln0 on Q0_QPLL1: QPLL1 cannot make 7.3728 Gbps "
                                              "from Q0_REFCLK0 at 122.88 MHz")),
             qPrintable(reason));
    // 7.3728 x D is 7.3728 or 14.7456 GHz around QPLL1's band: no divider fits.
    QVERIFY2(reason.contains(QStringLiteral("none of which lies in 8-13 GHz")), qPrintable(reason));
    QVERIFY2(reason.endsWith(QStringLiteral("QPLL0 would make it from 122.88 MHz.")),
             qPrintable(reason));

    QVERIFY(!gen.generate(
        oneLane(QStringLiteral("8.0"), QStringLiteral("156.25"), QStringLiteral("QPLL0")),
        QString(), {}));
    QVERIFY2(gen.getErrStringList().first().endsWith(
                 QStringLiteral("No other PLL makes it from 156.25 MHz either.")),
             qPrintable(gen.getErrStringList().first()));
}

void GeneratorTest::suggestsNearestReferenceClocks()
{
    // 8 Gbps on QPLL1 runs its VCO at 8 GHz; 156.25 MHz needs N/M = 51.2. Clocks that divide
    // 8 GHz with N 16..160, M 1..4 and end within 8 decimals: 160 (N 50) and 150 (M 3, N 160)
    // are the nearest.
    generator gen;
    QVERIFY(!gen.generate(
        oneLane(QStringLiteral("8.0"), QStringLiteral("156.25"), QStringLiteral("QPLL1")),
        QString(), {}));
    const QString reason = gen.getErrStringList().value(0);
    QVERIFY2(
        reason.contains(QStringLiteral(
            "VCO 8 GHz (D 1) would need N / M = 51.2, which no N in 16..160 with M in 1..4 gives")),
        qPrintable(reason));
    QVERIFY2(reason.contains(QStringLiteral("Reference clocks that would work on QPLL1: 160, 150")),
             qPrintable(reason));
}

void GeneratorTest::sharedQuadPll_data()
{
    QTest::addColumn<QString>("lane1");
    QTest::addColumn<QString>("rate0");
    QTest::addColumn<QString>("rate1");
    QTest::addColumn<QString>("pll");
    QTest::addColumn<bool>("feasible");

    // 4.9152 and 2.4576 share a 9.8304 GHz VCO (D 2 and D 4).
    QTest::newRow("same quad, divisible rates") << "q0_ln1"
                                                << "4.9152"
                                                << "2.4576"
                                                << "QPLL1" << true;
    // Each is feasible alone (VCO 9.8304 and 12.288 GHz), not on one VCO.
    QTest::newRow("same quad, different VCOs") << "q0_ln1"
                                               << "4.9152"
                                               << "6.144"
                                               << "QPLL1" << false;
    QTest::newRow("other quad's PLL") << "q1_ln0"
                                      << "4.9152"
                                      << "6.144"
                                      << "QPLL1" << true;
    QTest::newRow("CPLL per lane") << "q0_ln1"
                                   << "4.9152"
                                   << "6.144"
                                   << "CPLL" << true;
}

void GeneratorTest::sharedQuadPll()
{
    QFETCH(QString, lane1);
    QFETCH(QString, rate0);
    QFETCH(QString, rate1);
    QFETCH(QString, pll);
    QFETCH(bool, feasible);
    QStringList options = laneLines(QStringLiteral("q0_ln0"), rate0, pll);
    options << QStringLiteral("q0_enable true");
    options << laneLines(lane1, rate1, pll) << QStringLiteral("q1_enable true");
    options << QStringLiteral("q0_refclk0_freq 122.88");
    generator gen;
    QCOMPARE(gen.generate(options, QString(), {}), feasible);
    if (!feasible) {
        const QString reason = gen.getErrStringList().value(0);
        QVERIFY2(reason.startsWith(QStringLiteral("q0_ln0, q0_ln1 on Q0_QPLL1")),
                 qPrintable(reason));
        QVERIFY2(reason.contains(QStringLiteral("share one VCO")), qPrintable(reason));
    } else {
        QCOMPARE(gen.solvedSettings().size(), 2);
    }
}

void GeneratorTest::directionsOfOneLane_data()
{
    QTest::addColumn<QString>("rxRate");
    QTest::addColumn<QString>("solved"); // empty: infeasible
    QTest::newRow("half the rate") << "2.4576"
                                   << "4.9152/2.4576 Gbps on Q0_QPLL1, M 1, N 80, D tx 2, rx 4";
    QTest::newRow("another VCO") << "6.144" << QString();
}

void GeneratorTest::directionsOfOneLane()
{
    QFETCH(QString, rxRate);
    QFETCH(QString, solved);
    QStringList options =
        oneLane(QStringLiteral("4.9152"), QStringLiteral("122.88"), QStringLiteral("QPLL1"));
    options.replaceInStrings(QStringLiteral("rx_rate 4.9152"), QStringLiteral("rx_rate ") + rxRate);
    generator gen;
    QCOMPARE(gen.generate(options, QString(), {}), !solved.isEmpty());
    if (!solved.isEmpty())
        QVERIFY2(gen.solvedSettings().value(0).contains(solved),
                 qPrintable(gen.solvedSettings().value(0)));
    else
        QVERIFY(gen.getErrStringList().value(0).contains(QStringLiteral("share one VCO")));
}

void GeneratorTest::runningPllKeepsItsVco_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("feasible");
    QTest::newRow("VCO / 2") << "7.3728" << true;
    QTest::newRow("VCO / 4") << "3.6864" << true;
    QTest::newRow("free PLL would do, running one cannot") << "4.9152" << false;
}

void GeneratorTest::runningPllKeepsItsVco()
{
    QFETCH(QString, rate);
    QFETCH(bool, feasible);
    IPSERDESIP::PLL *qpll0 = pllObject(QStringLiteral("Q0_QPLL0"));
    QVERIFY(qpll0);
    qpll0->setEnabled(true);
    qpll0->setVco(QStringLiteral("14.7456"));
    qpll0->setRefClock(QStringLiteral("Q0_REFCLK0"));
    qpll0->setOwner(QStringLiteral("adc.v:jesd_rx"));
    generator gen;
    QCOMPARE(gen.generate(oneLane(rate, QStringLiteral("122.88"), QStringLiteral("QPLL0")),
                          QString(), {}),
             feasible);
    if (!feasible) {
        const QString reason = gen.getErrStringList().value(0);
        QVERIFY2(reason.contains(QStringLiteral("already runs at 14.7456 GHz for adc.v:jesd_rx")),
                 qPrintable(reason));
        QVERIFY2(reason.contains(QStringLiteral("QPLL1 or CPLL would make it")),
                 qPrintable(reason));
    } else {
        QVERIFY(
            gen.solvedSettings().value(0).contains(QStringLiteral("shared with adc.v:jesd_rx")));
    }
}

void GeneratorTest::runningPllFromOtherClock()
{
    IPSERDESIP::PLL *qpll1 = pllObject(QStringLiteral("Q0_QPLL1"));
    qpll1->setEnabled(true);
    qpll1->setVco(QStringLiteral("9.8304"));
    qpll1->setRefClock(QStringLiteral("Q0_REFCLK1"));
    qpll1->setOwner(QStringLiteral("other"));
    generator gen;
    QVERIFY(!gen.generate(
        oneLane(QStringLiteral("4.9152"), QStringLiteral("122.88"), QStringLiteral("QPLL1")),
        QString(), {}));
    QCOMPARE(gen.getErrStringList(),
             QStringList{QStringLiteral("q0_ln0: Q0_QPLL1 runs from Q0_REFCLK1 for other, not "
                                        "from Q0_REFCLK0; use Q0_REFCLK1 or another PLL")});
}

void GeneratorTest::malformedOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("reason");

    const QStringList base =
        oneLane(QStringLiteral("4.9152"), QStringLiteral("122.88"), QStringLiteral("QPLL1"));
    QStringList noRate = base;
    noRate.replaceInStrings(QStringLiteral("tx_rate 4.9152"), QStringLiteral("tx_rate "));
    QTest::newRow("empty rate") << noRate
                                << "q0_ln0: the transmit line rate \"\" is no positive decimal "
                                   "number of Gbps";
    QStringList badPll = base;
    badPll.replaceInStrings(QStringLiteral("qpll1"), QStringLiteral("lcpll"));
    QTest::newRow("unknown PLL") << badPll
                                 << "q0_ln0: unknown PLL \"lcpll\"; choose QPLL0, QPLL1 or CPLL";
    QStringList noQuad = base;
    noQuad.removeAll(QStringLiteral("q0_enable true"));
    QTest::newRow("quad not enabled")
        << noQuad << "q0_ln0: quad q0 is not enabled (no \"q0_enable true\" line)";
    QStringList noClock = base;
    noClock.removeLast();
    QTest::newRow("no clock") << noClock
                              << "q0_ln0: no reference clock frequency is given (a line such as "
                                 "\"q0_refclk0_freq 122.88\")";
    QStringList twoClocks = base;
    twoClocks << QStringLiteral("q0_refclk1_freq 156.25");
    QTest::newRow("two clocks, no route")
        << twoClocks
        << "q0_ln0: the options give several reference clocks (Q0_REFCLK0, Q0_REFCLK1) and no "
           "route says which one drives this lane";
    QTest::newRow("nothing enabled")
        << QStringList{QStringLiteral("global_reset_enable true")}
        << "the options enable no lane (no \"qN_lnM_enable true\" line)";
}

void GeneratorTest::malformedOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, reason);
    generator gen;
    QVERIFY(!gen.generate(options, QString(), {}));
    QCOMPARE(gen.getErrStringList(), QStringList{reason});
}

void GeneratorTest::recordWrittenOnlyOnSuccess()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jesd204b.csr"));
    generator gen;
    QVERIFY(!gen.generate(
        oneLane(QStringLiteral("8.0"), QStringLiteral("156.25"), QStringLiteral("QPLL1")), path,
        {}));
    QVERIFY(!QFile::exists(path));

    const QStringList options =
        oneLane(QStringLiteral("4.9152"), QStringLiteral("122.88"), QStringLiteral("QPLL1"));
    QVERIFY(gen.generate(options, path, {QStringLiteral("core doc:top")}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("# core doc:top")));
    for (const char *setting :
         {"[q0_ln0]", "pll = Q0_QPLL1", "refclk = Q0_REFCLK0", "refclk_mhz = 122.88", "m = 1",
          "n = 80", "tx_d = 2", "rx_d = 2", "vco_ghz = 9.8304"})
        QVERIFY2(lines.contains(QString::fromLatin1(setting)), setting);
    for (const QString &option : options)
        QVERIFY2(lines.contains(QStringLiteral("    ") + option), qPrintable(option));

    // A directory that does not exist is a failure with a reason, not a silent success.
    QVERIFY(!gen.generate(options, dir.filePath(QStringLiteral("missing/x.csr")), {}));
    QVERIFY(gen.getErrStringList().value(0).startsWith(QStringLiteral("cannot write ")));
}

void GeneratorTest::routeChoosesClockAndDirections()
{
    serdes *model = serdes::instance();
    QStringList options =
        oneLane(QStringLiteral("6.25"), QStringLiteral("122.88"), QStringLiteral("CPLL"));
    options << QStringLiteral("q0_refclk1_freq 156.25");
    const QStringList lanes{QStringLiteral("Q0_LANE0_TX")};
    QVERIFY(model->checkRoute(lanes, {QStringLiteral("Q0_CPLL0")}, {QStringLiteral("Q0_REFCLK1")},
                              {QStringLiteral("156.25")}));
    generator gen;
    QVERIFY2(gen.generate(options, QString(), {}), qPrintable(gen.getErrStringList().join('\n')));
    const QString solved = gen.solvedSettings().value(0);
    QVERIFY2(solved.startsWith(QStringLiteral("q0_ln0 (Q0_LANE0, tx): 6.25 Gbps on Q0_CPLL0")),
             qPrintable(solved));
    QVERIFY2(solved.endsWith(QStringLiteral("from Q0_REFCLK1 at 156.25 MHz")), qPrintable(solved));

    // Released, the lane has no route: two clocks and nothing to choose between them.
    model->resetLane(lanes.first(), false);
    QVERIFY(!gen.generate(options, QString(), {}));
    QVERIFY(gen.getErrStringList().value(0).contains(QStringLiteral("several reference clocks")));
}

void GeneratorTest::routeConflictsFail()
{
    serdes *model = serdes::instance();
    IPSERDESIP::LANE *lane =
        dynamic_cast<IPSERDESIP::LANE *>(model->allInstance().value(QStringLiteral("Q0_LANE0")));
    lane->setLaneStatus(IPSERDESIP::LANE::Transmit);
    lane->setOwner(QStringLiteral("eth.v:mac"));
    QVERIFY(!model->checkRoute({QStringLiteral("Q0_LANE0_TX")}, {QStringLiteral("Q0_QPLL1")},
                               {QStringLiteral("Q0_REFCLK0")}, {QStringLiteral("122.88")}));
    generator gen;
    QVERIFY(!gen.generate(
        oneLane(QStringLiteral("4.9152"), QStringLiteral("122.88"), QStringLiteral("QPLL1")),
        QString(), {}));
    QCOMPARE(
        gen.getErrStringList(),
        QStringList{QStringLiteral("Q0_LANE0_TX: the transmit line is already used by eth.v:mac")});
}

QTEST_GUILESS_MAIN(GeneratorTest)
#include "tst_generator.moc"
