#include "biasandffe.h"
#include "configforms.h"
#include "dialogfixture.h"
#include "messageboxwatcher.h"

#include <parameterrules.h>
#include <serdesfunctions.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

class DialogTest : public QObject
{
    Q_OBJECT

private slots:
    void deviceRules_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<int>("laneRows");
        // clang-format off
        QTest::newRow("group A") << groupADevice << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFCLK2", "Q0 REFCLK3", "Q0 REFIN0", "Q0 REFIN1"} << 4;
        QTest::newRow("neither") << twoQuadDevice << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q1 REFCLK0", "Q1 REFCLK1"} << 8;
        // clang-format on
    }
    void deviceRules()
    {
        QFETCH(QString, deviceId);
        QFETCH(int, laneRows);
        OpenDialog d(deviceId);
        QTEST(d.items(d.combo("refClkSource")), "sources");
        // Removed rows leave nothing behind in the grid, spacers included.
        QCOMPARE(d.inForm<QGridLayout>("phy_config", "gridLayout_2")->count(), 3 * laneRows);
        for (int row = 0; row < 8; ++row) {
            const auto *label = d.widget<QLabel>(QStringLiteral("labelconect%1").arg(row));
            QCOMPARE(label->text(), QStringLiteral("JESD204B Lane%1 connect with:").arg(row));
            QCOMPARE(label->isHidden(), row >= laneRows);
            QCOMPARE(d.laneBox(row)->isHidden(), row >= laneRows);
        }
        // What a spin box lets the user pick is what the program's gate accepts for its key.
        for (const QString box :
             {"cmSpinBox=FFE_CM", "c1SpinBox=FFE_C1", "attSpinBox=ATT", "boostSpinBox=BOOST"}) {
            const auto *spin = d.widget<QSpinBox>(box.section('=', 0, 0));
            const auto range = IPJESD204B::ParameterRules::rule(box.section('=', 1))->range;
            QCOMPARE(spin->minimum(), int(range.min));
            QCOMPARE(spin->maximum(), int(range.max));
        }
    }

    // Range corrections (the rules are the model's: one row per field shows the wiring), typing
    // limits, core mode, lane count and automatic front-end modes.
    void widgetRules_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<IPSERDESIP::ParameterMap>("expected");

        const QStringList ticked{"comboBoxLmfcBuffer=256", "rpatGenerator=1", "jspatGenerator=1"};
        const auto patterns = [](bool enabled, bool ticked, IPSERDESIP::ParameterMap more = {}) {
            more.insert("rpatGenerator.enabled", enabled);
            more.insert("jspatGenerator.enabled", enabled);
            more.insert("@Include_RPAT_Generator", ticked);
            more.insert("@Include_JSPAT_Generator", ticked);
            return more;
        };
        const auto frontEnd = [](bool enabled, IPSERDESIP::ParameterMap states = {}) {
            states.insert({{"cmSpinBox.value", 0},
                           {"c1SpinBox.value", 0},
                           {"attSpinBox.value", 7},
                           {"boostSpinBox.value", 9}});
            for (const char *name :
                 {"cmSpinBox", "c1SpinBox", "attSpinBox", "boostSpinBox", "afe_config/label",
                  "afe_config/label_2", "afe_config/label_14", "afe_config/label_15"})
                states.insert(name + QStringLiteral(".enabled"), enabled);
            return states;
        };
        // clang-format off
        QTest::newRow("F 257") << QStringList{"defaultF=257"} << IPSERDESIP::ParameterMap{{"defaultF.text", "4"}};
        QTest::newRow("K 33") << QStringList{"defaultK=33"} << IPSERDESIP::ParameterMap{{"defaultK.text", "32"}};
        QTest::newRow("clock 0.5") << QStringList{"lineEditClkFreq=0.5"} << IPSERDESIP::ParameterMap{{"lineEditClkFreq.text", "10.0"}};
        QTest::newRow("rate 12.6") << QStringList{"lineRate=12.6"} << IPSERDESIP::ParameterMap{{"lineRate.text", "4.9152"}};
        QTest::newRow("refclk 500.01") << QStringList{"refClkFreq=500.01"} << IPSERDESIP::ParameterMap{{"refClkFreq.text", "122.88"}};
        QTest::newRow("typed F: three digits") << QStringList{"defaultF+=2567"} << IPSERDESIP::ParameterMap{{"defaultF.text", "256"}};
        QTest::newRow("typed K: two digits, no letters") << QStringList{"defaultK+=3x21"} << IPSERDESIP::ParameterMap{{"defaultK.text", "32"}};
        QTest::newRow("typed clock: two integer digits, six decimals") << QStringList{"lineEditClkFreq+=123.12345678"} << IPSERDESIP::ParameterMap{{"lineEditClkFreq.text", "12.123456"}};
        QTest::newRow("typed rate: two integer digits, eight decimals") << QStringList{"lineRate+=104.9152000012"} << IPSERDESIP::ParameterMap{{"lineRate.text", "10.91520000"}};
        QTest::newRow("typed rate: lone point") << QStringList{"lineRate+=."} << IPSERDESIP::ParameterMap{{"lineRate.text", "."}};
        QTest::newRow("typed refclk: a digit first, three of them") << QStringList{"refClkFreq+=.1228.8"} << IPSERDESIP::ParameterMap{{"refClkFreq.text", "122.8"}};

        QTest::newRow("receive") << ticked + QStringList{"Transmit=1", "Receive=1"} << patterns(false, false, {{"LMFCBuffer.enabled", true}, {"groupBoxRx.hidden", false}, {"groupBoxTx.hidden", true}, {"@LMFC_Buffer", "256"}});
        QTest::newRow("transmit") << ticked + QStringList{"Transmit=1"} << patterns(true, true, {{"LMFCBuffer.enabled", false}, {"groupBoxRx.hidden", true}, {"groupBoxTx.hidden", false}, {"@LMFC_Buffer", "1024"}});
        QTest::newRow("both") << ticked + QStringList{"Transmit=1", "Both=1"} << patterns(true, true, {{"LMFCBuffer.enabled", true}, {"groupBoxRx.hidden", false}, {"groupBoxTx.hidden", false}, {"@LMFC_Buffer", "256"}});
        QTest::newRow("receive, then transmit") << ticked + QStringList{"Receive=1", "Transmit=1"} << patterns(true, false);

        QTest::newRow("no lane count") << QStringList{"comboxNumOfLanes=none"} << IPSERDESIP::ParameterMap{{"Lane0Connect.enabled", false}, {"labelconect0.enabled", false}, {"usedLanes", QStringList()}, {"@recordlanes", QVariant()}};
        QTest::newRow("three lanes") << QStringList{"comboxNumOfLanes=3"} << IPSERDESIP::ParameterMap{{"Lane2Connect.enabled", true}, {"labelconect2.enabled", true}, {"Lane3Connect.enabled", false}, {"labelconect3.enabled", false}, {"Lane7Connect.enabled", false}, {"usedLanes", QStringList{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2"}}};

        QTest::newRow("manual keeps automatic values") << QStringList{"ffeModeCombox=Manual", "equalizationModeCombox=Manual"} << frontEnd(true);
        QTest::newRow("automatic again") << QStringList{"ffeModeCombox=Manual", "equalizationModeCombox=Manual", "cmSpinBox=5", "c1SpinBox=3", "attSpinBox=2", "boostSpinBox=12", "ffeModeCombox=Auto", "equalizationModeCombox=Auto"} << frontEnd(false, {{"c0Lael.text", "40"}});
        // clang-format on
    }
    void widgetRules()
    {
        QFETCH(QStringList, actions);
        QFETCH(IPSERDESIP::ParameterMap, expected);
        OpenDialog d;
        MessageBoxWatcher watcher;
        d.set(actions);
        // Nothing of an earlier set survives recording, written or not.
        d.parameters().insert(QStringLiteral("stale"), 1);
        QCOMPARE(d.dialog()->recordResources(), !d.dialog()->usedLanes().isEmpty());
        QVERIFY(!d.parameters().contains(QStringLiteral("stale")));
        QCOMPARE(d.unmet(expected), QString());
        QCoreApplication::processEvents();
        QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
    }

    // A written set comes back through applying and writing again; a set with only a version
    // and the names comes back as a new core writes it.
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<bool>("storeAll");
        QTest::addColumn<IPSERDESIP::ParameterMap>(
            "expected"); // rows beyond the lane count are written too
        // clang-format off
        const QStringList everyField{"Transmit=1", "comboxNumOfLanes=4", "Lane0Connect=Q1 Lane2", "Lane1Connect=Q0 Lane1", "Lane2Connect=Q0 Lane2", "Lane3Connect=Q1 Lane0",
            "rpatGenerator=1", "checkBoxFixedCfgEnable=1", "checkBoxDRPPort=1", "radioButton64Bit=1", "defaultSysrefAlw=Always On", "defaultScram=Scrambling ON", "defaultSysrefReq=Required",
            "refClkSource=Q1 REFCLK1", "PLL_Selection=CPLL", "LoopbackMode=LB_FES", "sdThresholdComboBox=150mV", "differeSwingComboBox=420mV", "ffeModeCombox=Manual", "equalizationModeCombox=Manual",
            "defaultF=8", "defaultK=16", "lineEditClkFreq=62.5", "lineRate=6.144", "refClkFreq=153.6", "cmSpinBox=1", "c1SpinBox=2", "attSpinBox=3", "boostSpinBox=4"};
        QTest::newRow("every field changed") << everyField << true << IPSERDESIP::ParameterMap{{"@PLL_Selection", "CPLL"}, {"@FFE_C0", "37"}, {"@Include_RPAT_Generator", true}, {"@recordlanes", QStringList{"Q1 Lane2", "Q0 Lane1", "Q0 Lane2", "Q1 Lane0"}}, {"@JESD204B_Lane7_connect_with", "Q1 Lane3"}};
        QTest::newRow("only a version and the names") << QStringList() << false << IPSERDESIP::ParameterMap{{"@Both_Receive_and_Transmit", true}, {"@JESD204B_Lane7_connect_with", "Q1 Lane3"}};
        // clang-format on
    }
    void roundTrip()
    {
        QFETCH(QStringList, actions);
        QFETCH(bool, storeAll);
        IPSERDESIP::ParameterMap written;
        {
            OpenDialog d;
            d.set(actions);
            QVERIFY(d.dialog()->recordResources());
            written = d.parameters();
            QFETCH(IPSERDESIP::ParameterMap, expected);
            QCOMPARE(d.unmet(expected), QString());
        }

        OpenDialog reopened(twoQuadDevice, OpenDialog::Start::Unprepared);
        // File and module names are the host's, not the dialog's.
        const IPSERDESIP::ParameterMap names{{"file", written.value("file")},
                                             {"module", written.value("module")}};
        QVERIFY(reopened.open(storeAll ? written : names));
        QCOMPARE(reopened.dialog()->labelText(), QStringLiteral("JESD204B Link Core"));
        QVERIFY(reopened.dialog()->recordResources());
        QCOMPARE(mismatches(reopened.parameters(), written), QString());
        QCOMPARE(reopened.parameters().keys(), written.keys());
    }

    // The version gate, exclusive buttons, choices the dialog does not offer, the quad bias.
    void storedSets_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<IPSERDESIP::ParameterMap>("stored");
        QTest::addColumn<IPSERDESIP::ParameterMap>("expected");
        const auto lanes = [](const QStringList &chosen, IPSERDESIP::ParameterMap set) {
            set.insert(QStringLiteral("Number_of_lanes"), QString::number(chosen.size()));
            for (int i = 0; i < chosen.size(); ++i)
                set.insert(QStringLiteral("JESD204B_Lane%1_connect_with").arg(i), chosen.at(i));
            return set;
        };
        // clang-format off
        // Refused as a whole: the widgets keep the values of a new core.
        const IPSERDESIP::ParameterMap refused{{"comboBoxLmfcBuffer.currentText", "1024"}, {"Both.checked", true}};
        QTest::newRow("version with a trailing blank") << twoQuadDevice << IPSERDESIP::ParameterMap{{"version", "1.0 "}, {"LMFC_Buffer", "128"}, {"Receive", true}} << refused;
        QTest::newRow("version as a number") << twoQuadDevice << IPSERDESIP::ParameterMap{{"version", 1.0}, {"LMFC_Buffer", "128"}, {"Receive", true}} << refused;
        QTest::newRow("all true: last applied wins") << twoQuadDevice << IPSERDESIP::ParameterMap{{"Receive", true}, {"Transmit", true}, {"Both_Receive_and_Transmit", true}, {"Pcs_Width_32bit", true}, {"Pcs_Width_64bit", true}} << IPSERDESIP::ParameterMap{{"Both.checked", true}, {"radioButton64Bit.checked", true}};
        QTest::newRow("all false keeps the selection") << twoQuadDevice << IPSERDESIP::ParameterMap{{"Receive", false}, {"Transmit", false}, {"Both_Receive_and_Transmit", false}, {"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", false}} << IPSERDESIP::ParameterMap{{"Both.checked", true}, {"radioButton32Bit.checked", true}};
        // A one-quad device offers no quad 1 lane; unknown texts are no lanes at all.
        QTest::newRow("lanes not offered") << groupADevice << lanes({"Q1 Lane0", "Q0 Lane3", "q0 lane2"}, {{"PLL_Selection", "qpll0"}}) << IPSERDESIP::ParameterMap{{"usedLanes", QStringList{"Q0 Lane0", "Q0 Lane3", "Q0 Lane2"}}, {"PLL_Selection.currentText", "QPLL1"}};
        QTest::newRow("lane count not offered") << groupBDevice << IPSERDESIP::ParameterMap{{"Number_of_lanes", "6"}} << IPSERDESIP::ParameterMap{{"comboxNumOfLanes.currentIndex", -1}, {"usedLanes", QStringList()}};
        // Quad 0 publishes 11, quad 1 publishes 3.
        QTest::newRow("quad 0 bias, no decision") << twoQuadDevice << lanes({"Q0 Lane0", "Q0 Lane1"}, {}) << IPSERDESIP::ParameterMap{{"biasSpinBox.value", 11}, {"biasDecision", 0}};
        QTest::newRow("quad 1 bias, whole quads") << twoQuadDevice << lanes({"Q1 Lane2"}, {{"ifChangedAllOfBias", true}}) << IPSERDESIP::ParameterMap{{"biasSpinBox.value", 3}, {"biasDecision", 1}, {"usedLanes", QStringList{"Q1 Lane2"}}};
        QTest::newRow("both quads, declined: quad 1 wins") << twoQuadDevice << lanes({"Q0 Lane0", "Q1 Lane1"}, {{"ifChangedAllOfBias", false}}) << IPSERDESIP::ParameterMap{{"biasSpinBox.value", 3}, {"biasDecision", 2}};
        // clang-format on
    }
    void storedSets()
    {
        QFETCH(QString, deviceId);
        QFETCH(IPSERDESIP::ParameterMap, stored);
        OpenDialog d(deviceId, OpenDialog::Start::Unprepared);
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q0_BIAS"), 11);
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q1_BIAS"), 3);
        MessageBoxWatcher watcher;
        // A row that gives a version gives one the gate refuses.
        const bool accepted = !stored.contains(QStringLiteral("version"));
        QCOMPARE(d.open(stored), accepted);
        QCoreApplication::processEvents();
        QCOMPARE(watcher.lines(),
                 accepted ? QStringList()
                          : QStringList{"Error: This version of specified IP Config file is "
                                        "incompatible with current IP Core Generator."});
        QVERIFY(accepted || (watcher.boxes().first().buttons == QMessageBox::Ok &&
                             watcher.boxes().first().hasIconPixmap));
        // The bias decision is applied after the bias value, whose change would undo it.
        QFETCH(IPSERDESIP::ParameterMap, expected);
        QCOMPARE(d.unmet(expected), QString());
    }

    void resourcesByMode_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("pll");
        QTest::addColumn<QStringList>("laneResources");
        QTest::addColumn<QStringList>("pllResources");
        QTest::addColumn<QStringList>("frontEnd"); // one line of each group, in order
        // clang-format off
        QTest::newRow("transmit on CPLL") << "Transmit" << "CPLL" << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << QStringList{"q0_ln1_tx_ffe_c0 040"};
        QTest::newRow("receive on QPLL0") << "Receive" << "QPLL0" << QStringList{"Q0_LANE1_RX", "Q1_LANE0_RX"} << QStringList{"Q0_QPLL0", "Q1_QPLL0"} << QStringList{"q0_ln1_rx_att 7"};
        QTest::newRow("both on QPLL1: receive first") << "Both" << "QPLL1" << QStringList{"Q0_LANE1", "Q1_LANE0"} << QStringList{"Q0_QPLL1", "Q1_QPLL1"} << QStringList{"q0_ln1_rx_att 7", "q0_ln1_tx_ffe_c0 040"};
        // clang-format on
    }
    void resourcesByMode()
    {
        QFETCH(QString, mode);
        QFETCH(QString, pll);
        OpenDialog d;
        d.set({mode + "=1", "Lane0Connect=Q0 Lane1", "Lane1Connect=Q1 Lane0",
               "PLL_Selection=" + pll});
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
        QTEST(options.filter(QRegularExpression("^q0_ln1_(rx_att|tx_ffe_c0) ")), "frontEnd");
        QCOMPARE(options.filter(QRegularExpression("^q\\d_ln\\d_enable ")),
                 (QStringList{"q0_ln1_enable true", "q1_ln0_enable true"}));
        // The host's reset line closes the list, after the reference clock frequency.
        QCOMPARE(options.mid(options.size() - 2),
                 (QStringList{"q0_refclk0_freq 122.88", "global_reset_enable true"}));
    }

    // The bias and FFE rules on a bare AFE form: quad 0 publishes 11, quad 1 publishes 3.
    void biasAndFfeAlone_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<int>("bias");
        QTest::addColumn<int>("tap"); // Cm and C1
        QTest::addColumn<QStringList>("boxes");
        // clang-format off
        QTest::newRow("one quad, C0 22") << QStringList{"Q1 Lane2"} << 3 << 9 << QStringList();
        QTest::newRow("two quads, C0 20") << QStringList{"Q0 Lane0", "Q1 Lane1"} << 7 << 10 << QStringList{"Warning: C0 must be greater than 20."};
        // clang-format on
    }
    void biasAndFfeAlone()
    {
        QFETCH(QStringList, lanes);
        QFETCH(int, tap);
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->reset();
        model->setData(QStringLiteral("Q0_BIAS"), 11);
        model->setData(QStringLiteral("Q1_BIAS"), 3);
        QWidget page;
        IPJESD204B::afe_config afe;
        afe.setupUi(&page);
        IPJESD204B::BiasAndFfe rules(afe, &page);
        afe.biasSpinBox->setValue(12);
        rules.updateDefault(lanes);
        QTEST(afe.biasSpinBox->value(), "bias");

        MessageBoxWatcher watcher;
        afe.cmSpinBox->setValue(tap);
        afe.c1SpinBox->setValue(tap);
        QCOMPARE(rules.calculateMainTap(), tap < 10);
        QCoreApplication::processEvents();
        QTEST(watcher.lines(), "boxes");

        // A stored agreement publishes the value the box shows then, for every quad in use.
        rules.restore(lanes, {{"ifChangedAllOfBias", true}});
        afe.biasSpinBox->setValue(5);
        IPSERDESIP::ParameterMap set;
        rules.publish(lanes, set);
        QCOMPARE(set.value("ifChangedAllOfBias"), QVariant(true));
        QCOMPARE(model->getData(QStringLiteral("Q1_BIAS")), QVariant(5));
        QCOMPARE(model->getData(QStringLiteral("Q0_BIAS")), QVariant(lanes.size() == 2 ? 5 : 11));
    }

    // The dialog opens at a size that shows every tab title whole, whatever the font: here one
    // much larger than the default.
    void tabTitlesWhole()
    {
        struct FontGuard
        {
            const QFont saved = QApplication::font();
            ~FontGuard() { QApplication::setFont(saved); }
        } guard;
        QFont font = guard.saved;
        font.setPointSizeF(font.pointSizeF() + 9);
        QApplication::setFont(font);
        OpenDialog d(groupBDevice);
        d.dialog()->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.dialog()));
        const auto *tabs = d.widget<QTabWidget>(QStringLiteral("protocolTabs"));
        const QTabBar *bar = tabs->tabBar();
        QCOMPARE(bar->count(), 4);
        // The label is drawn inside the tab less the style's horizontal padding.
        const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            const int shown = bar->tabRect(i).width() - padding;
            QVERIFY2(shown >= QFontMetrics(bar->font()).horizontalAdvance(bar->tabText(i)),
                     qPrintable(bar->tabText(i)));
            QVERIFY(bar->rect().contains(bar->tabRect(i)));
        }
        QVERIFY(tabs->rect().contains(bar->geometry()));

        // Made narrower than it opens, the dialog keeps every tab in sight, its title whole in
        // the tool tip.
        d.dialog()->resize(d.dialog()->minimumSizeHint().width(), d.dialog()->height());
        QCoreApplication::processEvents();
        for (int i = 0; i < bar->count(); ++i) {
            QVERIFY2(bar->rect().contains(bar->tabRect(i)), qPrintable(bar->tabText(i)));
            QCOMPARE(bar->tabToolTip(i), bar->tabText(i));
        }
    }
};

QTEST_MAIN(DialogTest)
#include "tst_dialog.moc"
