#include "designfixture.h"
#include "messageboxwatcher.h"

#include <serdes.h>
#include <serdesfunctions.h>

#include <QCheckBox>
#include <QTest>

#include <memory>

class DrpTest : public QObject
{
    Q_OBJECT

private slots:
    void conflict_data()
    {
        QTest::addColumn<bool>("drpPort");
        QTest::addColumn<QStringList>("recordedLanes");
        QTest::addColumn<QStringList>("messages");

        const QStringList ours{"Q0 Lane0", "Q0 Lane1"};
        QTest::newRow("same lanes")
            << true << ours
            << QStringList{"Error: There is a DRP interface conflict between adc_link and "
                           "jesd204b_0"};
        QTest::newRow("same lanes, other order")
            << true << QStringList{"Q0 Lane1", "Q0 Lane0"}
            << QStringList{"Error: There is a DRP interface conflict between adc_link and "
                           "jesd204b_0"};
        QTest::newRow("other lanes")
            << true << QStringList{"Q0 Lane2", "Q0 Lane3"} << QStringList();
        QTest::newRow("port off") << false << ours << QStringList();
        QTest::newRow("no record") << true << QStringList() << QStringList();
    }
    void conflict()
    {
        QFETCH(bool, drpPort);
        QFETCH(QStringList, recordedLanes);
        QFETCH(QStringList, messages);
        DesignDialog d;
        d.setMode("Transmit");
        d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(drpPort);
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        if (!recordedLanes.isEmpty())
            model->setData("jesd204bCheckDRP_adc_link", IPSERDESIP::FromLaneToInt(recordedLanes));
        const auto before = model->globalData();

        MessageBoxWatcher boxes;
        d.dialog()->accept();
        QCOMPARE(boxes.lines(), messages);
        QCOMPARE(d.dialog()->result() == QDialog::Accepted, messages.isEmpty());
        if (!messages.isEmpty()) {
            QVERIFY(boxes.boxes().first().hasIconPixmap);
            QCOMPARE(model->globalData(), before);
            return;
        }
        // An accepted core with the port leaves its own record; without the port none.
        const QVariant own = model->getData("jesd204bCheckDRP_jesd204b_0");
        QCOMPARE(own.isValid(), drpPort);
        if (drpPort)
            QCOMPARE(own.toInt(), IPSERDESIP::FromLaneToInt({"Q0 Lane0", "Q0 Lane1"}));
    }
};

std::unique_ptr<QObject> createDrpTest()
{
    return std::make_unique<DrpTest>();
}

#include "tst_drp.moc"
