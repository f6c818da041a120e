#include "dialogfixture.h"
#include "messageboxwatcher.h"

#include <QGridLayout>
#include <QTest>

class SetupTest : public QObject
{
    Q_OBJECT

private slots:
    void deviceRules_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<int>("laneRows");
        // clang-format off
        QTest::newRow("group A") << Devices::groupA << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFCLK2", "Q0 REFCLK3", "Q0 REFIN0", "Q0 REFIN1"} << 4;
        QTest::newRow("group B") << Devices::groupB << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFIN", "MCLK"} << 4;
        QTest::newRow("neither") << Devices::twoQuads << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q1 REFCLK0", "Q1 REFCLK1"} << 8;
        // clang-format on
    }
    void deviceRules()
    {
        QFETCH(QString, deviceId);
        QFETCH(int, laneRows);
        OpenDialog d(deviceId);
        QComboBox *sources = d.combo("refClkSource");
        QStringList items;
        for (int i = 0; i < sources->count(); ++i) {
            items << sources->itemText(i);
            QCOMPARE(sources->itemData(i), QVariant(i));
        }
        QTEST(items, "sources");

        auto *grid = d.inForm<QGridLayout>("phy_config", "gridLayout_2");
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(d.laneBox(row)->isHidden(), row >= laneRows);
            QCOMPARE(d.widget<QWidget>(QStringLiteral("labelconect%1").arg(row))->isHidden(),
                     row >= laneRows);
            // Removed rows leave nothing behind in the grid, spacers included.
            for (int column = 0; column < 3; ++column)
                QCOMPARE(grid->itemAtPosition(row, column) != nullptr, row < laneRows);
        }
    }

    // Range corrections, typing limits, core mode, lane count and automatic front-end modes.
    void widgetRules_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<ParameterSet>("expected");

        const auto with = [](ParameterSet states, const ParameterSet &more) {
            states.insert(more);
            return states;
        };
        const QStringList ticked{"comboBoxLmfcBuffer=256", "rpatGenerator=1", "jspatGenerator=1"};
        const auto patterns = [](bool enabled, bool ticked) {
            return ParameterSet{
                {"rpatGenerator.enabled", enabled},  {"jspatGenerator.enabled", enabled},
                {"rpatGenerator.checked", ticked},   {"jspatGenerator.checked", ticked},
                {"@Include_RPAT_Generator", ticked}, {"@Include_JSPAT_Generator", ticked}};
        };
        const auto frontEnd = [](bool enabled, int cm, int att, int boost) {
            ParameterSet states{{"cmSpinBox.value", cm},
                                {"c1SpinBox.value", 0},
                                {"attSpinBox.value", att},
                                {"boostSpinBox.value", boost}};
            for (const char *name :
                 {"cmSpinBox", "c1SpinBox", "attSpinBox", "boostSpinBox", "afe_config/label",
                  "afe_config/label_2", "afe_config/label_14", "afe_config/label_15"})
                states.insert(name + QStringLiteral(".enabled"), enabled);
            return states;
        };
        const auto lanes = [](int count) {
            QStringList used;
            for (int i = 0; i < count; ++i)
                used << QStringLiteral("Q%1 Lane%2").arg(i / 4).arg(i % 4);
            return used;
        };
        // clang-format off
        QTest::newRow("F 0") << QStringList{"defaultF=0"} << ParameterSet{{"defaultF.text", "4"}};
        QTest::newRow("F 257") << QStringList{"defaultF=257"} << ParameterSet{{"defaultF.text", "4"}};
        QTest::newRow("F 256") << QStringList{"defaultF=256"} << ParameterSet{{"defaultF.text", "256"}};
        QTest::newRow("K 0") << QStringList{"defaultK=0"} << ParameterSet{{"defaultK.text", "32"}};
        QTest::newRow("K 33") << QStringList{"defaultK=33"} << ParameterSet{{"defaultK.text", "32"}};
        QTest::newRow("K 1") << QStringList{"defaultK=1"} << ParameterSet{{"defaultK.text", "1"}};
        QTest::newRow("clock 0.5") << QStringList{"lineEditClkFreq=0.5"} << ParameterSet{{"lineEditClkFreq.text", "10.0"}};
        QTest::newRow("clock empty") << QStringList{"lineEditClkFreq="} << ParameterSet{{"lineEditClkFreq.text", "10.0"}};
        QTest::newRow("clock 100") << QStringList{"lineEditClkFreq=100"} << ParameterSet{{"lineEditClkFreq.text", "100"}};
        QTest::newRow("clock 1, trailing point") << QStringList{"lineEditClkFreq=1."} << ParameterSet{{"lineEditClkFreq.text", "1."}};
        QTest::newRow("rate 12.5") << QStringList{"lineRate=12.5"} << ParameterSet{{"lineRate.text", "12.5"}};
        QTest::newRow("rate 12.6") << QStringList{"lineRate=12.6"} << ParameterSet{{"lineRate.text", "4.9152"}};
        QTest::newRow("rate trailing point") << QStringList{"lineRate=5."} << ParameterSet{{"lineRate.text", "4.9152"}};
        QTest::newRow("refclk 49.99") << QStringList{"refClkFreq=49.99"} << ParameterSet{{"refClkFreq.text", "122.88"}};
        QTest::newRow("refclk 500.01") << QStringList{"refClkFreq=500.01"} << ParameterSet{{"refClkFreq.text", "122.88"}};
        QTest::newRow("refclk 50") << QStringList{"refClkFreq=50"} << ParameterSet{{"refClkFreq.text", "50"}};
        QTest::newRow("refclk 500, trailing point") << QStringList{"refClkFreq=500."} << ParameterSet{{"refClkFreq.text", "500."}};
        QTest::newRow("typed F: three digits") << QStringList{"defaultF+=2567"} << ParameterSet{{"defaultF.text", "256"}};
        QTest::newRow("typed K: two digits, no letters") << QStringList{"defaultK+=3x21"} << ParameterSet{{"defaultK.text", "32"}};
        QTest::newRow("typed clock: 100") << QStringList{"lineEditClkFreq+=100"} << ParameterSet{{"lineEditClkFreq.text", "100"}};
        QTest::newRow("typed clock: two integer digits, six decimals") << QStringList{"lineEditClkFreq+=123.12345678"} << ParameterSet{{"lineEditClkFreq.text", "12.123456"}};
        QTest::newRow("typed rate: two integer digits, eight decimals") << QStringList{"lineRate+=104.9152000012"} << ParameterSet{{"lineRate.text", "10.91520000"}};
        QTest::newRow("typed rate: lone point") << QStringList{"lineRate+=."} << ParameterSet{{"lineRate.text", "."}};
        QTest::newRow("typed refclk: a digit first, three of them") << QStringList{"refClkFreq+=.1228.8"} << ParameterSet{{"refClkFreq.text", "122.8"}};

        QTest::newRow("receive") << ticked + QStringList{"Transmit=1", "Receive=1"} << with(patterns(false, false), {{"LMFCBuffer.enabled", true}, {"groupBoxRx.hidden", false}, {"groupBoxTx.hidden", true}, {"@LMFC_Buffer", "256"}});
        QTest::newRow("transmit") << ticked + QStringList{"Transmit=1"} << with(patterns(true, true), {{"LMFCBuffer.enabled", false}, {"groupBoxRx.hidden", true}, {"groupBoxTx.hidden", false}, {"@LMFC_Buffer", "1024"}});
        QTest::newRow("both") << ticked + QStringList{"Transmit=1", "Both=1"} << with(patterns(true, true), {{"LMFCBuffer.enabled", true}, {"groupBoxRx.hidden", false}, {"groupBoxTx.hidden", false}, {"@LMFC_Buffer", "256"}});
        QTest::newRow("receive, then transmit") << ticked + QStringList{"Receive=1", "Transmit=1"} << patterns(true, false);

        QTest::newRow("no lane count") << QStringList{"comboxNumOfLanes=none"} << ParameterSet{{"Lane0Connect.enabled", false}, {"labelconect0.enabled", false}, {"usedLanes", QStringList()}, {"@recordlanes", QVariant()}};
        QTest::newRow("three lanes") << QStringList{"comboxNumOfLanes=3"} << ParameterSet{{"Lane2Connect.enabled", true}, {"labelconect2.enabled", true}, {"Lane3Connect.enabled", false}, {"labelconect3.enabled", false}, {"Lane7Connect.enabled", false}, {"usedLanes", lanes(3)}};
        QTest::newRow("eight lanes") << QStringList{"comboxNumOfLanes=8"} << ParameterSet{{"Lane7Connect.enabled", true}, {"labelconect7.enabled", true}, {"usedLanes", lanes(8)}};

        QTest::newRow("new core") << QStringList() << with(frontEnd(false, 0, 7, 9), {{"refClkFreq.enabled", true}, {"c0Lael.text", "40"}, {"biasDecision", 0}});
        QTest::newRow("manual keeps automatic values") << QStringList{"ffeModeCombox=Manual", "equalizationModeCombox=Manual"} << frontEnd(true, 0, 7, 9);
        QTest::newRow("automatic again") << QStringList{"ffeModeCombox=Manual", "equalizationModeCombox=Manual", "cmSpinBox=5", "c1SpinBox=3", "attSpinBox=2", "boostSpinBox=12", "ffeModeCombox=Auto", "equalizationModeCombox=Auto"} << with(frontEnd(false, 0, 7, 9), {{"c0Lael.text", "40"}});
        // clang-format on
    }
    void widgetRules()
    {
        QFETCH(QStringList, actions);
        QFETCH(ParameterSet, expected);
        OpenDialog d;
        MessageBoxWatcher watcher;
        for (const QString &action : actions)
            d.set(action);
        // Nothing of an earlier set survives recording, written or not.
        d.parameters().insert(QStringLiteral("stale"), 1);
        QCOMPARE(d.dialog()->recordResources(), !d.dialog()->usedLanes().isEmpty());
        QVERIFY(!d.parameters().contains(QStringLiteral("stale")));
        QCOMPARE(d.unmet(expected), QString());
        QCoreApplication::processEvents();
        QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
    }
};

std::unique_ptr<QObject> createSetupTest()
{
    return std::make_unique<SetupTest>();
}

#include "tst_setup.moc"
