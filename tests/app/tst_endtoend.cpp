// Configures a core the way a user does, through the widgets of the dialog that the plug-in
// shows from create(), then generates it and compares the files with the example's.
#include "messageboxwatcher.h"
#include "pluginloader.h"
#include "testpaths.h"

#include <baseprotocol.h>
#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include "testfiles.h"
#include <QComboBox>
#include <QDialogButtonBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Enters the example's choices into the dialog that create() runs and presses OK.
void enterAndAccept(QDialog *dialog, const IPSERDESIP::ParameterMap &example)
{
    const auto value = [&example](const QString &key) { return example.value(key).toString(); };
    const auto select = [dialog](const QString &name, const QString &text) {
        auto *box = dialog->findChild<QComboBox *>(name);
        QVERIFY2(box && box->findText(text) >= 0, qPrintable(name + ": " + text));
        box->setCurrentIndex(box->findText(text));
    };
    for (const char *mode : {"Receive", "Transmit"})
        dialog->findChild<QRadioButton *>(mode)->setChecked(example.value(mode).toBool());
    select("comboxNumOfLanes", value("Number_of_lanes"));
    select("refClkSource", value("Reference_CLK_Source"));
    const auto type = [dialog](const QString &name, const QString &text) {
        dialog->findChild<QLineEdit *>(name)->setText(text);
        emit dialog->findChild<QLineEdit *>(name)->editingFinished();
    };
    type("lineRate", value("Line_Rate"));
    type("refClkFreq", value("Reference_CLK_Frequency"));
    for (int row = 0; row < value("Number_of_lanes").toInt(); ++row)
        select(QStringLiteral("Lane%1Connect").arg(row),
               value(QStringLiteral("JESD204B_Lane%1_connect_with").arg(row)));
    select("PLL_Selection", value("PLL_Selection"));
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    if (dialog->isVisible())
        dialog->reject(); // refused: end it instead of hanging
}

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
        // clang-format off
        QTest::newRow("receive, two lanes") << "rx_2lane" << QStringList{"Question: Q0 Lane2, Q0 Lane3 BIAS will also be changed to 7, whether to accept or not? "};
        // clang-format on
    }
    void configureAndGenerate()
    {
        QFETCH(QString, example);
        QFETCH(QStringList, asked);
        const QString path = TestPaths::examplesDir() + "/" + example;
        const IPSERDESIP::ParameterMap expected =
            QJsonDocument::fromJson(TestFiles::bytes(path + ".json")).toVariant().toMap();
        QString error;
        const HostProgram::PluginSet plugins =
            HostProgram::loadPlugins(TestPaths::pluginDir(), &error);
        IPSERDESIP::BaseProtocol *protocol = plugins.jesd204b();
        QVERIFY2(protocol, qPrintable(error));

        QTemporaryDir work;
        const DEV::DeviceArg device =
            Core::IdeCore::deviceDataBase()->findDevice(expected.value("target_device").toString());
        IPSERDESIP::serdes::instance()->reset();
        IPSERDESIP::serdes::instance()->setDevice(device);
        IPSERDESIP::serdes::instance()->setWorkingDir(work.path());
        Core::IdeCore::setProjectDirectory(work.path());

        QTimer::singleShot(0, [&] {
            enterAndAccept(qobject_cast<QDialog *>(QApplication::activeModalWidget()), expected);
        });
        MessageBoxWatcher boxes;
        const IPSERDESIP::ParameterMap params =
            protocol->create(expected.value("file").toString(), device);
        QCOMPARE(boxes.lines(), asked);
        const auto lines = [](const IPSERDESIP::ParameterMap &map) {
            return QJsonDocument(QJsonObject::fromVariantMap(map)).toJson().split('\n');
        };
        QCOMPARE(lines(params), lines(expected));

        QStringList iniLines, reserved, moduleOptions;
        QString message;
        QVERIFY2(protocol->generate(params, iniLines, reserved, moduleOptions, message, false),
                 qPrintable(message));
        const QString out = work.path() + "/" + params.value("file").toString() + "/temp/jesd204b/";
        const QDir expectedDir(TestPaths::examplesDir() + "/expected/" + example);
        QVERIFY(expectedDir.exists("jesd204b.ini"));
        for (const QString &file : expectedDir.entryList(QDir::Files)) {
            // The module options are handed back to the host, not written.
            const QByteArray made = file == "module_options.txt"
                                        ? (moduleOptions.join('\n') + '\n').toUtf8()
                                        : TestFiles::bytes(out + file);
            QCOMPARE(made.split('\n'), TestFiles::bytes(expectedDir.filePath(file)).split('\n'));
        }
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
