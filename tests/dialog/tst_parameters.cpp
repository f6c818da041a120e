#include "dialogfixture.h"
#include "messageboxwatcher.h"

#include <serdes.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace {

const QString incompatible = QStringLiteral(
    "This version of specified IP Config file is incompatible with current IP Core Generator.");

ParameterSet versioned(ParameterSet set = {})
{
    set.insert(QStringLiteral("version"), QStringLiteral("1.0"));
    return set;
}

QString typeName(const QVariant &value)
{
    return QString::fromLatin1(value.typeName());
}

} // namespace

class ParametersTest : public QObject
{
    Q_OBJECT

private slots:
    void writesEveryKey();
    void derivedKeys_data();
    void derivedKeys();
    void roundTrip();
    void versionGate_data();
    void versionGate();
    void onlyVersionOpensLikeNewCore();
    void exclusiveGroups_data();
    void exclusiveGroups();
    void laneChoicesNotOffered();
    void laneCountNotOffered();
    void biasDecision_data();
    void biasDecision();
    void publishedBias_data();
    void publishedBias();
};

void ParametersTest::writesEveryKey()
{
    OpenDialog d;
    d.widget<QRadioButton>("Transmit")->setChecked(true);
    d.combo("comboxNumOfLanes")->setCurrentText(QStringLiteral("3"));
    d.widget<QCheckBox>("rpatGenerator")->setChecked(true);
    d.combo("defaultScram")->setCurrentText(QStringLiteral("Scrambling ON"));
    d.edit("defaultF", QStringLiteral("8"));
    d.widget<QCheckBox>("checkBoxFixedCfgEnable")->setChecked(true);
    d.widget<QRadioButton>("radioButton64Bit")->setChecked(true);
    d.combo("LoopbackMode")->setCurrentText(QStringLiteral("LB_FES"));
    d.combo("ffeModeCombox")->setCurrentText(QStringLiteral("Manual"));
    d.widget<QSpinBox>("cmSpinBox")->setValue(4);
    d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(true);

    QVERIFY(d.dialog()->recordResources());
    const ParameterSet &set = d.parameters();
    const IPJESD204B::jesd204bdlg *dlg = d.dialog();
    const QStringList used{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2"};
    const QList<QPair<QString, QVariant>> expected{
        {"target_device", Devices::twoQuads()},
        {"type", QStringLiteral("jesd204b")},
        {"version", QStringLiteral("1.0")},
        {"Synthesis_tool", dlg->uiSynthesisTool()},
        {"LANG", dlg->uiLanguageIndex()},
        {"file", dlg->fileName()},
        {"module", dlg->moduleName()},
        {"recordlanes", used},
        {"Receive", false},
        {"Transmit", true},
        {"Both_Receive_and_Transmit", false},
        {"Number_of_lanes", QStringLiteral("3")},
        {"LMFC_Buffer", QStringLiteral("1024")},
        {"Include_RPAT_Generator", true},
        {"Include_JSPAT_Generator", false},
        {"Default_SYSREF_Always", QStringLiteral("Always Off")},
        {"Default_Scrambling_ON", QStringLiteral("Scrambling ON")},
        {"Default_F", QStringLiteral("8")},
        {"Default_K", QStringLiteral("32")},
        {"Default_SYSREF_Required_on_Re-Sync", QStringLiteral("Not Required")},
        {"Fixed_Config_Enable", true},
        {"Clock_Frequency", QStringLiteral("10.0")},
        {"Line_Rate", QStringLiteral("4.9152")},
        {"Pcs_Width_32bit", false},
        {"Pcs_Width_64bit", true},
        {"Reference_CLK_Source", QStringLiteral("Q0 REFCLK0")},
        {"Reference_CLK_Frequency", QStringLiteral("122.88")},
        {"PLL_Selection", d.combo("PLL_Selection")->currentText()},
        {"Loopback_Mode", QStringLiteral("LB_FES")},
        {"JESD204B_Lane0_connect_with", d.laneBox(0)->currentText()},
        {"JESD204B_Lane1_connect_with", d.laneBox(1)->currentText()},
        {"JESD204B_Lane2_connect_with", d.laneBox(2)->currentText()},
        {"JESD204B_Lane3_connect_with", d.laneBox(3)->currentText()},
        {"JESD204B_Lane4_connect_with", d.laneBox(4)->currentText()},
        {"JESD204B_Lane5_connect_with", d.laneBox(5)->currentText()},
        {"JESD204B_Lane6_connect_with", d.laneBox(6)->currentText()},
        {"JESD204B_Lane7_connect_with", d.laneBox(7)->currentText()},
        {"DIFFERENTIAL_SWING", QStringLiteral("900mV")},
        {"FFEMODE", QStringLiteral("Manual")},
        {"FFE_CM", 4},
        {"FFE_C1", 0},
        {"FFE_C0", QStringLiteral("36")},
        {"SD_THRESHOLD", QStringLiteral("100mV")},
        {"Equalization_Mode", QStringLiteral("Auto")},
        {"ATT", 7},
        {"BOOST", 9},
        {"DRP_Ports", true},
    };

    QStringList expectedKeys;
    for (const auto &entry : expected) {
        expectedKeys << entry.first;
        QVERIFY2(set.contains(entry.first), qPrintable(entry.first));
        const QVariant actual = set.value(entry.first);
        QVERIFY2(actual.userType() == entry.second.userType(),
                 qPrintable(entry.first + ": " + typeName(actual)));
        QVERIFY2(actual == entry.second, qPrintable(entry.first + ": " + actual.toString() + " / " +
                                                    entry.second.toString()));
    }
    expectedKeys.sort();
    QCOMPARE(set.keys(), expectedKeys);
    // Rows beyond the lane count still carry a lane of their own.
    QVERIFY(!set.value("JESD204B_Lane7_connect_with").toString().isEmpty());
}

void ParametersTest::derivedKeys_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("lmfc");
    QTest::addColumn<bool>("patterns");

    QTest::newRow("receive") << "Receive"
                             << "256" << false;
    QTest::newRow("transmit") << "Transmit"
                              << "1024" << true;
    QTest::newRow("both") << "Both"
                          << "256" << true;
}

void ParametersTest::derivedKeys()
{
    QFETCH(QString, mode);
    QFETCH(QString, lmfc);
    QFETCH(bool, patterns);

    OpenDialog d;
    d.combo("comboBoxLmfcBuffer")->setCurrentText(QStringLiteral("256"));
    d.widget<QCheckBox>("rpatGenerator")->setChecked(true);
    d.widget<QCheckBox>("jspatGenerator")->setChecked(true);
    d.widget<QRadioButton>("Transmit")->setChecked(true);
    d.widget<QRadioButton>(qPrintable(mode))->setChecked(true);

    QVERIFY(d.dialog()->recordResources());
    QCOMPARE(d.parameters().value("LMFC_Buffer").toString(), lmfc);
    QCOMPARE(d.parameters().value("Include_RPAT_Generator").toBool(), patterns);
    QCOMPARE(d.parameters().value("Include_JSPAT_Generator").toBool(), patterns);
}

void ParametersTest::roundTrip()
{
    ParameterSet written;
    {
        OpenDialog d;
        d.widget<QRadioButton>("Receive")->setChecked(true);
        d.combo("comboxNumOfLanes")->setCurrentText(QStringLiteral("4"));
        d.laneBox(0)->setCurrentText(QStringLiteral("Q1 Lane2"));
        d.laneBox(3)->setCurrentText(QStringLiteral("Q1 Lane0"));
        d.combo("comboBoxLmfcBuffer")->setCurrentText(QStringLiteral("512"));
        d.combo("defaultSysrefAlw")->setCurrentText(QStringLiteral("Always On"));
        d.combo("defaultSysrefReq")->setCurrentText(QStringLiteral("Required"));
        d.edit("defaultK", QStringLiteral("16"));
        d.edit("lineEditClkFreq", QStringLiteral("62.5"));
        d.edit("lineRate", QStringLiteral("6.144"));
        d.combo("refClkSource")->setCurrentText(QStringLiteral("Q1 REFCLK1"));
        d.edit("refClkFreq", QStringLiteral("153.6"));
        d.combo("PLL_Selection")->setCurrentText(QStringLiteral("CPLL"));
        d.combo("sdThresholdComboBox")->setCurrentText(QStringLiteral("150mV"));
        d.combo("equalizationModeCombox")->setCurrentText(QStringLiteral("Manual"));
        d.widget<QSpinBox>("attSpinBox")->setValue(3);
        d.widget<QSpinBox>("boostSpinBox")->setValue(14);
        d.combo("differeSwingComboBox")->setCurrentText(QStringLiteral("420mV"));
        QVERIFY(d.dialog()->recordResources());
        written = d.parameters();
    }
    QCOMPARE(written.value("PLL_Selection").toString(), QStringLiteral("CPLL"));

    OpenDialog reopened(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    QVERIFY(reopened.open(written));
    QVERIFY(reopened.dialog()->recordResources());
    const ParameterSet again = reopened.parameters();
    QCOMPARE(again.keys(), written.keys());
    for (const QString &key : written.keys())
        QVERIFY2(again.value(key) == written.value(key),
                 qPrintable(key + ": " + again.value(key).toString()));
}

void ParametersTest::versionGate_data()
{
    QTest::addColumn<QVariant>("version");

    QTest::newRow("absent") << QVariant();
    QTest::newRow("1.1") << QVariant(QStringLiteral("1.1"));
    QTest::newRow("trailing blank") << QVariant(QStringLiteral("1.0 "));
    QTest::newRow("number 1.0") << QVariant(1.0);
    QTest::newRow("empty") << QVariant(QString());
}

void ParametersTest::versionGate()
{
    QFETCH(QVariant, version);

    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    ParameterSet stored{{"LMFC_Buffer", QStringLiteral("128")},
                        {"Default_F", QStringLiteral("12")},
                        {"Receive", true}};
    if (version.isValid())
        stored.insert(QStringLiteral("version"), version);

    MessageBoxWatcher watcher;
    QVERIFY(!d.open(stored));
    QCOMPARE(watcher.lines(), QStringList{QStringLiteral("Error: ") + incompatible});
    QCOMPARE(watcher.boxes().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(watcher.boxes().first().hasIconPixmap);
    // Refused as a whole: the widgets keep the values of a new core.
    QCOMPARE(d.combo("comboBoxLmfcBuffer")->currentText(), QStringLiteral("1024"));
    QCOMPARE(d.widget<QLineEdit>("defaultF")->text(), QStringLiteral("4"));
    QVERIFY(d.widget<QRadioButton>("Both")->isChecked());
}

void ParametersTest::onlyVersionOpensLikeNewCore()
{
    OpenDialog fresh;
    QVERIFY(fresh.dialog()->recordResources());
    const ParameterSet newCore = fresh.parameters();

    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    MessageBoxWatcher watcher;
    QVERIFY(d.open(versioned()));
    QVERIFY(d.widget<QRadioButton>("Both")->isChecked());
    QCOMPARE(d.combo("comboxNumOfLanes")->currentText(), QStringLiteral("2"));
    QCOMPARE(d.widget<QLabel>("c0Lael")->text(), QStringLiteral("40"));
    QVERIFY(d.dialog()->recordResources());
    // Host keys aside, it writes what a new core writes.
    for (const char *key : {"Receive",
                            "Transmit",
                            "Both_Receive_and_Transmit",
                            "Number_of_lanes",
                            "LMFC_Buffer",
                            "Default_F",
                            "Default_K",
                            "Clock_Frequency",
                            "Line_Rate",
                            "Reference_CLK_Source",
                            "Reference_CLK_Frequency",
                            "Loopback_Mode",
                            "DIFFERENTIAL_SWING",
                            "SD_THRESHOLD",
                            "FFEMODE",
                            "Equalization_Mode",
                            "ATT",
                            "BOOST",
                            "FFE_C0",
                            "recordlanes",
                            "Pcs_Width_32bit",
                            "Default_SYSREF_Always",
                            "Default_Scrambling_ON"})
        QVERIFY2(d.parameters().value(key) == newCore.value(key), key);
    QCoreApplication::processEvents();
    QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
}

void ParametersTest::exclusiveGroups_data()
{
    QTest::addColumn<QVariantList>("modes");  // Receive, Transmit, Both
    QTest::addColumn<QString>("modeChecked"); // the radio button left selected
    QTest::addColumn<QVariantList>("widths"); // 32bit, 64bit
    QTest::addColumn<QString>("widthChecked");

    QTest::newRow("all true") << QVariantList{true, true, true} << "Both"
                              << QVariantList{true, true} << "radioButton64Bit";
    QTest::newRow("receive and transmit") << QVariantList{true, true, false} << "Transmit"
                                          << QVariantList{false, true} << "radioButton64Bit";
    QTest::newRow("all false keeps the selection")
        << QVariantList{false, false, false} << "Both" << QVariantList{false, false}
        << "radioButton32Bit";
    QTest::newRow("receive only") << QVariantList{true, false, false} << "Receive"
                                  << QVariantList{true, false} << "radioButton32Bit";
}

void ParametersTest::exclusiveGroups()
{
    QFETCH(QVariantList, modes);
    QFETCH(QString, modeChecked);
    QFETCH(QVariantList, widths);
    QFETCH(QString, widthChecked);

    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    QVERIFY(d.open(versioned({{"Receive", modes.at(0)},
                              {"Transmit", modes.at(1)},
                              {"Both_Receive_and_Transmit", modes.at(2)},
                              {"Pcs_Width_32bit", widths.at(0)},
                              {"Pcs_Width_64bit", widths.at(1)}})));
    QVERIFY(d.widget<QRadioButton>(qPrintable(modeChecked))->isChecked());
    QVERIFY(d.widget<QRadioButton>(qPrintable(widthChecked))->isChecked());
}

void ParametersTest::laneChoicesNotOffered()
{
    // A one-quad device offers no quad 1 lane; unknown texts are no lanes at all.
    OpenDialog d(Devices::groupA(), OpenDialog::Start::Unprepared);
    QVERIFY(d.open(versioned({{"Number_of_lanes", QStringLiteral("3")},
                              {"JESD204B_Lane0_connect_with", QStringLiteral("Q1 Lane0")},
                              {"JESD204B_Lane1_connect_with", QStringLiteral("Q0 Lane3")},
                              {"JESD204B_Lane2_connect_with", QStringLiteral("q0 lane2")},
                              {"PLL_Selection", QStringLiteral("qpll0")}})));
    QCOMPARE(d.laneBox(0)->currentText(), QStringLiteral("Q0 Lane0"));
    QCOMPARE(d.laneBox(1)->currentText(), QStringLiteral("Q0 Lane3"));
    QCOMPARE(d.laneBox(2)->currentText(), QStringLiteral("Q0 Lane2"));
    QVERIFY(d.combo("PLL_Selection")->currentIndex() >= 0);
    QCOMPARE(d.dialog()->usedLanes(), (QStringList{"Q0 Lane0", "Q0 Lane3", "Q0 Lane2"}));
}

void ParametersTest::laneCountNotOffered()
{
    OpenDialog d(Devices::groupB(), OpenDialog::Start::Unprepared);
    QVERIFY(d.open(versioned({{"Number_of_lanes", QStringLiteral("6")}})));
    QCOMPARE(d.combo("comboxNumOfLanes")->currentIndex(), -1);
    for (int row = 0; row < 8; ++row)
        QVERIFY(!d.laneBox(row)->isEnabled());
    QVERIFY(d.dialog()->usedLanes().isEmpty());

    d.parameters().insert(QStringLiteral("stale"), 1);
    QVERIFY(!d.dialog()->recordResources());
    QVERIFY(d.parameters().isEmpty());
}

void ParametersTest::biasDecision_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("decision");

    QTest::newRow("absent") << QVariant() << 0;
    QTest::newRow("true") << QVariant(true) << 1;
    QTest::newRow("false") << QVariant(false) << 2;
}

void ParametersTest::biasDecision()
{
    QFETCH(QVariant, stored);
    QFETCH(int, decision);

    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    ParameterSet set = versioned({{"Number_of_lanes", QStringLiteral("4")}});
    if (stored.isValid())
        set.insert(QStringLiteral("ifChangedAllOfBias"), stored);
    QVERIFY(d.open(set));
    QCOMPARE(d.dialog()->biasDecision(), decision);
}

void ParametersTest::publishedBias_data()
{
    QTest::addColumn<QStringList>("lanes");
    QTest::addColumn<int>("bias");

    // Quad 0 publishes 11, quad 1 publishes 3.
    QTest::newRow("quad 0") << QStringList{"Q0 Lane0", "Q0 Lane1"} << 11;
    QTest::newRow("quad 1") << QStringList{"Q1 Lane2"} << 3;
    QTest::newRow("both quads, quad 1 wins") << QStringList{"Q0 Lane0", "Q1 Lane1"} << 3;
}

void ParametersTest::publishedBias()
{
    QFETCH(QStringList, lanes);
    QFETCH(int, bias);

    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q0_BIAS"), 11);
    IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q1_BIAS"), 3);
    ParameterSet set = versioned(
        {{"Number_of_lanes", QString::number(lanes.size())}, {"ifChangedAllOfBias", true}});
    for (int i = 0; i < lanes.size(); ++i)
        set.insert(QStringLiteral("JESD204B_Lane%1_connect_with").arg(i), lanes.at(i));
    QVERIFY(d.open(set));
    QCOMPARE(d.dialog()->usedLanes(), lanes);
    QCOMPARE(d.widget<QSpinBox>("biasSpinBox")->value(), bias);
    // Set after the bias value, so the value's change does not undo it.
    QCOMPARE(d.dialog()->biasDecision(), 1);
}

std::unique_ptr<QObject> createParametersTest()
{
    return std::make_unique<ParametersTest>();
}

#include "tst_parameters.moc"
