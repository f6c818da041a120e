#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

// Parameter sets shared by the generation tests.
namespace ParameterSets {

// The receive-only two-lane core of the worked examples.
inline QVariantMap receiveTwoLanes()
{
    return {
        {"module", "jesd_rx"},
        {"file", "jesd_rx"},
        {"Receive", true},
        {"Transmit", false},
        {"Both_Receive_and_Transmit", false},
        {"Number_of_lanes", "2"},
        {"LMFC_Buffer", "1024"},
        {"Include_RPAT_Generator", false},
        {"Include_JSPAT_Generator", false},
        {"Default_SYSREF_Always", "Always Off"},
        {"Default_Scrambling_ON", "Scrambling OFF"},
        {"Default_F", "4"},
        {"Default_K", "32"},
        {"Default_SYSREF_Required_on_Re-Sync", "Not Required"},
        {"DRP_Ports", false},
        {"Fixed_Config_Enable", false},
        {"Pcs_Width_32bit", true},
        {"Pcs_Width_64bit", false},
        {"Clock_Frequency", "10.0"},
        {"Reference_CLK_Source", "Q0 REFCLK0"},
        {"Reference_CLK_Frequency", "122.88"},
        {"PLL_Selection", "QPLL0"},
        {"Line_Rate", "4.9152"},
        {"recordlanes", QStringList{"Q0 Lane0", "Q0 Lane1"}},
        {"JESD204B_Lane0_connect_with", "Q0 Lane0"},
        {"JESD204B_Lane1_connect_with", "Q0 Lane1"},
    };
}

inline QVariantMap with(QVariantMap params, const QVariantMap &changes)
{
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        if (it.value().isValid())
            params.insert(it.key(), it.value());
        else
            params.remove(it.key());
    }
    return params;
}

} // namespace ParameterSets
