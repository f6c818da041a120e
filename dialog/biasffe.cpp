#include "jesd204bdlg.h"

#include "dialogrules.h"
#include "nametables.h"
#include "parameterkeys.h"
#include "ui_afe_config.h"
#include "ui_opt_config.h"

#include <serdes.h>
#include <serdesfunctions.h>

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>

namespace IPJESD204B {

namespace {

constexpr int neutralBias = 7;

// Which quads the lanes touch, by the quad prefix their display names begin with.
QList<QuadRow> quadsInUse(const QStringList &lanes)
{
    QList<QuadRow> used;
    for (const QuadRow &quad : NameTables::quads()) {
        for (const QString &lane : lanes) {
            if (lane.startsWith(quad.displayPrefix)) {
                used.append(quad);
                break;
            }
        }
    }
    return used;
}

} // namespace

bool jesd204bdlg::calculateFFE_C0()
{
    const int c0 = ffeMainTap(m_afe->cmSpinBox->value(), m_afe->c1SpinBox->value());
    m_afe->c0Lael->setText(QString::number(c0));
    if (!isMainTapAccepted(c0)) {
        QMessageBox::about(this, QStringLiteral("Warning"),
                           QStringLiteral("C0 must be greater than 20."));
        return false;
    }
    return true;
}

void jesd204bdlg::resetFlagforBias()
{
    m_biasDecision = biasDecisionNumber(BiasDecision::Undecided);
}

void jesd204bdlg::updateBiasDefaultValue()
{
    collectUsedLanes();
    const QList<QuadRow> used = quadsInUse(m_usedLanes);
    if (used.size() != 1) {
        m_afe->biasSpinBox->setValue(neutralBias);
        return;
    }
    // One quad: follow the bias that another core already gave it.
    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const QString key = used.first().biasKey;
    if (model->globalData().contains(key))
        m_afe->biasSpinBox->setValue(model->getData(key).toInt());
}

void jesd204bdlg::confirmBiasScope()
{
    QStringList untouched[2];
    for (const LaneRow &row : NameTables::lanes())
        untouched[row.quad].append(row.displayName);

    collectUsedLanes();
    for (const QString &lane : qAsConst(m_usedLanes)) {
        if (const auto row = NameTables::laneByDisplayName(lane))
            untouched[row->quad].removeOne(lane);
    }

    QString affected;
    for (const QStringList &rest : untouched) {
        const bool partlyUsed = !rest.isEmpty() && rest.size() != 4;
        if (!partlyUsed)
            continue;
        if (!affected.isEmpty())
            affected += QStringLiteral(", ");
        affected += rest.join(QStringLiteral(", "));
    }

    if (!affected.isEmpty()) {
        const QString question =
            QStringLiteral("%1 BIAS will also be changed to %2, whether to accept or not? ")
                .arg(affected)
                .arg(m_afe->biasSpinBox->value());
        const auto answer = QMessageBox::question(this, QStringLiteral("Question"), question,
                                                  QMessageBox::No | QMessageBox::Yes);
        if (answer != QMessageBox::Yes) {
            m_biasDecision = biasDecisionNumber(BiasDecision::Declined);
            return;
        }
    }
    m_biasDecision = biasDecisionNumber(BiasDecision::WholeQuads);
    appendBiasLines();
}

void jesd204bdlg::appendBiasLines()
{
    const QString bias = QString::number(m_afe->biasSpinBox->value());
    for (const QuadRow &quad : quadsInUse(m_usedLanes))
        m_serdesOptions.append(quad.biasLineTemplate.arg(bias));
}

void jesd204bdlg::publishBiasAndDrp()
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    if (m_biasDecision == biasDecisionNumber(BiasDecision::WholeQuads)) {
        if (m_parameters)
            m_parameters->insert(Key::ChangedAllOfBias, true);
        const int bias = m_afe->biasSpinBox->value();
        for (const QuadRow &quad : quadsInUse(m_usedLanes))
            model->setData(quad.biasKey, bias);
    } else if (m_parameters) {
        m_parameters->insert(Key::ChangedAllOfBias, false);
    }

    if (m_opt->checkBoxDRPPort->isChecked())
        model->setData(GlobalKey::DrpRecordPrefix + moduleName(),
                       IPSERDESIP::FromLaneToInt(m_usedLanes));
}

} // namespace IPJESD204B
