// Pictures of the dialog for the documentation. Set JESD_SNAPSHOT_DIR to write them; the
// states they show are checked either way.
#include "designfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Takes a picture of each message box as it comes up, then closes it.
class BoxCamera : public QObject
{
public:
    BoxCamera()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (!box || !box->isVisible())
                    continue;
                titles << box->windowTitle();
                picture = box->grab();
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_timer.start();
    }
    QStringList titles;
    QPixmap picture;

private:
    QTimer m_timer;
};

// The widget, with the last message box drawn over its lower half when there is one.
void save(QWidget *widget, const QString &name, const QPixmap &box = QPixmap())
{
    QPixmap picture = widget->grab();
    QVERIFY(!picture.isNull());
    if (!box.isNull()) {
        QPainter painter(&picture);
        const QPoint at((picture.width() - box.width()) / 2, picture.height() * 2 / 3);
        painter.drawPixmap(at, box);
        painter.setPen(QPen(Qt::darkGray, 2));
        painter.drawRect(QRect(at, box.size()).adjusted(-1, -1, 0, 0));
    }
    const QString dir = qEnvironmentVariable("JESD_SNAPSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(picture.save(dir + "/" + name));
}

} // namespace

class SnapshotTest : public QObject
{
    Q_OBJECT

private slots:
    void phyAfterCalculation_data()
    {
        QTest::addColumn<QString>("lineRate");
        QTest::addColumn<QString>("refClkFreq");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("file");
        QTest::newRow("failed") << "8.0"
                                << "156.25"
                                << "Failure"
                                << "phy-failed.png";
        QTest::newRow("succeeded") << "4.9152"
                                   << "122.88"
                                   << "Succeed"
                                   << "phy-succeeded.png";
    }
    void phyAfterCalculation()
    {
        QFETCH(QString, lineRate);
        QFETCH(QString, refClkFreq);
        QFETCH(QString, verdict);
        QFETCH(QString, file);
        DesignDialog d("rx_core_q1");
        d.setMode("Transmit");
        d.setText("lineRate", lineRate);
        d.widget<QLineEdit>("refClkFreq")->setText(refClkFreq);
        QTabWidget *tabs = d.dialog()->tabWidget();
        tabs->setCurrentIndex(1);
        d.dialog()->resize(1100, 900);
        d.dialog()->show();

        BoxCamera boxes;
        d.calculate();
        QCOMPARE(boxes.titles, QStringList{verdict});
        save(tabs->currentWidget(), file, boxes.picture);
    }

    void pinFigureBothWithDrp()
    {
        DesignDialog d;
        d.setMode("Both");
        d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(true);
        d.dialog()->resize(1100, 1000);
        d.dialog()->show();
        QVERIFY(d.dialog()->figurePins().size() > 60);
        save(d.dialog(), "pins-both-drp.png");
    }
};

std::unique_ptr<QObject> createSnapshotTest()
{
    return std::make_unique<SnapshotTest>();
}

#include "tst_snapshots.moc"
