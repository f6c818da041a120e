#include "parametersets.h"
#include "protocol/jesd204b.h"

#include <message.h>
#include <testpaths.h>

#include <QtTest>

#include <memory>

using namespace IPJESD204B;

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void lanesAndPlls_data();
    void lanesAndPlls();
    void rateListsFollowMode_data();
    void rateListsFollowMode();
    void identity();
};

void TestResources::lanesAndPlls_data()
{
    QTest::addColumn<QVariantMap>("params");
    QTest::addColumn<QStringList>("lanes");
    QTest::addColumn<QStringList>("plls");
    const QVariantMap twoQuads{{"Number_of_lanes", "2"},
                               {"JESD204B_Lane0_connect_with", "Q0 Lane1"},
                               {"JESD204B_Lane1_connect_with", "Q1 Lane0"},
                               {"PLL_Selection", "CPLL"}};
    QTest::newRow("transmit cpll")
        << ParameterSets::with(twoQuads, {{"Transmit", true}})
        << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"};
    QTest::newRow("receive wins") << ParameterSets::with(twoQuads,
                                                         {{"Receive", true}, {"Transmit", true}})
                                  << QStringList{"Q0_LANE1_RX", "Q1_LANE0_RX"}
                                  << QStringList{"Q0_CPLL1", "Q1_CPLL0"};
    QTest::newRow("both") << ParameterSets::with(twoQuads, {{"Both_Receive_and_Transmit", true},
                                                            {"PLL_Selection", "QPLL1"}})
                          << QStringList{"Q0_LANE1", "Q1_LANE0"}
                          << QStringList{"Q0_QPLL1", "Q1_QPLL1"};
    QTest::newRow("no mode still claims plls")
        << ParameterSets::with(twoQuads, {{"PLL_Selection", "QPLL0"}}) << QStringList{}
        << QStringList{"Q0_QPLL0", "Q1_QPLL0"};
    QTest::newRow("quad pll not deduplicated")
        << QVariantMap{{"Number_of_lanes", "3"},
                       {"Receive", true},
                       {"PLL_Selection", "QPLL0"},
                       {"JESD204B_Lane0_connect_with", "Q0 Lane0"},
                       {"JESD204B_Lane1_connect_with", "Q0 Lane1"},
                       {"JESD204B_Lane2_connect_with", "Q0 Lane2"}}
        << QStringList{"Q0_LANE0_RX", "Q0_LANE1_RX", "Q0_LANE2_RX"}
        << QStringList{"Q0_QPLL0", "Q0_QPLL0", "Q0_QPLL0"};
    QTest::newRow("lanes above the count ignored")
        << ParameterSets::with(twoQuads, {{"Number_of_lanes", "1"}, {"Transmit", true}})
        << QStringList{"Q0_LANE1_TX"} << QStringList{"Q0_CPLL1"};
    QTest::newRow("unknown lane skipped, pll unknown")
        << ParameterSets::with(twoQuads, {{"JESD204B_Lane0_connect_with", "q0 lane1"},
                                          {"Transmit", true},
                                          {"PLL_Selection", "cpll"}})
        << QStringList{"Q1_LANE0_TX"} << QStringList{};
    QTest::newRow("lanes absent") << ParameterSets::with(twoQuads, {{"Number_of_lanes", QVariant()},
                                                                    {"Transmit", true}})
                                  << QStringList{} << QStringList{};
    QTest::newRow("huge count") << ParameterSets::with(twoQuads, {{"Number_of_lanes", "2000000000"},
                                                                  {"Transmit", true}})
                                << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"}
                                << QStringList{"Q0_CPLL1", "Q1_CPLL0"};
    QTest::newRow("sparse keys beyond eight")
        << ParameterSets::with(twoQuads, {{"Number_of_lanes", "12"},
                                          {"Transmit", true},
                                          {"JESD204B_Lane11_connect_with", "Q1 Lane3"},
                                          {"JESD204B_Lane011_connect_with", "Q1 Lane2"}})
        << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX", "Q1_LANE3_TX"}
        << QStringList{"Q0_CPLL1", "Q1_CPLL0", "Q1_CPLL3"};
}

void TestResources::lanesAndPlls()
{
    QFETCH(QVariantMap, params);
    QFETCH(QStringList, lanes);
    QFETCH(QStringList, plls);
    jesd204b protocol(QStringLiteral("/nonexistent"));
    const std::unique_ptr<IPSERDESIP::Message> report(protocol.resources(params));
    QVERIFY(report);
    QCOMPARE(report->laneList, lanes);
    QCOMPARE(report->pllList, plls);
    const int n = lanes.size();
    QCOMPARE(report->refClkList.size(), n);
    QCOMPARE(report->refClkFreqList.size(), n);
    QCOMPARE(report->bothRateList.size(), n);
    QCOMPARE(report->rxRateList.size(), n);
    QCOMPARE(report->txRateList.size(), n);
}

void TestResources::rateListsFollowMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("rates"); // both, rx, tx
    QTest::newRow("receive") << "Receive" << QStringList{"0", "6.25", "0"};
    QTest::newRow("transmit") << "Transmit" << QStringList{"0", "0", "6.25"};
    QTest::newRow("both") << "Both_Receive_and_Transmit" << QStringList{"6.25", "0", "0"};
}

void TestResources::rateListsFollowMode()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, rates);
    const QVariantMap params{{"Number_of_lanes", "2"},
                             {"JESD204B_Lane0_connect_with", "Q0 Lane0"},
                             {"JESD204B_Lane1_connect_with", "Q0 Lane3"},
                             {mode, true},
                             {"Line_Rate", "6.25"},
                             {"Reference_CLK_Source", "Q0 REFCLK1"},
                             {"Reference_CLK_Frequency", "156.2500"}};
    jesd204b protocol(QStringLiteral("/nonexistent"));
    const std::unique_ptr<IPSERDESIP::Message> report(protocol.resources(params));
    const auto twice = [](const QString &value) { return QStringList{value, value}; };
    QCOMPARE(report->bothRateList, twice(rates.at(0)));
    QCOMPARE(report->rxRateList, twice(rates.at(1)));
    QCOMPARE(report->txRateList, twice(rates.at(2)));
    QCOMPARE(report->refClkList, twice("Q0_REFCLK1"));
    QCOMPARE(report->refClkFreqList, twice("156.2500"));
}

void TestResources::identity()
{
    jesd204b protocol(TestPaths::sourceDir() + QStringLiteral("/data"));
    QVERIFY(protocol.load());
    const std::unique_ptr<IPSERDESIP::Message> report(
        protocol.resources({{"file", "doc"}, {"module", "top"}}));
    QCOMPARE(report->protocolName, protocol.name());
    QVERIFY(!report->protocolName.isEmpty());
    QCOMPARE(report->instanceName, QStringLiteral("doc:top"));
    QCOMPARE(report->file, QStringLiteral("doc"));
    QCOMPARE(report->module, QStringLiteral("top"));
}

std::unique_ptr<QObject> makeResourcesTest()
{
    return std::make_unique<TestResources>();
}

#include "tst_resources.moc"
