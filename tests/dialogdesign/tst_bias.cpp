#include "designfixture.h"
#include "messageboxwatcher.h"

#include <serdes.h>

#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace {

QString question(const QString &affected, int bias)
{
    return QStringLiteral(
               "Question: %1 BIAS will also be changed to %2, whether to accept or not? ")
        .arg(affected)
        .arg(bias);
}

} // namespace

class BiasTest : public QObject
{
    Q_OBJECT

private slots:
    void mainTap_data()
    {
        QTest::addColumn<int>("cm");
        QTest::addColumn<int>("c1");
        QTest::addColumn<QString>("c0");
        QTest::addColumn<bool>("warned");
        QTest::newRow("no taps") << 0 << 0 << "40" << false;
        QTest::newRow("just enough") << 19 << 0 << "21" << false;
        QTest::newRow("at the floor") << 10 << 10 << "20" << true;
    }
    void mainTap()
    {
        QFETCH(int, cm);
        QFETCH(int, c1);
        QFETCH(QString, c0);
        QFETCH(bool, warned);
        DesignDialog d;
        MessageBoxWatcher boxes;
        d.widget<QSpinBox>("cmSpinBox")->setValue(cm);
        d.widget<QSpinBox>("c1SpinBox")->setValue(c1);
        QCOMPARE(d.widget<QLabel>("c0Lael")->text(), c0);
        const QStringList warning{"Warning: C0 must be greater than 20."};
        QCOMPARE(boxes.lines(), warned ? warning : QStringList());

        // Acceptance stops on the same rule, before anything is recorded.
        boxes.clear();
        d.dialog()->accept();
        QCOMPARE(boxes.lines().contains(warning.first()), warned);
        QCOMPARE(d.parameters().isEmpty(), warned);
    }

    void scope_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("biasLines");
        QTest::addColumn<int>("decision");

        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("half a quad, yes") << "Receive" << QStringList{"Q0 Lane0", "Q0 Lane1"} << yes
                                          << QStringList{question("Q0 Lane2, Q0 Lane3", 7)}
                                          << QStringList{"q0_rx_eq_bias 7"} << 1;
        QTest::newRow("both quads, no")
            << "Both" << QStringList{"Q0 Lane3", "Q1 Lane0"} << no
            << QStringList{question("Q0 Lane0, Q0 Lane1, Q0 Lane2, Q1 Lane1, Q1 Lane2, Q1 Lane3",
                                    7)}
            << QStringList() << 2;
        QTest::newRow("whole quad")
            << "Receive" << QStringList{"Q1 Lane0", "Q1 Lane1", "Q1 Lane2", "Q1 Lane3"} << no
            << QStringList() << QStringList{"q1_rx_eq_bias 7"} << 1;
        QTest::newRow("transmit only")
            << "Transmit" << QStringList{"Q0 Lane0"} << yes << QStringList() << QStringList() << 0;
    }
    void scope()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, lanes);
        QFETCH(int, answer);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, biasLines);
        QFETCH(int, decision);
        DesignDialog d;
        d.setMode(mode.toLatin1().constData());
        d.pickLanes(lanes);
        MessageBoxWatcher boxes;
        boxes.setDefaultAnswer(QMessageBox::StandardButton(answer));
        QVERIFY(d.calculate());
        QCOMPARE(boxes.lines(), asked + QStringList{"Succeed: Succeed"});
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "), biasLines);
        QCOMPARE(d.dialog()->biasDecision(), decision);

        // Asked once per configuration: the next run repeats the lines without asking.
        boxes.clear();
        QVERIFY(d.calculate());
        QCOMPARE(boxes.lines(), QStringList{"Succeed: Succeed"});
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "), biasLines);
    }

    void changedBiasAsksAgain()
    {
        DesignDialog d;
        d.setMode("Receive");
        d.pickLanes({"Q0 Lane0"});
        MessageBoxWatcher boxes;
        boxes.setDefaultAnswer(QMessageBox::Yes);
        QVERIFY(d.calculate());
        d.widget<QSpinBox>("biasSpinBox")->setValue(12);
        QCOMPARE(d.dialog()->biasDecision(), 0);
        QVERIFY(d.calculate());
        QCOMPARE(boxes.lines().filter("Question").size(), 2);
        QVERIFY(boxes.lines().contains(question("Q0 Lane1, Q0 Lane2, Q0 Lane3", 12)));
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "),
                 QStringList{"q0_rx_eq_bias 12"});
    }

    // The box follows what other cores published for the one quad in use.
    void publishedDefault_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<int>("bias");
        QTest::newRow("quad 0") << QStringList{"Q0 Lane1"} << 11;
        QTest::newRow("quad 1, nothing published") << QStringList{"Q1 Lane1"} << 5;
        QTest::newRow("both quads") << QStringList{"Q0 Lane1", "Q1 Lane1"} << 7;
    }
    void publishedDefault()
    {
        QFETCH(QStringList, lanes);
        QFETCH(int, bias);
        DesignDialog d;
        d.pickLanes(lanes);
        IPSERDESIP::serdes::instance()->setData("Q0_BIAS", 11);
        d.widget<QSpinBox>("biasSpinBox")->setValue(5);
        QMetaObject::invokeMethod(d.dialog(), "updateBiasDefaultValue", Qt::DirectConnection);
        QCOMPARE(d.widget<QSpinBox>("biasSpinBox")->value(), bias);
    }

    void publishedOnAcceptance_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("published");
        QTest::newRow("quad 1, yes")
            << QStringList{"Q1 Lane2"} << int(QMessageBox::Yes) << QStringList{"Q1_BIAS"};
        QTest::newRow("both quads, yes")
            << QStringList{"Q0 Lane0", "Q1 Lane2"} << int(QMessageBox::Yes)
            << QStringList{"Q0_BIAS", "Q1_BIAS"};
        QTest::newRow("declined") << QStringList{"Q0 Lane0"} << int(QMessageBox::No)
                                  << QStringList();
    }
    void publishedOnAcceptance()
    {
        QFETCH(QStringList, lanes);
        QFETCH(int, answer);
        QFETCH(QStringList, published);
        DesignDialog d;
        d.setMode("Receive");
        d.pickLanes(lanes);
        d.widget<QSpinBox>("biasSpinBox")->setValue(9);
        MessageBoxWatcher boxes;
        boxes.setDefaultAnswer(QMessageBox::StandardButton(answer));
        d.dialog()->accept();
        QCOMPARE(d.dialog()->result(), int(QDialog::Accepted));

        const auto data = IPSERDESIP::serdes::instance()->globalData();
        QStringList keys = data.keys();
        keys = keys.filter(QRegularExpression("^Q[01]_BIAS$"));
        QCOMPARE(keys, published);
        for (const QString &key : keys)
            QCOMPARE(data.value(key).toInt(), 9);
        QCOMPARE(d.parameters().value("ifChangedAllOfBias").toBool(), !published.isEmpty());
    }
};

std::unique_ptr<QObject> createBiasTest()
{
    return std::make_unique<BiasTest>();
}

#include "tst_bias.moc"
