#include "dialogfixture.h"
#include "messageboxwatcher.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
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
        QTEST(d.items("refClkSource"), "sources");
        for (int i = 0; i < d.combo("refClkSource")->count(); ++i)
            QCOMPARE(d.combo("refClkSource")->itemData(i), QVariant(i));
        QCOMPARE(d.combo("refClkSource")->currentText(), QStringLiteral("Q0 REFCLK0"));

        auto *page = d.widget<QWidget>("IPJESD204B__phy_config");
        auto *grid = d.inForm<QGridLayout>("phy_config", "gridLayout_2");
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(d.laneBox(row)->isVisibleTo(page), row < laneRows);
            QCOMPARE(d.widget<QLabel>(QStringLiteral("labelconect%1").arg(row))->isVisibleTo(page),
                     row < laneRows);
            // Removed rows leave nothing behind in the grid, spacers included.
            for (int column = 0; column < 3; ++column)
                QCOMPARE(grid->itemAtPosition(row, column) != nullptr, row < laneRows);
        }
    }

    void choiceLists_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("items");
        // clang-format off
        QTest::newRow("LMFC") << "comboBoxLmfcBuffer" << QStringList{"128", "256", "512", "1024"};
        QTest::newRow("threshold") << "sdThresholdComboBox" << QStringList{"25mV", "50mV", "75mV", "100mV", "125mV", "150mV", "175mV", "200mV"};
        QTest::newRow("swing") << "differeSwingComboBox" << QStringList{"180mV", "228mV", "276mV", "324mV", "372mV", "420mV", "468mV", "516mV", "564mV", "612mV", "660mV", "708mV", "756mV", "804mV", "852mV", "900mV"};
        // clang-format on
    }
    void choiceLists()
    {
        QFETCH(QString, box);
        QTEST(OpenDialog().items(box), "items");
    }

    void validators_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("F three digits") << "defaultF" << "2567" << "256";
        QTest::newRow("F no letters") << "defaultF" << "1x2" << "12";
        QTest::newRow("K two digits") << "defaultK" << "321" << "32";
        QTest::newRow("clock 100") << "lineEditClkFreq" << "100" << "100";
        QTest::newRow("clock two integer digits") << "lineEditClkFreq" << "123" << "12";
        QTest::newRow("clock six decimals") << "lineEditClkFreq" << "9.12345678" << "9.123456";
        QTest::newRow("rate eight decimals") << "lineRate" << "4.9152000012" << "4.91520000";
        QTest::newRow("rate lone point") << "lineRate" << "." << ".";
        QTest::newRow("refclk three digits") << "refClkFreq" << "1228.8" << "122.8";
        QTest::newRow("refclk starts with a digit") << "refClkFreq" << ".5" << "5";
        // clang-format on
    }
    void validators()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        OpenDialog d;
        QLineEdit *edit = d.widget<QLineEdit>(field);
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTEST(edit->text(), "shown");
    }

    void rangeCorrections_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("kept");
        // clang-format off
        QTest::newRow("F 0") << "defaultF" << "0" << "4";
        QTest::newRow("F 257") << "defaultF" << "257" << "4";
        QTest::newRow("F 256") << "defaultF" << "256" << "256";
        QTest::newRow("F empty") << "defaultF" << "" << "4";
        QTest::newRow("K 0") << "defaultK" << "0" << "32";
        QTest::newRow("K 33") << "defaultK" << "33" << "32";
        QTest::newRow("K 1") << "defaultK" << "1" << "1";
        QTest::newRow("clock 0.5") << "lineEditClkFreq" << "0.5" << "10.0";
        QTest::newRow("clock empty") << "lineEditClkFreq" << "" << "10.0";
        QTest::newRow("clock 100") << "lineEditClkFreq" << "100" << "100";
        QTest::newRow("clock 1") << "lineEditClkFreq" << "1" << "1";
        QTest::newRow("clock trailing point") << "lineEditClkFreq" << "5." << "5.";
        QTest::newRow("rate 12.5") << "lineRate" << "12.5" << "12.5";
        QTest::newRow("rate 12.6") << "lineRate" << "12.6" << "4.9152";
        QTest::newRow("rate 0.9") << "lineRate" << "0.9" << "4.9152";
        QTest::newRow("rate trailing point") << "lineRate" << "5." << "4.9152";
        QTest::newRow("refclk 49.99") << "refClkFreq" << "49.99" << "122.88";
        QTest::newRow("refclk 500.01") << "refClkFreq" << "500.01" << "122.88";
        QTest::newRow("refclk 50") << "refClkFreq" << "50" << "50";
        QTest::newRow("refclk 500") << "refClkFreq" << "500" << "500";
        QTest::newRow("refclk trailing point") << "refClkFreq" << "156." << "156.";
        // clang-format on
    }
    void rangeCorrections()
    {
        QFETCH(QString, field);
        QFETCH(QString, entered);
        OpenDialog d;
        MessageBoxWatcher watcher;
        d.edit(field, entered);
        QTEST(d.widget<QLineEdit>(field)->text(), "kept");
        QCoreApplication::processEvents();
        QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
    }

    void coreMode_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("lmfcEnabled");
        QTest::addColumn<bool>("rxShown");
        QTest::addColumn<bool>("txShown");
        QTest::addColumn<bool>("patternsEnabled");
        QTest::addColumn<bool>("patternsTicked");
        QTest::addColumn<QString>("lmfcWritten");
        // Both pattern generators ticked and LMFC 256 before the clicks.
        // clang-format off
        QTest::newRow("receive") << QStringList{"Transmit", "Receive"} << true << true << false << false << false << "256";
        QTest::newRow("transmit") << QStringList{"Transmit"} << false << false << true << true << true << "1024";
        QTest::newRow("both") << QStringList{"Transmit", "Both"} << true << true << true << true << true << "256";
        QTest::newRow("receive, then transmit") << QStringList{"Receive", "Transmit"} << false << false << true << true << false << "1024";
        // clang-format on
    }
    void coreMode()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, patternsEnabled);
        QFETCH(bool, patternsTicked);
        OpenDialog d;
        d.combo("comboBoxLmfcBuffer")->setCurrentText(QStringLiteral("256"));
        const QList<QCheckBox *> patterns{d.widget<QCheckBox>("rpatGenerator"),
                                          d.widget<QCheckBox>("jspatGenerator")};
        for (QCheckBox *box : patterns)
            box->setChecked(true);
        for (const QString &button : clicks)
            d.setMode(button);

        QTEST(d.widget<QGroupBox>("LMFCBuffer")->isEnabled(), "lmfcEnabled");
        auto *afePage = d.widget<QWidget>("IPJESD204B__afe_config");
        QTEST(d.widget<QGroupBox>("groupBoxRx")->isVisibleTo(afePage), "rxShown");
        QTEST(d.widget<QGroupBox>("groupBoxTx")->isVisibleTo(afePage), "txShown");
        for (QCheckBox *box : patterns) {
            QCOMPARE(box->isEnabled(), patternsEnabled);
            QCOMPARE(box->isChecked(), patternsTicked);
        }
        QVERIFY(d.dialog()->recordResources());
        QTEST(d.parameters().value("LMFC_Buffer").toString(), "lmfcWritten");
        for (const char *key : {"Include_RPAT_Generator", "Include_JSPAT_Generator"})
            QCOMPARE(d.parameters().value(key), QVariant(patternsTicked));
    }

    void laneCountEnablesRows_data()
    {
        QTest::addColumn<int>("count"); // 0: no lane count chosen
        QTest::newRow("none") << 0;
        QTest::newRow("three") << 3;
        QTest::newRow("eight") << 8;
    }
    void laneCountEnablesRows()
    {
        QFETCH(int, count);
        OpenDialog d;
        d.combo("comboxNumOfLanes")
            ->setCurrentIndex(d.items("comboxNumOfLanes").indexOf(QString::number(count)));
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(d.laneBox(row)->isEnabled(), row < count);
            QCOMPARE(d.widget<QLabel>(QStringLiteral("labelconect%1").arg(row))->isEnabled(),
                     row < count);
        }
        QCOMPARE(d.dialog()->usedLanes().size(), count);
        // Without a lane the set is not written, and nothing of an earlier one stays.
        d.parameters().insert(QStringLiteral("stale"), 1);
        QCOMPARE(d.dialog()->recordResources(), count > 0);
        QVERIFY(!d.parameters().contains(QStringLiteral("stale")));
    }

    void automaticModesForceValues()
    {
        OpenDialog d;
        const QList<QSpinBox *> spins{
            d.widget<QSpinBox>("cmSpinBox"), d.widget<QSpinBox>("c1SpinBox"),
            d.widget<QSpinBox>("attSpinBox"), d.widget<QSpinBox>("boostSpinBox")};
        const auto states = [&] {
            QList<QVariant> out;
            for (QSpinBox *spin : spins)
                out << spin->value() << spin->isEnabled();
            for (const char *range : {"label", "label_2", "label_14", "label_15"})
                out << d.inForm<QLabel>("afe_config", range)->isEnabled();
            return out;
        };
        // Values and enabled states of CM, C1, ATT, BOOST, then of their range labels.
        const QList<QVariant> automatic{0, false, 0,     false, 7,     false,
                                        9, false, false, false, false, false};
        QCOMPARE(states(), automatic);

        d.combo("ffeModeCombox")->setCurrentText(QStringLiteral("Manual"));
        d.combo("equalizationModeCombox")->setCurrentText(QStringLiteral("Manual"));
        // Manual keeps the automatic values until edited.
        QCOMPARE(states(),
                 (QList<QVariant>{0, true, 0, true, 7, true, 9, true, true, true, true, true}));
        for (QSpinBox *spin : spins)
            spin->setValue(3);
        d.combo("ffeModeCombox")->setCurrentText(QStringLiteral("Auto"));
        d.combo("equalizationModeCombox")->setCurrentText(QStringLiteral("Auto"));
        QCOMPARE(states(), automatic);
        QCOMPARE(d.widget<QLabel>("c0Lael")->text(), QStringLiteral("40"));
    }
};

std::unique_ptr<QObject> createSetupTest()
{
    return std::make_unique<SetupTest>();
}

#include "tst_setup.moc"
