#include "designfixture.h"
#include "messageboxwatcher.h"

#include <serdes.h>

#include <QTest>

#include <memory>

namespace {

const QStringList allLanes{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3",
                           "Q1 Lane0", "Q1 Lane1", "Q1 Lane2", "Q1 Lane3"};
const QStringList quad0{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3"};

QStringList counts(int n)
{
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out << QString::number(i);
    return out;
}

} // namespace

class LaneOfferTest : public QObject
{
    Q_OBJECT

private slots:
    void offer_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("offered");

        // Quad 1 holds a receive-only core on all four lanes.
        QTest::newRow("receive core, we transmit") << "rx_core_q1"
                                                   << "Transmit" << quad0;
        QTest::newRow("receive core, we receive") << "rx_core_q1"
                                                  << "Receive" << allLanes;
        QTest::newRow("receive core, we do both") << "rx_core_q1"
                                                  << "Both" << quad0;
        // Quad 1 lanes 0 to 2 transmit for the two named protocols and another core.
        QTest::newRow("named protocols") << "tx_protocols_q1"
                                         << "Transmit" << (quad0 + QStringList{"Q1 Lane2"});
        QTest::newRow("only quad 0 free") << "quad1_taken"
                                          << "Both" << quad0;
        QTest::newRow("empty design") << ""
                                      << "Both" << allLanes;
    }
    void offer()
    {
        QFETCH(QString, design);
        QFETCH(QString, mode);
        QFETCH(QStringList, offered);
        DesignDialog d(design);
        QVERIFY2(d.isLoaded(), qPrintable(d.error()));
        d.setMode(mode.toLatin1().constData());

        QCOMPARE(d.dialog()->availableLanes(), offered);
        QCOMPARE(d.dialog()->availableLaneCount(), offered.size());
        QCOMPARE(d.items("comboxNumOfLanes"), counts(offered.size()));
        // Every box offers every free lane, and row k starts on the k-th one.
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(d.items(QStringLiteral("Lane%1Connect").arg(row).toLatin1().constData()),
                     offered);
            const QString expected = row < offered.size() ? offered.at(row) : offered.value(0);
            QCOMPARE(d.laneBox(row)->currentText(), expected);
        }
    }

    // A count no longer offered falls back to the largest offered count.
    void laneCountFollowsOffer_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("afterSwitch");
        QTest::newRow("still offered") << "3"
                                       << "3";
        QTest::newRow("too many now") << "7"
                                      << "4";
    }
    void laneCountFollowsOffer()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, afterSwitch);
        DesignDialog d("rx_core_q1");
        d.setMode("Receive");
        d.select("comboxNumOfLanes", chosen);
        d.setMode("Transmit");

        QCOMPARE(d.combo("comboxNumOfLanes")->currentText(), afterSwitch);
        d.dialog()->collectUsedLanes();
        QCOMPARE(d.dialog()->usedLanes(), quad0.mid(0, afterSwitch.toInt()));
    }

    void nothingOffered()
    {
        DesignDialog d("all_taken");
        QVERIFY2(d.isLoaded(), qPrintable(d.error()));
        QCOMPARE(d.dialog()->availableLaneCount(), 0);
        QCOMPARE(d.combo("comboxNumOfLanes")->count(), 0);
        QCOMPARE(d.laneBox(0)->count(), 0);
    }

    void pllChoice_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<QString>("lineRate");
        QTest::addColumn<QStringList>("plls");

        // Quad 0: QPLL0 runs for another core at 9.8304 GHz, QPLL1 is free. Quad 1: both run
        // at VCOs that make no 4.9152 Gbps.
        QTest::newRow("quad 0, rate of the running QPLL0")
            << QStringList{"Q0 Lane0"} << "4.9152" << QStringList{"QPLL0", "QPLL1", "CPLL"};
        QTest::newRow("quad 0, other rate")
            << QStringList{"Q0 Lane0"} << "6.25" << QStringList{"QPLL1", "CPLL"};
        QTest::newRow("quad 1 only") << QStringList{"Q1 Lane0"} << "4.9152" << QStringList{"CPLL"};
        QTest::newRow("quad 1 then quad 0")
            << QStringList{"Q1 Lane0", "Q0 Lane0"} << "6.25" << QStringList{"QPLL1", "CPLL"};
    }
    void pllChoice()
    {
        QFETCH(QStringList, lanes);
        QFETCH(QString, lineRate);
        QFETCH(QStringList, plls);
        DesignDialog d("plls_running");
        QVERIFY2(d.isLoaded(), qPrintable(d.error()));
        d.setText("lineRate", lineRate);
        d.pickLanes(lanes);
        QCOMPARE(d.items("PLL_Selection"), plls);
        QCOMPARE(d.combo("PLL_Selection")->itemData(plls.size() - 1).toInt(), 2);
    }

    void pllChoiceKeptWhileOffered()
    {
        DesignDialog d;
        d.select("PLL_Selection", "CPLL");
        d.pickLanes({"Q1 Lane2", "Q1 Lane3"});
        QCOMPARE(d.combo("PLL_Selection")->currentText(), QStringLiteral("CPLL"));
        d.select("PLL_Selection", "QPLL0");
        d.setMode("Receive");
        QCOMPARE(d.combo("PLL_Selection")->currentText(), QStringLiteral("QPLL0"));
    }

    void duplicateLane()
    {
        DesignDialog d;
        d.pickLanes({"Q0 Lane1", "Q0 Lane2", "Q0 Lane3", "Q0 Lane1"});
        MessageBoxWatcher boxes;
        QVERIFY(!d.calculate());
        QCOMPARE(boxes.lines(), QStringList{"Error: Selected duplicate Q0 Lane1"});
        QVERIFY(boxes.boxes().first().hasIconPixmap);
    }
};

std::unique_ptr<QObject> createLaneOfferTest()
{
    return std::make_unique<LaneOfferTest>();
}

#include "tst_laneoffer.moc"
