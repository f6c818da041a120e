// Values of every JSON type at every key of a parameter set and of a design file. A parameter
// set is either refused by the host's reader with one line naming the key, or read the way every
// reader converts values (a string key through toString, a flag through toBool, an integer key
// through its text): a value of another type must generate exactly what its converted value
// generates. A design file is
// loaded or refused with one line naming the file and the entry, the model left as it was.
#include "faultfixture.h"
#include "parameterfile.h"
#include "testpaths.h"

#include <designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <message.h>
#include <serdes.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Faults;

namespace {

enum class Kind { Text, Flag, Number, List };

// Every key of a stored set with the kind its readers convert it to.
QList<QPair<QString, Kind>> parameterKeys()
{
    QList<QPair<QString, Kind>> keys;
    for (const char *key : {"target_device",
                            "type",
                            "version",
                            "Synthesis_tool",
                            "file",
                            "module",
                            "Number_of_lanes",
                            "LMFC_Buffer",
                            "Default_SYSREF_Always",
                            "Default_Scrambling_ON",
                            "Default_F",
                            "Default_K",
                            "Default_SYSREF_Required_on_Re-Sync",
                            "Clock_Frequency",
                            "Line_Rate",
                            "Reference_CLK_Source",
                            "Reference_CLK_Frequency",
                            "PLL_Selection",
                            "Loopback_Mode",
                            "DIFFERENTIAL_SWING",
                            "FFEMODE",
                            "FFE_C0",
                            "SD_THRESHOLD",
                            "Equalization_Mode"})
        keys.append({QString::fromLatin1(key), Kind::Text});
    for (int lane = 0; lane < 8; ++lane)
        keys.append({QStringLiteral("JESD204B_Lane%1_connect_with").arg(lane), Kind::Text});
    for (const char *key :
         {"Receive", "Transmit", "Both_Receive_and_Transmit", "Include_RPAT_Generator",
          "Include_JSPAT_Generator", "Fixed_Config_Enable", "Pcs_Width_32bit", "Pcs_Width_64bit",
          "DRP_Ports", "ifChangedAllOfBias"})
        keys.append({QString::fromLatin1(key), Kind::Flag});
    for (const char *key : {"LANG", "FFE_CM", "FFE_C1", "ATT", "BOOST"})
        keys.append({QString::fromLatin1(key), Kind::Number});
    keys.append({QStringLiteral("recordlanes"), Kind::List});
    return keys;
}

struct JsonSample
{
    const char *name;
    QJsonValue value;
    bool readable; // whether a parameter file may hold it
};

QList<JsonSample> jsonSamples()
{
    return {
        {"null", QJsonValue(QJsonValue::Null), false},
        {"bool", QJsonValue(true), true},
        {"int", QJsonValue(3), true},
        {"double", QJsonValue(2.5), false},
        {"huge", QJsonValue(1e300), false},
        {"string", QJsonValue(QStringLiteral("1")), true},
        {"empty string", QJsonValue(QString()), true},
        {"lane names", QJsonArray{QStringLiteral("Q1 Lane2"), QStringLiteral("Q0 Lane3")}, true},
        {"mixed array", QJsonArray{1, QStringLiteral("x")}, false},
        {"object", QJsonObject{{QStringLiteral("a"), 1}}, false},
    };
}

QVariant converted(const QVariant &value, Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return value.toString();
    case Kind::Flag:
        return value.toBool();
    case Kind::Number:
        // integer(K): the value's text read as a base-10 integer, 0 when it is none; so a
        // flag or a fraction at an integer key reads as 0.
        return value.toString().toInt(nullptr, 10);
    case Kind::List:
        return value.toStringList();
    }
    return {};
}

struct Outcome
{
    bool ok = false;
    QStringList ini;
    QStringList moduleOptions;
    QList<QByteArray> files;
    QStringList report;
};

Outcome generateAndReport(const ParameterSet &params)
{
    QTemporaryDir work;
    const auto protocol = loadedProtocol();
    const Result result = generate(*protocol, params, work.path());
    Outcome outcome{result.ok,
                    result.ini,
                    result.moduleOptions,
                    outputs(generationDir(work.path(), params)),
                    {}};
    const std::unique_ptr<IPSERDESIP::Message> report(protocol->resources(params));
    if (report)
        outcome.report << report->instanceName << report->laneList << report->pllList
                       << report->refClkList << report->refClkFreqList << report->bothRateList
                       << report->rxRateList << report->txRateList;
    return outcome;
}

// What the model holds, for "left exactly as it was".
QStringList modelState()
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    QStringList state;
    const QMap<QString, IPSERDESIP::Instance *> all = model->allInstance();
    for (auto it = all.constBegin(); it != all.constEnd(); ++it)
        state << it.key() + QLatin1Char('=') + it.value()->owner();
    const QMap<QString, QVariant> data = model->globalData();
    for (auto it = data.constBegin(); it != data.constEnd(); ++it)
        state << it.key() + QLatin1Char(':') + it.value().toString();
    state << QString::number(model->getFreqByRefsrc(QStringLiteral("Q1_REFCLK0")));
    return state;
}

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QJsonDocument::fromJson(file.readAll()).object();
}

void writeJson(const QString &path, const QJsonObject &object)
{
    writeBytes(path, QJsonDocument(object).toJson());
}

} // namespace

class InputFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void parameterOfEveryType_data();
    void parameterOfEveryType();
    void designEntryOfEveryType_data();
    void designEntryOfEveryType();
    void hostProgramRefusesInOneLine_data();
    void hostProgramRefusesInOneLine();
};

void InputFaultsTest::parameterOfEveryType_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<bool>("readable");
    for (const auto &key : parameterKeys()) {
        for (const JsonSample &sample : jsonSamples()) {
            // Only the exact version text opens a stored set.
            const bool readable = sample.readable && key.first != QLatin1String("version");
            QTest::addRow("%s = %s", qPrintable(key.first), sample.name)
                << key.first << int(key.second) << sample.value << readable;
        }
    }
}

void InputFaultsTest::parameterOfEveryType()
{
    QFETCH(QString, key);
    QFETCH(int, kind);
    QFETCH(QJsonValue, value);
    QFETCH(bool, readable);
    QJsonObject json = readJson(TestPaths::examplesDir() + QStringLiteral("/both_8lane.json"));
    json.insert(key, value);

    ParameterSet read;
    QString error;
    QCOMPARE(HostProgram::parameterSetFromJson(json, &read, &error), readable);
    if (!readable) {
        QVERIFY2(error.contains(QLatin1Char('"') + key + QLatin1Char('"')), qPrintable(error));
        QVERIFY2(!error.contains(QLatin1Char('\n')), qPrintable(error));
    }

    // Whatever a host hands over, the readers convert it; no type may be read another way.
    const ParameterSet raw = json.toVariantMap();
    ParameterSet plain = raw;
    plain.insert(key, converted(raw.value(key), Kind(kind)));
    const Outcome typed = generateAndReport(raw);
    const Outcome expected = generateAndReport(plain);
    QCOMPARE(typed.ok, expected.ok);
    QCOMPARE(typed.ini, expected.ini);
    QCOMPARE(typed.moduleOptions, expected.moduleOptions);
    QCOMPARE(typed.files, expected.files);
    QCOMPARE(typed.report, expected.report);
}

void InputFaultsTest::designEntryOfEveryType_data()
{
    QTest::addColumn<QString>("path"); // "key" or "list/field" of the list's first entry
    QTest::addColumn<QJsonValue>("value");
    const QStringList paths{"description",
                            "device",
                            "lanes",
                            "plls",
                            "refClocks",
                            "instances",
                            "globalData",
                            "pllTable",
                            "lanes/lane",
                            "lanes/status",
                            "lanes/rate",
                            "lanes/rxSource",
                            "lanes/txSource",
                            "lanes/owner",
                            "plls/pll",
                            "plls/vcoGHz",
                            "plls/refClock",
                            "plls/owner",
                            "refClocks/source",
                            "refClocks/frequency",
                            "refClocks/useCount",
                            "refClocks/owner",
                            "instances/name",
                            "instances/protocol",
                            "instances/lanes",
                            "globalData/Q1_BIAS",
                            "globalData/GLOBAL_RESET_ENABLE"};
    for (const QString &path : paths) {
        for (const JsonSample &sample : jsonSamples())
            QTest::addRow("%s = %s", qPrintable(path), sample.name) << path << sample.value;
    }
}

void InputFaultsTest::designEntryOfEveryType()
{
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);
    QJsonObject design =
        readJson(TestPaths::examplesDir() + QStringLiteral("/designs/quillan_q1.json"));
    const QString key = path.section(QLatin1Char('/'), 0, 0);
    const QString field = path.section(QLatin1Char('/'), 1);
    if (field.isEmpty()) {
        design.insert(key, value);
    } else if (key == QLatin1String("globalData")) {
        QJsonObject data = design.value(key).toObject();
        data.insert(field, value);
        design.insert(key, data);
    } else {
        QJsonArray list = design.value(key).toArray();
        QJsonObject first = list.first().toObject();
        first.insert(field, value);
        list.replace(0, first);
        design.insert(key, list);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("design.json"));
    writeJson(file, design);

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

void InputFaultsTest::hostProgramRefusesInOneLine_data()
{
    QTest::addColumn<QByteArray>("parameters");
    QTest::addColumn<QByteArray>("design"); // empty: no design
    QTest::addColumn<QString>("named");     // what the line must name besides the file

    QFile example(TestPaths::examplesDir() + QStringLiteral("/tx_2lane.json"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    const QByteArray good = example.readAll();
    const QJsonObject goodObject = QJsonDocument::fromJson(good).object();
    for (const JsonSample &sample : jsonSamples()) {
        if (sample.readable)
            continue;
        QJsonObject bad = goodObject;
        bad.insert(QStringLiteral("Line_Rate"), sample.value);
        QTest::addRow("parameter %s", sample.name)
            << QJsonDocument(bad).toJson() << QByteArray() << QStringLiteral("\"Line_Rate\"");
    }
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

void InputFaultsTest::hostProgramRefusesInOneLine()
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

    QProcess host;
    host.start(TestPaths::hostProgram(), args);
    QVERIFY(host.waitForFinished(60000));
    const QString err = QString::fromUtf8(host.readAllStandardError());
    QCOMPARE(host.exitStatus(), QProcess::NormalExit);
    QCOMPARE(host.exitCode(), 2);
    QVERIFY2(err.endsWith(QLatin1Char('\n')) && err.count(QLatin1Char('\n')) == 1, qPrintable(err));
    QVERIFY2(err.contains(design.isEmpty() ? paramFile : designFile), qPrintable(err));
    QVERIFY2(err.contains(named), qPrintable(err));
    QVERIFY(host.readAllStandardOutput().isEmpty());
    QVERIFY(!QFileInfo::exists(work));
}

std::unique_ptr<QObject> makeInputFaultsTest()
{
    return std::make_unique<InputFaultsTest>();
}

#include "tst_inputfaults.moc"
