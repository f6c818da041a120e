#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Lane, quad, PLL, reference clock and device group names: one table each, shared by
// generation and the dialog. Every lookup is exact and case-sensitive; no match gives nothing.
namespace IPJESD204B {

struct LaneRow
{
    QString displayName;  // "Q0 Lane0"
    int quad;             // 0
    int laneInQuad;       // 0
    QString resource;     // "Q0_LANE0", both directions
    QString rxResource;   // "Q0_LANE0_RX"
    QString txResource;   // "Q0_LANE0_TX"
    QString lanePrefix;   // "q0_ln0"
    QString quadPrefix;   // "q0"
    QString cpllResource; // "Q0_CPLL0"
};

struct QuadRow
{
    int quad;                 // 0
    QString displayPrefix;    // "Q0"
    QString optionPrefix;     // "q0"
    QString enableLine;       // "q0_enable true"
    QString qpll0Resource;    // "Q0_QPLL0"
    QString qpll1Resource;    // "Q0_QPLL1"
    QString biasKey;          // "Q0_BIAS"
    QString biasLineTemplate; // "q0_rx_eq_bias %1"
};

struct RefClockRow
{
    QString displayName;       // "Q0 REFCLK0"
    QString frequencyTemplate; // "q0_refclk0_freq %1"
};

enum class DeviceGroup { A, B, Other };

namespace NameTables {

const QList<LaneRow> &lanes();
const QList<QuadRow> &quads();
const QList<RefClockRow> &refClocks();
// "QPLL0", "QPLL1", "CPLL" in the dialog's order.
const QStringList &pllSelections();
QStringList laneDisplayNames();

std::optional<LaneRow> laneByDisplayName(const QString &displayName);
std::optional<QuadRow> quadByPrefix(const QString &displayName); // "Q0..." or "Q1..."
// "QPLL0"/"QPLL1" give the lane's quad PLL, "CPLL" the lane's CPLL; anything else nothing.
std::optional<QString> pllResource(const QString &selection, const LaneRow &lane);
std::optional<QString> frequencyTemplate(const QString &sourceDisplayName);

// Device groups, by exact device name.
DeviceGroup deviceGroup(const QString &deviceName);
bool isInGroupAOrB(const QString &deviceName);
// The reference clock sources the dialog offers for a device, in item-data order.
QStringList offeredRefClocks(const QString &deviceName);
// Lane rows shown for the device: 4 for groups A and B, 8 otherwise.
int laneRowCount(const QString &deviceName);

} // namespace NameTables
} // namespace IPJESD204B
