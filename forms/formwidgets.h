#pragma once

#include "configforms.h"

#include <QComboBox>
#include <QLabel>

#include <array>

// Helpers over the form widgets that several parts of the dialog share.
namespace IPJESD204B {
namespace FormWidgets {

constexpr int LaneRows = 8;

// The lane-connect boxes of the PHY form, row 0 first.
std::array<QComboBox *, LaneRows> laneBoxes(const phy_config &phy);

// Their labels, row 0 first.
std::array<QLabel *, LaneRows> laneLabels(const phy_config &phy);

// Makes the item whose text is exactly `text` current; no such item leaves no current item.
void selectText(QComboBox *box, const QString &text);

} // namespace FormWidgets
} // namespace IPJESD204B
