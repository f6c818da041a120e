#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Outcome
{
    int exitCode = -1;
    QStringList out;
    QString err;
};

Outcome runCheck(const QStringList &arguments)
{
    QProcess process;
    process.start(TestPaths::hostProgram(), QStringList{QStringLiteral("check")} + arguments);
    Outcome outcome;
    if (!process.waitForFinished(60000))
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput())
                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

QString example(const QString &name)
{
    return TestPaths::examplesDir() + QLatin1Char('/') + name;
}

QString design(const QString &name)
{
    return TestPaths::examplesDir() + QStringLiteral("/designs/") + name;
}

// An example parameter set with some values changed, written to dir.
QString variant(const QTemporaryDir &dir, const QString &base, const QJsonObject &changes)
{
    QFile in(example(base));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QJsonObject params = QJsonDocument::fromJson(in.readAll()).object();
    for (auto it = changes.begin(); it != changes.end(); ++it)
        params.insert(it.key(), it.value());
    const QString path = dir.filePath(base);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    out.write(QJsonDocument(params).toJson());
    return path;
}

} // namespace

class HostCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void examples_data();
    void examples();
    void everyExampleHasAVerdict();
    void infeasible_data();
    void infeasible();
    void keepsRecord();
    void refusesBadInput_data();
    void refusesBadInput();
};

void HostCheckTest::examples_data()
{
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("designFile");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expected"); // lines that must appear

    QTest::newRow("tx 2 lanes") << "tx_2lane.json" << QString() << 0
                                << QStringList{"jesd_tx:jesd_tx: the line rate can be made",
                                               "  q0_ln1 (Q0_LANE1, tx): 4.9152 Gbps on Q0_QPLL1, "
                                               "M 1, N 80, D 2, VCO 9.8304 GHz, from Q0_REFCLK0 "
                                               "at 122.88 MHz"};
    QTest::newRow("rx 2 lanes") << "rx_2lane.json" << QString() << 0
                                << QStringList{"jesd_rx:jesd_rx: the line rate can be made"};
    // 9.8304 Gbps from 245.76 MHz: N 40 on both quads' QPLL0, the clock reaching quad 0 from
    // its neighbour.
    QTest::newRow("both, 8 lanes") << "both_8lane.json" << QString() << 0
                                   << QStringList{"  q0_ln0 (Q0_LANE0, tx+rx): 9.8304 Gbps on "
                                                  "Q0_QPLL0, M 1, N 40, D 1, VCO 9.8304 GHz, "
                                                  "from Q1_REFCLK1 at 245.76 MHz"};
    QTest::newRow("group B on CPLL") << "groupb.json" << QString() << 0
                                     << QStringList{"  q0_ln0 (Q0_LANE0, rx): 6.144 Gbps on "
                                                    "Q0_CPLL0, M 1, N1 4, N2 5, D 1, VCO 3.072 "
                                                    "GHz, from MCLK at 153.6 MHz"};
    // Beside a receiver whose QPLL0 runs at 14.7456 GHz: QPLL1 is still free for the
    // transmitter, QPLL0 cannot give the receiver 4.9152 Gbps.
    QTest::newRow("tx beside running QPLL0")
        << "tx_2lane.json"
        << "jesd_rx_q0.json" << 0 << QStringList{"jesd_tx:jesd_tx: the line rate can be made"};
    QTest::newRow("rx on running QPLL0")
        << "rx_2lane.json"
        << "jesd_rx_q0.json" << 1
        << QStringList{"jesd_rx:jesd_rx: the line rate cannot be made",
                       "  q0_ln0, q0_ln1 on Q0_QPLL0: the PLL already runs at 14.7456 GHz for "
                       "adc.v:jesd_rx and serves 14.7456, 7.3728, 3.6864, 1.8432, 0.9216 Gbps, "
                       "not 4.9152 Gbps. QPLL1 or CPLL would make it from 122.88 MHz."};
    // Q1 REFCLK0 runs at 156.25 MHz for the Quillan link; the core asks 245.76 MHz of Q1 REFCLK1
    // and its quad 1 lanes 0 and 1 are taken.
    QTest::newRow("8 lanes beside Quillan")
        << "both_8lane.json"
        << "quillan_q1.json" << 1
        << QStringList{"  Q1_LANE0: the receive line is already used by eth.v:mac0",
                       "  Q1_LANE1: the transmit line is already used by eth.v:mac0",
                       "  Q0_LANE3: the receive line is already used by ctl.v:link"};
}

void HostCheckTest::examples()
{
    QFETCH(QString, params);
    QFETCH(QString, designFile);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expected);
    QStringList arguments{example(params)};
    if (!designFile.isEmpty())
        arguments << QStringLiteral("--design") << design(designFile);
    const Outcome outcome = runCheck(arguments);
    QVERIFY2(outcome.exitCode == exitCode, qPrintable(outcome.out.join('\n') + outcome.err));
    for (const QString &line : expected)
        QVERIFY2(outcome.out.contains(line), qPrintable(outcome.out.join('\n')));
}

void HostCheckTest::everyExampleHasAVerdict()
{
    // The example table above names every parameter set shipped in examples/.
    const QStringList known{QStringLiteral("tx_2lane.json"), QStringLiteral("rx_2lane.json"),
                            QStringLiteral("both_8lane.json"), QStringLiteral("groupb.json")};
    const QStringList shipped =
        QDir(TestPaths::examplesDir()).entryList({QStringLiteral("*.json")}, QDir::Files);
    for (const QString &name : shipped)
        QVERIFY2(known.contains(name),
                 qPrintable(name + QStringLiteral(" has no expected verdict")));
}

void HostCheckTest::infeasible_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QJsonObject>("changes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("8 Gbps from 156.25 MHz")
        << "tx_2lane.json"
        << QJsonObject{{"Line_Rate", "8.0"}, {"Reference_CLK_Frequency", "156.25"}}
        << "  q0_ln0, q0_ln1 on Q0_QPLL1: QPLL1 cannot make 8 Gbps from Q0_REFCLK0 at 156.25 "
           "MHz: VCO 8 GHz (D 1) would need N / M = 51.2, which no N in 16..160 with M in 1..4 "
           "gives. Reference clocks that would work on QPLL1: 160, 150, 128 MHz. No other PLL "
           "makes it from 156.25 MHz either.";
    QTest::newRow("7.3728 Gbps on CPLL")
        << "groupb.json"
        << QJsonObject{{"Line_Rate", "7.3728"}, {"Reference_CLK_Frequency", "122.88"}}
        << "  q0_ln0 on Q0_CPLL0: CPLL cannot make 7.3728 Gbps from MCLK at 122.88 MHz: VCO "
           "3.6864 GHz (D 1) would need N1 x N2 / M = 30, which no N1 in {4, 5}, N2 in 1..5 with "
           "M in {1, 2} gives. Reference clocks that would work on CPLL: 147.456, 184.32, 230.4 "
           "MHz. QPLL0 would make it from 122.88 MHz.";
}

void HostCheckTest::infeasible()
{
    QFETCH(QString, base);
    QFETCH(QJsonObject, changes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const Outcome outcome = runCheck({variant(dir, base, changes)});
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY2(outcome.out.contains(reason), qPrintable(outcome.out.join('\n')));
}

void HostCheckTest::keepsRecord()
{
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("tx.csr"));
    const Outcome outcome =
        runCheck({example(QStringLiteral("tx_2lane.json")), QStringLiteral("--csr"), record});
    QCOMPARE(outcome.exitCode, 0);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QStringLiteral("# core jesd_tx:jesd_tx\n")));
    QVERIFY(text.contains(QStringLiteral("[q0_ln1]\nlane = Q0_LANE1\npll = Q0_QPLL1\n")));
    QVERIFY(text.contains(QStringLiteral("    q0_refclk0_freq 122.88\n")));
}

void HostCheckTest::refusesBadInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("no parameter file") << QStringList() << "expected one parameter file, got 0";
    QTest::newRow("unknown device") << QStringList{example("tx_2lane.json"), "--device", "XC-9"}
                                    << "device 'XC-9' is not in the device database";
    QTest::newRow("design for another chip")
        << QStringList{example("tx_2lane.json"), "--design", design("quillan_q1.json")}
        << "is a design for TQ2H4-FF676, the core targets TQ2M1-BG256";
    QTest::newRow("missing design")
        << QStringList{example("tx_2lane.json"), "--design", design("missing.json")}
        << "cannot read the design";
}

void HostCheckTest::refusesBadInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Outcome outcome = runCheck(arguments);
    QCOMPARE(outcome.exitCode, 2);
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    QVERIFY(outcome.out.isEmpty());
}

QTEST_GUILESS_MAIN(HostCheckTest)
#include "tst_hostcheck.moc"
