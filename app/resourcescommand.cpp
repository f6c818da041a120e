#include "commands.h"
#include "commandsupport.h"
#include "parametergate.h"

#include <baseprotocol.h>
#include <services/message.h>

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace HostProgram {

namespace {

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
    CommandLine command(QStringLiteral("resources"),
                        QStringLiteral("Prints the SERDES lanes, PLLs and reference clocks a "
                                       "parameter set occupies, as one JSON object."));
    const QCommandLineOption asIsOption(
        QStringLiteral("as-is"),
        QStringLiteral("Report a stored set as it is, without the dialog's value rules (the "
                       "safety rules still apply)."));
    command.parser().addOption(asIsOption);
    int exitCode = Success;
    IPSERDESIP::ParameterMap params;
    if (!command.parseWithParameterFile(arguments, &params, &exitCode))
        return exitCode;

    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    const IPSERDESIP::ParameterCheck::Rules rules = command.parser().isSet(asIsOption)
                                                        ? IPSERDESIP::ParameterCheck::Rules::Safety
                                                        : IPSERDESIP::ParameterCheck::Rules::All;
    if (!protocol || !checkParameterSet(command, protocol, params, {}, rules, &exitCode))
        return exitCode;

    const std::unique_ptr<IPSERDESIP::Message> report(protocol->resources(params));
    QTextStream(stdout) << QJsonDocument(reportToJson(*report)).toJson(QJsonDocument::Indented);
    return Success;
}

} // namespace HostProgram
