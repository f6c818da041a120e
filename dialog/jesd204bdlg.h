#pragma once

#include "corepinfigure.h"

#include <coredirection.h>
#include <parametermap.h>
#include <protocolgendlg.h>

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace IPSERDESIP {
class generator;
}

namespace IPJESD204B {

class core_config;
class phy_config;
class afe_config;
class opt_config;
class BiasAndFfe;
class LaneAllocation;
struct LaneOptionValues;

// The JESD204B core's configuration dialog: the four forms, their wiring and the checks that
// talk to the host's SERDES model. The pin figure, the bias and FFE rules and the lane and PLL
// offer are collaborators it owns; rules that need no widget live in the model (dialogrules.h).
class jesd204bdlg : public IPSERDESIP::protocolGenDlg
{
    Q_OBJECT

public:
    jesd204bdlg(const IPSERDESIP::ParameterMap &ipInfo, IPSERDESIP::ParameterMap *parameters,
                QWidget *parent);
    ~jesd204bdlg() override;

    void initDialog() override;
    bool loadParameters(const IPSERDESIP::ParameterMap &params) override;

    QStringList usedLanes() const { return m_usedLanes; }
    QStringList availableLanes() const;
    int biasDecision() const;
    QStringList serdesOptions() const { return m_serdesOptions; }
    QStringList laneResources() const { return m_laneResources; }
    QStringList pllResources() const { return m_pllResources; }
    QStringList refClkResources() const { return m_refClkResources; }
    QStringList refClkFrequencies() const { return m_refClkFrequencies; }

    // Dialog form of one lane's SERDES option block, read from the widgets.
    void appendLaneOptions(QStringList &options, const QString &lanePrefix,
                           const QString &quadPrefix) const;
    // Fills the usedLanes list, lists the resources and option lines, writes the parameter set.
    bool recordResources();
    void collectUsedLanes();

public slots:
    void accept() override;

private slots:
    void refreshFigure();
    void onCoreModeChanged();
    void updatedRefClkFreq();
    void updatePLLSel();
    void updateLaneConect();
    void onNumOfLanesChanged();
    int checkCoreMode();
    bool onButtonCalculateClicked(bool prompt = true);
    void checkDefaultF();
    void checkDefaultK();
    void checkClkFreq();
    void checkLineRate();
    void checkRefClkFreq();
    bool calculateFFE_C0();
    void onFFEModeChanged();
    void onEqualizationModeChanged();
    void resetFlagforBias();
    void updateBiasDefaultValue();

private:
    // The direction of the checked core-mode button.
    CoreDirection selectedDirection() const;
    void connectSignals();
    void writeParameters();
    void applyParameters(const IPSERDESIP::ParameterMap &params);
    LaneOptionValues laneOptionValues() const;
    bool checkDuplicateLanes();
    bool checkLaneRateAndPll();
    bool checkRefClkAccess();
    bool checkDrpConflict();
    void publishDrpRecord();
    // Modal "Error" box without a standard icon. imageRoot is ":/image/" or "://image/";
    // fixedSize adds the dialog-plus-fixed-size window flags.
    void showErrorBox(const QString &text, const QString &imageRoot, bool fixedSize);

    std::unique_ptr<core_config> m_core;
    std::unique_ptr<phy_config> m_phy;
    std::unique_ptr<afe_config> m_afe;
    std::unique_ptr<opt_config> m_opt;
    const IPSERDESIP::ParameterMap m_ipInfo;
    IPSERDESIP::ParameterMap *m_parameters;
    std::unique_ptr<IPSERDESIP::generator> m_calcGenerator;
    QStringList m_serdesOptions;
    QStringList m_usedLanes;
    std::unique_ptr<LaneAllocation> m_lanes;
    std::unique_ptr<BiasAndFfe> m_bias;
    QStringList m_pllResources;
    QStringList m_laneResources;
    QStringList m_refClkResources;
    QStringList m_refClkFrequencies;
    CorePinFigure m_figure;
};

} // namespace IPJESD204B
