// Values of every JSON type at every key of a parameter set and of a design file. A parameter
// set is either refused by the host's reader with one line naming the key, or read the way every
// reader converts values: a value of another type must generate exactly what its converted value
// generates. A design file is loaded or refused with one line naming the file and the entry, the
// model left as it was.
#include "faultfixture.h"
#include "hostrun.h"

#include <designfile.h>
#include <devicedb.h>
#include <message.h>

#include <QJsonArray>
#include <QtTest>

using namespace Faults;

namespace {

struct JsonSample
{
    const char *name;
    QJsonValue value;
    bool readable; // whether a parameter file may hold it
};

QList<JsonSample> jsonSamples()
{
    // clang-format off
    return {{"null", QJsonValue(QJsonValue::Null), false}, {"bool", true, true},
            {"int", 3, true}, {"double", 2.5, false}, {"huge", 1e300, false},
            {"string", QStringLiteral("1"), true}, {"empty string", QString(), true},
            {"lane names", QJsonArray{QStringLiteral("Q1 Lane2"), QStringLiteral("Q0 Lane3")}, true},
            {"mixed array", QJsonArray{1, QStringLiteral("x")}, false},
            {"object", QJsonObject{{QStringLiteral("a"), 1}}, false}};
    // clang-format on
}

// Everything a generation produces, flattened: its answer, lines, files and resource report.
QStringList generationSnapshot(const IPSERDESIP::ParameterMap &params)
{
    QTemporaryDir work;
    const auto protocol = loadedProtocol();
    const Result result = generate(*protocol, params, work.path());
    QStringList snapshot{QString::number(result.ok)};
    snapshot << result.ini << QStringLiteral("--") << result.moduleOptions;
    for (const QByteArray &bytes : outputs(generationDir(work.path(), params)))
        snapshot << QString::fromUtf8(bytes);
    const std::unique_ptr<IPSERDESIP::Message> report(protocol->resources(params));
    if (report)
        snapshot << report->instanceName << report->laneList << report->pllList
                 << report->refClkList << report->refClkFreqList << report->bothRateList
                 << report->rxRateList << report->txRateList;
    return snapshot;
}

// What the model holds, for "left exactly as it was".
QStringList modelState()
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    QStringList state;
    const QMap<QString, IPSERDESIP::Instance *> all = model->allInstance();
    for (auto it = all.constBegin(); it != all.constEnd(); ++it)
        state << it.key() + QLatin1Char('=') + it.value()->owner();
    const IPSERDESIP::ParameterMap data = model->globalData();
    for (auto it = data.constBegin(); it != data.constEnd(); ++it)
        state << it.key() + QLatin1Char(':') + it.value().toString();
    state << QString::number(model->getFreqByRefsrc(QStringLiteral("Q1_REFCLK0")));
    return state;
}

} // namespace

void FaultsTest::parameterOfEveryType_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QVariant>("converted"); // what every reader makes of the value
    QTest::addColumn<bool>("readable");
    using Convert = QVariant (*)(const QVariant &);
    // clang-format off
    const QList<QPair<QString, Convert>> keysByKind{
        {QStringLiteral("target_device type version Synthesis_tool file module Number_of_lanes LMFC_Buffer "
                        "Default_SYSREF_Always Default_Scrambling_ON Default_F Default_K Default_SYSREF_Required_on_Re-Sync "
                        "Clock_Frequency Line_Rate Reference_CLK_Source Reference_CLK_Frequency PLL_Selection Loopback_Mode "
                        "DIFFERENTIAL_SWING FFEMODE FFE_C0 SD_THRESHOLD Equalization_Mode JESD204B_Lane0_connect_with "
                        "JESD204B_Lane1_connect_with JESD204B_Lane2_connect_with JESD204B_Lane3_connect_with "
                        "JESD204B_Lane4_connect_with JESD204B_Lane5_connect_with JESD204B_Lane6_connect_with "
                        "JESD204B_Lane7_connect_with"), [](const QVariant &v) -> QVariant { return v.toString(); }},
        {QStringLiteral("Receive Transmit Both_Receive_and_Transmit Include_RPAT_Generator Include_JSPAT_Generator "
                        "Fixed_Config_Enable Pcs_Width_32bit Pcs_Width_64bit DRP_Ports ifChangedAllOfBias"),
         [](const QVariant &v) -> QVariant { return v.toBool(); }},
        // The value's text as a base-10 integer, 0 when it is none: a flag or a fraction reads as 0.
        {QStringLiteral("LANG FFE_CM FFE_C1 ATT BOOST"), [](const QVariant &v) -> QVariant { return v.toString().toInt(nullptr, 10); }},
        {QStringLiteral("recordlanes"), [](const QVariant &v) -> QVariant { return v.toStringList(); }}};
    // clang-format on
    for (const auto &kind : keysByKind) {
        for (const QString &key : kind.first.split(QLatin1Char(' '))) {
            for (const JsonSample &sample : jsonSamples()) {
                // Only the exact version text opens a stored set.
                QTest::addRow("%s = %s", qPrintable(key), sample.name)
                    << key << sample.value << kind.second(sample.value.toVariant())
                    << (sample.readable && key != QLatin1String("version"));
            }
        }
    }
}

void FaultsTest::parameterOfEveryType()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QFETCH(QVariant, converted);
    QFETCH(bool, readable);
    QJsonObject json = exampleJson(QStringLiteral("both_8lane.json"));
    json.insert(key, value);

    IPSERDESIP::ParameterMap read;
    QString error;
    QCOMPARE(HostProgram::parameterSetFromJson(json, &read, &error), readable);
    if (!readable) {
        QVERIFY2(error.contains(QLatin1Char('"') + key + QLatin1Char('"')), qPrintable(error));
        QVERIFY2(!error.contains(QLatin1Char('\n')), qPrintable(error));
    }

    // Whatever a host hands over, the readers convert it; no type may be read another way.
    const IPSERDESIP::ParameterMap raw = json.toVariantMap();
    IPSERDESIP::ParameterMap plain = raw;
    plain.insert(key, converted);
    QCOMPARE(generationSnapshot(raw), generationSnapshot(plain));
}

void FaultsTest::designEntryOfEveryType_data()
{
    QTest::addColumn<QString>("path"); // "key" or "list/field" of the list's first entry
    QTest::addColumn<QJsonValue>("value");
    const QStringList paths =
        QStringLiteral("description device lanes plls refClocks instances globalData pllTable "
                       "lanes/lane lanes/status lanes/rate lanes/rxSource lanes/txSource "
                       "lanes/owner plls/pll plls/vcoGHz plls/refClock plls/owner "
                       "refClocks/source refClocks/frequency refClocks/useCount refClocks/owner "
                       "instances/name instances/protocol instances/lanes globalData/Q1_BIAS "
                       "globalData/GLOBAL_RESET_ENABLE")
            .split(QLatin1Char(' '));
    for (const QString &path : paths) {
        for (const JsonSample &sample : jsonSamples())
            QTest::addRow("%s = %s", qPrintable(path), sample.name) << path << sample.value;
    }
}

void FaultsTest::designEntryOfEveryType()
{
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);
    QJsonObject design = exampleJson(QStringLiteral("designs/quillan_q1.json"));
    const QString key = path.section(QLatin1Char('/'), 0, 0);
    const QString field = path.section(QLatin1Char('/'), 1);
    if (field.isEmpty()) {
        design.insert(key, value);
    } else { // a field of an object or of a list's first entry
        const bool isList = design.value(key).isArray();
        QJsonArray list = design.value(key).toArray();
        QJsonObject entry = isList ? list.first().toObject() : design.value(key).toObject();
        entry.insert(field, value);
        if (isList)
            list.replace(0, entry);
        design.insert(key, isList ? QJsonValue(list) : QJsonValue(entry));
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("design.json"));
    writeBytes(file, QJsonDocument(design).toJson());

    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(QStringLiteral("TQ2H4-FF676")));
    QString error;
    QVERIFY2(IPSERDESIP::DesignFile::load(
                 TestPaths::examplesDir() + QStringLiteral("/designs/jesd_rx_q0.json"), &error),
             qPrintable(error));
    const QStringList before = modelState();

    if (IPSERDESIP::DesignFile::load(file, &error))
        return; // a value the format admits
    QVERIFY2(error.startsWith(file + QStringLiteral(": ")), qPrintable(error));
    QVERIFY2(!error.contains(QLatin1Char('\n')), qPrintable(error));
    QVERIFY2(error.contains(field.isEmpty() ? key : field), qPrintable(error));
    QCOMPARE(modelState(), before);
}

void FaultsTest::hostProgramRefusesInOneLine_data()
{
    QTest::addColumn<QByteArray>("parameters");
    QTest::addColumn<QByteArray>("design"); // empty: no design
    QTest::addColumn<QString>("named");     // what the line must name besides the file

    const QByteArray good = fileBytes(TestPaths::examplesDir() + QStringLiteral("/tx_2lane.json"));
    QJsonObject bad = QJsonDocument::fromJson(good).object();
    bad.insert(QStringLiteral("Line_Rate"), QJsonObject());
    QTest::newRow("parameter of a wrong type")
        << QJsonDocument(bad).toJson() << QByteArray() << QStringLiteral("\"Line_Rate\"");
    QTest::newRow("parameters cut short")
        << good.left(good.size() / 2) << QByteArray() << QStringLiteral("offset");
    QTest::newRow("parameters as array") << QByteArray("[1, 2]") << QByteArray() << QString();
    QTest::newRow("design cut short") << good << QByteArray("{\"lanes\": [") << QString();
    QTest::newRow("design lane status")
        << good << QByteArray(R"({"lanes": [{"lane": "Q0_LANE0", "status": 9}]})")
        << QStringLiteral("lanes[0].status");
    QTest::newRow("design bias") << good << QByteArray(R"({"globalData": {"Q0_BIAS": [1]}})")
                                 << QStringLiteral("Q0_BIAS");
}

void FaultsTest::hostProgramRefusesInOneLine()
{
    QFETCH(QByteArray, parameters);
    QFETCH(QByteArray, design);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString paramFile = dir.filePath(QStringLiteral("params.json"));
    const QString designFile = dir.filePath(QStringLiteral("design.json"));
    const QString work = dir.filePath(QStringLiteral("work"));
    writeBytes(paramFile, parameters);
    QStringList args{QStringLiteral("generate"), QStringLiteral("--workdir"), work, paramFile};
    if (!design.isEmpty()) {
        writeBytes(designFile, design);
        args << QStringLiteral("--design") << designFile;
    }

    const TestSupport::HostRun host = TestSupport::runHost(args);
    const QString err = QString::fromUtf8(host.err);
    QCOMPARE(host.exitCode, 2);
    QVERIFY2(err.endsWith(QLatin1Char('\n')) && err.count(QLatin1Char('\n')) == 1, qPrintable(err));
    QVERIFY2(err.contains(design.isEmpty() ? paramFile : designFile), qPrintable(err));
    QVERIFY2(err.contains(named), qPrintable(err));
    QVERIFY(host.out.isEmpty());
    QVERIFY(!QFileInfo::exists(work));
}
