#include "testfiles.h"

#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>
#include <serdesfunctions.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace IPSERDESIP;

// The host's synthesis step for a core named "demo": the manifest and the PLL status defines it
// derives from the SERDES configuration the core wrote.
class SynthesisTest : public QObject
{
    Q_OBJECT

    QTemporaryDir work;
    QTemporaryDir data;
    const ParameterMap params{{"file", "top"}, {"module", "demo_top"}};
    const ParameterMap ipInfo{{"ipcore.dir.data", data.path()}};
    QString genDir() const { return work.filePath("top/temp/demo"); }

private slots:
    void initTestCase()
    {
        serdes::instance()->setWorkingDir(work.path());
        TestFiles::put(data.filePath("demo.v"), "module demo; endmodule\n");
    }

    void cleanup() { QDir(work.filePath("top")).removeRecursively(); }

    void defines_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("defines");
        // clang-format off
        QTest::newRow("two lanes on one quad PLL") << QByteArray("q0_ln0_pll_sel qpll0\nq0_ln0_enable true\nq0_ln1_pll_sel qpll0\n" "q0_enable true\n") << QStringList{"DEMO_Q0_QPLL0_OK"};
        QTest::newRow("both quads, second PLL, any case") << QByteArray("q1_ln3_pll_sel QPLL1\nq0_ln2_pll_sel qpll1\n") << QStringList{"DEMO_Q0_QPLL1_OK", "DEMO_Q1_QPLL1_OK"};
        QTest::newRow("lane PLLs have no status port") << QByteArray("q0_ln0_pll_sel cpll\nq0_ln1_pll_sel cpll\n") << QStringList();
        QTest::newRow("module lines only") << QByteArray("q0_enable true\nmclk_freq 100\n") << QStringList();
        QTest::newRow("no configuration written") << QByteArray() << QStringList();
        // clang-format on
    }

    void defines()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, defines);
        QVERIFY(QDir().mkpath(genDir()));
        if (!ini.isEmpty())
            TestFiles::put(genDir() + "/demo.ini", ini);
        const DEV::DeviceArg device = Core::IdeCore::deviceDataBase()->findDevice("TQ2S1-FG324");
        QVERIFY(!device.isNull());
        QString message;
        QVERIFY2(waitForRunSyntheSis(device, params, ipInfo, {"demo.v"}, "demo", message, nullptr),
                 qPrintable(message));
        const QJsonObject manifest = TestFiles::readJson(genDir() + "/demo_synthesis.json");
        QCOMPARE(manifest.value("defines").toVariant().toStringList(), defines);
        QCOMPARE(manifest.value("module").toString(), QString("demo_top"));
        QCOMPARE(manifest.value("sources").toVariant().toStringList(),
                 QStringList{QFileInfo(data.filePath("demo.v")).absoluteFilePath()});
    }

    void refused_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("no device") << "" << "demo.v" << "synthesis: no target device is set";
        QTest::newRow("missing source") << "TQ2S1-FG324" << "absent.v" << "synthesis: source absent.v not found in " + data.path();
        // clang-format on
    }

    void refused()
    {
        QFETCH(QString, deviceId);
        QFETCH(QString, source);
        QString message;
        QVERIFY(!waitForRunSyntheSis(Core::IdeCore::deviceDataBase()->findDevice(deviceId), params,
                                     ipInfo, {source}, "demo", message, nullptr));
        QTEST(message, "reason");
        QVERIFY(!QFileInfo::exists(genDir() + "/demo_synthesis.json"));
    }
};

QTEST_GUILESS_MAIN(SynthesisTest)
#include "tst_synthesis.moc"
