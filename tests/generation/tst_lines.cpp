#include "generationtest.h"
#include "protocol/serdesoptionlines.h"
#include "protocol/topdefines.h"

#include <QtTest>

using namespace IPJESD204B;

void GenerationTest::lines_data()
{
    QTest::addColumn<QVariantMap>("changes"); // to the receive-only reference core
    QTest::addColumn<QString>("pattern");     // of the lines compared
    QTest::addColumn<QStringList>("expected");
    const QString mode = QStringLiteral("X_EN$|JESD_|COREMode|q0_ln0_(rx_sd|tx_diff)");
    const QString rx = QStringLiteral("q0_ln0_rx_(sd|eq|att|boost)");
    const QString tx = QStringLiteral("q0_ln0_tx_(diff|ffe)");
    // clang-format off
    QTest::newRow("receive first") << QVariantMap{{"Transmit", true}, {"Both_Receive_and_Transmit", true}} << mode << QStringList{"`define RX_EN", "`define JESD_TX 0", "`define JESD_RX 1", "q0_ln0_rx_sd_thsel 100mV", "-jesd_rxCOREMode Receive"};
    QTest::newRow("transmit before both") << QVariantMap{{"Receive", false}, {"Transmit", true}, {"Both_Receive_and_Transmit", true}} << mode << QStringList{"`define TX_EN", "`define JESD_TX 1", "`define JESD_RX 0", "q0_ln0_tx_differential_swing 900mV", "-jesd_rxCOREMode Transmit"};
    QTest::newRow("no mode") << QVariantMap{{"Receive", false}} << mode << QStringList{};
    QTest::newRow("tx buffer fixed") << QVariantMap{{"Receive", false}, {"Transmit", true}, {"LMFC_Buffer", "512"}} << "BUFFER" << QStringList{"`define BUFFER_SIZE 1024"};
    QTest::newRow("unknown texts") << QVariantMap{{"Default_SYSREF_Always", "always on"}, {"Default_Scrambling_ON", ""}, {"Default_SYSREF_Required_on_Re-Sync", QVariant()}} << "INIT_[SR]" << QStringList{};
    QTest::newRow("F missing") << QVariantMap{{"Default_F", QVariant()}} << "INIT_F" << QStringList{"`define INIT_F -1"};
    QTest::newRow("F fraction is no integer") << QVariantMap{{"Default_F", "4.0"}} << "INIT_F" << QStringList{"`define INIT_F -1"};
    QTest::newRow("F smallest int") << QVariantMap{{"Default_F", "-2147483648"}} << "INIT_F" << QStringList{"`define INIT_F -2147483649"};
    QTest::newRow("fixed 32 caps at 4") << QVariantMap{{"Fixed_Config_Enable", true}, {"Default_F", "8"}} << "FIX_" << QStringList{"`define FIX_EN 1", "`define FIX_SCAM 0", "`define FIX_F 4"};
    QTest::newRow("fixed F no number") << QVariantMap{{"Fixed_Config_Enable", true}, {"Default_F", "x"}} << "FIX_F" << QStringList{"`define FIX_F 0"};
    QTest::newRow("fixed, no width") << QVariantMap{{"Fixed_Config_Enable", true}, {"Pcs_Width_32bit", false}} << "FIX_|define MODE|PCSWidth|gearbox" << QStringList{"`define FIX_EN 1", "`define FIX_SCAM 0"};
    QTest::newRow("not fixed ignores F") << QVariantMap{{"Default_Scrambling_ON", "Scrambling ON"}, {"Default_F", "2"}} << "FIX_" << QStringList{"`define FIX_EN 0", "`define FIX_SCAM 0", "`define FIX_F 0"};
    QTest::newRow("32 before 64") << QVariantMap{{"Pcs_Width_64bit", true}} << "define MODE|PCSWidth|q0_ln0_tx_gearbox" << QStringList{"`define MODE 1", "q0_ln0_tx_gearbox 2", "-jesd_rxPCSWidth 32"};
    QTest::newRow("clock rounds to nearest") << QVariantMap{{"Clock_Frequency", "12.3456789"}} << "CFG_CLK" << QStringList{"`define CFG_CLK 12345679"};
    QTest::newRow("clock tiny negative") << QVariantMap{{"Clock_Frequency", "-0.0000001"}} << "CFG_CLK" << QStringList{"`define CFG_CLK 0"};
    QTest::newRow("module holding a placeholder") << QVariantMap{{"module", "m%2"}} << "module_" << QStringList{"`define module_name m%2", "-m%2protocol_module_type jesd"};
    QTest::newRow("lane options unfiltered") << QVariantMap{{"recordlanes", QStringList{"Q1 Lane2", "Q7 Lane9", "Q0\tLane2 "}}} << "^-.* true$" << QStringList{"-jesd_rxQ1Lane2 true", "-jesd_rxQ7Lane9 true", "-jesd_rxQ0Lane2 true"};
    QTest::newRow("recorded lanes in order") << QVariantMap{{"recordlanes", QStringList{"Q0 Lane2", "Q9 Lane0", "Q1 Lane0"}}, {"ifChangedAllOfBias", true}} << "tx_rate|enable true$|_freq |_bias " << QStringList{"q0_ln2_tx_rate 4.9152", "q0_ln2_enable true", "q0_enable true", "q1_ln0_tx_rate 4.9152", "q1_ln0_enable true", "q1_enable true", "q0_refclk0_freq 122.88", "q0_rx_eq_bias 3", "q1_rx_eq_bias 5"};
    QTest::newRow("frequency, six digits") << QVariantMap{{"Reference_CLK_Source", "Q0 REFCLK1"}, {"Reference_CLK_Frequency", "122.880001"}} << "_freq |ClockSource" << QStringList{"q0_refclk1_freq 122.88", "-jesd_rxReferenceClockSource Q0REFCLK1"};
    QTest::newRow("frequency, whole") << QVariantMap{{"Reference_CLK_Source", "MCLK"}, {"Reference_CLK_Frequency", "100"}} << "_freq |ClockSource" << QStringList{"mclk_freq 100", "-jesd_rxReferenceClockSource MCLK"};
    QTest::newRow("frequency, no number") << QVariantMap{{"Reference_CLK_Source", "Q0 REFIN"}, {"Reference_CLK_Frequency", "fast"}} << "_freq |ClockSource" << QStringList{"q0_gpio_freq 0", "-jesd_rxReferenceClockSource Q0REFIN"};
    QTest::newRow("unknown source") << QVariantMap{{"Reference_CLK_Source", "q0 refclk0"}} << "_freq |ClockSource" << QStringList{"-jesd_rxReferenceClockSource q0refclk0"};
    QTest::newRow("bias, quad 1 only") << QVariantMap{{"ifChangedAllOfBias", true}, {"recordlanes", QStringList{"Q1 Lane2"}}} << "_bias " << QStringList{"q1_rx_eq_bias 5"};
    QTest::newRow("bias, quad 0 first") << QVariantMap{{"ifChangedAllOfBias", true}, {"recordlanes", QStringList{"Q1 Lane0", "Q0 Lane3"}}} << "_bias " << QStringList{"q0_rx_eq_bias 3", "q1_rx_eq_bias 5"};
    QTest::newRow("bias, no lanes") << QVariantMap{{"ifChangedAllOfBias", true}, {"recordlanes", QStringList{}}} << "_bias " << QStringList{};
    QTest::newRow("bias, lower case is no quad") << QVariantMap{{"ifChangedAllOfBias", true}, {"recordlanes", QStringList{"q0 lane0"}}} << "_bias " << QStringList{};
    QTest::newRow("rate absent") << QVariantMap{{"Line_Rate", QVariant()}} << "q0_ln0_.x_rate" << QStringList{"q0_ln0_tx_rate ", "q0_ln0_rx_rate "};
    QTest::newRow("receive values present but empty") << QVariantMap{{"SD_THRESHOLD", ""}, {"Equalization_Mode", "Manual"}, {"ATT", "x"}, {"BOOST", ""}} << rx << QStringList{"q0_ln0_rx_sd_thsel ", "q0_ln0_rx_eq_mode manual", "q0_ln0_rx_att 0", "q0_ln0_rx_boost 0"};
    QTest::newRow("transmit values absent") << QVariantMap{{"Receive", false}, {"Transmit", true}, {"DIFFERENTIAL_SWING", QVariant()}, {"FFEMODE", QVariant()}, {"FFE_CM", QVariant()}, {"FFE_C1", QVariant()}, {"FFE_C0", QVariant()}} << tx << QStringList{"q0_ln0_tx_differential_swing 900mV", "q0_ln0_tx_ffe_mode auto", "q0_ln0_tx_ffe_cm 0", "q0_ln0_tx_ffe_c1 0", "q0_ln0_tx_ffe_c0 40"};
    QTest::newRow("transmit values stored") << QVariantMap{{"Receive", false}, {"Transmit", true}, {"FFE_C0", 40}, {"FFE_CM", -3}, {"FFE_C1", "5"}, {"FFEMODE", "Manual"}, {"DIFFERENTIAL_SWING", "180mV"}} << tx << QStringList{"q0_ln0_tx_differential_swing 180mV", "q0_ln0_tx_ffe_mode manual", "q0_ln0_tx_ffe_cm -3", "q0_ln0_tx_ffe_c1 5", "q0_ln0_tx_ffe_c0 40"};
    QTest::newRow("main tap no number") << QVariantMap{{"Receive", false}, {"Transmit", true}, {"FFE_C0", "forty"}} << "tx_ffe_c0" << QStringList{"q0_ln0_tx_ffe_c0 0", "q0_ln1_tx_ffe_c0 0"};
    // clang-format on
}

// Every list that generation builds from one set, in order: the define lists, the ini lines
// before the host's own, the module options.
void GenerationTest::lines()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    const QVariantMap params = receiveTwoLanes(changes);
    QStringList lines = topLevelDefines(params) + coreDefines(params);
    appendIniLines(lines, params, QStringLiteral("TQ2-M1"), {QVariant(3), QVariant("5")});
    appendModuleOptions(lines, params);
    QCOMPARE(lines.filter(QRegularExpression(pattern)), expected);
}
