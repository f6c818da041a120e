#include "dialogfixture.h"
#include "messageboxwatcher.h"
#include "protocol/jesd204b.h"
#include "testpaths.h"

#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>
#include <serdesfunctions.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Acts once on the configuration dialog when it runs modally, and notes whether it ever did.
class ModalDialogHandler : public QObject
{
public:
    explicit ModalDialogHandler(std::function<void(IPJESD204B::jesd204bdlg *)> action)
        : m_action(std::move(action))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog =
                qobject_cast<IPJESD204B::jesd204bdlg *>(QApplication::activeModalWidget());
            if (!dialog || m_seen)
                return;
            m_seen = true;
            m_action(dialog);
        });
        m_timer.start();
    }
    bool seen() const { return m_seen; }

private:
    std::function<void(IPJESD204B::jesd204bdlg *)> m_action;
    QTimer m_timer;
    bool m_seen = false;
};

QVariant globalValue(const char *key)
{
    return IPSERDESIP::serdes::instance()->globalData().value(QLatin1String(key));
}

void chooseLanes(OpenDialog &d, const QStringList &lanes)
{
    d.combo("comboxNumOfLanes")->setCurrentText(QString::number(lanes.size()));
    for (int row = 0; row < lanes.size(); ++row)
        d.laneBox(row)->setCurrentText(lanes.at(row));
}

} // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void noAvailableLanes();
    void refusals_data();
    void refusals();
    void calculationRefusalKeepsRecordedSet();
    void acceptRecordsBias_data();
    void acceptRecordsBias();
    void acceptRecordsDrpLanes();
    void createThenCancel();
    void editWithRefusedSetNeverShows();
};

void ShellTest::noAvailableLanes()
{
    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    // Every lane already receives for another core; a core in both directions gets none.
    const auto instances = IPSERDESIP::serdes::instance()->allInstance();
    for (IPSERDESIP::Instance *instance : instances) {
        if (auto *lane = dynamic_cast<IPSERDESIP::LANE *>(instance))
            lane->setLaneStatus(IPSERDESIP::LANE::Receive);
    }
    d.dialog()->setCreating(QStringLiteral("jesd_top"),
                            Core::IdeCore::deviceDataBase()->findDevice(Devices::twoQuads()));
    QCOMPARE(d.dialog()->availableLaneCount(), 0);

    MessageBoxWatcher watcher;
    d.dialog()->accept();
    QCOMPARE(watcher.lines(), QStringList{"Error: No available lanes"});
    QVERIFY(watcher.boxes().first().hasIconPixmap);
    QCOMPARE(d.dialog()->result(), int(QDialog::Rejected));
    QVERIFY(d.parameters().isEmpty());
}

void ShellTest::refusals_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("weak main tap") << "c0" << QStringList{"Warning: C0 must be greater than 20."};
    QTest::newRow("duplicate lane")
        << "duplicate" << QStringList{"Error: Selected duplicate Q0 Lane1"};
    QTest::newRow("no lane row") << "no rows" << QStringList();
}

void ShellTest::refusals()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, messages);

    OpenDialog d;
    if (fault == QLatin1String("c0")) {
        d.combo("ffeModeCombox")->setCurrentText(QStringLiteral("Manual"));
        d.widget<QSpinBox>("cmSpinBox")->setValue(10);
    }
    MessageBoxWatcher watcher;
    if (fault == QLatin1String("c0"))
        d.widget<QSpinBox>("c1SpinBox")->setValue(10);
    if (fault == QLatin1String("duplicate"))
        chooseLanes(d, {QStringLiteral("Q0 Lane1"), QStringLiteral("Q0 Lane2"),
                        QStringLiteral("Q0 Lane1")});
    if (fault == QLatin1String("no rows"))
        d.combo("comboxNumOfLanes")->setCurrentIndex(-1);
    QCoreApplication::processEvents();
    watcher.clear();

    d.dialog()->accept();
    QCOMPARE(watcher.lines(), messages);
    QCOMPARE(d.dialog()->result(), int(QDialog::Rejected));
    // Refused before the set was recorded.
    QVERIFY(d.parameters().isEmpty());
}

void ShellTest::calculationRefusalKeepsRecordedSet()
{
    OpenDialog d;
    d.widget<QRadioButton>("Transmit")->setChecked(true);
    d.edit("lineRate", QStringLiteral("8.0"));
    d.edit("refClkFreq", QStringLiteral("156.25"));

    MessageBoxWatcher watcher;
    d.dialog()->accept();
    QCOMPARE(d.dialog()->result(), int(QDialog::Rejected));
    QVERIFY(!watcher.boxes().isEmpty());
    QVERIFY(!watcher.titles().contains(QStringLiteral("Succeed")));
    QCOMPARE(d.parameters().value("Line_Rate").toString(), QStringLiteral("8.0"));
    QVERIFY(!d.parameters().contains(QStringLiteral("ifChangedAllOfBias")));
}

void ShellTest::acceptRecordsBias_data()
{
    QTest::addColumn<QStringList>("lanes");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QVariant>("q0Bias");
    QTest::addColumn<QVariant>("q1Bias");

    QTest::newRow("declined") << QStringList{"Q0 Lane0", "Q0 Lane1"} << int(QMessageBox::No)
                              << false << QVariant() << QVariant();
    QTest::newRow("quad 1 only") << QStringList{"Q1 Lane0", "Q1 Lane1"} << int(QMessageBox::Yes)
                                 << true << QVariant() << QVariant(12);
    QTest::newRow("both quads") << QStringList{"Q0 Lane3", "Q1 Lane0"} << int(QMessageBox::Yes)
                                << true << QVariant(12) << QVariant(12);
}

void ShellTest::acceptRecordsBias()
{
    QFETCH(QStringList, lanes);
    QFETCH(int, answer);
    QFETCH(bool, whole);
    QFETCH(QVariant, q0Bias);
    QFETCH(QVariant, q1Bias);

    OpenDialog d;
    chooseLanes(d, lanes);
    d.widget<QSpinBox>("biasSpinBox")->setValue(12);

    MessageBoxWatcher watcher;
    watcher.queueAnswer(QMessageBox::StandardButton(answer));
    d.dialog()->accept();
    QCOMPARE(d.dialog()->result(), int(QDialog::Accepted));
    QCOMPARE(watcher.titles(), QStringList{"Question"});
    QCOMPARE(d.parameters().value("ifChangedAllOfBias"), QVariant(whole));
    QCOMPARE(d.parameters().value("recordlanes").toStringList(), lanes);
    QCOMPARE(globalValue("Q0_BIAS"), q0Bias);
    QCOMPARE(globalValue("Q1_BIAS"), q1Bias);
}

void ShellTest::acceptRecordsDrpLanes()
{
    OpenDialog d;
    d.widget<QRadioButton>("Transmit")->setChecked(true);
    d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(true);
    MessageBoxWatcher watcher;
    d.dialog()->accept();
    QCOMPARE(d.dialog()->result(), int(QDialog::Accepted));
    QVERIFY2(watcher.boxes().isEmpty(), qPrintable(watcher.lines().join('\n')));
    QCOMPARE(globalValue("jesd204bCheckDRP_jesd_top"),
             QVariant(IPSERDESIP::FromLaneToInt({"Q0 Lane0", "Q0 Lane1"})));
    // A transmit-only core is never asked about the bias and records false.
    QCOMPARE(d.parameters().value("ifChangedAllOfBias"), QVariant(false));

    OpenDialog withoutDrp;
    withoutDrp.widget<QRadioButton>("Transmit")->setChecked(true);
    withoutDrp.dialog()->accept();
    QCOMPARE(withoutDrp.dialog()->result(), int(QDialog::Accepted));
    QVERIFY(!globalValue("jesd204bCheckDRP_jesd_top").isValid());
}

void ShellTest::createThenCancel()
{
    IPJESD204B::jesd204b protocol(TestPaths::sourceDir() + QStringLiteral("/data"));
    QVERIFY(protocol.load());
    IPSERDESIP::serdes::instance()->reset();
    const DEV::DeviceArg device = Core::IdeCore::deviceDataBase()->findDevice(Devices::groupB());
    IPSERDESIP::serdes::instance()->setDevice(device);

    ModalDialogHandler cancel([](IPJESD204B::jesd204bdlg *dialog) { dialog->reject(); });
    const ParameterSet result = protocol.create(QStringLiteral("link0"), device);
    QVERIFY(cancel.seen());
    QVERIFY(result.isEmpty());
}

void ShellTest::editWithRefusedSetNeverShows()
{
    IPJESD204B::jesd204b protocol(TestPaths::sourceDir() + QStringLiteral("/data"));
    QVERIFY(protocol.load());
    IPSERDESIP::serdes::instance()->reset();

    MessageBoxWatcher watcher;
    ModalDialogHandler cancel([](IPJESD204B::jesd204bdlg *dialog) { dialog->reject(); });
    const ParameterSet result =
        protocol.edit({{"version", QStringLiteral("2.0")}, {"target_device", Devices::groupA()}});
    QCoreApplication::processEvents();
    QVERIFY(result.isEmpty());
    QVERIFY(!cancel.seen());
    QCOMPARE(watcher.titles(), QStringList{"Error"});
}

std::unique_ptr<QObject> createShellTest()
{
    return std::make_unique<ShellTest>();
}

#include "tst_shell.moc"
