#pragma once

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

namespace Ui {
class core_config;
class phy_config;
class afe_config;
class opt_config;
} // namespace Ui

struct LaneOptionValues;

// The JESD204B core's configuration dialog: the four forms, their wiring and the checks that
// talk to the host's SERDES model. Rules that need no widget live in the model (dialogrules.h).
class jesd204bdlg : public IPSERDESIP::protocolGenDlg
{
    Q_OBJECT

public:
    jesd204bdlg(const IPSERDESIP::ParameterMap &ipInfo, IPSERDESIP::ParameterMap *parameters,
                QWidget *parent);
    ~jesd204bdlg() override;

    void initDialog() override;
    bool loadParameters(const IPSERDESIP::ParameterMap &params) override;

    // Read-only views for the host program's snapshot and for tests.
    Ui::core_config *coreForm() const { return m_core.get(); }
    Ui::phy_config *phyForm() const { return m_phy.get(); }
    Ui::afe_config *afeForm() const { return m_afe.get(); }
    Ui::opt_config *optForm() const { return m_opt.get(); }
    QStringList usedLanes() const { return m_usedLanes; }
    QStringList availableLanes() const { return m_availableLanes; }
    int availableLaneCount() const { return m_availableLaneCount; }
    int biasDecision() const { return m_biasDecision; }
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
    // While one is alive, widget changes leave the pin figure alone; the last one to go draws
    // it once. A restore or a lane refill changes a dozen inputs of the figure in a row.
    class FigureHold
    {
    public:
        explicit FigureHold(jesd204bdlg &dialog);
        ~FigureHold();
        FigureHold(const FigureHold &) = delete;
        FigureHold &operator=(const FigureHold &) = delete;

    private:
        jesd204bdlg &m_dialog;
    };

    // The direction of the checked core-mode button.
    CoreDirection selectedDirection() const;
    void connectSignals();
    void writeParameters();
    void applyParameters(const IPSERDESIP::ParameterMap &params);
    // The bias another core published for the quads in use, and the stored bias decision.
    void restoreBias(const IPSERDESIP::ParameterMap &params);
    LaneOptionValues laneOptionValues() const;
    bool isLaneShareable(const QString &laneInstanceName) const;
    bool checkDuplicateLanes();
    bool checkLaneRateAndPll();
    bool checkRefClkAccess();
    void confirmBiasScope();
    void appendBiasLines();
    bool checkDrpConflict();
    void publishBiasAndDrp();
    // Modal "Error" box without a standard icon. imageRoot is ":/image/" or "://image/";
    // fixedSize adds the dialog-plus-fixed-size window flags.
    void showErrorBox(const QString &text, const QString &imageRoot, bool fixedSize);

    std::unique_ptr<Ui::core_config> m_core;
    std::unique_ptr<Ui::phy_config> m_phy;
    std::unique_ptr<Ui::afe_config> m_afe;
    std::unique_ptr<Ui::opt_config> m_opt;
    const IPSERDESIP::ParameterMap m_ipInfo;
    IPSERDESIP::ParameterMap *m_parameters;
    std::unique_ptr<IPSERDESIP::generator> m_calcGenerator;
    QStringList m_serdesOptions;
    QStringList m_usedLanes;
    int m_availableLaneCount = 0;
    int m_biasDecision = 0;
    QStringList m_pllResources;
    QStringList m_laneResources;
    QStringList m_refClkResources;
    QStringList m_refClkFrequencies;
    QStringList m_availableLanes;
    // What the pin figure was last drawn from; an unchanged figure is not rebuilt.
    struct FigureInputs
    {
        bool transmit = false;
        bool receive = false;
        bool drp = false;
        int lanes = 0;
        int widthFactor = 1;
        QString pll;
        QStringList quadsInUse; // option prefixes, "q0" first
        bool operator==(const FigureInputs &other) const
        {
            return transmit == other.transmit && receive == other.receive && drp == other.drp &&
                   lanes == other.lanes && widthFactor == other.widthFactor && pll == other.pll &&
                   quadsInUse == other.quadsInUse;
        }
    };
    FigureInputs m_figureInputs;
    bool m_figureDrawn = false;
    int m_figureHolds = 0;
};

} // namespace IPJESD204B
