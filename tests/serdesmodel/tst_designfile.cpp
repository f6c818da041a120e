#include "serdesmodeltests.h"

#include "testpaths.h"

#include <designfile.h>
#include <message.h>
#include <serdes.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using IPSERDESIP::DesignFile;
using IPSERDESIP::LANE;
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

QString examplePath(const QString &name)
{
    return TestPaths::examplesDir() + QStringLiteral("/designs/") + name;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

IPSERDESIP::Message txReport(const QString &name, const QString &laneName, const QString &pll,
                             const QString &rate)
{
    IPSERDESIP::Message message;
    message.protocolName = QStringLiteral("JESD204B");
    message.instanceName = name;
    message.laneList = QStringList{laneName};
    message.pllList = QStringList{pll};
    message.refClkList = QStringList{QStringLiteral("Q0_REFCLK0")};
    message.refClkFreqList = QStringList{QStringLiteral("122.88")};
    message.bothRateList = QStringList{QStringLiteral("0")};
    message.rxRateList = QStringList{QStringLiteral("0")};
    message.txRateList = QStringList{rate};
    return message;
}

} // namespace

void DesignFileTest::init()
{
    model()->reset();
}

void DesignFileTest::cleanup()
{
    model()->reset();
}

void DesignFileTest::examplesLoad_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("quads");
    QTest::addColumn<QString>("laneName");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("txSource");
    QTest::addColumn<QString>("refSource");
    QTest::addColumn<double>("refFrequency");

    QTest::newRow("empty") << "empty.json" << 2 << "Q0_LANE0" << 0 << ""
                           << "Q0 REFCLK0" << 0.0;
    QTest::newRow("quillan") << "quillan_q1.json" << 2 << "Q1_LANE1" << 3 << "QPLL0"
                             << "Q1 REFCLK0" << 156.25;
    QTest::newRow("jesd rx") << "jesd_rx_q0.json" << 2 << "Q0_LANE3" << 1 << ""
                             << "Q0 REFCLK0" << 122.88;
    QTest::newRow("slow grade") << "slow_grade_m1.json" << 1 << "Q0_LANE0" << 3 << "CPLL"
                                << "Q0 REFIN0" << 125.0;
}

void DesignFileTest::examplesLoad()
{
    QFETCH(QString, file);
    QFETCH(int, quads);
    QFETCH(QString, laneName);
    QFETCH(int, status);
    QFETCH(QString, txSource);
    QFETCH(QString, refSource);
    QFETCH(double, refFrequency);
    QString error;
    QVERIFY2(DesignFile::load(examplePath(file), &error), qPrintable(error));
    QCOMPARE(model()->quadCount(), quads);
    QCOMPARE(lane(laneName)->getLaneStatus(), status);
    QCOMPARE(lane(laneName)->line(LANE::TxLine).getSource(), txSource);
    QCOMPARE(model()->getFreqByRefsrc(refSource), refFrequency);
}

void DesignFileTest::malformedDesign_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");

    QTest::newRow("not JSON") << QByteArray("{\"lanes\": [") << "not valid JSON at offset";
    QTest::newRow("not an object") << QByteArray("[]") << "a design is a JSON object";
    QTest::newRow("unknown entry") << QByteArray(R"({"lane": []})") << "lane: unknown entry";
    QTest::newRow("unknown device")
        << QByteArray(R"({"device": "XC-1"})") << "device: unknown device id \"XC-1\"";
    QTest::newRow("lane beyond device")
        << QByteArray(R"({"device": "TQ2M1-BG256", "lanes": [{"lane": "Q1_LANE0", "status": 1}]})")
        << "lanes[0].lane: \"Q1_LANE0\" is no lane of this device (Q0_LANE0 to Q0_LANE3)";
    QTest::newRow("bad status") << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": 4}]})")
                                << "lanes[0].status: expected 1, 2, 3, \"rx\", \"tx\" or \"both\"";
    QTest::newRow("source of unused line")
        << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": "rx", "txSource": "QPLL0"}]})")
        << "lanes[0].txSource: the lane's status does not use this line";
    QTest::newRow("line claimed twice")
        << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": "both", "owner": "a"},
                                    {"lane": "Q0_LANE0", "status": "tx", "owner": "b"}]})")
        << "lanes[1].status: Q0_LANE0 already has this line for a";
    QTest::newRow("rate not a number")
        << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": 2, "rate": "fast"}]})")
        << "lanes[0].rate: expected a decimal number of Gbps";
    QTest::newRow("VCO outside band")
        << QByteArray(
               R"({"plls": [{"pll": "Q0_QPLL1", "vcoGHz": "14.7456", "refClock": "Q0_REFCLK0"}]})")
        << "plls[0].vcoGHz: expected a VCO frequency within QPLL1's band 8-13 GHz";
    QTest::newRow("PLL clock out of reach")
        << QByteArray(R"({"plls": [{"pll": "Q1_QPLL0", "vcoGHz": "10", "refClock": "Q0_REFIN"}]})")
        << "plls[0].refClock: Q0_REFIN cannot reach quad 1";
    QTest::newRow("clock at two frequencies")
        << QByteArray(R"({"refClocks": [{"source": "MCLK", "frequency": "100"},
                                        {"source": "MCLK", "frequency": 125}]})")
        << "refClocks[1].frequency: MCLK is already given at 100 MHz; a clock has one frequency";
    QTest::newRow("instance lane")
        << QByteArray(
               R"({"instances": [{"name": "x", "protocol": "Quillan 8B10B", "lanes": ["Q0 Lane9"]}]})")
        << "instances[0].lanes[0]: \"Q0 Lane9\" is no lane of this device";
    QTest::newRow("bias out of range") << QByteArray(R"({"globalData": {"Q0_BIAS": 16}})")
                                       << "globalData.Q0_BIAS: expected a bias from 0 to 15";
    QTest::newRow("reset flag") << QByteArray(R"({"globalData": {"GLOBAL_RESET_ENABLE": "yes"}})")
                                << "globalData.GLOBAL_RESET_ENABLE: expected true or false";
    QTest::newRow("PLL table field")
        << QByteArray(R"({"pllTable": {"QPLL1": {"vcoGHz": {"min": "13", "max": "8"}}}})")
        << "pllTable.QPLL1.vcoGHz: expected {\"min\": \"...\", \"max\": \"...\"} in GHz";
    QTest::newRow("PLL table unknown PLL")
        << QByteArray(R"({"pllTable": {"LCPLL": {}}})") << "pllTable.LCPLL: unknown PLL";
}

void DesignFileTest::malformedDesign()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    // What the model held stays when a design is refused.
    model()->setData(QStringLiteral("Q0_BIAS"), 4);
    lane(QStringLiteral("Q0_LANE2"))->setLaneStatus(LANE::Transmit);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("bad.json"), json);
    QString message;
    QVERIFY(!DesignFile::load(path, &message));
    QVERIFY2(message.startsWith(path + QStringLiteral(": ") + error), qPrintable(message));
    QCOMPARE(model()->getData(QStringLiteral("Q0_BIAS")), QVariant(4));
    QCOMPARE(lane(QStringLiteral("Q0_LANE2"))->getLaneStatus(), int(LANE::Transmit));

    QVERIFY(!DesignFile::load(dir.filePath(QStringLiteral("missing.json")), &message));
    QVERIFY2(message.contains(QStringLiteral("cannot read the design")), qPrintable(message));
}

void DesignFileTest::pllTableOverride()
{
    // The slow grade's QPLL1 stops at 12.5 GHz: 12.5 Gbps still fits, 13 no longer does.
    QString error;
    QVERIFY2(DesignFile::load(examplePath(QStringLiteral("slow_grade_m1.json")), &error),
             qPrintable(error));
    QCOMPARE(model()->checkPLLforQuad0(12.5).contains(QStringLiteral("QPLL1")), true);
    QCOMPARE(model()->checkPLLforQuad0(13.0).contains(QStringLiteral("QPLL1")), false);
    QVERIFY(model()->checkPLLforQuad1(6.25).isEmpty());
    QCOMPARE(model()->getData(QStringLiteral("GLOBAL_RESET_ENABLE")), QVariant(false));
    QStringList options;
    model()->setGlobalResetEnableParam(options);
    QCOMPARE(options, QStringList{QStringLiteral("global_reset_enable false")});

    // Loading another design puts the built-in table back.
    QVERIFY(DesignFile::load(examplePath(QStringLiteral("empty.json")), &error));
    QCOMPARE(model()->checkPLLforQuad0(13.0).contains(QStringLiteral("QPLL1")), true);
}

void DesignFileTest::addInstanceWritesBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("design.json"));
    QVERIFY(QFile::copy(examplePath(QStringLiteral("jesd_rx_q0.json")), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    QVERIFY(DesignFile::load(path, &error));
    // Shares the running QPLL0 at half its rate.
    const IPSERDESIP::Message first =
        txReport(QStringLiteral("dac.v:tx"), QStringLiteral("Q0_LANE0_TX"),
                 QStringLiteral("Q0_QPLL0"), QStringLiteral("3.6864"));
    QVERIFY2(DesignFile::addInstance(path, first, &error), qPrintable(error));
    // Adding it again replaces the earlier entries rather than clashing with them.
    QVERIFY2(DesignFile::addInstance(path, first, &error), qPrintable(error));

    QVERIFY2(DesignFile::load(path, &error), qPrintable(error));
    QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->getLaneStatus(), int(LANE::Transmit));
    QCOMPARE(lane(QStringLiteral("Q0_LANE0"))->owner(), QStringLiteral("dac.v:tx"));
    QCOMPARE(model()->FormStringToREFSPtr(QStringLiteral("Q0_REFCLK0"))->getUseCount(), 2);
    QCOMPARE(model()->findLaneName(QStringLiteral("JESD204B")),
             QStringList({QStringLiteral("Q0_LANE2_RX"), QStringLiteral("Q0_LANE3_RX"),
                          QStringLiteral("Q0_LANE0_TX")}));
    // The design's global data survives the round trip.
    QCOMPARE(model()->getData(QStringLiteral("jesd204bCheckDRP_jesd_rx")), QVariant(12));

    // What the accepted dialog published goes into the design as well.
    model()->setData(QStringLiteral("Q0_BIAS"), 11);
    model()->setData(QStringLiteral("jesd204bCheckDRP_tx2"), 2);
    // A new core on QPLL1 starts that PLL; the file records its VCO.
    QVERIFY2(
        DesignFile::addInstance(path,
                                txReport(QStringLiteral("dac.v:tx2"), QStringLiteral("Q0_LANE1_TX"),
                                         QStringLiteral("Q0_QPLL1"), QStringLiteral("4.9152")),
                                &error),
        qPrintable(error));
    QVERIFY(DesignFile::load(path, &error));
    const auto *qpll1 =
        dynamic_cast<IPSERDESIP::PLL *>(model()->allInstance().value(QStringLiteral("Q0_QPLL1")));
    QCOMPARE(qpll1->vco(), QStringLiteral("9.8304"));
    QCOMPARE(qpll1->owner(), QStringLiteral("dac.v:tx2"));
    QCOMPARE(model()->getData(QStringLiteral("Q0_BIAS")), QVariant(11));
    QCOMPARE(model()->getData(QStringLiteral("jesd204bCheckDRP_tx2")), QVariant(2));
    QCOMPARE(model()->getData(QStringLiteral("jesd204bCheckDRP_jesd_rx")), QVariant(12));
}

void DesignFileTest::addInstanceRefusesClash()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("design.json"));
    QVERIFY(QFile::copy(examplePath(QStringLiteral("jesd_rx_q0.json")), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    QString error;
    QVERIFY(
        !DesignFile::addInstance(path,
                                 txReport(QStringLiteral("dac.v:tx"), QStringLiteral("Q0_LANE0_TX"),
                                          QStringLiteral("Q0_QPLL0"), QStringLiteral("4.9152")),
                                 &error));
    QVERIFY2(error.startsWith(path + QStringLiteral(": dac.v:tx does not fit the design:\n")),
             qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("already runs at 14.7456 GHz")), qPrintable(error));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before);
}
