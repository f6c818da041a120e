#include "serdesmodeltests.h"

#include <devicedb.h>
#include <generator.h>
#include <idecore.h>
#include <message.h>
#include <serdes.h>
#include <serdesfunctions.h>

#include <QtTest>

using IPSERDESIP::LANE;
using IPSERDESIP::PLL;
using IPSERDESIP::serdes;

namespace {

serdes *model()
{
    return serdes::instance();
}

LANE *lane(const QString &name)
{
    return dynamic_cast<LANE *>(model()->allInstance().value(name));
}

PLL *pll(const QString &name)
{
    return dynamic_cast<PLL *>(model()->allInstance().value(name));
}

// A core's resource report as the plug-in makes it.
IPSERDESIP::Message report(const QString &name, const QStringList &lanes, const QString &pllName,
                           const QString &rate, const QString &ref, const QString &freq)
{
    IPSERDESIP::Message message;
    message.protocolName = QStringLiteral("JESD204B");
    message.instanceName = name;
    message.laneList = lanes;
    for (const QString &entry : lanes) {
        message.pllList << (pllName == QLatin1String("CPLL")
                                ? entry.left(2) + QStringLiteral("_CPLL") + entry.mid(7, 1)
                                : entry.left(2) + QLatin1Char('_') + pllName);
        message.refClkList << ref;
        message.refClkFreqList << freq;
        message.bothRateList << QStringLiteral("0");
        message.rxRateList << QStringLiteral("0");
        message.txRateList << rate;
    }
    return message;
}

} // namespace

void SerdesModelTest::init()
{
    model()->reset();
}

void SerdesModelTest::cleanup()
{
    model()->reset();
}

void SerdesModelTest::laneKeysAndDevice_data()
{
    QTest::addColumn<QString>("deviceId");
    QTest::addColumn<int>("quads");
    QTest::newRow("no device") << QString() << 2;
    QTest::newRow("two quads") << "TQ2H4-FF676" << 2;
    QTest::newRow("one quad") << "TQ2M1-BG256" << 1;
}

void SerdesModelTest::laneKeysAndDevice()
{
    QFETCH(QString, deviceId);
    QFETCH(int, quads);
    model()->setDevice(Core::IdeCore::deviceDataBase()->findDevice(deviceId));
    QCOMPARE(model()->quadCount(), quads);
    const QMap<QString, IPSERDESIP::Instance *> all = model()->allInstance();
    for (int q = 0; q < 2; ++q) {
        for (int l = 0; l < 4; ++l) {
            const QString name = QStringLiteral("Q%1_LANE%2").arg(q).arg(l);
            const QString alias = QStringLiteral("Q%1_Lane%2").arg(q).arg(l);
            LANE *found = dynamic_cast<LANE *>(all.value(name));
            QCOMPARE(found != nullptr, q < quads);
            // Both key forms lead to the one lane, so the rate and PLL check sees its state.
            QCOMPARE(all.value(alias), all.value(name));
            if (found)
                QCOMPARE(found->name(), name);
        }
        QCOMPARE(all.contains(QStringLiteral("Q%1_QPLL1").arg(q)), q < quads);
    }
    QVERIFY(!all.contains(QStringLiteral("Q0 Lane0")));
    QVERIFY(!all.contains(QStringLiteral("q0_lane0")));
}

void SerdesModelTest::laneStatusFromDesign()
{
    model()->setDevice(Core::IdeCore::deviceDataBase()->findDevice(QStringLiteral("TQ2H4-FF676")));
    QString error;
    QVERIFY(model()->addInstance(report(QStringLiteral("a.v:tx"), {QStringLiteral("Q0_LANE1_TX")},
                                        QStringLiteral("QPLL1"), QStringLiteral("4.9152"),
                                        QStringLiteral("Q0_REFCLK0"), QStringLiteral("122.88")),
                                 &error));
    QVERIFY(model()->addInstance(report(QStringLiteral("b.v:rx"), {QStringLiteral("Q0_LANE1_RX")},
                                        QStringLiteral("QPLL1"), QStringLiteral("2.4576"),
                                        QStringLiteral("Q0_REFCLK0"), QStringLiteral("122.88")),
                                 &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const LANE *used = lane(QStringLiteral("Q0_Lane1"));
    QCOMPARE(used->getLaneStatus(), int(LANE::Both));
    QCOMPARE(used->line(LANE::RxLine).getSource(), QStringLiteral("QPLL1"));
    QCOMPARE(used->line(LANE::TxLine).getSource(), QStringLiteral("QPLL1"));
    QCOMPARE(used->owner(), QStringLiteral("a.v:tx, b.v:rx"));
    QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->getLaneStatus(), int(LANE::Free));
    QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->getLaneRate(), 0.0);
    // The second core found QPLL1 running at 9.8304 GHz and took D 4 from it.
    QVERIFY(model()->checkPllEnable(QStringLiteral("Q0_QPLL1")));
    QCOMPARE(pll(QStringLiteral("Q0_QPLL1"))->vco(), QStringLiteral("9.8304"));
    QCOMPARE(pll(QStringLiteral("Q0_QPLL1"))->owner(), QStringLiteral("a.v:tx"));
    QVERIFY(!model()->checkPllEnable(QStringLiteral("Q0_QPLL0")));
    QVERIFY(!model()->checkPllEnable(QStringLiteral("Q7_QPLL0")));
}

void SerdesModelTest::pllsForRate_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("runningVco"); // Q0_QPLL0, empty: free
    QTest::addColumn<QStringList>("quad0");

    const QStringList both{QStringLiteral("QPLL0"), QStringLiteral("QPLL1")};
    QTest::newRow("4.9152 free") << 4.9152 << QString() << both;
    QTest::newRow("7.3728 free") << 7.3728 << QString() << QStringList{QStringLiteral("QPLL0")};
    // The band alone decides for a free PLL: 16 GHz fits QPLL0, 8 GHz QPLL1.
    QTest::newRow("1.0 free") << 1.0 << QString() << both;
    QTest::newRow("13.0 free, QPLL1's edge") << 13.0 << QString() << both;
    QTest::newRow("16.375 free") << 16.375 << QString() << QStringList{QStringLiteral("QPLL0")};
    QTest::newRow("20 free") << 20.0 << QString() << QStringList();
    QTest::newRow("0") << 0.0 << QString() << QStringList();
    QTest::newRow("7.3728 on running 14.7456")
        << 7.3728 << "14.7456" << QStringList{QStringLiteral("QPLL0")};
    // 3.6864 x 2 and x 4 fall on either side of QPLL1's band.
    QTest::newRow("3.6864 on running 14.7456")
        << 3.6864 << "14.7456" << QStringList{QStringLiteral("QPLL0")};
    QTest::newRow("4.9152 on running 14.7456")
        << 4.9152 << "14.7456" << QStringList{QStringLiteral("QPLL1")};
}

void SerdesModelTest::pllsForRate()
{
    QFETCH(double, rate);
    QFETCH(QString, runningVco);
    QFETCH(QStringList, quad0);
    if (!runningVco.isEmpty()) {
        PLL *qpll0 = pll(QStringLiteral("Q0_QPLL0"));
        qpll0->setEnabled(true);
        qpll0->setVco(runningVco);
    }
    QCOMPARE(model()->checkPLLforQuad0(rate), quad0);
    // Quad 1's PLLs are free whatever quad 0 runs.
    QCOMPARE(model()->checkPLLforQuad1(rate).isEmpty(), rate == 0.0 || rate == 20.0);
}

void SerdesModelTest::referenceClockReach_data()
{
    QTest::addColumn<QString>("deviceId");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("reaches");

    const QString two = QStringLiteral("TQ2H4-FF676");
    const QString one = QStringLiteral("TQ2M1-BG256");
    QTest::newRow("own quad") << two << "Q0_REFCLK0"
                              << "Q0_LANE0_RX" << true;
    QTest::newRow("neighbour quad") << two << "Q0_REFCLK1"
                                    << "Q1_LANE3_TX" << true;
    QTest::newRow("neighbour quad back") << two << "Q1_REFCLK0"
                                         << "Q0_LANE2_RX" << true;
    QTest::newRow("display name") << two << "Q0 REFCLK0"
                                  << "Q1_LANE0_TX" << true;
    QTest::newRow("REFIN own quad") << one << "Q0_REFIN1"
                                    << "Q0_LANE3_TX" << true;
    QTest::newRow("REFIN other quad") << two << "Q0_REFIN"
                                      << "Q1_LANE0_RX" << false;
    QTest::newRow("MCLK") << two << "MCLK"
                          << "Q1_LANE2_TX" << true;
    QTest::newRow("plain lane name") << two << "Q1_REFCLK1"
                                     << "Q1_LANE1" << true;
    QTest::newRow("no such pin") << two << "Q0_REFCLK7"
                                 << "Q0_LANE0_RX" << false;
    QTest::newRow("quad beyond device") << one << "Q1_REFCLK0"
                                        << "Q0_LANE0_RX" << false;
    QTest::newRow("lane beyond device") << one << "MCLK"
                                        << "Q1_LANE0_RX" << false;
    QTest::newRow("lower case") << two << "q0_refclk0"
                                << "Q0_LANE0_RX" << false;
}

void SerdesModelTest::referenceClockReach()
{
    QFETCH(QString, deviceId);
    QFETCH(QString, source);
    QFETCH(QString, line);
    QFETCH(bool, reaches);
    model()->setDevice(Core::IdeCore::deviceDataBase()->findDevice(deviceId));
    QCOMPARE(model()->checkAccess(source, line), reaches);
}

void SerdesModelTest::referenceClockFrequency()
{
    // The dialog asks with the display name, the calculation with the converted one.
    QCOMPARE(model()->getFreqByRefsrc(QStringLiteral("Q0 REFCLK0")), 0.0);
    IPSERDESIP::REF_SOURCE *source = model()->FormStringToREFSPtr(
        IPSERDESIP::refsrcOptTransforSerdesName(QStringLiteral("Q0 REFCLK0")));
    QVERIFY(source);
    QCOMPARE(source->getUseCount(), 0);
    QString error;
    QVERIFY(
        model()->addInstance(report(QStringLiteral("a.v:tx"),
                                    {QStringLiteral("Q0_LANE0_TX"), QStringLiteral("Q0_LANE1_TX")},
                                    QStringLiteral("QPLL0"), QStringLiteral("10.3125"),
                                    QStringLiteral("Q0_REFCLK0"), QStringLiteral("156.25")),
                             &error));
    QCOMPARE(source->getUseCount(), 1);
    QCOMPARE(source->getFrequency(), 156.25);
    QCOMPARE(model()->getFreqByRefsrc(QStringLiteral("Q0 REFCLK0")), 156.25);
    QCOMPARE(model()->getFreqByRefsrc(QStringLiteral("Q0_REFCLK0")), 156.25);
    QCOMPARE(model()->getFreqByRefsrc(QStringLiteral("Q0 REFCLK1")), 0.0);
    QVERIFY(!model()->FormStringToREFSPtr(QStringLiteral("Q0 REFCLK9")));
}

void SerdesModelTest::routeConflicts_data()
{
    QTest::addColumn<QStringList>("lanes");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("ref");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QStringList>("conflicts");

    // The design: "a.v:tx" transmits on Q0 lane 1 from Q0 REFCLK0 at 122.88 MHz.
    const QStringList none;
    QTest::newRow("free lines") << QStringList{"Q0_LANE0_TX", "Q0_LANE1_RX"} << QString()
                                << "Q0_REFCLK0"
                                << "122.88" << none;
    QTest::newRow("taken line") << QStringList{"Q0_LANE1"} << QString() << "Q0_REFCLK0"
                                << "122.88"
                                << QStringList{"Q0_LANE1: the transmit line is already used by "
                                               "a.v:tx"};
    QTest::newRow("its own line") << QStringList{"Q0_LANE1_TX"} << "a.v:tx"
                                  << "Q0_REFCLK0"
                                  << "122.88" << none;
    QTest::newRow("clock at another frequency")
        << QStringList{"Q0_LANE2_TX", "Q0_LANE3_TX"} << QString() << "Q0_REFCLK0"
        << "156.25"
        << QStringList{"Q0_REFCLK0 already runs at 122.88 MHz for other cores; this core asks "
                       "156.25 MHz"};
    QTest::newRow("out of reach") << QStringList{"Q1_LANE0_RX"} << QString() << "Q0_REFIN"
                                  << "100"
                                  << QStringList{"Q1_LANE0_RX: Q0_REFIN cannot reach quad 1 (a "
                                                 "REFIN input drives its own quad only)"};
    QTest::newRow("same line twice")
        << QStringList{"Q0_LANE2_RX", "Q0_LANE2"} << QString() << "MCLK"
        << "100"
        << QStringList{"Q0_LANE2: the receive line is claimed twice "
                       "by this core"};
    QTest::newRow("unknown lane") << QStringList{"Q2_LANE0_RX"} << QString() << "MCLK"
                                  << "100"
                                  << QStringList{"Q2_LANE0_RX: no such lane on this device (2 "
                                                 "quads)"};
}

void SerdesModelTest::routeConflicts()
{
    QFETCH(QStringList, lanes);
    QFETCH(QString, owner);
    QFETCH(QString, ref);
    QFETCH(QString, freq);
    QFETCH(QStringList, conflicts);
    QString error;
    QVERIFY(model()->addInstance(report(QStringLiteral("a.v:tx"), {QStringLiteral("Q0_LANE1_TX")},
                                        QStringLiteral("QPLL1"), QStringLiteral("4.9152"),
                                        QStringLiteral("Q0_REFCLK0"), QStringLiteral("122.88")),
                                 &error));
    QStringList plls;
    QStringList refs;
    QStringList freqs;
    for (const QString &entry : lanes) {
        plls << entry.left(2) + QStringLiteral("_QPLL1");
        refs << ref;
        freqs << freq;
    }
    QCOMPARE(model()->checkRoute(lanes, plls, refs, freqs, owner), conflicts.isEmpty());
    QCOMPARE(model()->routeConflicts(), conflicts);
    // The route is no occupancy: the design's lanes are as they were.
    QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->getLaneStatus(), int(LANE::Free));
    for (const QString &entry : lanes)
        model()->resetLane(entry, false);
    QVERIFY(model()->routeConflicts().isEmpty());
}

void SerdesModelTest::resetLaneReleasesOrCommits()
{
    const QStringList lanes{QStringLiteral("Q0_LANE0_TX"), QStringLiteral("Q0_LANE1_TX")};
    const QStringList plls{QStringLiteral("Q0_QPLL1"), QStringLiteral("Q0_QPLL1")};
    const QStringList refs{QStringLiteral("Q0_REFCLK0"), QStringLiteral("Q0_REFCLK0")};
    const QStringList freqs{QStringLiteral("122.88"), QStringLiteral("122.88")};
    const QStringList options{
        QStringLiteral("q0_ln0_tx_rate 4.9152"), QStringLiteral("q0_ln0_rx_rate 4.9152"),
        QStringLiteral("q0_ln0_pll_sel qpll1"),  QStringLiteral("q0_ln0_enable true"),
        QStringLiteral("q0_ln1_tx_rate 4.9152"), QStringLiteral("q0_ln1_rx_rate 4.9152"),
        QStringLiteral("q0_ln1_pll_sel qpll1"),  QStringLiteral("q0_ln1_enable true"),
        QStringLiteral("q0_enable true"),        QStringLiteral("q0_refclk0_freq 122.88")};

    // Calculate twice: the same verdict, nothing left behind.
    for (int run = 0; run < 2; ++run) {
        QVERIFY(model()->checkRoute(lanes, plls, refs, freqs));
        IPSERDESIP::generator gen;
        QVERIFY(gen.generate(options, QString(), {}));
        for (const QString &entry : lanes)
            model()->resetLane(entry, false);
        QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->getLaneStatus(), int(LANE::Free));
        QVERIFY(!model()->checkPllEnable(QStringLiteral("Q0_QPLL1")));
        QCOMPARE(model()->getFreqByRefsrc(QStringLiteral("Q0_REFCLK0")), 0.0);
    }

    // Keeping the route makes it part of the design, with the VCO the run solved.
    QVERIFY(model()->checkRoute(lanes, plls, refs, freqs, QStringLiteral("doc:top")));
    IPSERDESIP::generator gen;
    QVERIFY(gen.generate(options, QString(), {}));
    for (const QString &entry : lanes)
        model()->resetLane(entry, true);
    QCOMPARE(lane(QStringLiteral("Q0_LANE1"))->getLaneStatus(), int(LANE::Transmit));
    QCOMPARE(lane(QStringLiteral("Q0_LANE1"))->getLaneRate(), 4.9152);
    QCOMPARE(lane(QStringLiteral("Q0_LANE1"))->owner(), QStringLiteral("doc:top"));
    QCOMPARE(pll(QStringLiteral("Q0_QPLL1"))->vco(), QStringLiteral("9.8304"));
    QCOMPARE(model()->FormStringToREFSPtr(QStringLiteral("Q0_REFCLK0"))->getUseCount(), 1);
    QVERIFY(!model()->checkRoute(lanes, plls, refs, freqs, QStringLiteral("doc:other")));
}

void SerdesModelTest::addInstanceClaimsOrRefuses()
{
    QString error;
    QVERIFY(
        model()->addInstance(report(QStringLiteral("adc.v:rx"),
                                    {QStringLiteral("Q0_LANE2_TX"), QStringLiteral("Q0_LANE3_TX")},
                                    QStringLiteral("QPLL0"), QStringLiteral("7.3728"),
                                    QStringLiteral("Q0_REFCLK0"), QStringLiteral("122.88")),
                             &error));
    QCOMPARE(pll(QStringLiteral("Q0_QPLL0"))->vco(), QStringLiteral("14.7456"));
    QCOMPARE(pll(QStringLiteral("Q0_QPLL0"))->refClock(), QStringLiteral("Q0_REFCLK0"));

    // 4.9152 Gbps cannot come from a QPLL0 that runs at 14.7456 GHz: nothing is claimed.
    QVERIFY(!model()->addInstance(
        report(QStringLiteral("dac.v:tx"), {QStringLiteral("Q0_LANE0_TX")}, QStringLiteral("QPLL0"),
               QStringLiteral("4.9152"), QStringLiteral("Q0_REFCLK0"), QStringLiteral("122.88")),
        &error));
    QVERIFY2(error.contains(QStringLiteral("already runs at 14.7456 GHz for adc.v:rx")),
             qPrintable(error));
    QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->getLaneStatus(), int(LANE::Free));
    QCOMPARE(model()->FormStringToREFSPtr(QStringLiteral("Q0_REFCLK0"))->getUseCount(), 1);

    // Adding the same instance again replaces it instead of clashing with itself.
    QVERIFY2(
        model()->addInstance(report(QStringLiteral("adc.v:rx"), {QStringLiteral("Q0_LANE3_TX")},
                                    QStringLiteral("CPLL"), QStringLiteral("4.9152"),
                                    QStringLiteral("Q0_REFCLK0"), QStringLiteral("122.88")),
                             &error),
        qPrintable(error));
    QCOMPARE(lane(QStringLiteral("Q0_LANE2"))->getLaneStatus(), int(LANE::Free));
    QVERIFY(!model()->checkPllEnable(QStringLiteral("Q0_QPLL0")));
    QCOMPARE(pll(QStringLiteral("Q0_CPLL3"))->vco(), QStringLiteral("2.4576"));
    QCOMPARE(model()->FormStringToREFSPtr(QStringLiteral("Q0_REFCLK0"))->getUseCount(), 1);
    QCOMPARE(model()->findLaneName(QStringLiteral("JESD204B")),
             QStringList{QStringLiteral("Q0_LANE3_TX")});
}

void SerdesModelTest::removeInstanceFrees()
{
    QString error;
    QVERIFY(model()->addInstance(report(QStringLiteral("a.v:tx"), {QStringLiteral("Q1_LANE0_TX")},
                                        QStringLiteral("QPLL1"), QStringLiteral("6.25"),
                                        QStringLiteral("Q1_REFCLK0"), QStringLiteral("156.25")),
                                 &error));
    model()->addProtocolInstance(QStringLiteral("Quillan 8B10B"), QStringLiteral("q.v:link"),
                                 {QStringLiteral("Q0_LANE0")});
    QCOMPARE(model()->findLaneName(QStringLiteral("Quillan 8B10B")),
             QStringList{QStringLiteral("Q0_LANE0")});
    model()->removeInstance(QStringLiteral("a.v:tx"));
    QCOMPARE(lane(QStringLiteral("Q1_LANE0"))->getLaneStatus(), int(LANE::Free));
    QCOMPARE(lane(QStringLiteral("Q1_LANE0"))->line(LANE::TxLine).getSource(), QString());
    QVERIFY(!model()->checkPllEnable(QStringLiteral("Q1_QPLL1")));
    QCOMPARE(model()->getFreqByRefsrc(QStringLiteral("Q1 REFCLK0")), 0.0);
    QVERIFY(model()->findLaneName(QStringLiteral("JESD204B")).isEmpty());
    QCOMPARE(model()->findLaneName(QStringLiteral("Quillan 8B10B")).size(), 1);
}

void SerdesModelTest::laneSetEncoding()
{
    using IPSERDESIP::FromLaneToInt;
    const QStringList a{QStringLiteral("Q0 Lane1"), QStringLiteral("Q1 Lane3")};
    const QStringList b{QStringLiteral("Q1 Lane3"), QStringLiteral("Q0 Lane1")};
    QCOMPARE(FromLaneToInt(a), FromLaneToInt(b));
    QCOMPARE(FromLaneToInt(a),
             FromLaneToInt({QStringLiteral("Q0_LANE1_RX"), QStringLiteral("Q1_LANE3")}));
    QVERIFY(FromLaneToInt(a) != FromLaneToInt({QStringLiteral("Q0 Lane1")}));
    QVERIFY(FromLaneToInt(a) !=
            FromLaneToInt({QStringLiteral("Q0 Lane1"), QStringLiteral("Q1 Lane2")}));
    QVERIFY(FromLaneToInt({QStringLiteral("Q0 Lane0")}) != FromLaneToInt({}));
    // Every one-lane set differs from every other.
    QSet<int> seen;
    for (int q = 0; q < 2; ++q)
        for (int l = 0; l < 4; ++l)
            seen.insert(FromLaneToInt({QStringLiteral("Q%1 Lane%2").arg(q).arg(l)}));
    QCOMPARE(seen.size(), 8);
}

void SerdesModelTest::nameConversions_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("clock") << "ref"
                           << "Q0 REFCLK1"
                           << "Q0_REFCLK1";
    QTest::newRow("REFIN") << "ref"
                           << "Q0 REFIN"
                           << "Q0_REFIN";
    QTest::newRow("MCLK") << "ref"
                          << "MCLK"
                          << "MCLK";
    QTest::newRow("not a clock") << "ref"
                                 << "Q0 Lane0"
                                 << "";
    QTest::newRow("quad PLL") << "pll"
                              << "Q0_QPLL1"
                              << "QPLL1";
    QTest::newRow("CPLL resource") << "pll"
                                   << "Q1_CPLL2"
                                   << "CPLL";
    QTest::newRow("line source") << "pll"
                                 << "QPLL0"
                                 << "QPLL0";
    QTest::newRow("option value") << "pll"
                                  << "qpll0"
                                  << "QPLL0";
    QTest::newRow("unknown") << "pll"
                             << "LCPLL"
                             << "LCPLL";
}

void SerdesModelTest::nameConversions()
{
    QFETCH(QString, function);
    QFETCH(QString, input);
    QFETCH(QString, output);
    const QString result = function == QLatin1String("ref")
                               ? IPSERDESIP::refsrcOptTransforSerdesName(input)
                               : IPSERDESIP::FromPllToStringOption(input);
    QCOMPARE(result, output);
}

void SerdesModelTest::resetForgetsEverything()
{
    model()->setDevice(Core::IdeCore::deviceDataBase()->findDevice(QStringLiteral("TQ2M1-BG256")));
    model()->setData(QStringLiteral("Q0_BIAS"), 3);
    model()->addProtocolInstance(QStringLiteral("Quillan 8B10B"), QStringLiteral("x"),
                                 {QStringLiteral("Q0_LANE0")});
    lane(QStringLiteral("Q0_LANE0"))->setLaneStatus(LANE::Receive);
    QVERIFY(!model()->checkRoute({QStringLiteral("Q0_LANE0_RX")}, {}, {}, {}));
    model()->reset();
    QVERIFY(model()->globalData().isEmpty());
    QCOMPARE(model()->quadCount(), 2);
    QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->getLaneStatus(), int(LANE::Free));
    QVERIFY(model()->findLaneName(QStringLiteral("Quillan 8B10B")).isEmpty());
    QVERIFY(model()->routeConflicts().isEmpty());
}
