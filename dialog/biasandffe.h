#pragma once

#include <coredirection.h>
#include <parametermap.h>

#include <QStringList>

class QWidget;

namespace IPJESD204B {

class afe_config;

// The AFE tab's two rules of its own: the FFE main tap, what the budget of 40 leaves after Cm
// and C1, and the receive bias, a setting of whole quads that the user agrees to once.
class BiasAndFfe
{
public:
    // Message boxes open over messageParent.
    BiasAndFfe(afe_config &afe, QWidget *messageParent);

    BiasDecision decision() const { return m_decision; }
    void resetDecision() { m_decision = BiasDecision::Undecided; }

    // Shows C0 in its label; false, after a warning, when it is 20 or less.
    bool calculateMainTap();
    // The bias another core published for the one quad the lanes use; 7 for none or both.
    void updateDefault(const QStringList &usedLanes);
    // Asks whether the quads the lanes use in part may take the bias too; the whole quads
    // take it without a question. Agreed, their bias lines join `options`.
    void confirmScope(const QStringList &usedLanes, QStringList &options);
    void appendBiasLines(const QStringList &usedLanes, QStringList &options) const;
    // The bias published for the quads in use and the stored decision.
    void restore(const QStringList &usedLanes, const IPSERDESIP::ParameterMap &params);
    // Stores the decision in the parameter set; agreed, publishes the bias of the quads in use.
    void publish(const QStringList &usedLanes, IPSERDESIP::ParameterMap &parameters) const;

private:
    afe_config &m_afe;
    QWidget *m_messageParent;
    BiasDecision m_decision = BiasDecision::Undecided;
};

} // namespace IPJESD204B
