#include "resourcereport.h"
#include "testpaths.h"

#include <design/designfile.h>
#include <serdes.h>
#include <services/message.h>

#include "testfiles.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace IPSERDESIP;

using TestFiles::readJson;

// Design files: what they put into the SERDES model, what they refuse, and how an accepted core
// goes into one and is given back when it is edited.
class DesignFileTest : public QObject
{
    Q_OBJECT

    serdes *const model = serdes::instance();
    LANE *lane(const QString &key) { return dynamic_cast<LANE *>(model->allInstance().value(key)); }
    PLL *pll(const QString &key) { return dynamic_cast<PLL *>(model->allInstance().value(key)); }
    QString design(const QString &name) { return TestPaths::example("designs/" + name); }

    // The global data of the two-core design below.
    // clang-format off
    const QJsonObject twoCoreGlobals{{"Q1_BIAS", 9}, {"Q0_BIAS", 5}, {"jesd204bCheckDRP_rx", 12},
                                     {"jesd204bCheckDRP_tx", 1}, {"GLOBAL_RESET_ENABLE", false}};
    // clang-format on

    // Two cores added one after the other to a design that already holds an unowned
    // "Q1_BIAS" (a design written before cores recorded their keys): the receiver publishes a
    // quad bias and its DRP record, the transmitter its DRP record, the reset switch and the
    // same bias again, which makes it an owner of the bias too.
    QString twoCoreDesign(const QTemporaryDir &dir)
    {
        const QString path =
            TestFiles::put(dir.filePath("design.json"), R"({"globalData": {"Q1_BIAS": 9}})");
        QString error;
        if (!DesignFile::load(path, &error))
            return {};
        model->setData("Q0_BIAS", 5);
        model->setData("jesd204bCheckDRP_rx", 12);
        if (!DesignFile::addInstance(
                path, resourceReport("a.v:rx", {"Q0_LANE2_RX"}, "QPLL1", "4.9152"), &error))
            return {};
        model->setData("jesd204bCheckDRP_tx", 1);
        model->setData("GLOBAL_RESET_ENABLE", false);
        model->setData("Q0_BIAS", 5);
        if (!DesignFile::addInstance(
                path, resourceReport("b.v:tx", {"Q0_LANE0_TX"}, "QPLL1", "4.9152"), &error))
            return {};
        return path;
    }

private slots:
    void cleanup() { model->reset(); }

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

    // A design is refused in one line naming the entry, or (no error given) loads.
    void malformedDesign_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        const QByteArray clock =
            R"({"source": "Q0_REFCLK0", "frequency": "122.88", "useCount": 1024},)";
        // clang-format off
        QTest::newRow("unknown entry") << QByteArray(R"({"lane": []})") << "lane: unknown entry";
        QTest::newRow("lane beyond device") << QByteArray(R"({"device": "TQ2M1-BG256", "lanes": [{"lane": "Q1_LANE0", "status": 1}]})") << "lanes[0].lane: \"Q1_LANE0\" is no lane of this device (Q0_LANE0 to Q0_LANE3)";
        QTest::newRow("bad status") << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": 4}]})") << "lanes[0].status: expected 1, 2, 3, \"rx\", \"tx\" or \"both\"";
        QTest::newRow("source of unused line") << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": "rx", "txSource": "QPLL0"}]})") << "lanes[0].txSource: the lane's status does not use this line";
        QTest::newRow("line claimed twice") << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": "both", "owner": "a"}, {"lane": "Q0_LANE0", "status": "tx", "owner": "b"}]})") << "lanes[1].status: Q0_LANE0 already has this line for a";
        QTest::newRow("VCO outside band") << QByteArray(R"({"plls": [{"pll": "Q0_QPLL1", "vcoGHz": "14.7456", "refClock": "Q0_REFCLK0"}]})") << "plls[0].vcoGHz: expected a VCO frequency within QPLL1's band 8-13 GHz";
        QTest::newRow("PLL clock out of reach") << QByteArray(R"({"plls": [{"pll": "Q1_QPLL0", "vcoGHz": "10", "refClock": "Q0_REFIN"}]})") << "plls[0].refClock: Q0_REFIN cannot reach quad 1";
        QTest::newRow("running PLL without a clock frequency") << QByteArray(R"({"plls": [{"pll": "Q0_QPLL0", "vcoGHz": "9.8304", "refClock": "Q0_REFCLK0"}]})") << "plls[0].refClock: Q0_REFCLK0 has no frequency in refClocks; a running PLL needs one";
        QTest::newRow("VCO its clock cannot give") << QByteArray(R"({"refClocks": [{"source": "Q0_REFCLK0", "frequency": "100"}], "plls": [{"pll": "Q0_QPLL0", "vcoGHz": "9.8304", "refClock": "Q0_REFCLK0"}]})") << "plls[0].vcoGHz: Q0_QPLL0 cannot run at 9.8304 GHz from Q0_REFCLK0 at 100 MHz: no N and M of QPLL0 give N / M = 98.304 within its clock ranges";
        QTest::newRow("clock at two frequencies") << QByteArray(R"({"refClocks": [{"source": "MCLK", "frequency": "100"}, {"source": "MCLK", "frequency": 125}]})") << "refClocks[1].frequency: MCLK is already given at 100 MHz; a clock has one frequency";
        QTest::newRow("clock's frequency written twice") << QByteArray(R"({"refClocks": [{"source": "MCLK", "frequency": "122.88"}, {"source": "MCLK", "frequency": "122.880"}]})") << "";
        QTest::newRow("instance lane") << QByteArray(R"({"instances": [{"name": "x", "protocol": "Quillan 8B10B", "lanes": ["Q0 Lane9"]}]})") << "instances[0].lanes[0]: \"Q0 Lane9\" is no lane of this device";
        QTest::newRow("instance records") << QByteArray(R"({"instances": [{"name": "x", "protocol": "P", "lanes": [], "globalData": "Q0_BIAS"}]})") << "instances[0].globalData: expected a list of global data keys";
        QTest::newRow("instance record key") << QByteArray(R"({"instances": [{"name": "x", "protocol": "P", "lanes": [], "globalData": ["Q0_BIAS", 3]}]})") << "instances[0].globalData[1]: expected a global data key";
        QTest::newRow("bias out of range") << QByteArray(R"({"globalData": {"Q0_BIAS": 16}})") << "globalData.Q0_BIAS: expected a bias from 0 to 15";
        QTest::newRow("PLL table unknown PLL") << QByteArray(R"({"pllTable": {"LCPLL": {}}})") << "pllTable.LCPLL: unknown PLL";
        QTest::newRow("cut short") << QByteArray(R"({"lanes": [)") << "not valid JSON at offset";
        QTest::newRow("useCount one past its bound") << QByteArray(R"({"refClocks": [{"source": "Q0_REFCLK0", "frequency": "122.88", "useCount": 1025}]})") << "refClocks[0].useCount: expected a whole number from 1 to 1024";
        QTest::newRow("uses summed over a million") << "{\"refClocks\": [" + clock.repeated(1025).chopped(1) + "]}" << "refClocks[1024].useCount";
        QTest::newRow("divider ranges of 1024") << QByteArray(R"({"pllTable": {"QPLL0": {"N": {"min": 1, "max": 1024}, "M": {"min": 1, "max": 1024}, "D": {"min": 1, "max": 1024}}}})") << "pllTable.QPLL0";
        // 16 x 64 x 8 x 8 = 65536, the most a PLL may have: loads.
        QTest::newRow("divider combinations at the limit") << QByteArray(R"({"pllTable": {"CPLL": {"N1": {"min": 1, "max": 16}, "N2": {"min": 1, "max": 64}, "M": {"min": 1, "max": 8}, "D": {"min": 1, "max": 8}}}})") << "";
        QTest::newRow("divider combinations just over") << QByteArray(R"({"pllTable": {"CPLL": {"N1": {"min": 1, "max": 16}, "N2": {"min": 1, "max": 64}, "M": {"min": 1, "max": 8}, "D": {"min": 1, "max": 9}}}})") << "pllTable.CPLL: 73728 divider combinations";
        QTest::newRow("PLL table field") << QByteArray(R"({"pllTable": {"QPLL1": {"vcoGHz": {"min": "13", "max": "8"}}}})") << "pllTable.QPLL1.vcoGHz: expected {\"min\": \"...\", \"max\": \"...\"} in GHz";
        // clang-format on
    }

    void malformedDesign()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(json) == json.size() && file.flush());
        QString message;
        const bool loaded = DesignFile::load(file.fileName(), &message);
        QVERIFY2(loaded == error.isEmpty(), qPrintable(message));
        if (!loaded)
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
        const auto sharing = resourceReport("dac.v:tx", {"Q0_LANE0_TX"}, "QPLL0", "3.6864");
        QVERIFY2(DesignFile::addInstance(path, sharing, &error), qPrintable(error));
        QVERIFY2(DesignFile::addInstance(path, sharing, &error, "dac.v:tx"), qPrintable(error));
        // What the accepted dialog published goes into the design; a core on QPLL1 starts that PLL.
        model->setData("Q0_BIAS", 11);
        const auto starting = resourceReport("dac.v:tx2", {"Q0_LANE1_TX"}, "QPLL1", "4.9152");
        QVERIFY2(DesignFile::addInstance(path, starting, &error), qPrintable(error));
        // QPLL0 at 14.7456 GHz cannot give 4.9152 Gbps: the core is refused and not written.
        const auto clash = resourceReport("dac.v:tx3", {"Q0_LANE2_TX"}, "QPLL0", "4.9152");
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

    // Edited, a core gives up its own records and lanes; the bias it shares with the design
    // stays, so that the dialog starts from it. Accepted again, its old records give way to
    // what it publishes now; a key leaves the design only with its last owner, and a module
    // name is held once.
    void editedCoreAddedAgain_data()
    {
        QTest::addColumn<QString>("replacing"); // empty: a new core
        QTest::addColumn<QString>("released");  // the key the edit takes out of the design
        QTest::addColumn<QString>("name");
        QTest::addColumn<ParameterMap>("published");
        QTest::addColumn<QJsonObject>("globalData"); // empty: refused
        QTest::addColumn<QJsonArray>("owned");
        QJsonObject declined = twoCoreGlobals, renamed = twoCoreGlobals,
                    transmitterGone = twoCoreGlobals;
        declined.insert("jesd204bCheckDRP_rx", 3);
        renamed.remove("jesd204bCheckDRP_rx");
        renamed.insert("jesd204bCheckDRP_rx2", 12);
        transmitterGone.remove("jesd204bCheckDRP_tx");
        transmitterGone.remove("GLOBAL_RESET_ENABLE");
        const QString rx = "jesd204bCheckDRP_rx";
        // clang-format off
        QTest::newRow("unchanged") << "a.v:rx" << rx << "a.v:rx" << ParameterMap{{"Q0_BIAS", 5}, {"jesd204bCheckDRP_rx", 12}} << twoCoreGlobals << QJsonArray{"Q0_BIAS", "jesd204bCheckDRP_rx"};
        QTest::newRow("bias declined, b still owns it") << "a.v:rx" << rx << "a.v:rx" << ParameterMap{{"jesd204bCheckDRP_rx", 3}} << declined << QJsonArray{"jesd204bCheckDRP_rx"};
        QTest::newRow("module renamed") << "a.v:rx" << rx << "a.v:rx2" << ParameterMap{{"Q0_BIAS", 5}, {"jesd204bCheckDRP_rx2", 12}} << renamed << QJsonArray{"Q0_BIAS", "jesd204bCheckDRP_rx2"};
        QTest::newRow("last owner lets go") << "b.v:tx" << "jesd204bCheckDRP_tx" << "b.v:tx" << ParameterMap() << transmitterGone << QJsonArray();
        QTest::newRow("edited core not in the design") << "c.v:rx2" << "" << "c.v:rx2" << ParameterMap() << twoCoreGlobals << QJsonArray();
        QTest::newRow("new core, module taken") << "" << "" << "c.v:rx" << ParameterMap() << QJsonObject() << QJsonArray();
        QTest::newRow("renamed to a taken module") << "a.v:rx" << rx << "a.v:tx" << ParameterMap() << QJsonObject() << QJsonArray();
        // clang-format on
    }
    void editedCoreAddedAgain()
    {
        QFETCH(QString, replacing);
        QFETCH(QString, released);
        QFETCH(QString, name);
        QFETCH(ParameterMap, published);
        QFETCH(QJsonObject, globalData);
        QTemporaryDir dir;
        const QString path = twoCoreDesign(dir);
        QVERIFY(!path.isEmpty());
        const QByteArray earlier = TestFiles::bytes(path);
        QString error;
        QVERIFY2(DesignFile::load(path, &error), qPrintable(error));
        model->removeInstance(replacing);
        QJsonObject kept = twoCoreGlobals;
        kept.remove(released);
        QCOMPARE(QJsonObject::fromVariantMap(model->globalData()), kept);
        QCOMPARE(lane("Q0_LANE2")->getLaneStatus(),
                 int(replacing == "a.v:rx" ? LANE::Free : LANE::Receive));
        QCOMPARE(lane("Q0_LANE0")->getLaneStatus(),
                 int(replacing == "b.v:tx" ? LANE::Free : LANE::Transmit));
        for (auto it = published.begin(); it != published.end(); ++it)
            model->setData(it.key(), it.value());
        const bool added = DesignFile::addInstance(
            path, resourceReport(name, {"Q0_LANE3_RX"}, "QPLL1", "4.9152"), &error, replacing);
        if (globalData.isEmpty()) {
            QVERIFY(!added);
            const QString holder = name == "c.v:rx" ? "a.v:rx" : "b.v:tx";
            QCOMPARE(error, path + ": the design already holds a module named " +
                                name.section(':', 1) + " (core " + holder +
                                "); nothing was written");
            QCOMPARE(TestFiles::bytes(path), earlier);
            return;
        }
        QVERIFY2(added, qPrintable(error));
        const QJsonObject root = readJson(path);
        QCOMPARE(root.value("globalData").toObject(), globalData);
        const QJsonArray instances = root.value("instances").toArray();
        // A core that gave nothing up is added beside the two.
        QCOMPARE(instances.size(), released.isEmpty() ? 3 : 2);
        QCOMPARE(instances.last().toObject().value("name").toString(), name);
        QTEST(instances.last().toObject().value("globalData").toArray(), "owned");
    }
};

QTEST_GUILESS_MAIN(DesignFileTest)
#include "tst_designfile.moc"
