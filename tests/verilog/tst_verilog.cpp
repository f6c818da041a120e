#include "dialog/jesd204bdlg.h"
#include "parameterfile.h"
#include "protocol/jesd204b.h"

#include <idecore.h>
#include <serdes.h>
#include <testpaths.h>

#include <QtTest>

#include <algorithm>

using namespace IPJESD204B;

namespace {

struct Port
{
    QString direction; // "input" or "output"
    QString name;
    int msb = -1; // -1: single bit
};

// Upper bit index of a range such as "32*2*8-1": the wrapper only multiplies and subtracts.
int evaluateMsb(const QString &expression)
{
    const QStringList terms = expression.split(QLatin1Char('-'));
    int value = 1;
    for (const QString &factor : terms.first().split(QLatin1Char('*')))
        value *= factor.trimmed().toInt();
    for (int i = 1; i < terms.size(); ++i)
        value -= terms.at(i).trimmed().toInt();
    return value;
}

// The port declarations of the preprocessed wrapper, in order.
QList<Port> declaredPorts(const QString &preprocessed)
{
    static const QRegularExpression declaration(
        QStringLiteral("\\b(input|output)\\s+wire\\s*(?:\\[([^:\\]]+):0\\])?\\s*(\\w+)"));
    QList<Port> ports;
    auto it = declaration.globalMatch(preprocessed);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        ports.append({match.captured(1), match.captured(3),
                      match.captured(2).isEmpty() ? -1 : evaluateMsb(match.captured(2))});
    }
    return ports;
}

QString label(const Port &port)
{
    return port.msb < 0 ? port.name : QStringLiteral("%1[%2:0]").arg(port.name).arg(port.msb);
}

// "in tx_rst_i", "out tx_data_sof_o[3:0]", sorted.
QStringList signature(const QList<Port> &ports)
{
    QStringList lines;
    for (const Port &port : ports)
        lines << (port.direction == QLatin1String("input") ? "in " : "out ") + label(port);
    lines.sort();
    return lines;
}

QStringList signature(const QList<Utils::PinFigure> &pins)
{
    QStringList lines;
    for (const Utils::PinFigure &pin : pins)
        lines << (pin.side() == 0 ? "in " : "out ") + pin.label();
    lines.sort();
    return lines;
}

struct Tool
{
    int exitCode = -1;
    QByteArray output;
};

Tool run(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("iverilog"), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAll()};
}

} // namespace

class TestVerilog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wrapperCompiles_data();
    void wrapperCompiles();
};

void TestVerilog::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("iverilog")).isEmpty())
        QSKIP("iverilog is not installed");
}

void TestVerilog::wrapperCompiles_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<bool>("compareFigure");
    QTest::newRow("transmit, 2 lanes") << "tx_2lane" << QVariantMap{} << true;
    QTest::newRow("receive, 2 lanes") << "rx_2lane" << QVariantMap{} << true;
    QTest::newRow("both, 8 lanes, 64-bit, DRP") << "both_8lane" << QVariantMap{} << true;
    QTest::newRow("group B, CPLL") << "groupb" << QVariantMap{} << true;
    QTest::newRow("both quads on QPLL1")
        << "both_8lane" << QVariantMap{{"PLL_Selection", "QPLL1"}, {"DRP_Ports", false}} << true;
    QTest::newRow("one lane, no width") << "tx_2lane"
                                        << QVariantMap{{"Number_of_lanes", "1"},
                                                       {"recordlanes", QStringList{"Q0 Lane3"}},
                                                       {"Pcs_Width_32bit", false}}
                                        << false;
    QTest::newRow("no core mode") << "rx_2lane" << QVariantMap{{"Receive", false}} << false;
}

void TestVerilog::wrapperCompiles()
{
    QFETCH(QString, example);
    QFETCH(QVariantMap, changes);
    QFETCH(bool, compareFigure);

    QString error;
    HostProgram::ParameterSet params;
    QVERIFY2(HostProgram::readParameterFile(TestPaths::examplesDir() + "/" + example + ".json",
                                            &params, &error),
             qPrintable(error));
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it)
        params.insert(it.key(), it.value());

    // A package whose data directory holds the wrapper and a placeholder for the vendor core.
    QTemporaryDir package;
    QTemporaryDir work;
    QVERIFY(QFile::copy(TestPaths::sourceDir() + "/data/jesd204b.ipspec",
                        package.filePath("jesd204b.ipspec")));
    QVERIFY(QDir(package.path()).mkdir("data"));
    QVERIFY(QFile::copy(TestPaths::sourceDir() + "/data/data/jesd204b_top.v",
                        package.filePath("data/jesd204b_top.v")));
    QFile core(package.filePath("data/jesd204b_core_encryption.v"));
    QVERIFY(core.open(QIODevice::WriteOnly));
    core.close();

    IPSERDESIP::serdes::instance()->reset();
    IPSERDESIP::serdes::instance()->setWorkingDir(work.path());
    jesd204b protocol(package.path());
    QVERIFY(protocol.load());
    QStringList ini, reserved, options;
    QString message;
    QVERIFY2(protocol.generate(params, ini, reserved, options, message, true), qPrintable(message));

    const QString genDir = work.path() + "/" + params.value("file").toString() + "/temp/jesd204b";
    QFile manifestFile(genDir + "/jesd204b_synthesis.json");
    QVERIFY(manifestFile.open(QIODevice::ReadOnly));
    const QJsonObject manifest = QJsonDocument::fromJson(manifestFile.readAll()).object();
    QStringList common{"-I", manifest.value("includeDir").toString()};
    for (const QJsonValue &define : manifest.value("defines").toArray())
        common << "-D" + define.toString();
    QStringList sources;
    for (const QJsonValue &source : manifest.value("sources").toArray())
        sources << source.toString();
    QCOMPARE(sources.size(), 2);

    const QString preprocessed = work.filePath("wrapper.E.v");
    const Tool pre = run(common + QStringList{"-E", "-o", preprocessed, sources.at(1)});
    QVERIFY2(pre.exitCode == 0, pre.output.constData());
    QFile preFile(preprocessed);
    QVERIFY(preFile.open(QIODevice::ReadOnly));
    const QList<Port> ports = declaredPorts(QString::fromUtf8(preFile.readAll()));
    QVERIFY(!ports.isEmpty());

    // Stand-in for the vendor core: the ports the wrapper connects, outputs tied off.
    QStringList standIn{"module jesd204b_core ("};
    for (int i = 0; i < ports.size(); ++i) {
        const Port &port = ports.at(i);
        standIn << QStringLiteral("    %1 wire %2 %3%4")
                       .arg(port.direction,
                            port.msb < 0 ? QString() : QStringLiteral("[%1:0]").arg(port.msb),
                            port.name, i + 1 < ports.size() ? "," : "");
    }
    standIn << ");";
    for (const Port &port : ports) {
        if (port.direction == QLatin1String("output"))
            standIn << QStringLiteral("    assign %1 = 0;").arg(port.name);
    }
    standIn << "endmodule";
    QVERIFY(core.open(QIODevice::WriteOnly));
    core.write(standIn.join('\n').toUtf8() + '\n');
    core.close();

    const Tool compile = run(common +
                             QStringList{"-Wall", "-o", work.filePath("top.vvp"), "-s",
                                         params.value("module").toString()} +
                             sources);
    QVERIFY2(compile.exitCode == 0, compile.output.constData());
    QVERIFY2(compile.output.trimmed().isEmpty(), compile.output.constData());

    if (!compareFigure)
        return;
    // The wrapper's ports are the ports the dialog draws for the same configuration.
    IPSERDESIP::serdes::instance()->reset();
    QMap<QString, QVariant> dialogParams;
    jesd204bdlg dialog(protocol.ipInfo(), &dialogParams, nullptr);
    QVERIFY(dialog.setOpening(params));
    QCOMPARE(signature(ports), signature(dialog.figurePins()));
}

QTEST_MAIN(TestVerilog)
#include "tst_verilog.moc"
