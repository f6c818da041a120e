#pragma once

#include "ui_phy_config.h"

#include <QComboBox>
#include <QLabel>

#include <array>

// Small helpers over the form widgets that several parts of the dialog share.
namespace IPJESD204B {
namespace FormWidgets {

constexpr int LaneRows = 8;

// The lane-connect boxes of the PHY form, row 0 first.
inline std::array<QComboBox *, LaneRows> laneBoxes(const Ui::phy_config &phy)
{
    return {phy.Lane0Connect, phy.Lane1Connect, phy.Lane2Connect, phy.Lane3Connect,
            phy.Lane4Connect, phy.Lane5Connect, phy.Lane6Connect, phy.Lane7Connect};
}

// Their labels, row 0 first.
inline std::array<QLabel *, LaneRows> laneLabels(const Ui::phy_config &phy)
{
    return {phy.labelconect0, phy.labelconect1, phy.labelconect2, phy.labelconect3,
            phy.labelconect4, phy.labelconect5, phy.labelconect6, phy.labelconect7};
}

// Makes the item whose text is exactly `text` current; no such item leaves no current item.
inline void selectText(QComboBox *box, const QString &text)
{
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace FormWidgets
} // namespace IPJESD204B
