#include "biasandffe.h"

#include "configforms.h"
#include "dialogrules.h"
#include "nametables.h"
#include "parameterkeys.h"
#include "quaduse.h"

#include <serdes.h>

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

BiasAndFfe::BiasAndFfe(afe_config &afe, QWidget *messageParent)
    : m_afe(afe), m_messageParent(messageParent)
{}

bool BiasAndFfe::calculateMainTap()
{
    const int c0 = ffeMainTap(m_afe.cmSpinBox->value(), m_afe.c1SpinBox->value());
    m_afe.c0Lael->setText(QString::number(c0));
    if (!isMainTapAccepted(c0)) {
        QMessageBox::about(m_messageParent, QStringLiteral("Warning"),
                           QStringLiteral("C0 must be greater than 20."));
        return false;
    }
    return true;
}

void BiasAndFfe::updateDefault(const QStringList &usedLanes)
{
    const QList<QuadRow> used = quadsInUse(usedLanes);
    if (used.size() != 1) {
        m_afe.biasSpinBox->setValue(neutralBias);
        return;
    }
    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const QString key = used.first().biasKey;
    if (model->globalData().contains(key))
        m_afe.biasSpinBox->setValue(model->getData(key).toInt());
}

void BiasAndFfe::confirmScope(const QStringList &usedLanes, QStringList &options)
{
    QStringList untouched[2];
    for (const LaneRow &row : NameTables::lanes())
        untouched[row.quad].append(row.displayName);
    for (const QString &lane : usedLanes) {
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
                .arg(m_afe.biasSpinBox->value());
        const auto answer = QMessageBox::question(m_messageParent, QStringLiteral("Question"),
                                                  question, QMessageBox::No | QMessageBox::Yes);
        if (answer != QMessageBox::Yes) {
            m_decision = BiasDecision::Declined;
            return;
        }
    }
    m_decision = BiasDecision::WholeQuads;
    appendBiasLines(usedLanes, options);
}

void BiasAndFfe::appendBiasLines(const QStringList &usedLanes, QStringList &options) const
{
    const QString bias = QString::number(m_afe.biasSpinBox->value());
    for (const QuadRow &quad : quadsInUse(usedLanes))
        options.append(quad.biasLineTemplate.arg(bias));
}

void BiasAndFfe::restore(const QStringList &usedLanes, const IPSERDESIP::ParameterMap &params)
{
    const QuadUse quads = QuadUse::of(usedLanes);
    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const IPSERDESIP::ParameterMap published = model->globalData();
    if (quads.quad0 && published.contains(GlobalKey::Q0Bias))
        m_afe.biasSpinBox->setValue(model->getData(GlobalKey::Q0Bias).toInt());
    if (quads.quad1 && published.contains(GlobalKey::Q1Bias))
        m_afe.biasSpinBox->setValue(model->getData(GlobalKey::Q1Bias).toInt());

    // After the bias value, whose change resets the decision.
    const auto decision = params.constFind(Key::ChangedAllOfBias);
    if (decision != params.constEnd())
        m_decision = decision.value().toBool() ? BiasDecision::WholeQuads : BiasDecision::Declined;
}

void BiasAndFfe::publish(const QStringList &usedLanes, IPSERDESIP::ParameterMap &parameters) const
{
    const bool wholeQuads = m_decision == BiasDecision::WholeQuads;
    parameters.insert(Key::ChangedAllOfBias, wholeQuads);
    if (!wholeQuads)
        return;
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const int bias = m_afe.biasSpinBox->value();
    for (const QuadRow &quad : quadsInUse(usedLanes))
        model->setData(quad.biasKey, bias);
}

} // namespace IPJESD204B
