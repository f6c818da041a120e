#include "parametersets.h"
#include "protocol/jesd204b.h"
#include "protocol/laneoptions.h"

#include <serdes.h>

#include <QtTest>

#include <memory>

using namespace IPJESD204B;

namespace {

QVariantMap laneParams(const QVariantMap &changes = {})
{
    const QVariantMap base{{"Line_Rate", "4.9152"},
                           {"PLL_Selection", "QPLL1"},
                           {"Loopback_Mode", "OFF"},
                           {"Pcs_Width_32bit", true},
                           {"Receive", true}};
    return ParameterSets::with(base, changes);
}

QStringList block(const QVariantMap &params, const QString &device = "TQ2-M1",
                  QStringList options = {})
{
    appendLaneOptionLines(options, "q0_ln0", "q0", laneOptionValuesFromParameters(params, device));
    return options;
}

// The lines after the word-alignment lines: gearbox and front end.
QStringList tail(const QStringList &lines)
{
    const int mask = lines.indexOf("q0_ln0_word_align_pattern_mask 1111111111");
    return lines.mid(mask + 1);
}

} // namespace

class TestLaneOptions : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void sameThroughProtocol();
    void frontEnd_data();
    void frontEnd();
    void deviceOutsideGroups();
    void rateAbsent();
    void quadEnableOncePerQuad();
};

void TestLaneOptions::workedExample()
{
    const QStringList expected{"q0_ln0_tx_rate 4.9152",
                               "q0_ln0_rx_rate 4.9152",
                               "q0_ln0_pll_sel qpll1",
                               "q0_ln0_loopback_mode off",
                               "q0_ln0_enable true",
                               "q0_enable true",
                               "q0_ln0_pma_tx_width_mode 20",
                               "q0_ln0_pma_rx_width_mode 20",
                               "q0_ln0_tx_encode 8b10b",
                               "q0_ln0_rx_decode 8b10b",
                               "q0_ln0_word_align enable",
                               "q0_ln0_word_align_pattern k28.5",
                               "q0_ln0_word_align_pattern_mask 1111111111",
                               "q0_ln0_tx_gearbox 2",
                               "q0_ln0_rx_gearbox 2",
                               "q0_ln0_rx_sd_thsel 100mV",
                               "q0_ln0_rx_eq_mode auto",
                               "q0_ln0_rx_att 7",
                               "q0_ln0_rx_boost 9"};
    QCOMPARE(block(laneParams()), expected);
}

void TestLaneOptions::sameThroughProtocol()
{
    // The protocol's own form reads the set that generation stored and the protocol's device.
    QTemporaryDir work;
    IPSERDESIP::serdes::instance()->setWorkingDir(work.path());
    jesd204b protocol(QStringLiteral("/nonexistent"));
    protocol.setDevice(DEV::DeviceArg("TQ2S1-FG324", "TQ2-S1", 1));
    QStringList ini;
    QString message;
    QStringList unused;
    const QVariantMap params = laneParams({{"file", "core"}, {"Transmit", true}});
    QVERIFY(protocol.generate(params, ini, unused, unused, message, false));
    QStringList options;
    protocol.appendLaneOptions(options, "q0_ln0", "q0");
    QCOMPARE(options, block(params, "TQ2-S1"));
}

void TestLaneOptions::frontEnd_data()
{
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QStringList>("expected");
    const QStringList receive{"q0_ln0_rx_sd_thsel 100mV", "q0_ln0_rx_eq_mode auto",
                              "q0_ln0_rx_att 7", "q0_ln0_rx_boost 9"};
    const QStringList transmit{"q0_ln0_tx_differential_swing 900mV", "q0_ln0_tx_ffe_mode auto",
                               "q0_ln0_tx_ffe_cm 0", "q0_ln0_tx_ffe_c1 0", "q0_ln0_tx_ffe_c0 40"};
    const QStringList gear32{"q0_ln0_tx_gearbox 2", "q0_ln0_rx_gearbox 2"};
    const QStringList gear64{"q0_ln0_tx_gearbox 4", "q0_ln0_rx_gearbox 4"};

    QTest::newRow("transmit") << QVariantMap{{"Receive", false}, {"Transmit", true}}
                              << gear32 + transmit;
    QTest::newRow("receive first wins") << QVariantMap{{"Transmit", true}} << gear32 + receive;
    QTest::newRow("both: transmit first")
        << QVariantMap{{"Receive", false}, {"Both_Receive_and_Transmit", true}}
        << gear32 + transmit + receive;
    QTest::newRow("no mode") << QVariantMap{{"Receive", false}} << gear32;
    QTest::newRow("64-bit") << QVariantMap{{"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", true}}
                            << gear64 + receive;
    QTest::newRow("no width") << QVariantMap{{"Pcs_Width_32bit", false}} << receive;
    QTest::newRow("present but empty or no number")
        << QVariantMap{{"SD_THRESHOLD", ""}, {"Equalization_Mode", ""}, {"ATT", "x"}, {"BOOST", ""}}
        << gear32 + QStringList{"q0_ln0_rx_sd_thsel ", "q0_ln0_rx_eq_mode ", "q0_ln0_rx_att 0",
                                "q0_ln0_rx_boost 0"};
    QTest::newRow("ffe stored as integers")
        << QVariantMap{{"Receive", false},
                       {"Transmit", true},
                       {"FFE_C0", 40},
                       {"FFE_CM", -3},
                       {"FFE_C1", "5"},
                       {"FFEMODE", "Manual"},
                       {"DIFFERENTIAL_SWING", "180mV"}}
        << gear32 + QStringList{"q0_ln0_tx_differential_swing 180mV", "q0_ln0_tx_ffe_mode manual",
                                "q0_ln0_tx_ffe_cm -3", "q0_ln0_tx_ffe_c1 5", "q0_ln0_tx_ffe_c0 40"};
    QTest::newRow("ffe main tap not a number")
        << QVariantMap{{"Receive", false}, {"Transmit", true}, {"FFE_C0", "forty"}}
        << gear32 + QStringList{"q0_ln0_tx_differential_swing 900mV", "q0_ln0_tx_ffe_mode auto",
                                "q0_ln0_tx_ffe_cm 0", "q0_ln0_tx_ffe_c1 0", "q0_ln0_tx_ffe_c0 0"};
}

void TestLaneOptions::frontEnd()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QStringList, expected);
    QCOMPARE(tail(block(laneParams(changes))), expected);
}

void TestLaneOptions::deviceOutsideGroups()
{
    const QStringList lines = block(laneParams(), "TQ2-H4");
    QCOMPARE(lines.mid(6, 3), (QStringList{"q0_ln0_pma_width_mode 20", "q0_ln0_8b10b_encode enable",
                                           "q0_ln0_8b10b_decode enable"}));
    QCOMPARE(lines.at(9), QStringLiteral("q0_ln0_word_align enable"));
    QCOMPARE(block(laneParams(), QString()).at(6), QStringLiteral("q0_ln0_pma_width_mode 20"));
}

void TestLaneOptions::rateAbsent()
{
    const QStringList lines = block(laneParams({{"Line_Rate", QVariant()}}));
    QCOMPARE(lines.mid(0, 2), (QStringList{"q0_ln0_tx_rate ", "q0_ln0_rx_rate "}));
}

void TestLaneOptions::quadEnableOncePerQuad()
{
    const LaneOptionValues values = laneOptionValuesFromParameters(laneParams(), "TQ2-M1");
    QStringList options;
    for (const char *lane : {"q0_ln0", "q0_ln1", "q0_ln2"})
        appendLaneOptionLines(options, lane, "q0", values);
    appendLaneOptionLines(options, "q1_ln0", "q1", values);
    QCOMPARE(options.count("q0_enable true"), 1);
    QCOMPARE(options.count("q1_enable true"), 1);
    const int q1Lane = options.indexOf("q1_ln0_enable true");
    QCOMPARE(options.at(q1Lane + 1), QStringLiteral("q1_enable true"));

    // A prefix outside the table gets no quad enable line; nor does one the list already holds.
    QStringList other{"q1_enable true"};
    appendLaneOptionLines(other, "q2_ln0", "q2", values);
    appendLaneOptionLines(other, "q1_ln1", "q1", values);
    QCOMPARE(other.filter("enable true"),
             (QStringList{"q1_enable true", "q2_ln0_enable true", "q1_ln1_enable true"}));
}

std::unique_ptr<QObject> makeLaneOptionsTest()
{
    return std::make_unique<TestLaneOptions>();
}

#include "tst_laneoptions.moc"
