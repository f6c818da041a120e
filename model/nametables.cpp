#include "nametables.h"

namespace IPJESD204B {
namespace NameTables {

namespace {

const QString GroupA = QStringLiteral("TQ2-M1/TQ2-M1E");
const QString GroupB = QStringLiteral("TQ2-S1/TQ2-S1R/TQ2-S2R/TQ2-S2/TQ2-S1N/TQ2-S1NR");
const QString GroupsAB =
    QStringLiteral("TQ2-M1/TQ2-M1E/TQ2-S1/TQ2-S1R/TQ2-S2R/TQ2-S2/TQ2-S1N/TQ2-S1NR");

bool isListed(const QString &list, const QString &deviceName)
{
    return list.split(QLatin1Char('/')).contains(deviceName);
}

const QuadRow *quadRow(int quad)
{
    for (const QuadRow &row : quads()) {
        if (row.quad == quad)
            return &row;
    }
    return nullptr;
}

} // namespace

const QList<LaneRow> &lanes()
{
    static const QList<LaneRow> rows{
        {"Q0 Lane0", 0, 0, "Q0_LANE0", "Q0_LANE0_RX", "Q0_LANE0_TX", "q0_ln0", "q0", "Q0_CPLL0"},
        {"Q0 Lane1", 0, 1, "Q0_LANE1", "Q0_LANE1_RX", "Q0_LANE1_TX", "q0_ln1", "q0", "Q0_CPLL1"},
        {"Q0 Lane2", 0, 2, "Q0_LANE2", "Q0_LANE2_RX", "Q0_LANE2_TX", "q0_ln2", "q0", "Q0_CPLL2"},
        {"Q0 Lane3", 0, 3, "Q0_LANE3", "Q0_LANE3_RX", "Q0_LANE3_TX", "q0_ln3", "q0", "Q0_CPLL3"},
        {"Q1 Lane0", 1, 0, "Q1_LANE0", "Q1_LANE0_RX", "Q1_LANE0_TX", "q1_ln0", "q1", "Q1_CPLL0"},
        {"Q1 Lane1", 1, 1, "Q1_LANE1", "Q1_LANE1_RX", "Q1_LANE1_TX", "q1_ln1", "q1", "Q1_CPLL1"},
        {"Q1 Lane2", 1, 2, "Q1_LANE2", "Q1_LANE2_RX", "Q1_LANE2_TX", "q1_ln2", "q1", "Q1_CPLL2"},
        {"Q1 Lane3", 1, 3, "Q1_LANE3", "Q1_LANE3_RX", "Q1_LANE3_TX", "q1_ln3", "q1", "Q1_CPLL3"},
    };
    return rows;
}

const QList<QuadRow> &quads()
{
    static const QList<QuadRow> rows{
        {0, "Q0", "q0", "q0_enable true", "Q0_QPLL0", "Q0_QPLL1", "Q0_BIAS", "q0_rx_eq_bias %1"},
        {1, "Q1", "q1", "q1_enable true", "Q1_QPLL0", "Q1_QPLL1", "Q1_BIAS", "q1_rx_eq_bias %1"},
    };
    return rows;
}

const QList<RefClockRow> &refClocks()
{
    static const QList<RefClockRow> rows{
        {"Q0 REFCLK0", "q0_refclk0_freq %1"}, {"Q0 REFCLK1", "q0_refclk1_freq %1"},
        {"Q1 REFCLK0", "q1_refclk0_freq %1"}, {"Q1 REFCLK1", "q1_refclk1_freq %1"},
        {"Q0 REFCLK2", "q0_refclk2_freq %1"}, {"Q0 REFCLK3", "q0_refclk3_freq %1"},
        {"Q0 REFIN0", "q0_gpio0_freq %1"},    {"Q0 REFIN1", "q0_gpio1_freq %1"},
        {"Q0 REFIN2", "q0_gpio2_freq %1"},    {"Q0 REFIN3", "q0_gpio3_freq %1"},
        {"Q0 REFIN", "q0_gpio_freq %1"},      {"MCLK", "mclk_freq %1"},
    };
    return rows;
}

const QStringList &pllSelections()
{
    static const QStringList selections{"QPLL0", "QPLL1", "CPLL"};
    return selections;
}

QStringList laneDisplayNames()
{
    QStringList names;
    for (const LaneRow &row : lanes())
        names << row.displayName;
    return names;
}

std::optional<LaneRow> laneByDisplayName(const QString &displayName)
{
    for (const LaneRow &row : lanes()) {
        if (row.displayName == displayName)
            return row;
    }
    return std::nullopt;
}

std::optional<QuadRow> quadByPrefix(const QString &displayName)
{
    for (const QuadRow &row : quads()) {
        if (displayName.startsWith(row.displayPrefix))
            return row;
    }
    return std::nullopt;
}

std::optional<QString> pllResource(const QString &selection, const LaneRow &lane)
{
    const QuadRow *quad = quadRow(lane.quad);
    if (selection == QLatin1String("QPLL0") && quad)
        return quad->qpll0Resource;
    if (selection == QLatin1String("QPLL1") && quad)
        return quad->qpll1Resource;
    if (selection == QLatin1String("CPLL"))
        return lane.cpllResource;
    return std::nullopt;
}

std::optional<QString> frequencyTemplate(const QString &sourceDisplayName)
{
    for (const RefClockRow &row : refClocks()) {
        if (row.displayName == sourceDisplayName)
            return row.frequencyTemplate;
    }
    return std::nullopt;
}

DeviceGroup deviceGroup(const QString &deviceName)
{
    if (isListed(GroupA, deviceName))
        return DeviceGroup::A;
    if (isListed(GroupB, deviceName))
        return DeviceGroup::B;
    return DeviceGroup::Other;
}

bool isInGroupAOrB(const QString &deviceName)
{
    return isListed(GroupsAB, deviceName);
}

QStringList offeredRefClocks(const QString &deviceName)
{
    switch (deviceGroup(deviceName)) {
    case DeviceGroup::A:
        return {"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFCLK2", "Q0 REFCLK3", "Q0 REFIN0", "Q0 REFIN1"};
    case DeviceGroup::B:
        return {"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFIN", "MCLK"};
    case DeviceGroup::Other:
        break;
    }
    return {"Q0 REFCLK0", "Q0 REFCLK1", "Q1 REFCLK0", "Q1 REFCLK1"};
}

int laneRowCount(const QString &deviceName)
{
    return deviceGroup(deviceName) == DeviceGroup::Other ? 8 : 4;
}

} // namespace NameTables
} // namespace IPJESD204B
