#include "messageboxwatcher.h"
#include "modulesymbol.h"

#include <idecore.h>
#include <protocolgendlg.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using IPSERDESIP::protocolGenDlg;
using Utils::PinFigure;
using ParamMap = QMap<QString, QVariant>;

namespace {

// Records the order in which the base class runs the protocol hooks.
class RecordingDlg : public protocolGenDlg
{
public:
    QStringList calls;
    QString deviceAtInit;
    bool loadAnswer = true;
    ParamMap loaded;

    void initDialog() override
    {
        calls << QStringLiteral("init");
        deviceAtInit = device().id();
        fileNameConnectCreatIn();
    }
    bool loadParameters(const ParamMap &params) override
    {
        calls << QStringLiteral("load");
        loaded = params;
        return loadAnswer;
    }
    void setDevice(const ParamMap &params) override
    {
        calls << QStringLiteral("device");
        protocolGenDlg::setDevice(params);
    }
    bool fileChecked() const { return m_fileChecked; }
    void setHelp(const QString &text) { m_helpText = text; }
};

QLineEdit *edit(const protocolGenDlg &dlg, const char *name)
{
    return dlg.findChild<QLineEdit *>(QLatin1String(name));
}

// Ink pixels crossing a horizontal stub: the stroke's thickness.
int strokeThickness(const QImage &image, const QLineF &line, QRgb ink)
{
    const int x = int((line.x1() + line.x2()) / 2);
    const int y = int(line.y1());
    int count = 0;
    for (int dy = -5; dy <= 5; ++dy)
        count += image.pixel(x, y + dy) == ink ? 1 : 0;
    return count;
}

} // namespace

class TestBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Core::IdeCore::setProjectDirectory(QString()); }

    void creatingRunsInitOnceWithDevice_data();
    void creatingRunsInitOnceWithDevice();
    void openingRunsHooksInOrder_data();
    void openingRunsHooksInOrder();
    void fileOptionProblems_data();
    void fileOptionProblems();
    void moduleNameRules_data();
    void moduleNameRules();
    void existingOutputAsksBeforeOverwrite();
    void errorListShownInOneBox();
    void moduleFollowsTypedFileName();
    void toolAndLanguageChoices();
    void figurePinsDrawnBySide();
    void imagesLoadUnderBothSpellings_data();
    void imagesLoadUnderBothSpellings();
    void okAndHelpButtons();
};

void TestBaseDialog::creatingRunsInitOnceWithDevice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("module");

    QTest::newRow("empty name keeps defaults") << QString() << "jesd204b_0"
                                               << "jesd204b";
    QTest::newRow("blank name keeps defaults") << "   "
                                               << "jesd204b_0"
                                               << "jesd204b";
    QTest::newRow("name made an identifier") << "adc link-0"
                                             << "adc link-0"
                                             << "adc_link_0";
    QTest::newRow("leading digit") << "2nd"
                                   << "2nd"
                                   << "_2nd";
}

void TestBaseDialog::creatingRunsInitOnceWithDevice()
{
    QFETCH(QString, name);
    RecordingDlg dlg;
    dlg.uiSetDefaultFileName(QStringLiteral("jesd204b_0"));
    dlg.uiSetModuleName(QStringLiteral("jesd204b"));

    const DEV::DeviceArg device(QStringLiteral("TQ2H4-FF676"), QStringLiteral("TQ2-H4"), 2);
    dlg.setCreating(name, device);
    dlg.setCreating(name, device);

    QCOMPARE(dlg.calls, QStringList{QStringLiteral("init")});
    QCOMPARE(dlg.deviceAtInit, device.id());
    QCOMPARE(dlg.device(), device);
    QTEST(dlg.fileName(), "file");
    QTEST(dlg.moduleName(), "module");
    QVERIFY(dlg.moduleNameFollowsFileName());
}

void TestBaseDialog::openingRunsHooksInOrder_data()
{
    QTest::addColumn<ParamMap>("params");
    QTest::addColumn<bool>("loadAnswer");
    QTest::addColumn<QString>("deviceName");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("module");
    QTest::addColumn<bool>("fileChecked");

    const ParamMap full{{"target_device", "TQ2M1-BG256"},
                        {"file", "link_a"},
                        {"module", "link_top"},
                        {"version", "1.0"}};
    QTest::newRow("accepted set") << full << true << "TQ2-M1"
                                  << "link_a"
                                  << "link_top" << true;
    QTest::newRow("refused set") << full << false << "TQ2-M1"
                                 << "link_a"
                                 << "link_top" << true;
    QTest::newRow("unknown device, no names")
        << ParamMap{{"target_device", "NOPE-1"}} << true << QString() << "jesd204b_0"
        << "jesd204b" << false;
}

void TestBaseDialog::openingRunsHooksInOrder()
{
    QFETCH(ParamMap, params);
    QFETCH(bool, loadAnswer);
    QFETCH(QString, deviceName);
    RecordingDlg dlg;
    dlg.uiSetDefaultFileName(QStringLiteral("jesd204b_0"));
    dlg.uiSetModuleName(QStringLiteral("jesd204b"));
    dlg.loadAnswer = loadAnswer;

    QCOMPARE(dlg.setOpening(params), loadAnswer);
    QCOMPARE(dlg.calls, (QStringList{"device", "init", "load"}));
    QCOMPARE(dlg.loaded, params);
    QCOMPARE(dlg.device().device(), deviceName);
    QCOMPARE(dlg.deviceAtInit, dlg.device().id());
    QCOMPARE(dlg.device().isNull(), deviceName.isEmpty());
    QTEST(dlg.fileName(), "file");
    QTEST(dlg.moduleName(), "module");
    QTEST(dlg.fileChecked(), "fileChecked");
    // A stored module name is the user's choice; it no longer follows the file name.
    QCOMPARE(dlg.moduleNameFollowsFileName(), !params.contains("module"));
}

void TestBaseDialog::fileOptionProblems_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QStringList>("problems");

    QTest::newRow("fine") << "jesd204b_0"
                          << "top" << QStringList();
    QTest::newRow("blank inside is fine") << "my core"
                                          << "top" << QStringList();
    QTest::newRow("both empty") << ""
                                << ""
                                << QStringList{"The file name is empty.",
                                               "The module name is empty."};
    QTest::newRow("only blanks") << "  "
                                 << "top" << QStringList{"The file name is empty."};
    QTest::newRow("trailing blank")
        << "core "
        << "top" << QStringList{"The file name \"core \" begins or ends with a blank."};
    QTest::newRow("every forbidden character")
        << "a/b\\c:d*e?f\"g<h>i|j/"
        << "top"
        << QStringList{"The file name \"a/b\\c:d*e?f\"g<h>i|j/\" contains characters that are "
                       "not allowed: / \\ : * ? \" < > |"};
    QTest::newRow("control character")
        << "a\tb"
        << "top"
        << QStringList{"The file name \"a\tb\" contains characters that are not allowed: U+0009"};
    QTest::newRow("dot dot") << ".."
                             << "top" << QStringList{"The file name cannot be \".\" or \"..\"."};
    QTest::newRow("too long") << QString(256, QLatin1Char('a')) << "top"
                              << QStringList{"The file name is longer than 255 bytes."};
}

void TestBaseDialog::fileOptionProblems()
{
    QFETCH(QString, file);
    QFETCH(QString, module);
    protocolGenDlg dlg;
    dlg.uiSetDefaultFileName(file);
    dlg.uiSetModuleName(module);
    QTEST(dlg.checkFileOptions(), "problems");
}

void TestBaseDialog::moduleNameRules_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters and digits") << "jesd204b_top" << QString();
    QTest::newRow("dollar inside") << "core$1" << QString();
    QTest::newRow("keyword in other case") << "Module" << QString();
    QTest::newRow("empty") << ""
                           << "The module name is empty.";
    QTest::newRow("keyword module") << "module"
                                    << "The module name \"module\" is a reserved Verilog keyword.";
    QTest::newRow("keyword wire") << "wire"
                                  << "The module name \"wire\" is a reserved Verilog keyword.";
    QTest::newRow("digit first") << "1core"
                                 << "The module name \"1core\" must begin with a letter or \"_\".";
    QTest::newRow("dollar first") << "$core"
                                  << "The module name \"$core\" must begin with a letter or \"_\".";
    QTest::newRow("hyphen") << "my-core"
                            << "The module name \"my-core\" contains \"-\"; a Verilog identifier "
                               "holds only letters, digits, \"_\" and \"$\".";
    QTest::newRow("non-ASCII letter")
        << QStringLiteral("c\u00f6re")
        << QStringLiteral("The module name \"c\u00f6re\" contains \"\u00f6\"; a Verilog "
                          "identifier holds only letters, digits, \"_\" and \"$\".");
}

void TestBaseDialog::moduleNameRules()
{
    QFETCH(QString, module);
    QFETCH(QString, message);
    MessageBoxWatcher watcher;
    protocolGenDlg dlg;
    dlg.uiSetModuleName(module);

    QCOMPARE(dlg.checkModuleName(), message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY(watcher.boxes().isEmpty());
    } else {
        QCOMPARE(watcher.lines(), QStringList{"Error: " + message});
        QVERIFY(watcher.boxes().first().hasIconPixmap);
    }
}

void TestBaseDialog::existingOutputAsksBeforeOverwrite()
{
    QTemporaryDir project;
    QVERIFY(project.isValid());
    QVERIFY(QDir(project.path()).mkdir(QStringLiteral("core_a")));
    Core::IdeCore::setProjectDirectory(project.path());

    MessageBoxWatcher watcher;
    RecordingDlg dlg;
    QCOMPARE(dlg.createPath(), QDir::cleanPath(project.path()));

    dlg.uiSetDefaultFileName(QStringLiteral("core_b"));
    QVERIFY(dlg.checkFileExisting());
    QVERIFY(!dlg.fileChecked());
    QVERIFY(watcher.boxes().isEmpty());

    dlg.uiSetDefaultFileName(QStringLiteral("core_a"));
    const QString question = QStringLiteral("Question: \"%1\" already exists. Overwrite it?")
                                 .arg(QDir::toNativeSeparators(project.path() + "/core_a"));
    watcher.queueAnswer(QMessageBox::No);
    QVERIFY(!dlg.checkFileExisting());
    QVERIFY(!dlg.fileChecked());
    watcher.queueAnswer(QMessageBox::Yes);
    QVERIFY(dlg.checkFileExisting());
    QVERIFY(dlg.fileChecked());
    QCOMPARE(watcher.lines(), (QStringList{question, question}));

    // The consent belonged to the old name.
    dlg.uiSetDefaultFileName(QStringLiteral("core_c"));
    QVERIFY(!dlg.fileChecked());

    Core::IdeCore::setProjectDirectory(QString());
    QCOMPARE(dlg.createPath(), QDir::currentPath());
}

void TestBaseDialog::errorListShownInOneBox()
{
    MessageBoxWatcher watcher;
    protocolGenDlg dlg;
    dlg.showErrorMsg({});
    QVERIFY(watcher.boxes().isEmpty());

    dlg.showErrorMsg({QStringLiteral("First."), QStringLiteral("Second.")});
    QCOMPARE(watcher.lines(), QStringList{"Error: First.\nSecond."});
    QCOMPARE(watcher.boxes().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(watcher.boxes().first().hasIconPixmap);
}

void TestBaseDialog::moduleFollowsTypedFileName()
{
    protocolGenDlg dlg;
    dlg.uiSetModuleName(QStringLiteral("top"));
    QLineEdit *file = edit(dlg, "fileNameEdit");
    QLineEdit *module = edit(dlg, "moduleNameEdit");
    QVERIFY(file && module);

    QTest::keyClicks(file, QStringLiteral("x"));
    QCOMPARE(dlg.moduleName(), QStringLiteral("top"));

    dlg.fileNameConnectCreatIn();
    dlg.fileNameConnectCreatIn();
    file->clear();
    QTest::keyClicks(file, QStringLiteral("9 lane.v"));
    QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_v"));

    QTest::keyClicks(module, QStringLiteral("_mine"));
    QVERIFY(!dlg.moduleNameFollowsFileName());
    QTest::keyClicks(file, QStringLiteral("x"));
    QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_v_mine"));

    module->selectAll();
    QTest::keyClick(module, Qt::Key_Delete);
    QVERIFY(dlg.moduleNameFollowsFileName());
    QTest::keyClicks(file, QStringLiteral("y"));
    QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_vxy"));

    // Programmatic changes of the file name leave the module name alone.
    dlg.uiSetDefaultFileName(QStringLiteral("other"));
    QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_vxy"));
}

void TestBaseDialog::toolAndLanguageChoices()
{
    protocolGenDlg dlg;
    auto *tools = dlg.findChild<QComboBox *>(QStringLiteral("synthesisToolCombo"));
    QVERIFY(tools && tools->count() == 2);
    dlg.uiSetSynthesisTool(tools->itemText(1));
    dlg.uiSetSynthesisTool(QString());
    QCOMPARE(dlg.uiSynthesisTool(), tools->itemText(1));
    // A stored tool this host does not offer is kept, not replaced.
    dlg.uiSetSynthesisTool(QStringLiteral("Some other tool"));
    QCOMPARE(dlg.uiSynthesisTool(), QStringLiteral("Some other tool"));

    dlg.uiSetLanguageIndex(1);
    QCOMPARE(dlg.findChild<QComboBox *>(QStringLiteral("languageCombo"))->currentText(),
             QStringLiteral("VHDL"));
    dlg.uiSetLanguageIndex(7);
    QCOMPARE(dlg.uiLanguageIndex(), 0);

    dlg.uiSetLabelText(QStringLiteral("JESD204B"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("IP Core Generator - JESD204B"));
}

void TestBaseDialog::figurePinsDrawnBySide()
{
    protocolGenDlg dlg;
    auto *symbol = qobject_cast<Utils::ModuleSymbol *>(dlg.figureWidget());
    QVERIFY(symbol);
    const QSize emptySize = symbol->sizeHint();

    const QList<PinFigure> pins{PinFigure(QStringLiteral("data_i[63:0]"), 0, true, Qt::AlignLeft),
                                PinFigure(QStringLiteral("clk_i"), 0, false, Qt::AlignLeft),
                                PinFigure(QStringLiteral("ready_o"), 1, false, Qt::AlignRight),
                                PinFigure(QStringLiteral("status_o[3:0]"), 1, true, Qt::AlignRight),
                                PinFigure(QStringLiteral("rst_i"), 0, false, Qt::AlignLeft)};
    dlg.uiSetFigurePins(pins);
    QCOMPARE(dlg.figurePins(), pins);
    QCOMPARE(symbol->pins(), pins);
    QVERIFY(symbol->sizeHint().height() > emptySize.height());

    QTest::keyClicks(edit(dlg, "moduleNameEdit"), QStringLiteral("link"));
    QCOMPARE(symbol->moduleName(), QStringLiteral("link"));

    symbol->resize(symbol->sizeHint());
    const QRect box = symbol->boxRect();
    for (int i = 0; i < pins.size(); ++i) {
        const QLineF line = symbol->pinLine(i);
        QCOMPARE(int(pins.at(i).side() == 1 ? line.x1() : line.x2()),
                 pins.at(i).side() == 1 ? box.right() + 1 : box.left());
    }
    // Each side stacks its own pins: the third input sits on the third row.
    QCOMPARE(symbol->pinLine(0).y1(), symbol->pinLine(2).y1());
    QVERIFY(symbol->pinLine(4).y1() > symbol->pinLine(3).y1());

    const QImage image = symbol->grab().toImage();
    QVERIFY(!image.isNull());
    const QRgb ink = symbol->palette().color(QPalette::WindowText).rgb();
    for (int i = 0; i < pins.size(); ++i) {
        QCOMPARE(strokeThickness(image, symbol->pinLine(i), ink),
                 pins.at(i).isBus() ? Utils::ModuleSymbol::busPenWidth : 1);
    }
}

void TestBaseDialog::imagesLoadUnderBothSpellings_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("module") << "module.png";
    QTest::newRow("exclamation") << "exclamation.png";
}

void TestBaseDialog::imagesLoadUnderBothSpellings()
{
    QFETCH(QString, name);
    const QPixmap plain(":/image/" + name);
    const QPixmap doubled("://image/" + name);
    QVERIFY(!plain.isNull());
    QVERIFY(!doubled.isNull());
    QCOMPARE(doubled.toImage(), plain.toImage());
}

void TestBaseDialog::okAndHelpButtons()
{
    MessageBoxWatcher watcher;
    RecordingDlg dlg;
    dlg.show();
    auto *buttons = dlg.findChild<QDialogButtonBox *>();
    QVERIFY(buttons);

    buttons->button(QDialogButtonBox::Help)->click();
    dlg.setHelp(QStringLiteral("Configures a link."));
    buttons->button(QDialogButtonBox::Help)->click();
    QCOMPARE(watcher.lines(), (QStringList{"Help: No help is available for this core.",
                                           "Help: Configures a link."}));
    QVERIFY(dlg.isVisible());

    buttons->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(TestBaseDialog)
#include "tst_basedialog.moc"
