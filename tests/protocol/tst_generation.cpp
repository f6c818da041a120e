#include "jesd204b.h"
#include "laneoptions.h"
#include "serdesoptionlines.h"
#include "topdefines.h"

#include <idecore.h>
#include <serdes.h>
#include <services/message.h>
#include <testpaths.h>

#include <QtTest>

#include "testfiles.h"
#include <memory>

using namespace IPJESD204B;

namespace {

// The set with some keys changed; an invalid value removes the key.
IPSERDESIP::ParameterMap withChanges(IPSERDESIP::ParameterMap params,
                                     const IPSERDESIP::ParameterMap &changes)
{
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        if (it.value().isValid())
            params.insert(it.key(), it.value());
        else
            params.remove(it.key());
    }
    return params;
}

// The receive-only two-lane reference core as its example file stores it.
IPSERDESIP::ParameterMap receiveTwoLanes(const IPSERDESIP::ParameterMap &changes = {})
{
    return withChanges(TestFiles::readJson(TestPaths::example("rx_2lane.json")).toVariantMap(),
                       changes);
}

struct Run
{
    bool ok = false;
    QStringList ini, options;
};

Run generate(jesd204b &protocol, const IPSERDESIP::ParameterMap &params, Run run = {})
{
    QStringList reserved;
    QString message;
    run.ok = protocol.generate(params, run.ini, reserved, run.options, message, false);
    return run;
}

} // namespace

// Define lists, SERDES option lines, resource reports and the generation driver, by the rules
// that the reference cores under examples/expected (compared whole elsewhere) do not reach.
class GenerationTest : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<IPSERDESIP::ParameterMap>("changes"); // to the receive-only reference core
        QTest::addColumn<QString>("pattern");                  // of the lines compared
        QTest::addColumn<QStringList>("expected");
        const QString mode = QStringLiteral("X_EN$|JESD_|COREMode|q0_ln0_(rx_sd|tx_diff)");
        // clang-format off
        QTest::newRow("receive first") << IPSERDESIP::ParameterMap{{"Transmit", true}, {"Both_Receive_and_Transmit", true}} << mode << QStringList{"`define RX_EN", "`define JESD_TX 0", "`define JESD_RX 1", "q0_ln0_rx_sd_thsel 100mV", "-jesd_rxCOREMode Receive"};
        QTest::newRow("transmit before both") << IPSERDESIP::ParameterMap{{"Receive", false}, {"Transmit", true}, {"Both_Receive_and_Transmit", true}} << mode << QStringList{"`define TX_EN", "`define JESD_TX 1", "`define JESD_RX 0", "q0_ln0_tx_differential_swing 900mV", "-jesd_rxCOREMode Transmit"};
        QTest::newRow("no mode") << IPSERDESIP::ParameterMap{{"Receive", false}} << mode << QStringList{};
        QTest::newRow("tx buffer fixed") << IPSERDESIP::ParameterMap{{"Receive", false}, {"Transmit", true}, {"LMFC_Buffer", "512"}} << "BUFFER" << QStringList{"`define BUFFER_SIZE 1024"};
        QTest::newRow("unknown texts") << IPSERDESIP::ParameterMap{{"Default_SYSREF_Always", "always on"}, {"Default_Scrambling_ON", ""}, {"Default_SYSREF_Required_on_Re-Sync", QVariant()}} << "INIT_[SR]" << QStringList{};
        QTest::newRow("F fraction is no integer") << IPSERDESIP::ParameterMap{{"Default_F", "4.0"}} << "INIT_F" << QStringList{"`define INIT_F -1"};
        QTest::newRow("F smallest int") << IPSERDESIP::ParameterMap{{"Default_F", "-2147483648"}} << "INIT_F" << QStringList{"`define INIT_F -2147483649"};
        QTest::newRow("fixed 32 caps at 4") << IPSERDESIP::ParameterMap{{"Fixed_Config_Enable", true}, {"Default_F", "8"}} << "FIX_" << QStringList{"`define FIX_EN 1", "`define FIX_SCAM 0", "`define FIX_F 4"};
        QTest::newRow("fixed, no width") << IPSERDESIP::ParameterMap{{"Fixed_Config_Enable", true}, {"Pcs_Width_32bit", false}} << "FIX_|define MODE|PCSWidth|gearbox" << QStringList{"`define FIX_EN 1", "`define FIX_SCAM 0"};
        QTest::newRow("not fixed ignores F") << IPSERDESIP::ParameterMap{{"Default_Scrambling_ON", "Scrambling ON"}, {"Default_F", "2"}} << "FIX_" << QStringList{"`define FIX_EN 0", "`define FIX_SCAM 0", "`define FIX_F 0"};
        QTest::newRow("32 before 64") << IPSERDESIP::ParameterMap{{"Pcs_Width_64bit", true}} << "define MODE|PCSWidth|q0_ln0_tx_gearbox" << QStringList{"`define MODE 1", "q0_ln0_tx_gearbox 2", "-jesd_rxPCSWidth 32"};
        QTest::newRow("clock rounds to nearest") << IPSERDESIP::ParameterMap{{"Clock_Frequency", "12.3456789"}} << "CFG_CLK" << QStringList{"`define CFG_CLK 12345679"};
        QTest::newRow("clock tiny negative") << IPSERDESIP::ParameterMap{{"Clock_Frequency", "-0.0000001"}} << "CFG_CLK" << QStringList{"`define CFG_CLK 0"};
        QTest::newRow("module holding a placeholder") << IPSERDESIP::ParameterMap{{"module", "m%2"}} << "module_" << QStringList{"`define module_name m%2", "-m%2protocol_module_type jesd"};
        QTest::newRow("lane options unfiltered") << IPSERDESIP::ParameterMap{{"recordlanes", QStringList{"Q1 Lane2", "Q7 Lane9", "Q0\tLane2 "}}} << "^-.* true$" << QStringList{"-jesd_rxQ1Lane2 true", "-jesd_rxQ7Lane9 true", "-jesd_rxQ0Lane2 true"};
        QTest::newRow("lanes in recorded order, bias by quad") << IPSERDESIP::ParameterMap{{"recordlanes", QStringList{"Q1 Lane0", "Q9 Lane0", "Q0 Lane2"}}, {"ifChangedAllOfBias", true}} << "tx_rate|enable true$|_freq |_bias " << QStringList{"q1_ln0_tx_rate 4.9152", "q1_ln0_enable true", "q1_enable true", "q0_ln2_tx_rate 4.9152", "q0_ln2_enable true", "q0_enable true", "q0_refclk0_freq 122.88", "q0_rx_eq_bias 3", "q1_rx_eq_bias 5"};
        QTest::newRow("bias of quads in use only") << IPSERDESIP::ParameterMap{{"ifChangedAllOfBias", true}, {"recordlanes", QStringList{"q0 lane0", "Q1 Lane2"}}} << "_bias " << QStringList{"q1_rx_eq_bias 5"};
        QTest::newRow("frequency, six digits") << IPSERDESIP::ParameterMap{{"Reference_CLK_Source", "Q0 REFCLK1"}, {"Reference_CLK_Frequency", "122.880001"}} << "_freq |ClockSource" << QStringList{"q0_refclk1_freq 122.88", "-jesd_rxReferenceClockSource Q0REFCLK1"};
        QTest::newRow("frequency, no number") << IPSERDESIP::ParameterMap{{"Reference_CLK_Source", "Q0 REFIN"}, {"Reference_CLK_Frequency", "fast"}} << "_freq |ClockSource" << QStringList{"q0_gpio_freq 0", "-jesd_rxReferenceClockSource Q0REFIN"};
        QTest::newRow("unknown source") << IPSERDESIP::ParameterMap{{"Reference_CLK_Source", "q0 refclk0"}} << "_freq |ClockSource" << QStringList{"-jesd_rxReferenceClockSource q0refclk0"};
        QTest::newRow("rate absent") << IPSERDESIP::ParameterMap{{"Line_Rate", QVariant()}} << "q0_ln0_.x_rate" << QStringList{"q0_ln0_tx_rate ", "q0_ln0_rx_rate "};
        QTest::newRow("receive values absent") << IPSERDESIP::ParameterMap{{"SD_THRESHOLD", QVariant()}, {"Equalization_Mode", QVariant()}, {"ATT", QVariant()}, {"BOOST", QVariant()}} << "q0_ln0_rx_(sd|eq|att|boost)" << QStringList{"q0_ln0_rx_sd_thsel 100mV", "q0_ln0_rx_eq_mode auto", "q0_ln0_rx_att 7", "q0_ln0_rx_boost 9"};
        QTest::newRow("receive values present but empty") << IPSERDESIP::ParameterMap{{"SD_THRESHOLD", ""}, {"Equalization_Mode", "Manual"}, {"ATT", "x"}, {"BOOST", ""}} << "q0_ln0_rx_(sd|eq|att|boost)" << QStringList{"q0_ln0_rx_sd_thsel ", "q0_ln0_rx_eq_mode manual", "q0_ln0_rx_att 0", "q0_ln0_rx_boost 0"};
        QTest::newRow("transmit values absent") << IPSERDESIP::ParameterMap{{"Receive", false}, {"Transmit", true}, {"DIFFERENTIAL_SWING", QVariant()}, {"FFEMODE", QVariant()}, {"FFE_CM", QVariant()}, {"FFE_C1", QVariant()}, {"FFE_C0", QVariant()}} << "q0_ln0_tx_(diff|ffe)" << QStringList{"q0_ln0_tx_differential_swing 900mV", "q0_ln0_tx_ffe_mode auto", "q0_ln0_tx_ffe_cm 0", "q0_ln0_tx_ffe_c1 0", "q0_ln0_tx_ffe_c0 40"};
        QTest::newRow("main tap no number") << IPSERDESIP::ParameterMap{{"Receive", false}, {"Transmit", true}, {"FFE_C0", "forty"}} << "tx_ffe_c0" << QStringList{"q0_ln0_tx_ffe_c0 0", "q0_ln1_tx_ffe_c0 0"};
        // clang-format on
    }

    // The define lists, the ini lines before the host's own and the module options, in order.
    void lines()
    {
        QFETCH(IPSERDESIP::ParameterMap, changes);
        QFETCH(QString, pattern);
        const IPSERDESIP::ParameterMap params = receiveTwoLanes(changes);
        QStringList lines = topLevelDefines(params) + coreDefines(params);
        appendIniLines(lines, params, QStringLiteral("TQ2-M1"), {QVariant(3), QVariant("5")});
        appendModuleOptions(lines, params);
        QTEST(lines.filter(QRegularExpression(pattern)), "expected");
    }

    void resources_data()
    {
        QTest::addColumn<IPSERDESIP::ParameterMap>("changes");
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<QStringList>("plls");
        QTest::addColumn<QStringList>("rates"); // both, rx, tx of every lane
        const QStringList tx{"0", "0", "6.25"};
        // clang-format off
        QTest::newRow("transmit cpll") << IPSERDESIP::ParameterMap{{"Transmit", true}} << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << tx;
        QTest::newRow("receive before transmit") << IPSERDESIP::ParameterMap{{"Receive", true}, {"Transmit", true}} << QStringList{"Q0_LANE1_RX", "Q1_LANE0_RX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << QStringList{"0", "6.25", "0"};
        QTest::newRow("both on qpll1") << IPSERDESIP::ParameterMap{{"Both_Receive_and_Transmit", true}, {"PLL_Selection", "QPLL1"}} << QStringList{"Q0_LANE1", "Q1_LANE0"} << QStringList{"Q0_QPLL1", "Q1_QPLL1"} << QStringList{"6.25", "0", "0"};
        QTest::newRow("no mode still claims plls") << IPSERDESIP::ParameterMap{{"PLL_Selection", "QPLL0"}} << QStringList{} << QStringList{"Q0_QPLL0", "Q1_QPLL0"} << tx;
        QTest::newRow("quad pll once per lane") << IPSERDESIP::ParameterMap{{"Transmit", true}, {"PLL_Selection", "QPLL0"}, {"JESD204B_Lane1_connect_with", "Q0 Lane2"}} << QStringList{"Q0_LANE1_TX", "Q0_LANE2_TX"} << QStringList{"Q0_QPLL0", "Q0_QPLL0"} << tx;
        QTest::newRow("lanes above the count ignored") << IPSERDESIP::ParameterMap{{"Number_of_lanes", "1"}, {"Transmit", true}} << QStringList{"Q0_LANE1_TX"} << QStringList{"Q0_CPLL1"} << tx;
        QTest::newRow("unknown lane and pll") << IPSERDESIP::ParameterMap{{"JESD204B_Lane0_connect_with", "q0 lane1"}, {"Transmit", true}, {"PLL_Selection", "cpll"}} << QStringList{"Q1_LANE0_TX"} << QStringList{} << tx;
        QTest::newRow("huge count, keys beyond eight") << IPSERDESIP::ParameterMap{{"Number_of_lanes", "2000000000"}, {"Transmit", true}, {"JESD204B_Lane11_connect_with", "Q1 Lane3"}, {"JESD204B_Lane011_connect_with", "Q1 Lane2"}} << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX", "Q1_LANE3_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0", "Q1_CPLL3"} << tx;
        // clang-format on
    }

    void resources()
    {
        QFETCH(IPSERDESIP::ParameterMap, changes);
        QFETCH(QStringList, lanes);
        QFETCH(QStringList, plls);
        QFETCH(QStringList, rates);
        // clang-format off
        const IPSERDESIP::ParameterMap params{{"file", "doc"}, {"module", "top"}, {"Number_of_lanes", "2"},
            {"JESD204B_Lane0_connect_with", "Q0 Lane1"}, {"JESD204B_Lane1_connect_with", "Q1 Lane0"}, {"PLL_Selection", "CPLL"},
            {"Line_Rate", "6.25"}, {"Reference_CLK_Source", "Q0 REFCLK1"}, {"Reference_CLK_Frequency", "156.2500"}};
        // clang-format on
        jesd204b protocol(TestPaths::sourceDir() + QStringLiteral("/data"));
        QVERIFY(protocol.load());
        const std::unique_ptr<IPSERDESIP::Message> report(
            protocol.resources(withChanges(params, changes)));
        QCOMPARE(report->laneList + report->pllList, lanes + plls);
        // The reference clock and rate lists hold one entry per lane resource.
        const auto each = [&lanes](const QString &value) {
            return QStringList(lanes).replaceInStrings(QRegularExpression(".+"), value);
        };
        QCOMPARE(report->bothRateList + report->rxRateList + report->txRateList,
                 each(rates.at(0)) + each(rates.at(1)) + each(rates.at(2)));
        QCOMPARE(report->refClkList + report->refClkFreqList,
                 each("Q0_REFCLK1") + each("156.2500"));
        const QStringList names{report->protocolName, report->instanceName, report->file,
                                report->module};
        QCOMPARE(names, (QStringList{"JESD204B", "doc:top", "doc", "top"}));
    }

    // The host hands in the lists of the cores generated before: a run appends to them. (A
    // refused working directory is the program-level fault suite's.)
    void appendingRun()
    {
        // A device set beforehand wins over the stored one: this one is in neither device group.
        jesd204b protocol(QStringLiteral("/nonexistent"));
        protocol.setDevice(Core::IdeCore::deviceDataBase()->findDevice("TQ2H4-FF676"));
        const IPSERDESIP::ParameterMap params = receiveTwoLanes();
        QTemporaryDir work;
        IPSERDESIP::serdes::instance()->setWorkingDir(work.path());
        const Run first = generate(protocol, params);
        QVERIFY(first.ok);
        QCOMPARE(first.ini.last(), QStringLiteral("global_reset_enable true"));
        const Run second = generate(protocol, params, first);
        QVERIFY(second.ok);
        // Every line again, except the quad enable line that the list already holds.
        QStringList again = first.ini;
        again.removeOne("q0_enable true");
        QCOMPARE(second.ini, first.ini + again);
        QCOMPARE(second.options, first.options + first.options);
        // The files hold the whole list, but the define lists start afresh on every call.
        const QString dir = work.path() + "/jesd_rx/temp/jesd204b/";
        QCOMPARE(TestFiles::bytes(dir + "jesd204b.ini"), (second.ini.join('\n') + '\n').toUtf8());
        QCOMPARE(TestFiles::bytes(dir + "top_define.vh"),
                 QByteArray("`define module_name jesd_rx\n"));

        // The protocol's own lane block reads the stored set and its device.
        const QStringList lane1 = first.ini.filter(QRegularExpression("^q0_ln1_"));
        QVERIFY(lane1.contains("q0_ln1_pma_width_mode 20"));
        QStringList options{"q0_enable true"};
        protocol.appendLaneOptions(options, "q0_ln1", "q0");
        QCOMPARE(options.mid(1), lane1);
    }
};

QTEST_MAIN(GenerationTest)
#include "tst_generation.moc"
