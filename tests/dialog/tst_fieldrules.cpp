#include "dialogfixture.h"
#include "messageboxwatcher.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

class FieldRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void rangeCorrections_data();
    void rangeCorrections();
    void receiveModeClearsPatternGenerators();
    void coreModeShowsDirectionGroups_data();
    void coreModeShowsDirectionGroups();
    void laneCountEnablesRows_data();
    void laneCountEnablesRows();
    void automaticModesForceValues();
};

void FieldRulesTest::rangeCorrections_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("kept");

    QTest::newRow("F 0") << "defaultF"
                         << "0"
                         << "4";
    QTest::newRow("F 257") << "defaultF"
                           << "257"
                           << "4";
    QTest::newRow("F 256") << "defaultF"
                           << "256"
                           << "256";
    QTest::newRow("F empty") << "defaultF"
                             << ""
                             << "4";
    QTest::newRow("K 0") << "defaultK"
                         << "0"
                         << "32";
    QTest::newRow("K 33") << "defaultK"
                          << "33"
                          << "32";
    QTest::newRow("K 1") << "defaultK"
                         << "1"
                         << "1";
    QTest::newRow("clock 0.5") << "lineEditClkFreq"
                               << "0.5"
                               << "10.0";
    QTest::newRow("clock empty") << "lineEditClkFreq"
                                 << ""
                                 << "10.0";
    QTest::newRow("clock 100") << "lineEditClkFreq"
                               << "100"
                               << "100";
    QTest::newRow("clock 1") << "lineEditClkFreq"
                             << "1"
                             << "1";
    QTest::newRow("clock trailing point") << "lineEditClkFreq"
                                          << "5."
                                          << "5.";
    QTest::newRow("rate 12.5") << "lineRate"
                               << "12.5"
                               << "12.5";
    QTest::newRow("rate 12.6") << "lineRate"
                               << "12.6"
                               << "4.9152";
    QTest::newRow("rate 0.9") << "lineRate"
                              << "0.9"
                              << "4.9152";
    QTest::newRow("rate trailing point") << "lineRate"
                                         << "5."
                                         << "4.9152";
    QTest::newRow("refclk 49.99") << "refClkFreq"
                                  << "49.99"
                                  << "122.88";
    QTest::newRow("refclk 500.01") << "refClkFreq"
                                   << "500.01"
                                   << "122.88";
    QTest::newRow("refclk 50") << "refClkFreq"
                               << "50"
                               << "50";
    QTest::newRow("refclk 500") << "refClkFreq"
                                << "500"
                                << "500";
    QTest::newRow("refclk trailing point") << "refClkFreq"
                                           << "156."
                                           << "156.";
}

void FieldRulesTest::rangeCorrections()
{
    QFETCH(QString, field);
    QFETCH(QString, entered);
    QFETCH(QString, kept);

    OpenDialog d;
    MessageBoxWatcher watcher;
    d.edit(qPrintable(field), entered);
    QCOMPARE(d.widget<QLineEdit>(qPrintable(field))->text(), kept);
    QCoreApplication::processEvents();
    QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
}

void FieldRulesTest::receiveModeClearsPatternGenerators()
{
    OpenDialog d;
    auto *rpat = d.widget<QCheckBox>("rpatGenerator");
    auto *jspat = d.widget<QCheckBox>("jspatGenerator");
    rpat->setChecked(true);
    jspat->setChecked(true);

    d.widget<QRadioButton>("Receive")->setChecked(true);
    QVERIFY(!rpat->isChecked() && !rpat->isEnabled());
    QVERIFY(!jspat->isChecked() && !jspat->isEnabled());

    d.widget<QRadioButton>("Transmit")->setChecked(true);
    QVERIFY(rpat->isEnabled() && jspat->isEnabled());
    QVERIFY(!rpat->isChecked() && !jspat->isChecked());
}

void FieldRulesTest::coreModeShowsDirectionGroups_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("lmfcEnabled");
    QTest::addColumn<bool>("rxShown");
    QTest::addColumn<bool>("txShown");

    QTest::newRow("receive") << "Receive" << true << true << false;
    QTest::newRow("transmit") << "Transmit" << false << false << true;
    QTest::newRow("both") << "Both" << true << true << true;
}

void FieldRulesTest::coreModeShowsDirectionGroups()
{
    QFETCH(QString, mode);
    QFETCH(bool, lmfcEnabled);
    QFETCH(bool, rxShown);
    QFETCH(bool, txShown);

    OpenDialog d;
    // Start from another mode so that every mode is reached through a toggle.
    d.widget<QRadioButton>(mode == QLatin1String("Transmit") ? "Receive" : "Transmit")
        ->setChecked(true);
    d.widget<QRadioButton>(qPrintable(mode))->setChecked(true);

    QCOMPARE(d.widget<QGroupBox>("LMFCBuffer")->isEnabled(), lmfcEnabled);
    QWidget *afePage = d.widget<QWidget>("IPJESD204B__afe_config");
    QCOMPARE(d.widget<QGroupBox>("groupBoxRx")->isVisibleTo(afePage), rxShown);
    QCOMPARE(d.widget<QGroupBox>("groupBoxTx")->isVisibleTo(afePage), txShown);
}

void FieldRulesTest::laneCountEnablesRows_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("enabledRows");

    QTest::newRow("one") << "1" << 1;
    QTest::newRow("three") << "3" << 3;
    QTest::newRow("eight") << "8" << 8;
}

void FieldRulesTest::laneCountEnablesRows()
{
    QFETCH(QString, count);
    QFETCH(int, enabledRows);

    OpenDialog d;
    QComboBox *lanes = d.combo("comboxNumOfLanes");
    lanes->setCurrentIndex(lanes->findText(count));
    QCOMPARE(lanes->currentText(), count);
    for (int row = 0; row < 8; ++row) {
        const bool enabled = row < enabledRows;
        QCOMPARE(d.laneBox(row)->isEnabled(), enabled);
        QCOMPARE(
            d.widget<QLabel>(qPrintable(QStringLiteral("labelconect%1").arg(row)))->isEnabled(),
            enabled);
    }
    QCOMPARE(d.dialog()->usedLanes().size(), enabledRows);
}

void FieldRulesTest::automaticModesForceValues()
{
    OpenDialog d;
    auto *cm = d.widget<QSpinBox>("cmSpinBox");
    auto *c1 = d.widget<QSpinBox>("c1SpinBox");
    auto *att = d.widget<QSpinBox>("attSpinBox");
    auto *boost = d.widget<QSpinBox>("boostSpinBox");
    QComboBox *ffe = d.combo("ffeModeCombox");
    QComboBox *equalization = d.combo("equalizationModeCombox");

    ffe->setCurrentText(QStringLiteral("Manual"));
    equalization->setCurrentText(QStringLiteral("Manual"));
    QVERIFY(cm->isEnabled() && c1->isEnabled() && att->isEnabled() && boost->isEnabled());
    QVERIFY(d.inForm<QLabel>("afe_config", "label_14")->isEnabled());
    // Manual keeps the automatic values until edited.
    QCOMPARE(cm->value(), 0);
    QCOMPARE(att->value(), 7);
    QCOMPARE(boost->value(), 9);
    cm->setValue(5);
    c1->setValue(3);
    att->setValue(2);
    boost->setValue(12);
    QCOMPARE(d.widget<QLabel>("c0Lael")->text(), QStringLiteral("32"));

    ffe->setCurrentText(QStringLiteral("Auto"));
    equalization->setCurrentText(QStringLiteral("Auto"));
    QCOMPARE(cm->value(), 0);
    QCOMPARE(c1->value(), 0);
    QCOMPARE(d.widget<QLabel>("c0Lael")->text(), QStringLiteral("40"));
    QCOMPARE(att->value(), 7);
    QCOMPARE(boost->value(), 9);
    QVERIFY(!cm->isEnabled() && !c1->isEnabled() && !att->isEnabled() && !boost->isEnabled());
    for (const char *range : {"label", "label_2", "label_14", "label_15"})
        QVERIFY2(!d.inForm<QLabel>("afe_config", range)->isEnabled(), range);
}

std::unique_ptr<QObject> createFieldRulesTest()
{
    return std::make_unique<FieldRulesTest>();
}

#include "tst_fieldrules.moc"
