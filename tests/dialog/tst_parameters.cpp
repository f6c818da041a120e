#include "dialogfixture.h"
#include "messageboxwatcher.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QTest>

namespace {

// The expected entries that the written set lacks or holds with another value or type.
QStringList mismatches(const ParameterSet &written, const ParameterSet &expected)
{
    QStringList out;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QVariant actual = written.value(it.key());
        if (actual.userType() != it.value().userType() || actual != it.value())
            out << it.key() + ": " + actual.toString() + " (" + actual.typeName() + ")";
    }
    return out;
}

} // namespace

class ParametersTest : public QObject
{
    Q_OBJECT

private slots:
    void writesDefaults_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("new core") << false;
        QTest::newRow("stored set with only a version") << true;
    }
    void writesDefaults()
    {
        QFETCH(bool, stored);
        OpenDialog d(Devices::twoQuads,
                     stored ? OpenDialog::Start::Unprepared : OpenDialog::Start::NewCore);
        MessageBoxWatcher watcher;
        QVERIFY(!stored || d.open({}));
        QCOMPARE(d.dialog()->labelText(), QStringLiteral("JESD204B Link Core"));
        QCOMPARE(d.dialog()->helpText(), QStringLiteral("help/jesd204b.html"));
        QCOMPARE(d.dialog()->biasDecision(), 0);
        QVERIFY(d.widget<QLineEdit>("refClkFreq")->isEnabled());

        QVERIFY(d.dialog()->recordResources());
        const IPJESD204B::jesd204bdlg *dlg = d.dialog();
        // clang-format off
        ParameterSet expected{
            {"target_device", Devices::twoQuads}, {"type", "jesd204b"}, {"version", "1.0"},
            {"Synthesis_tool", dlg->uiSynthesisTool()}, {"LANG", dlg->uiLanguageIndex()},
            {"file", dlg->fileName()}, {"module", dlg->moduleName()},
            {"recordlanes", QStringList{"Q0 Lane0", "Q0 Lane1"}},
            {"Receive", false}, {"Transmit", false}, {"Both_Receive_and_Transmit", true},
            {"Number_of_lanes", "2"}, {"LMFC_Buffer", "1024"},
            {"Include_RPAT_Generator", false}, {"Include_JSPAT_Generator", false},
            {"Default_SYSREF_Always", "Always Off"}, {"Default_Scrambling_ON", "Scrambling OFF"},
            {"Default_F", "4"}, {"Default_K", "32"}, {"Default_SYSREF_Required_on_Re-Sync", "Not Required"},
            {"Fixed_Config_Enable", false}, {"Clock_Frequency", "10.0"}, {"Line_Rate", "4.9152"},
            {"Pcs_Width_32bit", true}, {"Pcs_Width_64bit", false},
            {"Reference_CLK_Source", "Q0 REFCLK0"}, {"Reference_CLK_Frequency", "122.88"},
            {"PLL_Selection", "QPLL1"}, {"Loopback_Mode", "OFF"},
            {"DIFFERENTIAL_SWING", "900mV"}, {"FFEMODE", "Auto"}, {"FFE_CM", 0}, {"FFE_C1", 0},
            {"FFE_C0", "40"}, {"SD_THRESHOLD", "100mV"}, {"Equalization_Mode", "Auto"},
            {"ATT", 7}, {"BOOST", 9}, {"DRP_Ports", false},
        };
        // clang-format on
        // Rows beyond the lane count are written too, each with a lane of its own.
        for (int row = 0; row < 8; ++row) {
            QVERIFY(!d.laneBox(row)->currentText().isEmpty());
            expected.insert(QStringLiteral("JESD204B_Lane%1_connect_with").arg(row),
                            d.laneBox(row)->currentText());
        }
        QCOMPARE(mismatches(d.parameters(), expected), QStringList());
        QCOMPARE(d.parameters().keys(), expected.keys());
        QCoreApplication::processEvents();
        QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
    }

    // Every key written from changed widgets comes back through applying and writing again.
    void roundTrip()
    {
        ParameterSet written;
        {
            OpenDialog d;
            d.setMode(QStringLiteral("Receive"));
            d.chooseLanes({"Q1 Lane2", "Q0 Lane1", "Q0 Lane2", "Q1 Lane0"});
            d.widget<QCheckBox>("checkBoxFixedCfgEnable")->setChecked(true);
            d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(true);
            d.widget<QRadioButton>("radioButton64Bit")->setChecked(true);
            const QList<QPair<const char *, const char *>> choices{
                {"comboBoxLmfcBuffer", "512"},       {"defaultSysrefAlw", "Always On"},
                {"defaultScram", "Scrambling ON"},   {"defaultSysrefReq", "Required"},
                {"refClkSource", "Q1 REFCLK1"},      {"PLL_Selection", "CPLL"},
                {"LoopbackMode", "LB_FES"},          {"sdThresholdComboBox", "150mV"},
                {"differeSwingComboBox", "420mV"},   {"ffeModeCombox", "Manual"},
                {"equalizationModeCombox", "Manual"}};
            for (const auto &choice : choices)
                d.combo(choice.first)->setCurrentText(choice.second);
            for (const auto &edit : {QPair<const char *, const char *>{"defaultF", "8"},
                                     {"defaultK", "16"},
                                     {"lineEditClkFreq", "62.5"},
                                     {"lineRate", "6.144"},
                                     {"refClkFreq", "153.6"}})
                d.edit(edit.first, edit.second);
            int value = 0;
            for (const char *spin : {"cmSpinBox", "c1SpinBox", "attSpinBox", "boostSpinBox"})
                d.widget<QSpinBox>(spin)->setValue(++value);
            QVERIFY(d.dialog()->recordResources());
            written = d.parameters();
        }
        QCOMPARE(written.value("PLL_Selection").toString(), QStringLiteral("CPLL"));
        QCOMPARE(written.value("FFE_C0").toString(), QStringLiteral("37"));
        QCOMPARE(written.value("recordlanes").toStringList().first(), QStringLiteral("Q1 Lane2"));

        OpenDialog reopened(Devices::twoQuads, OpenDialog::Start::Unprepared);
        QVERIFY(reopened.open(written));
        QVERIFY(reopened.dialog()->recordResources());
        QCOMPARE(mismatches(reopened.parameters(), written), QStringList());
        QCOMPARE(reopened.parameters().keys(), written.keys());
    }

    void versionGate_data()
    {
        QTest::addColumn<QVariant>("version");
        QTest::newRow("absent") << QVariant();
        QTest::newRow("1.1") << QVariant(QStringLiteral("1.1"));
        QTest::newRow("trailing blank") << QVariant(QStringLiteral("1.0 "));
        QTest::newRow("number 1.0") << QVariant(1.0);
    }
    void versionGate()
    {
        QFETCH(QVariant, version);
        OpenDialog d(Devices::twoQuads, OpenDialog::Start::Unprepared);
        ParameterSet stored{{"target_device", Devices::twoQuads},
                            {"LMFC_Buffer", "128"},
                            {"Default_F", "12"},
                            {"Receive", true}};
        if (version.isValid())
            stored.insert(QStringLiteral("version"), version);
        MessageBoxWatcher watcher;
        QVERIFY(!d.dialog()->setOpening(stored));
        QCOMPARE(watcher.lines(), QStringList{"Error: This version of specified IP Config file is "
                                              "incompatible with current IP Core Generator."});
        QCOMPARE(watcher.boxes().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(watcher.boxes().first().hasIconPixmap);
        // Refused as a whole: the widgets keep the values of a new core.
        QCOMPARE(d.combo("comboBoxLmfcBuffer")->currentText(), QStringLiteral("1024"));
        QCOMPARE(d.widget<QLineEdit>("defaultF")->text(), QStringLiteral("4"));
        QVERIFY(d.widget<QRadioButton>("Both")->isChecked());
    }

    void exclusiveGroups_data()
    {
        QTest::addColumn<QVariantList>("modes");  // Receive, Transmit, Both
        QTest::addColumn<QString>("modeChecked"); // the radio button left selected
        QTest::addColumn<QVariantList>("widths"); // 32bit, 64bit
        QTest::addColumn<QString>("widthChecked");
        // clang-format off
        QTest::newRow("all true") << QVariantList{true, true, true} << "Both" << QVariantList{true, true} << "radioButton64Bit";
        QTest::newRow("receive and transmit") << QVariantList{true, true, false} << "Transmit" << QVariantList{false, true} << "radioButton64Bit";
        QTest::newRow("all false keeps the selection") << QVariantList{false, false, false} << "Both" << QVariantList{false, false} << "radioButton32Bit";
        QTest::newRow("receive only") << QVariantList{true, false, false} << "Receive" << QVariantList{true, false} << "radioButton32Bit";
        // clang-format on
    }
    void exclusiveGroups()
    {
        QFETCH(QVariantList, modes);
        QFETCH(QVariantList, widths);
        OpenDialog d(Devices::twoQuads, OpenDialog::Start::Unprepared);
        QVERIFY(d.open({{"Receive", modes.at(0)},
                        {"Transmit", modes.at(1)},
                        {"Both_Receive_and_Transmit", modes.at(2)},
                        {"Pcs_Width_32bit", widths.at(0)},
                        {"Pcs_Width_64bit", widths.at(1)}}));
        QFETCH(QString, modeChecked);
        QFETCH(QString, widthChecked);
        QVERIFY(d.widget<QRadioButton>(modeChecked)->isChecked());
        QVERIFY(d.widget<QRadioButton>(widthChecked)->isChecked());
    }

    void choicesNotOffered()
    {
        // A one-quad device offers no quad 1 lane; unknown texts are no lanes at all.
        OpenDialog d(Devices::groupA, OpenDialog::Start::Unprepared);
        QVERIFY(d.open({{"Number_of_lanes", "3"},
                        {"JESD204B_Lane0_connect_with", "Q1 Lane0"},
                        {"JESD204B_Lane1_connect_with", "Q0 Lane3"},
                        {"JESD204B_Lane2_connect_with", "q0 lane2"},
                        {"PLL_Selection", "qpll0"}}));
        QCOMPARE(d.dialog()->usedLanes(), (QStringList{"Q0 Lane0", "Q0 Lane3", "Q0 Lane2"}));
        QVERIFY(d.combo("PLL_Selection")->currentIndex() >= 0);

        // A lane count not offered leaves none chosen, so no lane row at all.
        OpenDialog other(Devices::groupB, OpenDialog::Start::Unprepared);
        QVERIFY(other.open({{"Number_of_lanes", "6"}}));
        QCOMPARE(other.combo("comboxNumOfLanes")->currentIndex(), -1);
        QVERIFY(other.dialog()->usedLanes().isEmpty());
    }

    void storedBias_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<QVariant>("stored"); // "ifChangedAllOfBias"; invalid: absent
        QTest::addColumn<int>("bias");
        QTest::addColumn<int>("decision");
        // Quad 0 publishes 11, quad 1 publishes 3.
        // clang-format off
        QTest::newRow("quad 0, no decision") << QStringList{"Q0 Lane0", "Q0 Lane1"} << QVariant() << 11 << 0;
        QTest::newRow("quad 1, whole quads") << QStringList{"Q1 Lane2"} << QVariant(true) << 3 << 1;
        QTest::newRow("both quads, declined: quad 1 wins") << QStringList{"Q0 Lane0", "Q1 Lane1"} << QVariant(false) << 3 << 2;
        // clang-format on
    }
    void storedBias()
    {
        QFETCH(QStringList, lanes);
        QFETCH(QVariant, stored);
        OpenDialog d(Devices::twoQuads, OpenDialog::Start::Unprepared);
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q0_BIAS"), 11);
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q1_BIAS"), 3);
        ParameterSet set{{"Number_of_lanes", QString::number(lanes.size())}};
        if (stored.isValid())
            set.insert(QStringLiteral("ifChangedAllOfBias"), stored);
        for (int i = 0; i < lanes.size(); ++i)
            set.insert(QStringLiteral("JESD204B_Lane%1_connect_with").arg(i), lanes.at(i));
        QVERIFY(d.open(set));
        QCOMPARE(d.dialog()->usedLanes(), lanes);
        QTEST(d.widget<QSpinBox>("biasSpinBox")->value(), "bias");
        // Set after the bias value, so the value's change does not undo it.
        QTEST(d.dialog()->biasDecision(), "decision");
    }
};

std::unique_ptr<QObject> createParametersTest()
{
    return std::make_unique<ParametersTest>();
}

#include "tst_parameters.moc"
