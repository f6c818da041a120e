// Configures a core the way a user does, through the widgets of the dialog that the plug-in
// shows from create(), then generates it and compares the files with the example's.
#include "messageboxwatcher.h"
#include "pluginloader.h"
#include "testpaths.h"

#include <baseprotocol.h>
#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Enters the example's choices into the dialog and presses OK, as a user would.
class DialogDriver : public QObject
{
public:
    explicit DialogDriver(const QVariantMap &example) : m_example(example)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, &DialogDriver::poll);
        m_timer.start();
    }
    bool drove() const { return m_drove; }

private:
    QString value(const char *key) const { return m_example.value(key).toString(); }

    void select(QDialog *dialog, const QString &name, const QString &text)
    {
        auto *box = dialog->findChild<QComboBox *>(name);
        QVERIFY2(box && box->findText(text) >= 0, qPrintable(name + ": " + text));
        box->setCurrentIndex(box->findText(text));
    }
    void type(QDialog *dialog, const QString &name, const QString &text)
    {
        auto *edit = dialog->findChild<QLineEdit *>(name);
        QVERIFY2(edit, qPrintable(name));
        if (!edit->isEnabled())
            return; // the design fixes it
        edit->setText(text);
        emit edit->editingFinished();
    }

    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->findChild<QComboBox *>("Lane0Connect"))
            return;
        m_timer.stop();
        m_drove = true;
        for (const char *mode : {"Receive", "Transmit"}) {
            if (m_example.value(mode).toBool())
                dialog->findChild<QRadioButton *>(mode)->setChecked(true);
        }
        select(dialog, "comboxNumOfLanes", value("Number_of_lanes"));
        type(dialog, "lineRate", value("Line_Rate"));
        select(dialog, "refClkSource", value("Reference_CLK_Source"));
        type(dialog, "refClkFreq", value("Reference_CLK_Frequency"));
        const int lanes = value("Number_of_lanes").toInt();
        for (int row = 0; row < lanes; ++row) {
            const QString key = QStringLiteral("JESD204B_Lane%1_connect_with").arg(row);
            select(dialog, QStringLiteral("Lane%1Connect").arg(row),
                   m_example.value(key).toString());
        }
        select(dialog, "PLL_Selection", value("PLL_Selection"));
        auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
        buttons->button(QDialogButtonBox::Ok)->click();
        if (dialog->isVisible())
            dialog->reject(); // refused: end the test's dialog instead of hanging
    }

    QVariantMap m_example;
    QTimer m_timer;
    bool m_drove = false;
};

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void configureAndGenerate_data()
    {
        QTest::addColumn<QString>("example");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("transmit, two lanes") << "tx_2lane" << QStringList();
        // Half of quad 0 receives: the bias question comes, and the answer is No.
        QTest::newRow("receive, two lanes")
            << "rx_2lane"
            << QStringList{"Question: Q0 Lane2, Q0 Lane3 BIAS will also be changed to 7, whether "
                           "to accept or not? "};
    }
    void configureAndGenerate()
    {
        QFETCH(QString, example);
        QFETCH(QStringList, asked);
        const QVariantMap expected =
            QJsonDocument::fromJson(readAll(TestPaths::examplesDir() + "/" + example + ".json"))
                .object()
                .toVariantMap();
        QVERIFY2(!expected.isEmpty(), qPrintable(example));

        QString error;
        const HostProgram::PluginSet plugins =
            HostProgram::loadPlugins(TestPaths::pluginDir(), &error);
        IPSERDESIP::BaseProtocol *protocol = plugins.jesd204b();
        QVERIFY2(protocol, qPrintable(error));

        QTemporaryDir work;
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        const DEV::DeviceArg device =
            Core::IdeCore::deviceDataBase()->findDevice(expected.value("target_device").toString());
        QVERIFY(!device.isNull());
        model->reset();
        model->setDevice(device);
        model->setWorkingDir(work.path());
        Core::IdeCore::setProjectDirectory(work.path());

        DialogDriver driver(expected);
        MessageBoxWatcher boxes;
        const QMap<QString, QVariant> params =
            protocol->create(expected.value("file").toString(), device);
        QVERIFY(driver.drove());
        QCOMPARE(boxes.lines(), asked);
        QVERIFY2(!params.isEmpty(), "the dialog was not accepted");
        // Rows beyond the lane count keep whatever their hidden boxes show; nothing reads them.
        // The synthesis tool is the host's own field, which the example leaves unset.
        QStringList unused{"Synthesis_tool"};
        for (int row = expected.value("Number_of_lanes").toInt(); row < 8; ++row)
            unused << QStringLiteral("JESD204B_Lane%1_connect_with").arg(row);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            if (unused.contains(it.key()))
                continue;
            const QVariant got = params.value(it.key());
            const bool list = it.value().type() == QVariant::List;
            QVERIFY2(list ? got.toStringList() == it.value().toStringList()
                          : got.toString() == it.value().toString(),
                     qPrintable(it.key() + ": " + got.toString()));
        }

        QStringList iniLines, reserved, moduleOptions;
        QString message;
        QVERIFY2(protocol->generate(params, iniLines, reserved, moduleOptions, message, false),
                 qPrintable(message));

        const QString out = work.path() + "/" + params.value("file").toString() + "/temp/jesd204b/";
        const QDir expectedDir(TestPaths::examplesDir() + "/expected/" + example);
        const QStringList files = expectedDir.entryList(QDir::Files);
        QVERIFY(files.contains("jesd204b.ini"));
        for (const QString &file : files) {
            // The module options are handed back to the host, not written.
            const QByteArray got = file == "module_options.txt"
                                       ? (moduleOptions.join('\n') + '\n').toUtf8()
                                       : readAll(out + file);
            QCOMPARE(QString::fromUtf8(got),
                     QString::fromUtf8(readAll(expectedDir.filePath(file))));
        }
        Core::IdeCore::setProjectDirectory(QString());
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
