#include "commands.h"
#include "parameterfile.h"
#include "pluginloader.h"

#include <baseprotocol.h>
#include <message.h>

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace HostProgram {

namespace {

int fail(int code, const QString &message)
{
    QTextStream(stderr) << "ipcore-host resources: " << message << '\n';
    return code;
}

QJsonObject reportToJson(const IPSERDESIP::Message &report)
{
    const auto list = [](const QStringList &values) { return QJsonArray::fromStringList(values); };
    return QJsonObject{
        {QStringLiteral("protocolName"), report.protocolName},
        {QStringLiteral("instanceName"), report.instanceName},
        {QStringLiteral("file"), report.file},
        {QStringLiteral("module"), report.module},
        {QStringLiteral("pllList"), list(report.pllList)},
        {QStringLiteral("refClkList"), list(report.refClkList)},
        {QStringLiteral("refClkFreqList"), list(report.refClkFreqList)},
        {QStringLiteral("laneList"), list(report.laneList)},
        {QStringLiteral("bothRateList"), list(report.bothRateList)},
        {QStringLiteral("rxRateList"), list(report.rxRateList)},
        {QStringLiteral("txRateList"), list(report.txRateList)},
    };
}

} // namespace

int runResources(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the SERDES lanes, PLLs and reference clocks a parameter set "
                       "occupies, as one JSON object."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption dirOption(QStringLiteral("plugin-dir"),
                                       QStringLiteral("Directory of the plug-ins."),
                                       QStringLiteral("DIR"), defaultPluginDir());
    parser.addOption(dirOption);
    parser.addPositionalArgument(QStringLiteral("PARAMS.json"),
                                 QStringLiteral("The parameter set."));

    if (!parser.parse(arguments))
        return fail(BadUsage, parser.errorText());
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return Success;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(BadUsage,
                    QStringLiteral("expected one parameter file, got %1").arg(positional.size()));

    QString error;
    ParameterSet params;
    if (!readParameterFile(positional.first(), &params, &error))
        return fail(BadUsage, error);

    const PluginSet plugins = loadPlugins(parser.value(dirOption), &error);
    if (plugins.status() == PluginSet::Status::NoDirectory)
        return fail(BadUsage, error);
    if (plugins.status() != PluginSet::Status::Loaded)
        return fail(JobFailed, error);
    IPSERDESIP::BaseProtocol *protocol = plugins.jesd204b();
    if (!protocol)
        return fail(JobFailed, QStringLiteral("%1: no plug-in offers the %2 core")
                                   .arg(parser.value(dirOption), jesd204bId()));

    const std::unique_ptr<IPSERDESIP::Message> report(protocol->resources(params));
    QTextStream(stdout) << QJsonDocument(reportToJson(*report)).toJson(QJsonDocument::Indented);
    return Success;
}

} // namespace HostProgram
