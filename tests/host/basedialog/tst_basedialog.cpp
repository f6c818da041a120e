#include "messageboxwatcher.h"

#include <basedialog/modulesymbol.h>
#include <idecore.h>
#include <protocolgendlg.h>

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using ParamMap = QMap<QString, QVariant>;

namespace {

// Notes when the base class runs the protocol hooks, and with which device.
class RecordingDlg : public IPSERDESIP::protocolGenDlg
{
public:
    RecordingDlg()
    {
        uiSetDefaultFileName(QStringLiteral("jesd204b_0"));
        uiSetModuleName(QStringLiteral("jesd204b"));
    }
    void initDialog() override
    {
        calls << "init " + device().id();
        fileNameConnectCreatIn();
    }
    bool loadParameters(const ParamMap &) override
    {
        calls << QStringLiteral("load");
        return loadAnswer;
    }
    bool fileChecked() const { return m_fileChecked; }
    QLineEdit *edit(const char *name) const { return findChild<QLineEdit *>(name); }

    QStringList calls;
    bool loadAnswer = true;
};

} // namespace

class TestBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Core::IdeCore::setProjectDirectory(QString()); }

    // Creating a core of the given name, or opening the given set; either twice.
    void startingUp_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ParamMap>("params"); // opened unless empty
        QTest::addColumn<bool>("loadAnswer");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("module");
        const ParamMap full{
            {"target_device", "TQ2M1-BG256"}, {"file", "link_a"}, {"module", "link_top"}};
        const QStringList opened{"init TQ2M1-BG256", "load", "load"};
        // clang-format off
        QTest::newRow("blank name keeps defaults") << "   " << ParamMap() << true << QStringList{"init TQ2M1-BG256"} << "jesd204b_0" << "jesd204b";
        QTest::newRow("name made an identifier") << "2nd link-0" << ParamMap() << true << QStringList{"init TQ2M1-BG256"} << "2nd link-0" << "_2nd_link_0";
        QTest::newRow("accepted set") << "" << full << true << opened << "link_a" << "link_top";
        QTest::newRow("refused set") << "" << full << false << opened << "link_a" << "link_top";
        QTest::newRow("unknown device, no names") << "" << ParamMap{{"target_device", "NOPE-1"}} << true << QStringList{"init ", "load", "load"} << "jesd204b_0" << "jesd204b";
        // clang-format on
    }
    void startingUp()
    {
        QFETCH(QString, name);
        QFETCH(ParamMap, params);
        QFETCH(bool, loadAnswer);
        RecordingDlg dlg;
        dlg.loadAnswer = loadAnswer;
        for (int round = 0; round < 2; ++round) {
            if (params.isEmpty())
                dlg.setCreating(name, DEV::DeviceArg("TQ2M1-BG256", "TQ2-M1", 1));
            else
                QCOMPARE(dlg.setOpening(params), loadAnswer);
        }
        QTEST(dlg.calls, "calls");
        QTEST(dlg.fileName(), "file");
        QTEST(dlg.moduleName(), "module");
        // A restored file is the core's own output; a restored module name is the user's choice.
        QCOMPARE(dlg.fileChecked(), params.contains("file"));
        QCOMPARE(dlg.moduleNameFollowsFileName(), !params.contains("module"));
    }

    void nameChecks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QStringList>("fileProblems"); // shown in one box
        QTest::addColumn<QString>("moduleProblem");
        const QString bad = "The file name \"%1\" contains characters that are not allowed: %2";
        const QString notIdentifier = "The module name \"%1\" contains \"%2\"; a Verilog "
                                      "identifier holds only letters, digits, \"_\" and \"$\".";
        // clang-format off
        QTest::newRow("fine, blank inside") << "my core" << "core$1" << QStringList() << "";
        QTest::newRow("both empty") << "" << "" << QStringList{"The file name is empty.", "The module name is empty."} << "The module name is empty.";
        QTest::newRow("only blanks") << "  " << "top" << QStringList{"The file name is empty."} << "";
        QTest::newRow("trailing blank") << "core " << "top" << QStringList{"The file name \"core \" begins or ends with a blank."} << "";
        QTest::newRow("every forbidden character") << "a/b\\c:d*e?f\"g<h>i|j/" << "top" << QStringList{bad.arg("a/b\\c:d*e?f\"g<h>i|j/", "/ \\ : * ? \" < > |")} << "";
        QTest::newRow("control character") << "a\tb" << "top" << QStringList{bad.arg("a\tb", "U+0009")} << "";
        QTest::newRow("dot dot") << ".." << "top" << QStringList{"The file name cannot be \".\" or \"..\"."} << "";
        QTest::newRow("too long") << QString(256, 'a') << "top" << QStringList{"The file name is longer than 255 bytes."} << "";
        QTest::newRow("keyword in other case") << "core" << "Module" << QStringList() << "";
        QTest::newRow("keyword") << "core" << "wire" << QStringList() << "The module name \"wire\" is a reserved Verilog keyword.";
        QTest::newRow("dollar first") << "core" << "$core" << QStringList() << "The module name \"$core\" must begin with a letter or \"_\".";
        QTest::newRow("non-ASCII letter") << "core" << QStringLiteral("c\u00f6re") << QStringList() << notIdentifier.arg(QStringLiteral("c\u00f6re"), QStringLiteral("\u00f6"));
        // clang-format on
    }
    void nameChecks()
    {
        QFETCH(QString, file);
        QFETCH(QString, module);
        QFETCH(QStringList, fileProblems);
        QFETCH(QString, moduleProblem);
        MessageBoxWatcher watcher;
        IPSERDESIP::protocolGenDlg dlg;
        dlg.uiSetDefaultFileName(file);
        dlg.uiSetModuleName(module);
        QCOMPARE(dlg.checkFileOptions(), fileProblems);
        QCOMPARE(dlg.checkModuleName(), moduleProblem.isEmpty());
        dlg.showErrorMsg(fileProblems);
        QStringList boxes;
        if (!moduleProblem.isEmpty())
            boxes << "Error: " + moduleProblem;
        if (!fileProblems.isEmpty())
            boxes << "Error: " + fileProblems.join('\n');
        QCOMPARE(watcher.lines(), boxes);
        for (const MessageBoxWatcher::Box &box : watcher.boxes())
            QVERIFY(box.buttons == QMessageBox::Ok && box.hasIconPixmap);
    }

    void existingOutputAsksBeforeOverwrite()
    {
        QTemporaryDir project;
        QVERIFY(QDir(project.path()).mkdir(QStringLiteral("core_a")));
        Core::IdeCore::setProjectDirectory(project.path());
        MessageBoxWatcher watcher;
        RecordingDlg dlg;
        dlg.uiSetDefaultFileName(QStringLiteral("core_b"));
        QVERIFY(dlg.checkFileExisting() && !dlg.fileChecked());

        dlg.uiSetDefaultFileName(QStringLiteral("core_a"));
        watcher.queueAnswer(QMessageBox::No);
        QVERIFY(!dlg.checkFileExisting() && !dlg.fileChecked());
        watcher.queueAnswer(QMessageBox::Yes);
        QVERIFY(dlg.checkFileExisting() && dlg.fileChecked());
        const QString question = QStringLiteral("Question: \"%1\" already exists. Overwrite it?")
                                     .arg(QDir::toNativeSeparators(project.path() + "/core_a"));
        QCOMPARE(watcher.lines(), (QStringList{question, question}));
        // The consent belonged to the old name.
        dlg.uiSetDefaultFileName(QStringLiteral("core_c"));
        QVERIFY(!dlg.fileChecked());

        Core::IdeCore::setProjectDirectory(QString());
        QCOMPARE(dlg.createPath(), QDir::currentPath());
    }

    void moduleFollowsTypedFileName()
    {
        RecordingDlg dlg;
        QLineEdit *file = dlg.edit("fileNameEdit");
        QLineEdit *module = dlg.edit("moduleNameEdit");
        dlg.fileNameConnectCreatIn();
        dlg.fileNameConnectCreatIn();
        file->clear();
        QTest::keyClicks(file, QStringLiteral("9 lane.v"));
        QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_v"));
        // Until the user types a module name, and again once it is emptied.
        QTest::keyClicks(module, QStringLiteral("_mine"));
        QTest::keyClicks(file, QStringLiteral("x"));
        QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_v_mine"));
        module->selectAll();
        QTest::keyClick(module, Qt::Key_Delete);
        QTest::keyClicks(file, QStringLiteral("y"));
        QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_vxy"));
        // Programmatic changes of the file name leave the module name alone.
        dlg.uiSetDefaultFileName(QStringLiteral("other"));
        QCOMPARE(dlg.moduleName(), QStringLiteral("_9_lane_vxy"));
    }

    // The symbol is built on first show or first request, from what the dialog was given until
    // then, and follows later pins and module names.
    void moduleSymbol_data()
    {
        QTest::addColumn<bool>("byShow");
        QTest::addColumn<bool>("pinsBefore");
        QTest::newRow("shown, pins given before") << true << true;
        QTest::newRow("requested, pins given after") << false << false;
    }

    void moduleSymbol()
    {
        QFETCH(bool, byShow);
        QFETCH(bool, pinsBefore);
        const Utils::PinFigureList pins{{"clk_i", 0, false, Qt::AlignLeft},
                                        {"data_o[31:0]", 1, true, Qt::AlignRight},
                                        {"data_i[31:0]", 0, true, Qt::AlignLeft}};
        RecordingDlg dlg;
        QVERIFY(!dlg.findChild<Utils::ModuleSymbol *>());
        if (pinsBefore)
            dlg.uiSetFigurePins(pins);
        if (byShow)
            dlg.show();
        auto *symbol = qobject_cast<Utils::ModuleSymbol *>(dlg.figureWidget());
        QVERIFY(symbol);
        // Laid out with the rest by the show itself, not by a later pass of the event loop.
        QCOMPARE(symbol->isVisible(), byShow);
        QCOMPARE(dlg.findChildren<Utils::ModuleSymbol *>().size(), 1);
        QCOMPARE(symbol->moduleName(), QStringLiteral("jesd204b"));
        if (!pinsBefore)
            dlg.uiSetFigurePins(pins);
        QCOMPARE(symbol->pins(), pins);
        dlg.uiSetModuleName(QStringLiteral("renamed"));
        QCOMPARE(symbol->moduleName(), QStringLiteral("renamed"));

        // Inputs end at the box's left edge, outputs start at its right edge.
        symbol->resize(symbol->sizeHint());
        const QRect box = symbol->boxRect();
        QCOMPARE(symbol->pinLine(0).x2(), qreal(box.left()));
        QCOMPARE(symbol->pinLine(1).x1(), qreal(box.right() + 1));
        // Each side stacks its own pins: the first output shares the first input's row.
        QCOMPARE(symbol->pinLine(1).y1(), symbol->pinLine(0).y1());
        QVERIFY(symbol->pinLine(2).y1() > symbol->pinLine(0).y1());
    }
};

QTEST_MAIN(TestBaseDialog)
#include "tst_basedialog.moc"
