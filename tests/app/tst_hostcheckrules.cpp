#include "hostrun.h"
#include "testpaths.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::HostRun;
using TestSupport::runHost;

namespace {

QJsonObject example(const QString &name)
{
    QFile file(TestPaths::examplesDir() + "/" + name);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

// Whether QPLL1 (N 16..160, M 1..4, D 1..16, VCO 8 to 13 GHz) makes rateMbps from clockMHz.
bool qpll1Makes(double clockMHz, double rateMbps)
{
    for (int m = 1; m <= 4; ++m) {
        for (int n = 16; n <= 160; ++n) {
            for (int d : {1, 2, 4, 8, 16}) {
                const double vco = clockMHz * n / m;
                if (vco >= 8000 && vco <= 13000 && qFuzzyCompare(vco / d, rateMbps))
                    return true;
            }
        }
    }
    return false;
}

} // namespace

// check's JESD204B link rules on a stored set, --strict and --json.
class HostCheckRulesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString store(const QJsonObject &set)
    {
        const QString path = m_dir.filePath("set.json");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(QJsonDocument(set).toJson());
        return path;
    }

private slots:
    void warnings_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QStringList>("warnings");
        // clang-format off
        QTest::newRow("example") << "rx_2lane.json" << QJsonObject() << QStringList();
        // F 4: 17 <= 4K gives K >= 5.
        QTest::newRow("K below range") << "rx_2lane.json" << QJsonObject{{"Default_K", "4"}} << QStringList{"warning: Frames per multiframe: K = 4 is out of range for F = 4; 17 <= F * K <= 1024 and K <= 32 allow K = 5 to 32"};
        // 16 * 32 = 512 octets in a 256-octet buffer; 256 / 16 = 16 frames would fit.
        QTest::newRow("buffer too small") << "rx_2lane.json" << QJsonObject{{"Default_F", "16"}, {"LMFC_Buffer", "256"}} << QStringList{"warning: Elastic buffer: 256 octets do not hold one multiframe of F * K = 16 * 32 = 512 octets; the buffer must have at least 512 octets, or K at most 16"};
        QTest::newRow("transmitter has no buffer") << "tx_2lane.json" << QJsonObject{{"Default_F", "16"}, {"LMFC_Buffer", "256"}} << QStringList();
        // F 64 allows K up to 1024 / 64 = 16, and 64 * 20 = 1280 octets overflow 1024.
        QTest::newRow("two rules") << "rx_2lane.json" << QJsonObject{{"Default_F", "64"}, {"Default_K", "20"}} << QStringList{"warning: Frames per multiframe: K = 20 is out of range for F = 64; 17 <= F * K <= 1024 and K <= 32 allow K = 1 to 16", "warning: Elastic buffer: 1024 octets do not hold one multiframe of F * K = 64 * 20 = 1280 octets; the buffer must have at least 1280 octets, or K at most 16"};
        // clang-format on
    }

    void warnings()
    {
        QFETCH(QString, base);
        QFETCH(QJsonObject, changes);
        QFETCH(QStringList, warnings);
        QJsonObject set = example(base);
        for (auto it = changes.begin(); it != changes.end(); ++it)
            set[it.key()] = it.value();
        const QString path = store(set);

        const HostRun plain = runHost({"check", path});
        QCOMPARE(plain.exitCode, 0); // a warning alone does not fail
        QStringList err = plain.errLines();
        err.removeAll(QString());
        QCOMPARE(err, warnings);

        QCOMPARE(runHost({"check", path, "--strict"}).exitCode, warnings.isEmpty() ? 0 : 1);

        const HostRun json = runHost({"check", path, "--json", "--strict"});
        QCOMPARE(json.exitCode, warnings.isEmpty() ? 0 : 1);
        const QJsonObject verdict = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(verdict["feasible"].toBool(), true);
        QStringList jsonWarnings;
        for (const QJsonValue &value : verdict["warnings"].toArray())
            jsonWarnings << "warning: " + value.toString();
        QCOMPARE(jsonWarnings, warnings);
    }

    // The proved lanes: each its lane, direction, PLL, dividers and clock.
    void jsonFeasible()
    {
        const HostRun run =
            runHost({"check", TestPaths::examplesDir() + "/rx_2lane.json", "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject verdict = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(verdict["module"].toString(), QString("jesd_rx:jesd_rx"));
        QVERIFY(!verdict.contains("reasons"));
        const QJsonArray lanes = verdict["lanes"].toArray();
        QCOMPARE(lanes.size(), 2);
        for (int i = 0; i < lanes.size(); ++i) {
            const QJsonObject lane = lanes[i].toObject();
            QCOMPARE(lane["lane"].toString(), QString("Q0_LANE%1").arg(i));
            QCOMPARE(lane["instance"].toString(), QString("q0_ln%1").arg(i));
            QCOMPARE(lane["direction"].toString(), QString("rx"));
            QCOMPARE(lane["refClockSource"].toString(), QString("Q0_REFCLK0"));
            QCOMPARE(lane["refClockMHz"].toDouble(), 122.88);
            // VCO = clock * N / M and rate = VCO / D.
            const QJsonObject d = lane["dividers"].toObject();
            const double vco = 122.88 * d["N"].toInt() / d["M"].toInt();
            QVERIFY(qFuzzyCompare(lane["vcoGHz"].toDouble() * 1000, vco));
            QVERIFY(qFuzzyCompare(vco / d["rxD"].toInt(), 4915.2));
            QVERIFY(!d.contains("txD"));
        }
    }

    // A refusal: the reason's lanes, PLL and text as the text form gives them; every clock it
    // suggests makes the rate on that PLL.
    void jsonInfeasible()
    {
        QJsonObject set = example("tx_2lane.json");
        set["Line_Rate"] = "8.0";
        set["Reference_CLK_Frequency"] = "156.25";
        const QString path = store(set);
        const HostRun run = runHost({"check", path, "--json"});
        QCOMPARE(run.exitCode, 1);
        const QJsonObject verdict = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(verdict["feasible"].toBool(), false);
        QVERIFY(verdict["lanes"].toArray().isEmpty());
        const QJsonArray reasons = verdict["reasons"].toArray();
        QCOMPARE(reasons.size(), 1);
        const QJsonObject reason = reasons[0].toObject();
        QCOMPARE(reason["lanes"].toArray(), QJsonArray({"q0_ln0", "q0_ln1"}));
        QCOMPARE(reason["pll"].toString(), QString("Q0_QPLL1"));
        const HostRun text = runHost({"check", path});
        QCOMPARE(text.outLines().value(1), "  " + reason["text"].toString());
        const QJsonArray clocks = reason["suggestedRefClocksMHz"].toArray();
        QVERIFY(!clocks.isEmpty());
        for (const QJsonValue &clock : clocks)
            QVERIFY2(qpll1Makes(clock.toDouble(), 8000),
                     qPrintable(QString::number(clock.toDouble())));
        for (const QJsonValue &pll : reason["suggestedPlls"].toArray())
            QVERIFY(QStringList({"QPLL0", "CPLL"}).contains(pll.toString()));
    }

    // A route conflict names its lane.
    void jsonConflict()
    {
        const HostRun run =
            runHost({"check", TestPaths::examplesDir() + "/both_8lane.json", "--json", "--design",
                     TestPaths::examplesDir() + "/designs/quillan_q1.json"});
        QCOMPARE(run.exitCode, 1);
        bool found = false;
        for (const QJsonValue &value :
             QJsonDocument::fromJson(run.out).object()["reasons"].toArray()) {
            const QJsonObject reason = value.toObject();
            if (reason["text"].toString() ==
                "Q1_LANE0: the receive line is already used by eth.v:mac0")
                found = reason["lanes"].toArray().contains("Q1_LANE0");
        }
        QVERIFY(found);
    }
};

QTEST_GUILESS_MAIN(HostCheckRulesTest)
#include "tst_hostcheckrules.moc"
