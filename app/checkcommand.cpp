#include "checkjson.h"
#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"
#include "plansysref.h"

#include <baseprotocol.h>
#include <design/designfile.h>
#include <devicedb.h>
#include <generator.h>
#include <idecore.h>
#include <linkrecord.h>
#include <parameterkeys.h>
#include <serdes.h>
#include <services/coregeneration.h>
#include <services/message.h>
#include <services/safefile.h>

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace HostProgram {

namespace {

// Registers the core's routes, runs the generator on its SERDES option lines, releases the
// lanes again: what the dialog's Calculate button does, without the dialog.
class Check
{
public:
    Check(IPSERDESIP::BaseProtocol *protocol, const IPSERDESIP::ParameterMap &params)
        : m_protocol(protocol), m_params(params)
    {}

    // The core's option lines through the host's one door, as a preview: its files stay
    // staged below the scratch directory and are dropped with it.
    IPCore::CoreOutcome prepare(const DEV::DeviceArg &device, QString *error)
    {
        if (!m_scratch.isValid()) {
            *error = m_scratch.errorString();
            return IPCore::CoreOutcome::Failed;
        }
        IPCore::CoreRequest request;
        request.params = m_params;
        request.device = device;
        request.workdir = m_scratch.path();
        request.commit = false;
        HostFiles::WriteBatch scratchFiles;
        IPCore::GeneratedCore core;
        const IPCore::CoreOutcome outcome =
            IPCore::generateCore(*m_protocol, request, scratchFiles, &core, error);
        if (outcome != IPCore::CoreOutcome::Generated)
            return outcome;
        m_options = core.iniLines;
        if (m_options.isEmpty()) {
            *error = QStringLiteral("the parameter set gives no SERDES option lines (no lane "
                                    "in \"recordlanes\"?)");
            return IPCore::CoreOutcome::Failed;
        }
        m_report.reset(m_protocol->resources(m_params));
        return outcome;
    }

    bool run(const QStringList &notes)
    {
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->checkRoute(m_report->laneList, m_report->pllList, m_report->refClkList,
                          m_report->refClkFreqList, m_report->instanceName);
        const bool ok = m_generator.generate(m_options, recordPath(), notes);
        for (const QString &lane : m_report->laneList)
            model->resetLane(lane, false);
        return ok;
    }

    QString instanceName() const { return m_report->instanceName; }
    QString recordPath() const { return m_scratch.filePath(QStringLiteral("jesd204b.csr")); }
    const IPSERDESIP::generator &result() const { return m_generator; }

private:
    IPSERDESIP::BaseProtocol *m_protocol;
    IPSERDESIP::ParameterMap m_params;
    HostFiles::ScratchFolder m_scratch;
    QStringList m_options;
    std::unique_ptr<IPSERDESIP::Message> m_report;
    IPSERDESIP::generator m_generator;
};

struct CheckOptions
{
    IPSERDESIP::ParameterMap params;
    QString device; // the one asked for, else the one the core was configured for
    bool hasDesign = false;
    QString designPath;
    bool keepsRecord = false;
    QString recordPath;
    bool strict = false; // a broken link rule fails the check
    bool json = false;
};

bool parseOptions(CommandLine &command, const QStringList &arguments, CheckOptions *options,
                  int *exitCode)
{
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption designOption(
        QStringLiteral("design"),
        QStringLiteral("Design whose other cores hold lanes, PLLs and reference clocks."),
        QStringLiteral("FILE"));
    const QCommandLineOption deviceOption =
        HostProgram::deviceOption(QStringLiteral(" instead of the set's \"target_device\"."));
    const QCommandLineOption recordOption(
        QStringLiteral("csr"), QStringLiteral("Also keep the SERDES configuration record in FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption strictOption(
        QStringLiteral("strict"),
        QStringLiteral("Fail (exit 1) when the set breaks a JESD204B link rule."));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Print the verdict as one JSON object."));
    parser.addOptions({designOption, deviceOption, recordOption, strictOption, jsonOption});
    if (!command.parseWithParameterFile(arguments, &options->params, exitCode))
        return false;
    options->device = parser.isSet(deviceOption)
                          ? parser.value(deviceOption)
                          : options->params.value(QStringLiteral("target_device")).toString();
    options->hasDesign = parser.isSet(designOption);
    options->designPath = parser.value(designOption);
    options->keepsRecord = parser.isSet(recordOption);
    options->recordPath = parser.value(recordOption);
    if (!command.refuseOutputOverInput(options->recordPath,
                                       {command.parameterFile(), options->designPath}, exitCode))
        return false;
    options->strict = parser.isSet(strictOption);
    options->json = parser.isSet(jsonOption);
    return true;
}

// Puts the device and the design into the SERDES model. False with *exitCode set.
bool prepareDesign(const CommandLine &command, const CheckOptions &options, int *exitCode)
{
    const DEV::DeviceArg device =
        options.device.isEmpty() ? DEV::DeviceArg() : lookUpDevice(options.device);
    if (!options.device.isEmpty() && device.isNull()) {
        *exitCode = command.fail(
            BadUsage,
            QStringLiteral("device '%1' is not in the device database").arg(options.device));
        return false;
    }
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    model->setDevice(device);
    if (!options.hasDesign)
        return true;
    QString error;
    if (!IPSERDESIP::DesignFile::load(options.designPath, &error)) {
        *exitCode = command.fail(BadUsage, error);
        return false;
    }
    // A design made for another chip says nothing about this one.
    if (!device.isNull() && model->device() != device) {
        *exitCode =
            command.fail(BadUsage, QStringLiteral("%1 is a design for %2, the core targets %3")
                                       .arg(options.designPath, model->device().id(), device.id()));
        return false;
    }
    return true;
}

// Proves the core in the prepared design and prints the verdict.
int checkCore(const CommandLine &command, const CheckOptions &options,
              IPSERDESIP::BaseProtocol *protocol)
{
    QString error;
    Check check(protocol, options.params);
    switch (check.prepare(IPSERDESIP::serdes::instance()->device(), &error)) {
    case IPCore::CoreOutcome::Refused:
        return command.fail(BadUsage, command.parameterFile() + QStringLiteral(": ") + error);
    case IPCore::CoreOutcome::Failed:
        return command.fail(JobFailed, error);
    case IPCore::CoreOutcome::Generated:
        break;
    }
    QStringList notes{QStringLiteral("core %1").arg(check.instanceName()),
                      QStringLiteral("parameters %1").arg(command.parameterFile())};
    if (options.hasDesign)
        notes << QStringLiteral("design %1").arg(options.designPath);
    const std::optional<IPJESD204B::LinkRecord> record =
        IPJESD204B::readLinkRecord(command.parameterFile(), &error);
    if (!error.isEmpty())
        return command.fail(BadUsage, error);
    const bool ok = check.run(notes);
    QStringList warnings = storedLinkProblems(options.params, record);
    const QString sysref =
        options.hasDesign
            ? designSysrefWarning(options.designPath, check.instanceName(), options.params)
            : QString();
    if (!sysref.isEmpty())
        warnings << sysref;
    const int verdict = ok && options.strict && !warnings.isEmpty() ? int(JobFailed) : Success;

    QTextStream out(stdout);
    if (options.json) {
        const QString storedClock =
            options.params.value(IPJESD204B::Key::RefClkFrequency).toString();
        out << QJsonDocument(checkVerdictJson(check.instanceName(), check.result().result(),
                                              storedClock, warnings))
                   .toJson(QJsonDocument::Indented);
    } else {
        for (const QString &warning : warnings)
            QTextStream(stderr) << "warning: " << printable(warning) << '\n';
    }
    if (!ok && options.json)
        return JobFailed;
    if (!ok) {
        out << printable(check.instanceName()) << ": the line rate cannot be made\n";
        const QStringList reasons = check.result().getErrStringList();
        for (const QString &reason : reasons)
            out << "  " << printable(reason) << '\n';
        return JobFailed;
    }
    if (!options.json) {
        out << printable(check.instanceName()) << ": the line rate can be made\n";
        for (const QString &line : check.result().solvedSettings())
            out << "  " << printable(line) << '\n';
    }
    if (options.keepsRecord) {
        QFile record(check.recordPath());
        QString reason;
        if (!record.open(QIODevice::ReadOnly))
            reason = record.errorString();
        else if (!HostFiles::writeFile(HostFiles::fileTarget(options.recordPath), record.readAll(),
                                       &reason))
            return command.fail(
                JobFailed, QStringLiteral("cannot write %1: %2").arg(options.recordPath, reason));
        if (!reason.isEmpty())
            return command.fail(
                JobFailed,
                QStringLiteral("cannot read the record %1: %2").arg(check.recordPath(), reason));
    }
    return verdict;
}

} // namespace

int runCheck(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("check"),
        QStringLiteral("Proves that a parameter set's line rate can be made from its reference "
                       "clock by its PLL on its lanes, in the design given. Prints every lane's "
                       "PLL settings (exit 0) or the reasons it cannot be made (exit 1), and a "
                       "warning on standard error for each JESD204B link rule the set breaks "
                       "(F, K, the PCS width, the elastic buffer, the subclass, the lane rate), "
                       "judged with the converter's mode when the set's link record "
                       "(SET.link.json) is beside it."));
    CheckOptions options;
    int exitCode = Success;
    if (!parseOptions(command, arguments, &options, &exitCode) ||
        !prepareDesign(command, options, &exitCode))
        return exitCode;

    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol)
        return exitCode;
    return checkCore(command, options, protocol);
}

} // namespace HostProgram
