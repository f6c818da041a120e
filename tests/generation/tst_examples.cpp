#include "generationtest.h"
#include "protocol/laneoptions.h"
#include "protocol/serdesoptionlines.h"
#include "protocol/topdefines.h"

#include <QtTest>

using namespace IPJESD204B;

void GenerationTest::definesWorkedExample()
{
    // clang-format off
    const QStringList expected{"`define RX_EN",
                               "`define JESD_TX 0",
                               "`define JESD_RX 1",
                               "`define LANE 2",
                               "`define BUFFER_SIZE 1024",
                               "`define RPAT_EN 0",
                               "`define JSPAT_EN 0",
                               "`define INIT_SYSMODE 0",
                               "`define INIT_SCAMEBLE 0",
                               "`define INIT_F 3",
                               "`define INIT_K 31",
                               "`define INIT_REINIT_MODE 0",
                               "`define FIX_EN 0",
                               "`define FIX_SCAM 0",
                               "`define FIX_F 0",
                               "`define MODE 1",
                               "`define CFG_CLK 10000000"};
    // clang-format on
    QCOMPARE(coreDefines(receiveTwoLanes()), expected);
    QCOMPARE(topLevelDefines(receiveTwoLanes()), QStringList{"`define module_name jesd_rx"});
}

void GenerationTest::moduleOptionsWorkedExample()
{
    QStringList options;
    appendModuleOptions(options, receiveTwoLanes());
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

void GenerationTest::laneBlockWorkedExample()
{
    // No front-end key stored: the receive group takes its defaults.
    const QVariantMap params{{"Line_Rate", "4.9152"},
                             {"PLL_Selection", "QPLL1"},
                             {"Loopback_Mode", "OFF"},
                             {"Pcs_Width_32bit", true},
                             {"Receive", true}};
    QStringList lines;
    appendLaneOptionLines(lines, "q0_ln0", "q0", laneOptionValuesFromParameters(params, "TQ2-M1"));
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
    QCOMPARE(lines, expected);
}
