#include "dialogfixture.h"

#include <serdes.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <memory>

class InitDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void deviceRules_data();
    void deviceRules();
    void defaults_data();
    void defaults();
    void fieldDefaults();
    void baseDialogTexts();
    void knownReferenceFrequency();
    void validators_data();
    void validators();
};

void InitDialogTest::deviceRules_data()
{
    QTest::addColumn<QString>("deviceId");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<int>("laneRows");

    QTest::newRow("group A") << Devices::groupA()
                             << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFCLK2",
                                            "Q0 REFCLK3", "Q0 REFIN0",  "Q0 REFIN1"}
                             << 4;
    QTest::newRow("group B") << Devices::groupB()
                             << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFIN", "MCLK"} << 4;
    QTest::newRow("neither") << Devices::twoQuads()
                             << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q1 REFCLK0", "Q1 REFCLK1"}
                             << 8;
}

void InitDialogTest::deviceRules()
{
    QFETCH(QString, deviceId);
    QFETCH(QStringList, sources);
    QFETCH(int, laneRows);

    OpenDialog d(deviceId);
    QCOMPARE(d.items("refClkSource"), sources);
    QComboBox *source = d.combo("refClkSource");
    for (int i = 0; i < source->count(); ++i)
        QCOMPARE(source->itemData(i), QVariant(i));
    QCOMPARE(source->currentText(), QStringLiteral("Q0 REFCLK0"));

    QWidget *page = d.widget<QWidget>("IPJESD204B__phy_config");
    auto *grid = d.inForm<QGridLayout>("phy_config", "gridLayout_2");
    for (int row = 0; row < 8; ++row) {
        const bool shown = row < laneRows;
        QCOMPARE(d.laneBox(row)->isVisibleTo(page), shown);
        QCOMPARE(d.widget<QLabel>(qPrintable(QStringLiteral("labelconect%1").arg(row)))
                     ->isVisibleTo(page),
                 shown);
        // Removed rows leave nothing behind in the grid, spacers included.
        for (int column = 0; column < 3; ++column)
            QCOMPARE(grid->itemAtPosition(row, column) != nullptr, shown);
    }
}

void InitDialogTest::defaults_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("items"); // empty: not compared
    QTest::addColumn<QString>("current");

    QTest::newRow("LMFC") << "comboBoxLmfcBuffer" << QStringList{"128", "256", "512", "1024"}
                          << "1024";
    QTest::newRow("SYSREF always")
        << "defaultSysrefAlw" << QStringList{"Always On", "Always Off"} << "Always Off";
    QTest::newRow("scrambling") << "defaultScram" << QStringList{"Scrambling ON", "Scrambling OFF"}
                                << "Scrambling OFF";
    QTest::newRow("SYSREF on re-sync")
        << "defaultSysrefReq" << QStringList{"Not Required", "Required"} << "Not Required";
    QTest::newRow("loopback") << "LoopbackMode" << QStringList{"OFF", "LB_NES", "LB_FES", "LB_ENC"}
                              << "OFF";
    QTest::newRow("threshold") << "sdThresholdComboBox"
                               << QStringList{"25mV",  "50mV",  "75mV",  "100mV",
                                              "125mV", "150mV", "175mV", "200mV"}
                               << "100mV";
    QTest::newRow("swing") << "differeSwingComboBox" << QStringList() << "900mV";
    QTest::newRow("PLL") << "PLL_Selection" << QStringList() << "QPLL1";
    QTest::newRow("lane count") << "comboxNumOfLanes" << QStringList() << "2";
}

void InitDialogTest::defaults()
{
    QFETCH(QString, box);
    QFETCH(QStringList, items);
    QFETCH(QString, current);

    OpenDialog d;
    if (!items.isEmpty())
        QCOMPARE(d.items(qPrintable(box)), items);
    QCOMPARE(d.combo(qPrintable(box))->currentText(), current);
}

void InitDialogTest::fieldDefaults()
{
    OpenDialog d;
    const QStringList swings = d.items("differeSwingComboBox");
    QCOMPARE(swings.size(), 16);
    QCOMPARE(swings.first(), QStringLiteral("180mV"));
    QCOMPARE(swings.at(1), QStringLiteral("228mV"));
    QCOMPARE(swings.last(), QStringLiteral("900mV"));
    QCOMPARE(d.widget<QLineEdit>("defaultF")->text(), QStringLiteral("4"));
    QCOMPARE(d.widget<QLineEdit>("defaultK")->text(), QStringLiteral("32"));
    QCOMPARE(d.widget<QLineEdit>("lineEditClkFreq")->text(), QStringLiteral("10.0"));
    QCOMPARE(d.widget<QLineEdit>("lineRate")->text(), QStringLiteral("4.9152"));
    QCOMPARE(d.widget<QLineEdit>("refClkFreq")->text(), QStringLiteral("122.88"));
    QVERIFY(d.widget<QLineEdit>("refClkFreq")->isEnabled());

    // Automatic FFE and equalisation: the manual fields are locked at their automatic values.
    QCOMPARE(d.widget<QLabel>("c0Lael")->text(), QStringLiteral("40"));
    for (const char *name : {"cmSpinBox", "c1SpinBox", "attSpinBox", "boostSpinBox"})
        QVERIFY2(!d.widget<QSpinBox>(name)->isEnabled(), name);
    QCOMPARE(d.widget<QSpinBox>("attSpinBox")->value(), 7);
    QCOMPARE(d.widget<QSpinBox>("boostSpinBox")->value(), 9);
    QCOMPARE(d.dialog()->usedLanes(), (QStringList{"Q0 Lane0", "Q0 Lane1"}));
    QCOMPARE(d.dialog()->biasDecision(), 0);
}

void InitDialogTest::baseDialogTexts()
{
    OpenDialog d;
    QCOMPARE(d.dialog()->labelText(), QStringLiteral("JESD204B Link Core"));
    QCOMPARE(d.dialog()->helpText(), QStringLiteral("help/jesd204b.html"));
    QTabWidget *tabs = d.dialog()->findChild<QTabWidget *>();
    QVERIFY(tabs);
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, (QStringList{"JESD204B Core Configuration", "PHY Configuration", "AFE",
                                  "Optional Ports Configuration"}));

    // A description without the dialog's entries gives empty texts, not a failure.
    ParameterSet parameters;
    IPJESD204B::jesd204bdlg bare({}, &parameters, nullptr);
    QCOMPARE(bare.labelText(), QString());
    QCOMPARE(bare.moduleName(), QString());
    QCOMPARE(bare.fileName(), QString());
    QCOMPARE(bare.helpText(), QString());
}

void InitDialogTest::knownReferenceFrequency()
{
    // Another core already runs Q0 REFCLK0: the dialog adopts its frequency and locks it.
    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    IPSERDESIP::REF_SOURCE *clock = model->FormStringToREFSPtr(QStringLiteral("Q0 REFCLK0"));
    QVERIFY(clock);
    clock->setUseCount(1);
    clock->setFrequency(QStringLiteral("156.25"));
    d.dialog()->setCreating(QStringLiteral("jesd_top"), model->device());
    QCOMPARE(d.widget<QLineEdit>("refClkFreq")->text(), QStringLiteral("156.25"));
    QVERIFY(!d.widget<QLineEdit>("refClkFreq")->isEnabled());
}

void InitDialogTest::validators_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("F three digits") << "defaultF"
                                    << "2567"
                                    << "256";
    QTest::newRow("F no letters") << "defaultF"
                                  << "1x2"
                                  << "12";
    QTest::newRow("K two digits") << "defaultK"
                                  << "321"
                                  << "32";
    QTest::newRow("clock 100") << "lineEditClkFreq"
                               << "100"
                               << "100";
    QTest::newRow("clock two integer digits") << "lineEditClkFreq"
                                              << "123"
                                              << "12";
    QTest::newRow("clock six decimals") << "lineEditClkFreq"
                                        << "9.12345678"
                                        << "9.123456";
    QTest::newRow("rate eight decimals") << "lineRate"
                                         << "4.9152000012"
                                         << "4.91520000";
    QTest::newRow("rate two integer digits") << "lineRate"
                                             << "125"
                                             << "12";
    QTest::newRow("rate lone point") << "lineRate"
                                     << "."
                                     << ".";
    QTest::newRow("refclk three digits") << "refClkFreq"
                                         << "1228.8"
                                         << "122.8";
    QTest::newRow("refclk starts with a digit") << "refClkFreq"
                                                << ".5"
                                                << "5";
}

void InitDialogTest::validators()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    OpenDialog d;
    QLineEdit *edit = d.widget<QLineEdit>(qPrintable(field));
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
}

std::unique_ptr<QObject> createInitDialogTest()
{
    return std::make_unique<InitDialogTest>();
}

#include "tst_initdialog.moc"
