#include "parametersets.h"
#include "protocol/serdesoptionlines.h"

#include <QtTest>

#include <memory>

using namespace IPJESD204B;

namespace {

QStringList matching(const QStringList &lines, const QString &pattern)
{
    return lines.filter(QRegularExpression(pattern));
}

} // namespace

class TestSerdesLines : public QObject
{
    Q_OBJECT

private slots:
    void moduleOptionsWorkedExample();
    void moduleOptions_data();
    void moduleOptions();
    void refClockLine_data();
    void refClockLine();
    void biasLines_data();
    void biasLines();
    void laneBlocksFollowRecordedLanes();
};

void TestSerdesLines::moduleOptionsWorkedExample()
{
    QStringList options;
    appendModuleOptions(options, ParameterSets::receiveTwoLanes());
    const QStringList expected{"-jesd_rxprotocol_module_type jesd",
                               "-jesd_rxReferenceClockSource Q0REFCLK0",
                               "-jesd_rxPLLSource QPLL0",
                               "-jesd_rxNumberoflanes 2",
                               "-jesd_rxQ0Lane0 true",
                               "-jesd_rxQ0Lane1 true",
                               "-jesd_rxCOREMode Receive",
                               "-jesd_rxEnableDRP false",
                               "-jesd_rxDRPPorts false",
                               "-jesd_rxPCSWidth 32"};
    QCOMPARE(options, expected);
}

void TestSerdesLines::moduleOptions_data()
{
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("lanes unfiltered, in order")
        << QVariantMap{{"recordlanes", QStringList{"Q1 Lane2", "Q7 Lane9", "Q0\tLane2 "}}}
        << "true$"
        << QStringList{"-jesd_rxQ1Lane2 true", "-jesd_rxQ7Lane9 true", "-jesd_rxQ0Lane2 true"};
    QTest::newRow("no core mode") << QVariantMap{{"Receive", false}} << "COREMode" << QStringList{};
    QTest::newRow("transmit") << QVariantMap{{"Receive", false},
                                             {"Transmit", true},
                                             {"Both_Receive_and_Transmit", true}}
                              << "COREMode" << QStringList{"-jesd_rxCOREMode Transmit"};
    QTest::newRow("both") << QVariantMap{{"Receive", false}, {"Both_Receive_and_Transmit", true}}
                          << "COREMode" << QStringList{"-jesd_rxCOREMode BothReceiveandTransmit"};
    QTest::newRow("drp missing") << QVariantMap{{"DRP_Ports", QVariant()}} << "DRP"
                                 << QStringList{"-jesd_rxEnableDRP false",
                                                "-jesd_rxDRPPorts false"};
    QTest::newRow("drp on") << QVariantMap{{"DRP_Ports", true}} << "DRP"
                            << QStringList{"-jesd_rxEnableDRP true", "-jesd_rxDRPPorts true"};
    QTest::newRow("no width") << QVariantMap{{"Pcs_Width_32bit", false}} << "PCSWidth"
                              << QStringList{};
    QTest::newRow("64-bit") << QVariantMap{{"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", true}}
                            << "PCSWidth" << QStringList{"-jesd_rxPCSWidth 64"};
    QTest::newRow("module with placeholder") << QVariantMap{{"module", "m%2"}} << "module_type"
                                             << QStringList{"-m%2protocol_module_type jesd"};
}

void TestSerdesLines::moduleOptions()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    QStringList options;
    appendModuleOptions(options, ParameterSets::with(ParameterSets::receiveTwoLanes(), changes));
    QCOMPARE(matching(options, pattern), expected);
}

void TestSerdesLines::refClockLine_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("road") << "Q0 REFCLK0"
                          << "122.88" << QStringList{"q0_refclk0_freq 122.88"};
    QTest::newRow("trailing zeros") << "Q1 REFCLK0"
                                    << "156.250" << QStringList{"q1_refclk0_freq 156.25"};
    QTest::newRow("six digits") << "Q0 REFCLK1"
                                << "122.880001" << QStringList{"q0_refclk1_freq 122.88"};
    QTest::newRow("whole") << "MCLK"
                           << "100" << QStringList{"mclk_freq 100"};
    QTest::newRow("large goes exponent") << "MCLK"
                                         << "12345678" << QStringList{"mclk_freq 1.23457e+07"};
    QTest::newRow("not a number") << "Q0 REFIN"
                                  << "fast" << QStringList{"q0_gpio_freq 0"};
    QTest::newRow("unnumbered refin") << "Q0 REFIN"
                                      << "100" << QStringList{"q0_gpio_freq 100"};
    QTest::newRow("never offered") << "Q0 REFIN3"
                                   << "50" << QStringList{"q0_gpio3_freq 50"};
    QTest::newRow("unknown source") << "Q0 REFCLK9"
                                    << "100" << QStringList{};
    QTest::newRow("case differs") << "q0 refclk0"
                                  << "100" << QStringList{};
}

void TestSerdesLines::refClockLine()
{
    QFETCH(QString, source);
    QFETCH(QString, frequency);
    QFETCH(QStringList, expected);
    QStringList lines;
    appendRefClockFrequencyLine(lines, source, frequency);
    QCOMPARE(lines, expected);
}

void TestSerdesLines::biasLines_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QStringList>("lanes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("off") << false << QStringList{"Q0 Lane0", "Q1 Lane0"} << QStringList{};
    QTest::newRow("quad 1 only") << true << QStringList{"Q1 Lane2"}
                                 << QStringList{"q1_rx_eq_bias 5"};
    QTest::newRow("quad 0 first") << true << QStringList{"Q1 Lane0", "Q0 Lane3"}
                                  << QStringList{"q0_rx_eq_bias 3", "q1_rx_eq_bias 5"};
    QTest::newRow("no lanes") << true << QStringList{} << QStringList{};
    QTest::newRow("lower case is no quad") << true << QStringList{"q0 lane0"} << QStringList{};
}

void TestSerdesLines::biasLines()
{
    QFETCH(bool, enabled);
    QFETCH(QStringList, lanes);
    QFETCH(QStringList, expected);
    const QVariantMap params{{"ifChangedAllOfBias", enabled}, {"recordlanes", lanes}};
    QStringList lines;
    appendBiasLines(lines, params, {QVariant(3), QVariant("5")});
    QCOMPARE(lines, expected);
}

void TestSerdesLines::laneBlocksFollowRecordedLanes()
{
    const QVariantMap params =
        ParameterSets::with(ParameterSets::receiveTwoLanes(),
                            {{"recordlanes", QStringList{"Q0 Lane2", "Q9 Lane0", "Q1 Lane0"}},
                             {"ifChangedAllOfBias", true}});
    QStringList ini;
    appendIniLines(ini, params, "TQ2-H4", {QVariant(1), QVariant(2)});
    // Two blocks of seventeen lines (device outside groups A and B), one enable line per quad.
    QCOMPARE(matching(ini, "_enable true$"), (QStringList{"q0_ln2_enable true", "q0_enable true",
                                                          "q1_ln0_enable true", "q1_enable true"}));
    QCOMPARE(ini.size(), 2 * 17 + 2 + 1 + 2);
    QCOMPARE(ini.mid(ini.size() - 3),
             (QStringList{"q0_refclk0_freq 122.88", "q0_rx_eq_bias 1", "q1_rx_eq_bias 2"}));
    QCOMPARE(ini.first(), QStringLiteral("q0_ln2_tx_rate 4.9152"));
}

std::unique_ptr<QObject> makeSerdesLinesTest()
{
    return std::make_unique<TestSerdesLines>();
}

#include "tst_serdeslines.moc"
