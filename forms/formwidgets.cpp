#include "formwidgets.h"

namespace IPJESD204B {
namespace FormWidgets {

std::array<QComboBox *, LaneRows> laneBoxes(const phy_config &phy)
{
    return {phy.Lane0Connect, phy.Lane1Connect, phy.Lane2Connect, phy.Lane3Connect,
            phy.Lane4Connect, phy.Lane5Connect, phy.Lane6Connect, phy.Lane7Connect};
}

std::array<QLabel *, LaneRows> laneLabels(const phy_config &phy)
{
    return {phy.labelconect0, phy.labelconect1, phy.labelconect2, phy.labelconect3,
            phy.labelconect4, phy.labelconect5, phy.labelconect6, phy.labelconect7};
}

void selectText(QComboBox *box, const QString &text)
{
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace FormWidgets
} // namespace IPJESD204B
