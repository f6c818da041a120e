#include "dialogfixture.h"
#include "messageboxwatcher.h"

#include <serdesfunctions.h>

#include <QLabel>
#include <QTest>

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
        QCOMPARE(mismatches(d.parameters(), expected), QString());
        QCOMPARE(d.parameters().keys(), expected.keys());
        QCoreApplication::processEvents();
        QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
    }

    // Every key written from changed widgets comes back through applying and writing again.
    void roundTrip()
    {
        const QStringList lanes{"Q1 Lane2", "Q0 Lane1", "Q0 Lane2", "Q1 Lane0"};
        ParameterSet written;
        {
            OpenDialog d;
            d.set("Transmit=1");
            d.chooseLanes(lanes);
            // clang-format off
            const QStringList actions{"rpatGenerator=1", "checkBoxFixedCfgEnable=1", "checkBoxDRPPort=1", "radioButton64Bit=1",
                "defaultSysrefAlw=Always On", "defaultScram=Scrambling ON", "defaultSysrefReq=Required", "refClkSource=Q1 REFCLK1",
                "PLL_Selection=CPLL", "LoopbackMode=LB_FES", "sdThresholdComboBox=150mV", "differeSwingComboBox=420mV",
                "ffeModeCombox=Manual", "equalizationModeCombox=Manual", "defaultF=8", "defaultK=16", "lineEditClkFreq=62.5",
                "lineRate=6.144", "refClkFreq=153.6", "cmSpinBox=1", "c1SpinBox=2", "attSpinBox=3", "boostSpinBox=4"};
            // clang-format on
            for (const QString &action : actions)
                d.set(action);
            QVERIFY(d.dialog()->recordResources());
            written = d.parameters();
        }
        QCOMPARE(mismatches(written, {{"PLL_Selection", "CPLL"},
                                      {"FFE_C0", "37"},
                                      {"Include_RPAT_Generator", true},
                                      {"recordlanes", lanes}}),
                 QString());

        OpenDialog reopened(Devices::twoQuads, OpenDialog::Start::Unprepared);
        QVERIFY(reopened.open(written));
        QVERIFY(reopened.dialog()->recordResources());
        QCOMPARE(mismatches(reopened.parameters(), written), QString());
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
        ParameterSet stored{
            {"target_device", Devices::twoQuads}, {"LMFC_Buffer", "128"}, {"Receive", true}};
        if (version.isValid())
            stored.insert(QStringLiteral("version"), version);
        MessageBoxWatcher watcher;
        QVERIFY(!d.dialog()->setOpening(stored));
        QCOMPARE(watcher.lines(), QStringList{"Error: This version of specified IP Config file is "
                                              "incompatible with current IP Core Generator."});
        QCOMPARE(watcher.boxes().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(watcher.boxes().first().hasIconPixmap);
        // Refused as a whole: the widgets keep the values of a new core.
        QCOMPARE(d.unmet({{"comboBoxLmfcBuffer.currentText", "1024"}, {"Both.checked", true}}),
                 QString());
    }

    // Exclusive buttons, choices the dialog does not offer, and the published quad bias.
    void storedSets_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<ParameterSet>("stored");
        QTest::addColumn<ParameterSet>("expected");
        const auto lanes = [](const QStringList &chosen, ParameterSet set) {
            set.insert(QStringLiteral("Number_of_lanes"), QString::number(chosen.size()));
            for (int i = 0; i < chosen.size(); ++i)
                set.insert(QStringLiteral("JESD204B_Lane%1_connect_with").arg(i), chosen.at(i));
            return set;
        };
        // clang-format off
        QTest::newRow("all true: last applied wins") << Devices::twoQuads
            << ParameterSet{{"Receive", true}, {"Transmit", true}, {"Both_Receive_and_Transmit", true}, {"Pcs_Width_32bit", true}, {"Pcs_Width_64bit", true}}
            << ParameterSet{{"Both.checked", true}, {"radioButton64Bit.checked", true}};
        QTest::newRow("receive and transmit") << Devices::twoQuads
            << ParameterSet{{"Receive", true}, {"Transmit", true}, {"Both_Receive_and_Transmit", false}, {"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", true}}
            << ParameterSet{{"Transmit.checked", true}, {"radioButton64Bit.checked", true}};
        QTest::newRow("all false keeps the selection") << Devices::twoQuads
            << ParameterSet{{"Receive", false}, {"Transmit", false}, {"Both_Receive_and_Transmit", false}, {"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", false}}
            << ParameterSet{{"Both.checked", true}, {"radioButton32Bit.checked", true}};
        // A one-quad device offers no quad 1 lane; unknown texts are no lanes at all.
        QTest::newRow("lanes not offered") << Devices::groupA
            << lanes({"Q1 Lane0", "Q0 Lane3", "q0 lane2"}, {{"PLL_Selection", "qpll0"}})
            << ParameterSet{{"usedLanes", QStringList{"Q0 Lane0", "Q0 Lane3", "Q0 Lane2"}}, {"PLL_Selection.currentText", "QPLL1"}};
        QTest::newRow("lane count not offered") << Devices::groupB << ParameterSet{{"Number_of_lanes", "6"}}
            << ParameterSet{{"comboxNumOfLanes.currentIndex", -1}, {"usedLanes", QStringList()}};
        // Quad 0 publishes 11, quad 1 publishes 3.
        QTest::newRow("quad 0 bias, no decision") << Devices::twoQuads << lanes({"Q0 Lane0", "Q0 Lane1"}, {})
            << ParameterSet{{"biasSpinBox.value", 11}, {"biasDecision", 0}};
        QTest::newRow("quad 1 bias, whole quads") << Devices::twoQuads << lanes({"Q1 Lane2"}, {{"ifChangedAllOfBias", true}})
            << ParameterSet{{"biasSpinBox.value", 3}, {"biasDecision", 1}, {"usedLanes", QStringList{"Q1 Lane2"}}};
        QTest::newRow("both quads, declined: quad 1 wins") << Devices::twoQuads << lanes({"Q0 Lane0", "Q1 Lane1"}, {{"ifChangedAllOfBias", false}})
            << ParameterSet{{"biasSpinBox.value", 3}, {"biasDecision", 2}};
        // clang-format on
    }
    void storedSets()
    {
        QFETCH(QString, deviceId);
        QFETCH(ParameterSet, stored);
        OpenDialog d(deviceId, OpenDialog::Start::Unprepared);
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q0_BIAS"), 11);
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q1_BIAS"), 3);
        QVERIFY(d.open(stored));
        // The bias decision is applied after the bias value, whose change would undo it.
        QFETCH(ParameterSet, expected);
        QCOMPARE(d.unmet(expected), QString());
    }

    void resourcesByMode_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("pll");
        QTest::addColumn<QStringList>("laneResources");
        QTest::addColumn<QStringList>("pllResources");
        QTest::addColumn<QStringList>("frontEnd");

        const QStringList rx{"rx_sd_thsel", "rx_eq_mode", "rx_att", "rx_boost"};
        const QStringList tx{"tx_differential_swing", "tx_ffe_mode", "tx_ffe_cm", "tx_ffe_c1",
                             "tx_ffe_c0"};
        // clang-format off
        QTest::newRow("transmit on CPLL") << "Transmit" << "CPLL" << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << tx;
        QTest::newRow("receive on QPLL0") << "Receive" << "QPLL0" << QStringList{"Q0_LANE1_RX", "Q1_LANE0_RX"} << QStringList{"Q0_QPLL0", "Q1_QPLL0"} << rx;
        QTest::newRow("both on QPLL1: receive first") << "Both" << "QPLL1" << QStringList{"Q0_LANE1", "Q1_LANE0"} << QStringList{"Q0_QPLL1", "Q1_QPLL1"} << rx + tx;
        // clang-format on
    }
    void resourcesByMode()
    {
        QFETCH(QString, mode);
        OpenDialog d;
        d.set(mode + "=1");
        d.chooseLanes({"Q0 Lane1", "Q1 Lane0"});
        QFETCH(QString, pll);
        d.set("PLL_Selection=" + pll);
        QCOMPARE(d.combo("PLL_Selection")->currentText(), pll);
        // C0 goes out as its label shows it, not as a number.
        d.widget<QLabel>("c0Lael")->setText(QStringLiteral("040"));

        // A second run starts afresh rather than adding to the first.
        QVERIFY(d.dialog()->recordResources());
        QVERIFY(d.dialog()->recordResources());
        QTEST(d.dialog()->laneResources(), "laneResources");
        QTEST(d.dialog()->pllResources(), "pllResources");
        const QString clock = IPSERDESIP::FromRefOptionToRef(QStringLiteral("Q0 REFCLK0"));
        QCOMPARE(d.dialog()->refClkResources(), (QStringList{clock, clock}));
        QCOMPARE(d.dialog()->refClkFrequencies(), (QStringList{"122.88", "122.88"}));
        const QStringList options = d.dialog()->serdesOptions();
        QStringList frontEnd;
        for (const QString &line : options.filter(
                 QRegularExpression("^q0_ln1_(rx_sd|rx_eq|rx_att|rx_boost|tx_diff|tx_ffe)")))
            frontEnd << line.section(' ', 0, 0).mid(int(qstrlen("q0_ln1_")));
        QTEST(frontEnd, "frontEnd");
        QVERIFY(!frontEnd.contains("tx_ffe_c0") || options.contains("q0_ln1_tx_ffe_c0 040"));
        QCOMPARE(options.filter(QRegularExpression("^q\\d_ln\\d_enable ")),
                 (QStringList{"q0_ln1_enable true", "q1_ln0_enable true"}));
        // The host's reset line closes the list, after the reference clock frequency.
        QCOMPARE(options.mid(options.size() - 2),
                 (QStringList{"q0_refclk0_freq 122.88", "global_reset_enable true"}));
    }

    void acceptOutcome_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("boxes"); // each box's "title: text" starts so
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<ParameterSet>("expected");
        const ParameterSet nothingWritten{{"@version", QVariant()}};
        // clang-format off
        QTest::newRow("transmit only: no bias question") << QStringList{"Transmit=1", "comboxNumOfLanes=1", "Lane0Connect=Q1 Lane3"} << QStringList() << true << ParameterSet{{"@ifChangedAllOfBias", false}, {"@recordlanes", QStringList{"Q1 Lane3"}}};
        QTest::newRow("duplicate lane") << QStringList{"comboxNumOfLanes=3", "Lane0Connect=Q0 Lane1", "Lane1Connect=Q0 Lane2", "Lane2Connect=Q0 Lane1"} << QStringList{"Error: Selected duplicate Q0 Lane1"} << false << nothingWritten;
        QTest::newRow("no lane free") << QStringList{"lanes taken", "Transmit=1", "Both=1"} << QStringList{"Error: No available lanes"} << false << nothingWritten;
        QTest::newRow("no lane row, silently") << QStringList{"comboxNumOfLanes=none"} << QStringList() << false << nothingWritten;
        QTest::newRow("infeasible: written, bias undecided") << QStringList{"Transmit=1", "lineRate=8.0", "refClkFreq=156.25"} << QStringList{"Failure: "} << false << ParameterSet{{"@Line_Rate", "8.0"}, {"@ifChangedAllOfBias", QVariant()}};
        // clang-format on
    }
    void acceptOutcome()
    {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, boxes);
        OpenDialog d;
        for (const QString &action : actions) {
            if (action != QLatin1String("lanes taken")) {
                d.set(action);
                continue;
            }
            // Every lane receives for another core: nothing is left for both directions.
            for (IPSERDESIP::Instance *instance : IPSERDESIP::serdes::instance()->allInstance()) {
                if (auto *lane = dynamic_cast<IPSERDESIP::LANE *>(instance))
                    lane->setLaneStatus(IPSERDESIP::LANE::Receive);
            }
        }
        MessageBoxWatcher watcher;
        d.dialog()->accept();
        QCOMPARE(watcher.lines().size(), boxes.size());
        for (int i = 0; i < boxes.size(); ++i)
            QVERIFY2(watcher.lines().at(i).startsWith(boxes.at(i)),
                     qPrintable(watcher.lines().at(i)));
        QTEST(d.dialog()->result() == QDialog::Accepted, "accepted");
        QFETCH(ParameterSet, expected);
        QCOMPARE(d.unmet(expected), QString());
    }
};

std::unique_ptr<QObject> createParametersTest()
{
    return std::make_unique<ParametersTest>();
}

#include "tst_parameters.moc"
