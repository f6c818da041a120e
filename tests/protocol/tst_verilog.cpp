#include "jesd204b.h"
#include "jesd204bdlg.h"

#include <serdes.h>
#include <testfiles.h>
#include <testpaths.h>

#include <QtTest>

using namespace IPJESD204B;

namespace {

// A range bound such as "32*2*8-1": the wrapper only multiplies and subtracts.
int evaluate(const QString &expression)
{
    const QStringList terms = expression.split(QLatin1Char('-'));
    int value = 1;
    for (const QString &factor : terms.first().split(QLatin1Char('*')))
        value *= factor.trimmed().toInt();
    for (const QString &term : terms.mid(1))
        value -= term.trimmed().toInt();
    return value;
}

// Exit code (-1 when it crashed or hung) and output.
QPair<int, QByteArray> iverilog(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("iverilog"), arguments);
    const bool finished =
        process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1,
            process.readAllStandardOutput() + process.readAllStandardError()};
}

} // namespace

class TestVerilog : public QObject
{
    Q_OBJECT

private slots:
    void wrapperCompiles_data()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("iverilog")).isEmpty())
            QSKIP("iverilog is not installed");
        QTest::addColumn<QString>("name"); // of the example
        QTest::addColumn<IPSERDESIP::ParameterMap>("changes");
        QTest::addColumn<bool>("compareFigure");
        // clang-format off
        QTest::newRow("transmit, 2 lanes") << "tx_2lane" << IPSERDESIP::ParameterMap{} << true;
        QTest::newRow("receive, 2 lanes") << "rx_2lane" << IPSERDESIP::ParameterMap{} << true;
        QTest::newRow("both, 8 lanes, 64-bit, DRP") << "both_8lane" << IPSERDESIP::ParameterMap{} << true;
        QTest::newRow("group B, CPLL") << "groupb" << IPSERDESIP::ParameterMap{} << true;
        QTest::newRow("both quads on QPLL1") << "both_8lane" << IPSERDESIP::ParameterMap{{"PLL_Selection", "QPLL1"}, {"DRP_Ports", false}} << true;
        QTest::newRow("one lane, no width") << "tx_2lane" << IPSERDESIP::ParameterMap{{"Number_of_lanes", "1"}, {"recordlanes", QStringList{"Q0 Lane3"}}, {"Pcs_Width_32bit", false}} << false;
        QTest::newRow("no core mode") << "rx_2lane" << IPSERDESIP::ParameterMap{{"Receive", false}} << false;
        // clang-format on
    }

    void wrapperCompiles()
    {
        QFETCH(QString, name);
        QFETCH(IPSERDESIP::ParameterMap, changes);
        QFETCH(bool, compareFigure);
        IPSERDESIP::ParameterMap params =
            TestFiles::readJson(TestPaths::example(name + ".json")).toVariantMap();
        QVERIFY(!params.isEmpty());
        params.insert(changes);

        // A package whose data directory holds the wrapper and a stand-in for the vendor core.
        QTemporaryDir work;
        const QString package = TestFiles::pluginCopy(work.path(), "");
        IPSERDESIP::serdes::instance()->reset();
        IPSERDESIP::serdes::instance()->setWorkingDir(work.path());
        jesd204b protocol(package);
        QVERIFY(protocol.load());
        QStringList ini, reserved, options;
        QString message;
        QVERIFY2(protocol.generate(params, ini, reserved, options, message, true),
                 qPrintable(message));

        const QJsonObject manifest =
            TestFiles::readJson(work.path() + "/" + params.value("file").toString() +
                                "/temp/jesd204b/jesd204b_synthesis.json");
        QStringList common{"-I", manifest.value("includeDir").toString()};
        for (const QJsonValue &define : manifest.value("defines").toArray())
            common << "-D" + define.toString();
        const QStringList sources = manifest.value("sources").toVariant().toStringList();
        QCOMPARE(sources.size(), 2);

        const auto pre = iverilog(common + QStringList{"-E", "-o", "/dev/stdout", sources.at(1)});
        QVERIFY2(pre.first == 0, pre.second.constData());

        // The vendor core's stand-in has the ports the wrapper declares, outputs tied off.
        static const QRegularExpression port(
            QStringLiteral("\\b(input|output)\\s+wire\\s*(?:\\[([^:\\]]+):0\\])?\\s*(\\w+)"));
        QStringList declarations, assignments, signature;
        for (auto it = port.globalMatch(QString::fromUtf8(pre.second)); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QString name = match.captured(3);
            const bool input = match.captured(1) == QLatin1String("input");
            QString range;
            if (!match.captured(2).isEmpty())
                range = QStringLiteral("[%1:0]").arg(evaluate(match.captured(2)));
            declarations << QStringLiteral("    %1 wire %2 %3").arg(match.captured(1), range, name);
            if (!input)
                assignments << QStringLiteral("    assign %1 = 0;").arg(name);
            signature << (input ? "in " : "out ") + name + range;
        }
        TestFiles::put(package + "/data/jesd204b_core_encryption.v",
                       "module jesd204b_core (\n" + declarations.join(",\n").toUtf8() + ");\n" +
                           assignments.join('\n').toUtf8() + "\nendmodule\n");
        const auto compile = iverilog(common +
                                      QStringList{"-Wall", "-o", work.filePath("top.vvp"), "-s",
                                                  params.value("module").toString()} +
                                      sources);
        QVERIFY2(compile.first == 0 && compile.second.trimmed().isEmpty(),
                 compile.second.constData());
        if (!compareFigure)
            return;

        // The wrapper's ports are the ports the dialog draws for the same configuration.
        IPSERDESIP::serdes::instance()->reset();
        IPSERDESIP::ParameterMap dialogParams;
        jesd204bdlg dialog(protocol.ipInfo(), &dialogParams, nullptr);
        QVERIFY(dialog.setOpening(params));
        QStringList pins;
        for (const Utils::PinFigure &pin : dialog.figurePins())
            pins << (pin.side() == 0 ? "in " : "out ") + pin.label();
        pins.sort();
        signature.sort();
        QCOMPARE(signature, pins);
    }
};

QTEST_MAIN(TestVerilog)
#include "tst_verilog.moc"
