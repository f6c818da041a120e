#include "hostrun.h"
#include "testpaths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class HostCheckTest : public QObject
{
    Q_OBJECT

    QString example(const QString &name) { return TestPaths::examplesDir() + "/" + name; }
    QString design(const QString &name) { return example("designs/" + name); }

    // Runs "ipcore-host check" with arguments; the exit code, standard output lines and error.
    int runCheck(const QStringList &arguments, QStringList *out, QString *err)
    {
        const TestSupport::HostRun run = TestSupport::runHost(QStringList{"check"} + arguments);
        *out = run.outLines();
        *err = QString::fromUtf8(run.err);
        return run.exitCode;
    }

private slots:
    void examples_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("designFile");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("expected"); // lines that must appear
        // clang-format off
        QTest::newRow("tx 2 lanes") << "tx_2lane.json" << "" << 0 << QStringList{"jesd_tx:jesd_tx: the line rate can be made", "  q0_ln1 (Q0_LANE1, tx): 4.9152 Gbps on Q0_QPLL1, M 1, N 80, D 2, VCO 9.8304 GHz, from Q0_REFCLK0 at 122.88 MHz"};
        QTest::newRow("rx 2 lanes") << "rx_2lane.json" << "" << 0 << QStringList{"jesd_rx:jesd_rx: the line rate can be made"};
        // 9.8304 Gbps from 245.76 MHz: N 40 on both quads' QPLL0, the clock reaching quad 0 from its neighbour.
        QTest::newRow("both, 8 lanes") << "both_8lane.json" << "" << 0 << QStringList{"  q0_ln0 (Q0_LANE0, tx+rx): 9.8304 Gbps on Q0_QPLL0, M 1, N 40, D 1, VCO 9.8304 GHz, from Q1_REFCLK1 at 245.76 MHz"};
        QTest::newRow("group B on CPLL") << "groupb.json" << "" << 0 << QStringList{"  q0_ln0 (Q0_LANE0, rx): 6.144 Gbps on Q0_CPLL0, M 1, N1 4, N2 5, D 1, VCO 3.072 GHz, from MCLK at 153.6 MHz"};
        // Beside a receiver whose QPLL0 runs at 14.7456 GHz: QPLL1 is still free for the transmitter, QPLL0 cannot give the receiver 4.9152 Gbps.
        QTest::newRow("tx beside running QPLL0") << "tx_2lane.json" << "jesd_rx_q0.json" << 0 << QStringList{"jesd_tx:jesd_tx: the line rate can be made"};
        QTest::newRow("rx on running QPLL0") << "rx_2lane.json" << "jesd_rx_q0.json" << 1 << QStringList{"jesd_rx:jesd_rx: the line rate cannot be made", "  q0_ln0, q0_ln1 on Q0_QPLL0: the PLL already runs at 14.7456 GHz for adc.v:jesd_rx and serves 14.7456, 7.3728, 3.6864, 1.8432, 0.9216 Gbps, not 4.9152 Gbps. QPLL1 or CPLL would make it from 122.88 MHz."};
        // Q1 REFCLK0 runs at 156.25 MHz for the Quillan link; the core's quad 1 lanes 0 and 1 are taken.
        QTest::newRow("8 lanes beside Quillan") << "both_8lane.json" << "quillan_q1.json" << 1 << QStringList{"  Q1_LANE0: the receive line is already used by eth.v:mac0", "  Q1_LANE1: the transmit line is already used by eth.v:mac0", "  Q0_LANE3: the receive line is already used by ctl.v:link"};
        // clang-format on
    }

    void examples()
    {
        QFETCH(QString, params);
        QFETCH(QString, designFile);
        QFETCH(int, exitCode);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const QString record = dir.filePath("kept.csr");
        QStringList arguments{example(params), "--csr", record};
        if (!designFile.isEmpty())
            arguments << "--design" << design(designFile);
        QStringList out;
        QString err;
        QCOMPARE(runCheck(arguments, &out, &err), exitCode);
        for (const QString &line : expected)
            QVERIFY2(out.contains(line), qPrintable(out.join('\n') + err));
        // The record is kept only for a line rate that can be made.
        QCOMPARE(QFile::exists(record), exitCode == 0);
        QFile file(record);
        QVERIFY(exitCode != 0 ||
                (file.open(QIODevice::ReadOnly) && file.readAll().contains("\n[q0_ln0]\n")));
    }

    void refusesBadInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString tx = example("tx_2lane.json");
        // clang-format off
        QTest::newRow("no parameter file") << QStringList() << "expected one parameter file, got 0";
        QTest::newRow("unknown device") << QStringList{tx, "--device", "XC-9"} << "device 'XC-9' is not in the device database";
        QTest::newRow("design for another chip") << QStringList{tx, "--design", design("quillan_q1.json")} << "is a design for TQ2H4-FF676, the core targets TQ2M1-BG256";
        QTest::newRow("missing design") << QStringList{tx, "--design", design("missing.json")} << "cannot read the design";
        // clang-format on
    }

    void refusesBadInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QStringList out;
        QString err;
        QCOMPARE(runCheck(arguments, &out, &err), 2);
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY(out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(HostCheckTest)
#include "tst_hostcheck.moc"
