#include "testpaths.h"

#include <designfile.h>
#include <generator.h>
#include <idecore.h>
#include <message.h>
#include <serdes.h>

#include <QtTest>

using namespace IPSERDESIP;

namespace {

// A core's resource report as the plug-in makes it; Q0 REFCLK0 at 122.88 MHz feeds every lane.
Message report(const QString &name, const QStringList &lanes, const QString &pllKind,
               const QString &rate)
{
    Message message;
    message.protocolName = "JESD204B";
    message.instanceName = name;
    message.laneList = lanes;
    for (const QString &entry : lanes) {
        message.pllList << entry.left(2) + "_" + pllKind;
        message.refClkList << "Q0_REFCLK0";
        message.refClkFreqList << "122.88";
        message.txRateList << rate;
    }
    return message;
}

} // namespace

// The SERDES model and the design files that fill it, with no plug-in involved.
class SerdesModelTest : public QObject
{
    Q_OBJECT

    serdes *const model = serdes::instance();
    LANE *lane(const QString &key) { return dynamic_cast<LANE *>(model->allInstance().value(key)); }
    PLL *pll(const QString &key) { return dynamic_cast<PLL *>(model->allInstance().value(key)); }
    QString design(const QString &name) { return TestPaths::examplesDir() + "/designs/" + name; }

private slots:
    void cleanup() { model->reset(); }

    // Two cores share a lane, one line each; the second takes D 4 from the VCO the first started.
    void laneStatus()
    {
        QString error;
        QVERIFY(model->addInstance(report("c0", {"Q0_LANE1_TX"}, "QPLL1", "4.9152"), &error));
        QVERIFY(model->addInstance(report("c1", {"Q0_LANE1_RX", "Q0_LANE2"}, "QPLL1", "2.4576"),
                                   &error));
        const LANE *shared = lane("Q0_Lane1");
        QCOMPARE(shared->getLaneStatus(), int(LANE::Both));
        QCOMPARE(shared->owner(), QString("c0, c1"));
        QCOMPARE(shared->getLaneRate(), 2.4576);
        QCOMPARE(shared->line(LANE::RxLine).getSource(), QString("QPLL1"));
        QCOMPARE(shared->line(LANE::TxLine).getSource(), QString("QPLL1"));
        QCOMPARE(lane("Q0_LANE2")->getLaneStatus(), int(LANE::Both));
        QCOMPARE(pll("Q0_QPLL1")->vco(), QString("9.8304"));
    }

    void pllsForRate_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QStringList>("plls"); // offered by a quad whose PLLs are free
        // clang-format off
        QTest::newRow("4.9152") << 4.9152 << QStringList{"QPLL0", "QPLL1"};
        QTest::newRow("7.3728") << 7.3728 << QStringList{"QPLL0"};
        QTest::newRow("16.375") << 16.375 << QStringList{"QPLL0"};
        QTest::newRow("20") << 20.0 << QStringList();
        QTest::newRow("0") << 0.0 << QStringList();
        // clang-format on
    }

    void pllsForRate()
    {
        QFETCH(double, rate);
        QFETCH(QStringList, plls);
        QCOMPARE(model->checkPLLforQuad0(rate), plls);
        QCOMPARE(model->checkPLLforQuad1(rate), plls);
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
        QFETCH(bool, reaches);
        model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(deviceId));
        QCOMPARE(model->checkAccess(source, line), reaches);
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
        QVERIFY(model->addInstance(report("a.v:tx", {"Q0_LANE1_TX"}, "QPLL1", "4.9152"), &error));
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
        const QStringList options{"q0_ln0_tx_rate 4.9152", "q0_ln0_rx_rate 4.9152",
                                  "q0_ln0_pll_sel qpll1",  "q0_ln0_enable true",
                                  "q0_ln1_tx_rate 4.9152", "q0_ln1_rx_rate 4.9152",
                                  "q0_ln1_pll_sel qpll1",  "q0_ln1_enable true",
                                  "q0_enable true",        "q0_refclk0_freq 122.88"};
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
    }

    // A design's own PLL table and claims last until the next design is loaded.
    void designsLoad()
    {
        QString error;
        QVERIFY2(DesignFile::load(design("slow_grade_m1.json"), &error), qPrintable(error));
        QCOMPARE(lane("Q0_LANE0")->getLaneStatus(), int(LANE::Both));
        QCOMPARE(model->getFreqByRefsrc("Q0 REFIN0"), 125.0);
        QCOMPARE(model->checkPLLforQuad0(13.0), QStringList{"QPLL0"});
        // A design without a device keeps the current one, here the slow grade's one-quad device.
        QVERIFY2(DesignFile::load(design("empty.json"), &error), qPrintable(error));
        QCOMPARE(model->quadCount(), 1);
        QCOMPARE(lane("Q0_LANE0")->getLaneStatus(), int(LANE::Free));
        QCOMPARE(model->getFreqByRefsrc("Q0 REFIN0"), 0.0);
        QCOMPARE(model->checkPLLforQuad0(13.0), (QStringList{"QPLL0", "QPLL1"}));
    }

    void malformedDesign_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        // clang-format off
        QTest::newRow("unknown entry") << QByteArray(R"({"lane": []})") << "lane: unknown entry";
        QTest::newRow("lane beyond device") << QByteArray(R"({"device": "TQ2M1-BG256", "lanes": [{"lane": "Q1_LANE0", "status": 1}]})") << "lanes[0].lane: \"Q1_LANE0\" is no lane of this device (Q0_LANE0 to Q0_LANE3)";
        QTest::newRow("bad status") << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": 4}]})") << "lanes[0].status: expected 1, 2, 3, \"rx\", \"tx\" or \"both\"";
        QTest::newRow("source of unused line") << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": "rx", "txSource": "QPLL0"}]})") << "lanes[0].txSource: the lane's status does not use this line";
        QTest::newRow("line claimed twice") << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": "both", "owner": "a"}, {"lane": "Q0_LANE0", "status": "tx", "owner": "b"}]})") << "lanes[1].status: Q0_LANE0 already has this line for a";
        QTest::newRow("VCO outside band") << QByteArray(R"({"plls": [{"pll": "Q0_QPLL1", "vcoGHz": "14.7456", "refClock": "Q0_REFCLK0"}]})") << "plls[0].vcoGHz: expected a VCO frequency within QPLL1's band 8-13 GHz";
        QTest::newRow("PLL clock out of reach") << QByteArray(R"({"plls": [{"pll": "Q1_QPLL0", "vcoGHz": "10", "refClock": "Q0_REFIN"}]})") << "plls[0].refClock: Q0_REFIN cannot reach quad 1";
        QTest::newRow("clock at two frequencies") << QByteArray(R"({"refClocks": [{"source": "MCLK", "frequency": "100"}, {"source": "MCLK", "frequency": 125}]})") << "refClocks[1].frequency: MCLK is already given at 100 MHz; a clock has one frequency";
        QTest::newRow("instance lane") << QByteArray(R"({"instances": [{"name": "x", "protocol": "Quillan 8B10B", "lanes": ["Q0 Lane9"]}]})") << "instances[0].lanes[0]: \"Q0 Lane9\" is no lane of this device";
        QTest::newRow("bias out of range") << QByteArray(R"({"globalData": {"Q0_BIAS": 16}})") << "globalData.Q0_BIAS: expected a bias from 0 to 15";
        QTest::newRow("PLL table field") << QByteArray(R"({"pllTable": {"QPLL1": {"vcoGHz": {"min": "13", "max": "8"}}}})") << "pllTable.QPLL1.vcoGHz: expected {\"min\": \"...\", \"max\": \"...\"} in GHz";
        QTest::newRow("PLL table unknown PLL") << QByteArray(R"({"pllTable": {"LCPLL": {}}})") << "pllTable.LCPLL: unknown PLL";
        // clang-format on
    }

    void malformedDesign()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(json) == json.size() && file.flush());
        QString message;
        QVERIFY(!DesignFile::load(file.fileName(), &message));
        QVERIFY2(message.startsWith(file.fileName() + ": " + error), qPrintable(message));
    }

    void writeBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("design.json");
        QVERIFY(QFile::copy(design("jesd_rx_q0.json"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        // Half the rate shares the running QPLL0; added again, a core replaces its entries.
        QString error;
        const auto sharing = report("dac.v:tx", {"Q0_LANE0_TX"}, "QPLL0", "3.6864");
        QVERIFY2(DesignFile::addInstance(path, sharing, &error), qPrintable(error));
        QVERIFY2(DesignFile::addInstance(path, sharing, &error), qPrintable(error));
        // What the accepted dialog published goes into the design; a core on QPLL1 starts that PLL.
        model->setData("Q0_BIAS", 11);
        const auto starting = report("dac.v:tx2", {"Q0_LANE1_TX"}, "QPLL1", "4.9152");
        QVERIFY2(DesignFile::addInstance(path, starting, &error), qPrintable(error));
        // QPLL0 at 14.7456 GHz cannot give 4.9152 Gbps: the core is refused and not written.
        const auto clash = report("dac.v:tx3", {"Q0_LANE2_TX"}, "QPLL0", "4.9152");
        QVERIFY(!DesignFile::addInstance(path, clash, &error));
        QVERIFY2(error.startsWith(path + ": dac.v:tx3 does not fit the design:\n"),
                 qPrintable(error));
        QVERIFY2(error.contains("already runs at 14.7456 GHz"), qPrintable(error));

        QVERIFY2(DesignFile::load(path, &error), qPrintable(error));
        QCOMPARE(lane("Q0_LANE0")->owner(), QString("dac.v:tx"));
        QCOMPARE(model->findLaneName("JESD204B"),
                 QStringList({"Q0_LANE2_RX", "Q0_LANE3_RX", "Q0_LANE0_TX", "Q0_LANE1_TX"}));
        QCOMPARE(model->FormStringToREFSPtr("Q0_REFCLK0")->getUseCount(), 3);
        QCOMPARE(pll("Q0_QPLL1")->owner(), QString("dac.v:tx2"));
        QCOMPARE(model->getData("Q0_BIAS"), QVariant(11));
        // The design's own global data survives the round trip.
        QCOMPARE(model->getData("jesd204bCheckDRP_jesd_rx"), QVariant(12));
    }
};

QTEST_GUILESS_MAIN(SerdesModelTest)
#include "tst_serdesmodel.moc"
