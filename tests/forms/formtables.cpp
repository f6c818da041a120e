#include "formtables.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QSize>

namespace FormTables {
namespace {

const int Box = -1;

Form coreForm()
{
    Form f{"core", "IPJESD204B__core_config", "IPJESD204B::core_config", {}, {}, {}, {}};
    f.widgets = {
        {"scrollArea", "QScrollArea", nullptr, "verticalLayout", 0, Box, 1, 1},
        {"CoreMode", "QGroupBox", "Core Mode", "verticalLayout_2", 0, Box, 1, 1},
        {"NumOfLanes", "QGroupBox", "Number of Lanes", "verticalLayout_2", 1, Box, 1, 1},
        {"LMFCBuffer", "QGroupBox", "LMFC Buffer (Receiver parameter)", "verticalLayout_2", 2, Box,
         1, 1},
        {"patternGenerator", "QGroupBox", "Pattern Generator (Transmiter parameter) ",
         "verticalLayout_2", 3, Box, 1, 1},
        {"LinkParameters", "QGroupBox", "Link Parameters", "verticalLayout_2", 4, Box, 1, 1},
        {"Clkopt", "QGroupBox", "Clock Options", "verticalLayout_2", 5, Box, 1, 1},
        {"Receive", "QRadioButton", "Receive", "horizontalLayout", 0, Box, 1, 1},
        {"Transmit", "QRadioButton", "Transmit", "horizontalLayout", 1, Box, 1, 1},
        {"Both", "QRadioButton", "Both Receive and Transmit", "horizontalLayout", 2, Box, 1, 1},
        {"labelNumOfLanes", "QLabel", "Number of Lanes:", "horizontalLayout_2", 0, Box, 1, 1},
        {"comboxNumOfLanes", "QComboBox", nullptr, "horizontalLayout_2", 1, Box, 1, 1},
        {"lmfcBuffer", "QLabel", "LMFC Buffer(Octets) :", "horizontalLayout_3", 0, Box, 1, 1},
        {"comboBoxLmfcBuffer", "QComboBox", nullptr, "horizontalLayout_3", 1, Box, 1, 1},
        {"rpatGenerator", "QCheckBox", "Include RPAT Generator", "gridLayout_2", 0, 0, 1, 1},
        {"jspatGenerator", "QCheckBox", "Include JSPAT Generator", "gridLayout_2", 1, 0, 1, 1},
        {"label_5", "QLabel", "Default SYSREF Always:", "gridLayout", 0, 0, 1, 1},
        {"defaultSysrefAlw", "QComboBox", nullptr, "gridLayout", 0, 1, 1, 1},
        {"label_7", "QLabel", "Default Scrambling ON/OFF:", "gridLayout", 1, 0, 1, 1},
        {"defaultScram", "QComboBox", nullptr, "gridLayout", 1, 1, 1, 1},
        {"label", "QLabel", "Default F(Octets per Frame):", "gridLayout", 2, 0, 1, 1},
        {"defaultF", "QLineEdit", nullptr, "gridLayout", 2, 1, 1, 1},
        {"label_4", "QLabel", "(1~256)", "gridLayout", 2, 2, 1, 1},
        {"label_2", "QLabel", "Default K(Octets per MultiFrame):", "gridLayout", 3, 0, 1, 1},
        {"defaultK", "QLineEdit", nullptr, "gridLayout", 3, 1, 1, 1},
        {"label_6", "QLabel", "(1~32)", "gridLayout", 3, 2, 1, 1},
        {"label_3", "QLabel", "Default SYSREF Required on Re-Sync:", "gridLayout", 4, 0, 1, 1},
        {"defaultSysrefReq", "QComboBox", nullptr, "gridLayout", 4, 1, 1, 1},
        {"checkBoxFixedCfgEnable", "QCheckBox", "Fixed Config Enable", "gridLayout", 5, 0, 1, 2},
        {"label_8", "QLabel", "Config Clock Frequency(MHz)", "horizontalLayout_5", 0, Box, 1, 1},
        {"lineEditClkFreq", "QLineEdit", nullptr, "horizontalLayout_5", 1, Box, 1, 1},
        {"label_9", "QLabel", "(1~100)", "horizontalLayout_5", 2, Box, 1, 1},
    };
    f.layouts = {
        {"verticalLayout", "QVBoxLayout", "IPJESD204B__core_config", -1, 1, 0, 0},
        {"verticalLayout_2", "QVBoxLayout", "scrollAreaWidgetContents", -1, 7, 0, 0},
        {"horizontalLayout", "QHBoxLayout", "CoreMode", -1, 4, 0, 0},
        {"horizontalLayout_2", "QHBoxLayout", "NumOfLanes", -1, 3, 0, 0},
        {"horizontalLayout_3", "QHBoxLayout", "LMFCBuffer", -1, 3, 0, 0},
        {"gridLayout_2", "QGridLayout", "patternGenerator", -1, 4, 2, 2},
        {"gridLayout", "QGridLayout", "LinkParameters", -1, 19, 6, 4},
        {"horizontalLayout_5", "QHBoxLayout", "Clkopt", -1, 4, 0, 0},
    };
    f.spacers = {
        {"horizontalLayout", 3, Box, 1, 1, 146, 20, false},
        {"horizontalLayout_2", 2, Box, 1, 1, 300, 20, false},
        {"horizontalLayout_3", 2, Box, 1, 1, 332, 20, false},
        {"gridLayout_2", 0, 1, 1, 1, 506, 20, false},
        {"gridLayout_2", 1, 1, 1, 1, 323, 20, false},
        {"gridLayout", 0, 2, 1, 2, 62, 20, false},
        {"gridLayout", 1, 2, 1, 2, 62, 20, false},
        {"gridLayout", 2, 3, 1, 1, 62, 20, false},
        {"gridLayout", 3, 3, 1, 1, 62, 20, false},
        {"gridLayout", 4, 2, 1, 2, 62, 20, false},
        {"gridLayout", 5, 2, 1, 2, 62, 20, false},
        {"horizontalLayout_5", 3, Box, 1, 1, 124, 20, false},
        {"verticalLayout_2", 6, Box, 1, 1, 20, 13, true},
    };
    f.properties = {
        {"IPJESD204B__core_config", "size", QSize(646, 591)},
        {"IPJESD204B__core_config", "windowTitle", QStringLiteral("Form")},
        {"scrollArea", "widgetResizable", true},
        {"Receive", "checked", false},
        {"Transmit", "checked", false},
        {"Both", "checked", true},
        {"rpatGenerator", "checked", false},
        {"jspatGenerator", "checked", false},
        {"checkBoxFixedCfgEnable", "checked", false},
        {"comboBoxLmfcBuffer", "minimumSize", QSize(100, 0)},
        {"defaultSysrefAlw", "minimumSize", QSize(140, 0)},
    };
    return f;
}

Form phyForm()
{
    Form f{"phy", "IPJESD204B__phy_config", "IPJESD204B::phy_config", {}, {}, {}, {}};
    f.widgets = {
        {"scrollArea", "QScrollArea", nullptr, "verticalLayout", 0, Box, 1, 1},
        {"groupBox", "QGroupBox", "Base Parameters", "verticalLayout_2", 0, Box, 1, 1},
        {"groupBox_2", "QGroupBox", "Lane Connect", "verticalLayout_2", 1, Box, 1, 1},
        {"label_6", "QLabel", "PCS WIDTH:", "gridLayout", 0, 0, 1, 1},
        {"radioButton32Bit", "QRadioButton", "32bit", "gridLayout", 0, 1, 1, 1},
        {"radioButton64Bit", "QRadioButton", "64bit", "gridLayout", 0, 2, 1, 1},
        {"label", "QLabel", "Line Rate(Gbps):", "gridLayout", 1, 0, 1, 1},
        {"lineRate", "QLineEdit", nullptr, "gridLayout", 1, 1, 1, 2},
        {"label_2", "QLabel", "Reference Clock Source:", "gridLayout", 2, 0, 1, 1},
        {"refClkSource", "QComboBox", nullptr, "gridLayout", 2, 1, 1, 2},
        {"label_3", "QLabel", "Reference Clock Frequency(MHz):", "gridLayout", 3, 0, 1, 1},
        {"refClkFreq", "QLineEdit", nullptr, "gridLayout", 3, 1, 1, 2},
        {"label_4", "QLabel", "PLL Selection:", "gridLayout", 4, 0, 1, 1},
        {"PLL_Selection", "QComboBox", nullptr, "gridLayout", 4, 1, 1, 2},
        {"widget", "QWidget", nullptr, "gridLayout", 4, 3, 1, 1},
        {"pushButton", "QPushButton", "Calculate", "gridLayout", 4, 4, 1, 1},
        {"label_5", "QLabel", "Loopback Mode:", "gridLayout", 5, 0, 1, 1},
        {"LoopbackMode", "QComboBox", nullptr, "gridLayout", 5, 1, 1, 2},
    };
    f.layouts = {
        {"verticalLayout", "QVBoxLayout", "IPJESD204B__phy_config", -1, 1, 0, 0},
        {"verticalLayout_2", "QVBoxLayout", "scrollAreaWidgetContents", -1, 3, 0, 0},
        {"gridLayout", "QGridLayout", "groupBox", -1, 21, 6, 6},
        {"verticalLayout_3", "QVBoxLayout", "groupBox_2", -1, 1, 0, 0},
        {"gridLayout_2", "QGridLayout", "verticalLayout_3", 0, 24, 8, 3},
    };
    f.spacers = {
        {"gridLayout", 0, 3, 1, 3, 150, 20, false},      {"gridLayout", 1, 3, 1, 3, 179, 22, false},
        {"gridLayout", 2, 3, 1, 3, 179, 22, false},      {"gridLayout", 3, 3, 1, 3, 179, 22, false},
        {"gridLayout", 4, 5, 1, 1, 27, 20, false},       {"gridLayout", 5, 3, 1, 3, 179, 22, false},
        {"verticalLayout_2", 2, Box, 1, 1, 20, 2, true},
    };
    // The eight lane rows differ only in their number.
    for (int lane = 0; lane < 8; ++lane) {
        const QString n = QString::number(lane);
        f.widgets.append({"labelconect" + n, "QLabel",
                          "JESD204B Lane" + n + " connect with:", "gridLayout_2", lane, 0, 1, 1});
        f.widgets.append(
            {"Lane" + n + "Connect", "QComboBox", nullptr, "gridLayout_2", lane, 1, 1, 1});
        f.spacers.append({"gridLayout_2", lane, 2, 1, 1, 207, 20, false});
    }
    f.properties = {
        {"IPJESD204B__phy_config", "size", QSize(626, 553)},
        {"IPJESD204B__phy_config", "windowTitle", QStringLiteral("Form")},
        {"scrollArea", "widgetResizable", true},
        {"radioButton32Bit", "checked", true},
        {"radioButton64Bit", "checked", false},
        {"radioButton32Bit", "minimumSize", QSize(80, 0)},
        {"radioButton64Bit", "minimumSize", QSize(80, 0)},
        {"refClkSource", "minimumSize", QSize(140, 0)},
        {"widget", "minimumSize", QSize(40, 25)},
        {"widget", "maximumHeight", 25},
        {"Lane0Connect", "minimumSize", QSize(100, 0)},
    };
    return f;
}

Form afeForm()
{
    Form f{"afe", "IPJESD204B__afe_config", "IPJESD204B::afe_config", {}, {}, {}, {}};
    f.widgets = {
        {"scrollArea", "QScrollArea", nullptr, "verticalLayout", 0, Box, 1, 1},
        {"groupBoxTx", "QGroupBox", "TX", "horizontalLayout_3", 0, Box, 1, 1},
        {"groupBoxRx", "QGroupBox", "RX", "horizontalLayout_3", 1, Box, 1, 1},
        {"label_6", "QLabel", "Differential Swing:", "horizontalLayout_2", 0, Box, 1, 1},
        {"differeSwingComboBox", "QComboBox", nullptr, "horizontalLayout_2", 1, Box, 1, 1},
        {"groupBox_3", "QGroupBox", "FFE Mode", "verticalLayout_3", 1, Box, 1, 1},
        {"label_8", "QLabel", "FFE Mode:", "gridLayout", 0, 0, 1, 2},
        {"ffeModeCombox", "QComboBox", nullptr, "gridLayout", 0, 2, 1, 2},
        {"label_9", "QLabel", "Cm:", "gridLayout", 1, 0, 1, 2},
        {"cmSpinBox", "QSpinBox", nullptr, "gridLayout", 1, 2, 1, 1},
        {"label", "QLabel", "(0~19)", "gridLayout", 1, 3, 1, 1},
        {"label_11", "QLabel", "C0:", "gridLayout", 2, 0, 1, 2},
        {"c0Lael", "QLabel", "TextLabel", "gridLayout", 2, 2, 1, 1},
        {"label_3", "QLabel", "(21~40)", "gridLayout", 2, 3, 1, 1},
        {"label_10", "QLabel", "C1:", "gridLayout", 3, 0, 1, 2},
        {"c1SpinBox", "QSpinBox", nullptr, "gridLayout", 3, 2, 1, 1},
        {"label_2", "QLabel", "(0~19)", "gridLayout", 3, 3, 1, 1},
        {"label_7", "QLabel", "SD Threshold:", "horizontalLayout", 0, Box, 1, 1},
        {"sdThresholdComboBox", "QComboBox", nullptr, "horizontalLayout", 1, Box, 1, 1},
        {"groupBox_4", "QGroupBox", "Equalization", "verticalLayout_5", 1, Box, 1, 1},
        {"label_12", "QLabel", "Equalization Mode:", "gridLayout_2", 0, 0, 1, 1},
        {"equalizationModeCombox", "QComboBox", nullptr, "gridLayout_2", 0, 1, 1, 2},
        {"label_4", "QLabel", "ATT:", "gridLayout_2", 1, 0, 1, 1},
        {"attSpinBox", "QSpinBox", nullptr, "gridLayout_2", 1, 1, 1, 1},
        {"label_14", "QLabel", "(0~10)", "gridLayout_2", 1, 2, 1, 1},
        {"label_5", "QLabel", "BOOST:", "gridLayout_2", 2, 0, 1, 1},
        {"boostSpinBox", "QSpinBox", nullptr, "gridLayout_2", 2, 1, 1, 1},
        {"label_15", "QLabel", "(0~15)", "gridLayout_2", 2, 2, 1, 1},
        {"label_13", "QLabel", "BIAS:", "gridLayout_2", 3, 0, 1, 1},
        {"biasSpinBox", "QSpinBox", nullptr, "gridLayout_2", 3, 1, 1, 1},
        {"label_16", "QLabel", "(0~15)", "gridLayout_2", 3, 2, 1, 1},
    };
    f.layouts = {
        {"verticalLayout", "QVBoxLayout", "IPJESD204B__afe_config", -1, 1, 0, 0},
        {"verticalLayout_6", "QVBoxLayout", "scrollAreaWidgetContents", -1, 2, 0, 0},
        {"horizontalLayout_3", "QHBoxLayout", "verticalLayout_6", 0, 3, 0, 0},
        {"verticalLayout_3", "QVBoxLayout", "groupBoxTx", -1, 3, 0, 0},
        {"horizontalLayout_2", "QHBoxLayout", "verticalLayout_3", 0, 2, 0, 0},
        {"verticalLayout_2", "QVBoxLayout", "groupBox_3", -1, 1, 0, 0},
        {"gridLayout", "QGridLayout", "verticalLayout_2", 0, 11, 4, 4},
        {"verticalLayout_5", "QVBoxLayout", "groupBoxRx", -1, 3, 0, 0},
        {"horizontalLayout", "QHBoxLayout", "verticalLayout_5", 0, 3, 0, 0},
        {"verticalLayout_4", "QVBoxLayout", "groupBox_4", -1, 1, 0, 0},
        {"gridLayout_2", "QGridLayout", "verticalLayout_4", 0, 11, 4, 3},
    };
    f.spacers = {
        {"horizontalLayout_3", 2, Box, 1, 1, 18, 148, false},
        {"verticalLayout_6", 1, Box, 1, 1, 20, 219, true},
        {"verticalLayout_3", 2, Box, 1, 1, 20, 40, true},
        {"horizontalLayout", 2, Box, 1, 1, 18, 20, false},
        {"verticalLayout_5", 2, Box, 1, 1, 20, 160, true},
    };
    const int noButtons = QAbstractSpinBox::NoButtons;
    f.properties = {
        {"IPJESD204B__afe_config", "size", QSize(615, 300)},
        {"IPJESD204B__afe_config", "windowTitle", QStringLiteral("Form")},
        {"scrollArea", "widgetResizable", true},
        {"cmSpinBox", "buttonSymbols", noButtons},
        {"cmSpinBox", "minimum", 0},
        {"cmSpinBox", "maximum", 19},
        {"cmSpinBox", "value", 0},
        {"c1SpinBox", "buttonSymbols", noButtons},
        {"c1SpinBox", "minimum", 0},
        {"c1SpinBox", "maximum", 19},
        {"c1SpinBox", "value", 0},
        {"attSpinBox", "buttonSymbols", noButtons},
        {"attSpinBox", "minimum", 0},
        {"attSpinBox", "maximum", 10},
        {"attSpinBox", "value", 7},
        {"attSpinBox", "minimumSize", QSize(50, 0)},
        {"boostSpinBox", "buttonSymbols", noButtons},
        {"boostSpinBox", "minimum", 0},
        {"boostSpinBox", "maximum", 15},
        {"boostSpinBox", "value", 9},
        {"biasSpinBox", "buttonSymbols", noButtons},
        {"biasSpinBox", "minimum", 0},
        {"biasSpinBox", "maximum", 15},
        {"biasSpinBox", "value", 7},
        {"c0Lael", "minimumSize", QSize(0, 25)},
        {"label_3", "minimumSize", QSize(0, 25)},
        {"equalizationModeCombox", "sizeAdjustPolicy",
         static_cast<int>(QComboBox::AdjustToContentsOnFirstShow)},
    };
    return f;
}

Form optForm()
{
    Form f{"opt", "IPJESD204B__opt_config", "IPJESD204B::opt_config", {}, {}, {}, {}};
    f.widgets = {
        {"scrollArea", "QScrollArea", nullptr, "verticalLayout", 0, Box, 1, 1},
        {"checkBoxDRPPort", "QCheckBox", "DRP Ports", "verticalLayout_2", 0, Box, 1, 1},
    };
    f.layouts = {
        {"verticalLayout", "QVBoxLayout", "IPJESD204B__opt_config", -1, 1, 0, 0},
        {"verticalLayout_2", "QVBoxLayout", "scrollAreaWidgetContents", -1, 2, 0, 0},
    };
    f.spacers = {{"verticalLayout_2", 1, Box, 1, 1, 20, 219, true}};
    f.properties = {
        {"IPJESD204B__opt_config", "size", QSize(517, 259)},
        {"IPJESD204B__opt_config", "windowTitle", QStringLiteral("Form")},
        {"scrollArea", "widgetResizable", true},
        {"checkBoxDRPPort", "checked", false},
    };
    return f;
}

} // namespace

const QVector<Form> &forms()
{
    static const QVector<Form> all{coreForm(), phyForm(), afeForm(), optForm()};
    return all;
}

} // namespace FormTables
