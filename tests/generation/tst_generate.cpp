#include "parametersets.h"
#include "protocol/jesd204b.h"
#include "protocol/serdesoptionlines.h"
#include "protocol/topdefines.h"

#include <idecore.h>
#include <serdes.h>

#include <QtTest>

#include <memory>

using namespace IPJESD204B;

namespace {

QStringList reported;

void recordReport(const QString &title, const QString &text, QWidget *)
{
    reported << title + QStringLiteral(": ") + text;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray joined(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    return bytes;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

struct Run
{
    bool ok = false;
    QStringList ini;
    QStringList options;
    QString message;
};

Run generate(jesd204b &protocol, const QVariantMap &params, bool synthesis = false, Run run = {})
{
    QStringList reserved;
    run.ok = protocol.generate(params, run.ini, reserved, run.options, run.message, synthesis);
    return run;
}

} // namespace

class TestGenerate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void writesThreeFiles();
    void emptyFileName();
    void secondCallAppends();
    void unwritableWorkingDir();
    void failedFileStopsLaterOnes();
    void device_data();
    void device();

private:
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestGenerate::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    IPSERDESIP::serdes::instance()->reset();
    IPSERDESIP::serdes::instance()->setWorkingDir(m_work->path());
    reported.clear();
    Core::MessageSink::setHandler(recordReport);
}

void TestGenerate::cleanup()
{
    Core::MessageSink::setHandler(nullptr);
}

void TestGenerate::writesThreeFiles()
{
    jesd204b protocol(QStringLiteral("/nonexistent"));
    const QVariantMap params = ParameterSets::receiveTwoLanes();
    const Run run = generate(protocol, params);
    QVERIFY(run.ok);
    const QString dir = m_work->path() + QStringLiteral("/jesd_rx/temp/jesd204b");
    QCOMPARE(entries(dir),
             (QStringList{"jesd204b.ini", "jesd204b_top_defines.vh", "top_define.vh"}));
    QCOMPARE(fileBytes(dir + "/top_define.vh"), joined(topLevelDefines(params)));
    QCOMPARE(fileBytes(dir + "/jesd204b_top_defines.vh"), joined(coreDefines(params)));
    QCOMPARE(fileBytes(dir + "/jesd204b.ini"), joined(run.ini));
    QCOMPARE(run.ini.last(), QStringLiteral("global_reset_enable true"));
    QCOMPARE(run.options.size(), 10);
    QCOMPARE(protocol.parameters(), params);
    QVERIFY(reported.isEmpty());
}

void TestGenerate::emptyFileName()
{
    // A working directory that cannot hold directories shows the composed path in the
    // host's report: nothing is added or dropped around the empty file name.
    const QString blocker = m_work->filePath("plain");
    QFile(blocker).open(QIODevice::WriteOnly);
    IPSERDESIP::serdes::instance()->setWorkingDir(blocker);
    jesd204b protocol(QStringLiteral("/nonexistent"));
    QVERIFY(!generate(protocol,
                      ParameterSets::with(ParameterSets::receiveTwoLanes(), {{"file", QString()}}))
                 .ok);
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported.first().endsWith(blocker + "//temp/jesd204b"), qPrintable(reported.first()));

    IPSERDESIP::serdes::instance()->setWorkingDir(m_work->path());
    QVERIFY(generate(protocol, {{"module", "m"}}).ok);
    QCOMPARE(entries(m_work->path() + "/temp/jesd204b").size(), 3);
}

void TestGenerate::secondCallAppends()
{
    jesd204b protocol(QStringLiteral("/nonexistent"));
    const QVariantMap params = ParameterSets::receiveTwoLanes();
    const Run first = generate(protocol, params);
    const Run second = generate(protocol, params, false, first);
    QVERIFY(second.ok);
    // Every line again, except the quad enable line that the list already holds.
    QStringList again = first.ini;
    again.removeOne("q0_enable true");
    QCOMPARE(second.ini, first.ini + again);
    QCOMPARE(second.options, first.options + first.options);
    QCOMPARE(fileBytes(m_work->path() + "/jesd_rx/temp/jesd204b/jesd204b.ini"), joined(second.ini));
    QCOMPARE(fileBytes(m_work->path() + "/jesd_rx/temp/jesd204b/top_define.vh"),
             QByteArray("`define module_name jesd_rx\n"));
}

void TestGenerate::unwritableWorkingDir()
{
    const QString blocker = m_work->filePath("plain");
    QFile(blocker).open(QIODevice::WriteOnly);
    IPSERDESIP::serdes::instance()->setWorkingDir(blocker + "/below");
    jesd204b protocol(QStringLiteral("/nonexistent"));
    const Run run = generate(protocol, ParameterSets::receiveTwoLanes());
    QVERIFY(!run.ok);
    // The lists were built before the directory was refused.
    QVERIFY(!run.ini.isEmpty());
    QCOMPARE(run.options.size(), 10);
    QCOMPARE(entries(m_work->path()), QStringList{"plain"});
}

void TestGenerate::failedFileStopsLaterOnes()
{
    const QString dir = m_work->path() + "/jesd_rx/temp/jesd204b";
    QVERIFY(QDir().mkpath(dir + "/jesd204b_top_defines.vh"));
    jesd204b protocol(QStringLiteral("/nonexistent"));
    QVERIFY(!generate(protocol, ParameterSets::receiveTwoLanes()).ok);
    QCOMPARE(entries(dir), (QStringList{"jesd204b_top_defines.vh", "top_define.vh"}));
    QVERIFY(QFileInfo(dir + "/jesd204b_top_defines.vh").isDir());
    QCOMPARE(reported.size(), 1);
}

void TestGenerate::device_data()
{
    QTest::addColumn<QString>("presetId"); // empty: none
    QTest::addColumn<QString>("targetDevice");
    QTest::addColumn<QString>("expectedId");
    QTest::addColumn<QString>("pmaLine");
    QTest::newRow("looked up") << ""
                               << "TQ2S1-FG324"
                               << "TQ2S1-FG324"
                               << "q0_ln0_pma_tx_width_mode 20";
    QTest::newRow("preset wins") << "TQ2H4-FF676"
                                 << "TQ2S1-FG324"
                                 << "TQ2H4-FF676"
                                 << "q0_ln0_pma_width_mode 20";
    QTest::newRow("unknown id") << ""
                                << "NOPE"
                                << ""
                                << "q0_ln0_pma_width_mode 20";
}

void TestGenerate::device()
{
    QFETCH(QString, presetId);
    QFETCH(QString, targetDevice);
    QFETCH(QString, expectedId);
    QFETCH(QString, pmaLine);
    jesd204b protocol(QStringLiteral("/nonexistent"));
    if (!presetId.isEmpty())
        protocol.setDevice(Core::IdeCore::deviceDataBase()->findDevice(presetId));
    const Run run = generate(protocol, ParameterSets::with(ParameterSets::receiveTwoLanes(),
                                                           {{"target_device", targetDevice}}));
    QVERIFY(run.ok);
    QCOMPARE(protocol.device().id(), expectedId);
    QCOMPARE(run.ini.at(6), pmaLine);

    // An empty set looks the device up, then stops before anything else.
    jesd204b empty(QStringLiteral("/nonexistent"));
    const Run none = generate(empty, {}, true, Run{false, {"kept"}, {}, "untouched"});
    QVERIFY(!none.ok);
    QVERIFY(empty.device().isNull());
    QCOMPARE(none.ini, QStringList{"kept"});
    QVERIFY(none.options.isEmpty());
    QCOMPARE(none.message, QStringLiteral("untouched"));
}

std::unique_ptr<QObject> makeGenerateTest()
{
    return std::make_unique<TestGenerate>();
}

#include "tst_generate.moc"
