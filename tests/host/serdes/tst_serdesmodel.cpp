#include "resourcereport.h"

#include <generator.h>
#include <idecore.h>
#include <serdes.h>
#include <services/message.h>

#include <QtTest>

using namespace IPSERDESIP;

// The SERDES model: occupancy, reach, routes and instances, with no plug-in involved.
class SerdesModelTest : public QObject
{
    Q_OBJECT

    serdes *const model = serdes::instance();
    LANE *lane(const QString &key) { return dynamic_cast<LANE *>(model->allInstance().value(key)); }
    PLL *pll(const QString &key) { return dynamic_cast<PLL *>(model->allInstance().value(key)); }

private slots:
    void cleanup() { model->reset(); }

    // Two cores share a lane, one line each; the second takes D 4 from the VCO the first started.
    void laneStatus()
    {
        QString error;
        QVERIFY(
            model->addInstance(resourceReport("c0", {"Q0_LANE1_TX"}, "QPLL1", "4.9152"), &error));
        QVERIFY(model->addInstance(
            resourceReport("c1", {"Q0_LANE1_RX", "Q0_LANE2"}, "QPLL1", "2.4576"), &error));
        const LANE *shared = lane("Q0_Lane1");
        QCOMPARE(shared->getLaneStatus(), int(LANE::Both));
        QCOMPARE(shared->owner(), QString("c0, c1"));
        QCOMPARE(shared->getLaneRate(), 2.4576);
        QCOMPARE(shared->line(LANE::RxLine).getSource(), QString("QPLL1"));
        QCOMPARE(shared->line(LANE::TxLine).getSource(), QString("QPLL1"));
        QCOMPARE(lane("Q0_LANE2")->getLaneStatus(), int(LANE::Both));
        QCOMPARE(pll("Q0_QPLL1")->vco(), QString("9.8304"));
    }

    void referenceClockReach_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("reaches");
        // clang-format off
        QTest::newRow("neighbour quad") << "TQ2H4-FF676" << "Q0_REFCLK1" << "Q1_LANE3_TX" << true;
        QTest::newRow("display name") << "TQ2H4-FF676" << "Q0 REFCLK0" << "Q1_LANE0_TX" << true;
        QTest::newRow("REFIN own quad") << "TQ2M1-BG256" << "Q0_REFIN1" << "Q0_LANE3_TX" << true;
        QTest::newRow("MCLK") << "TQ2H4-FF676" << "MCLK" << "Q1_LANE2_TX" << true;
        QTest::newRow("no such pin") << "TQ2H4-FF676" << "Q0_REFCLK7" << "Q0_LANE0_RX" << false;
        QTest::newRow("quad beyond device") << "TQ2M1-BG256" << "Q1_REFCLK0" << "Q0_LANE0_RX" << false;
        QTest::newRow("lane beyond device") << "TQ2M1-BG256" << "MCLK" << "Q1_LANE0_RX" << false;
        QTest::newRow("lower case") << "TQ2H4-FF676" << "q0_refclk0" << "Q0_LANE0_RX" << false;
        // clang-format on
    }

    void referenceClockReach()
    {
        QFETCH(QString, deviceId);
        QFETCH(QString, source);
        QFETCH(QString, line);
        model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(deviceId));
        QTEST(model->checkAccess(source, line), "reaches");
    }

    void routeConflicts_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("ref");
        QTest::addColumn<QString>("freq");
        QTest::addColumn<QString>("conflict"); // empty: none
        // The design: "a.v:tx" transmits on Q0 lane 1 from Q0 REFCLK0 at 122.88 MHz.
        // clang-format off
        QTest::newRow("taken line") << QStringList{"Q0_LANE1"} << "" << "Q0_REFCLK0" << "122.88" << "Q0_LANE1: the transmit line is already used by a.v:tx";
        QTest::newRow("its own line") << QStringList{"Q0_LANE1_TX"} << "a.v:tx" << "Q0_REFCLK0" << "122.88" << "";
        QTest::newRow("clock at another frequency") << QStringList{"Q0_LANE2_TX", "Q0_LANE3_TX"} << "" << "Q0_REFCLK0" << "156.25" << "Q0_REFCLK0 already runs at 122.88 MHz for other cores; this core asks 156.25 MHz";
        QTest::newRow("out of reach") << QStringList{"Q1_LANE0_RX"} << "" << "Q0_REFIN" << "100" << "Q1_LANE0_RX: Q0_REFIN cannot reach quad 1 (a REFIN input drives its own quad only)";
        QTest::newRow("same line twice") << QStringList{"Q0_LANE2_RX", "Q0_LANE2"} << "" << "MCLK" << "100" << "Q0_LANE2: the receive line is claimed twice by this core";
        QTest::newRow("unknown lane") << QStringList{"Q2_LANE0_RX"} << "" << "MCLK" << "100" << "Q2_LANE0_RX: no such lane on this device (2 quads)";
        // clang-format on
    }

    void routeConflicts()
    {
        QFETCH(QStringList, lanes);
        QFETCH(QString, owner);
        QFETCH(QString, ref);
        QFETCH(QString, freq);
        QFETCH(QString, conflict);
        QString error;
        QVERIFY(model->addInstance(resourceReport("a.v:tx", {"Q0_LANE1_TX"}, "QPLL1", "4.9152"),
                                   &error));
        QStringList plls, refs, freqs;
        for (const QString &entry : lanes) {
            plls << entry.left(2) + "_QPLL1";
            refs << ref;
            freqs << freq;
        }
        QCOMPARE(model->checkRoute(lanes, plls, refs, freqs, owner), conflict.isEmpty());
        QCOMPARE(model->routeConflicts(),
                 conflict.isEmpty() ? QStringList() : QStringList{conflict});
        for (const QString &entry : lanes)
            model->resetLane(entry, false);
        QVERIFY(model->routeConflicts().isEmpty());
    }

    void resetLaneReleasesOrKeeps()
    {
        const QStringList lanes{"Q0_LANE0_TX", "Q0_LANE1_TX"}, freqs{"122.88", "122.88"};
        const QStringList plls{"Q0_QPLL1", "Q0_QPLL1"}, refs{"Q0_REFCLK0", "Q0_REFCLK0"};
        QStringList options{"q0_enable true", "q0_refclk0_freq 122.88"};
        for (const QString lane : {"q0_ln0", "q0_ln1"})
            options << lane + "_tx_rate 4.9152" << lane + "_rx_rate 4.9152"
                    << lane + "_pll_sel qpll1" << lane + "_enable true";
        // Calculate twice (the same verdict, nothing left behind), then keep the route.
        for (const bool keep : {false, false, true}) {
            QVERIFY(model->checkRoute(lanes, plls, refs, freqs, "doc:top"));
            generator gen;
            QVERIFY(gen.generate(options, QString(), {}));
            for (const QString &entry : lanes)
                model->resetLane(entry, keep);
            QCOMPARE(lane("Q0_LANE1")->getLaneStatus(), int(keep ? LANE::Transmit : LANE::Free));
            QCOMPARE(model->checkPllEnable("Q0_QPLL1"), keep);
            QCOMPARE(model->getFreqByRefsrc("Q0_REFCLK0"), keep ? 122.88 : 0.0);
        }
        // Kept, the route is part of the design, with the VCO the run solved.
        QCOMPARE(lane("Q0_LANE1")->getLaneRate(), 4.9152);
        QCOMPARE(lane("Q0_LANE1")->owner(), QString("doc:top"));
        QCOMPARE(pll("Q0_QPLL1")->vco(), QString("9.8304"));
        QVERIFY(!model->checkRoute(lanes, plls, refs, freqs, "doc:other"));
        // Edited, the core gives its PLL back.
        model->removeInstance("doc:top");
        QVERIFY(!model->checkPllEnable("Q0_QPLL1"));
    }
};

QTEST_GUILESS_MAIN(SerdesModelTest)
#include "tst_serdesmodel.moc"
