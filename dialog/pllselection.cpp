#include "jesd204bdlg.h"

#include "model/nametables.h"
#include "ui_phy_config.h"

#include <serdes.h>

#include <QComboBox>
#include <QLineEdit>

namespace IPJESD204B {

void jesd204bdlg::updatePLLSel()
{
    const FigureHold hold(*this);
    QComboBox *box = m_phy->PLL_Selection;
    const QString remembered = box->currentText();
    box->clear();

    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const double lineRate = m_phy->lineRate->text().toDouble();
    const QStringList servingPlls[] = {model->checkPLLforQuad0(lineRate),
                                       model->checkPLLforQuad1(lineRate)};

    const QStringList &selections = NameTables::pllSelections(); // QPLL0, QPLL1, CPLL
    auto offer = [box](const QString &selection, int data) {
        if (box->findText(selection) < 0)
            box->addItem(selection, data);
    };

    collectUsedLanes();
    const QStringList lanes = m_usedLanes;
    for (const QString &lane : lanes) {
        for (const QuadRow &quad : NameTables::quads()) {
            if (!lane.contains(quad.displayPrefix))
                continue;
            const QStringList &serving = servingPlls[quad.quad];
            // A free quad PLL can be set up for any rate; a running one only serves the rates
            // its VCO already makes.
            if (!model->checkPllEnable(quad.qpll0Resource) || serving.contains(selections[0]))
                offer(selections[0], 0);
            if (!model->checkPllEnable(quad.qpll1Resource) || serving.contains(selections[1]))
                offer(selections[1], 1);
        }
    }
    box->addItem(selections[2], 2);

    if (!remembered.isEmpty()) {
        const int index = box->findText(remembered);
        if (index >= 0)
            box->setCurrentIndex(index);
    }
}

} // namespace IPJESD204B
