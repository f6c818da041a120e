#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"
#include "parameterfile.h"
#include "planclocking.h"
#include "planoptions.h"
#include "plansystem.h"

#include <decimaltext.h>
#include <design/designfile.h>
#include <linkplan.h>
#include <linkrecord.h>
#include <linkreport.h>
#include <nametables.h>
#include <serdes.h>
#include <services/safefile.h>
#include <transportmap.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace HostProgram {

namespace {

using IPJESD204B::LinkPlan;

// The reference clocks and PLLs a plan lists at most.
constexpr int ClockingOptions = 10;

int directionBits(CoreDirection direction)
{
    switch (direction) {
    case CoreDirection::Receive:
        return IPSERDESIP::LANE::Receive;
    case CoreDirection::Transmit:
        return IPSERDESIP::LANE::Transmit;
    case CoreDirection::Both:
    case CoreDirection::None:
        break;
    }
    return IPSERDESIP::LANE::Both;
}

// Puts the device and the design into the SERDES model; the device is the one asked for, else
// the design's. False with *exitCode set.
bool prepareModel(const CommandLine &command, const PlanRequest &request, int *exitCode)
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    const DEV::DeviceArg device =
        request.device.isEmpty() ? DEV::DeviceArg() : lookUpDevice(request.device);
    if (!request.device.isEmpty() && device.isNull()) {
        *exitCode = command.fail(
            BadUsage,
            QStringLiteral("device '%1' is not in the device database").arg(request.device));
        return false;
    }
    model->setDevice(device);
    if (!request.designPath.isEmpty()) {
        QString error;
        if (!IPSERDESIP::DesignFile::load(request.designPath, &error)) {
            *exitCode = command.fail(BadUsage, error);
            return false;
        }
        if (!device.isNull() && model->device() != device) {
            *exitCode = command.fail(
                BadUsage, QStringLiteral("%1 is a design for %2, not for %3")
                              .arg(request.designPath, model->device().id(), device.id()));
            return false;
        }
    }
    if (model->device().isNull() && !request.emitPath.isEmpty()) {
        *exitCode = command.fail(BadUsage, QStringLiteral("--emit-set needs a device: give "
                                                          "--device ID or a design that names "
                                                          "one"));
        return false;
    }
    return true;
}

struct Clocking
{
    QStringList lanes;
    QStringList offeredLanes; // what the dialog offers the core in the design
    QVector<ClockingOption> options;
};

// The device's lanes and clocks for a valid plan; errors go into the plan.
Clocking planDeviceClocking(const PlanRequest &request, LinkPlan *plan)
{
    Clocking clocking;
    const DEV::DeviceArg device = IPSERDESIP::serdes::instance()->device();
    if (device.isNull() || !plan->isValid())
        return clocking;
    const LaneOffer offer = laneOffer(request.mode.lanes, directionBits(request.direction));
    clocking.lanes = offer.chosen;
    clocking.offeredLanes = offer.offered;
    if (clocking.lanes.size() < request.mode.lanes) {
        plan->errors << QStringLiteral("Lanes: L = %1, but %2 leaves %3 lanes free for the core "
                                       "(%4)")
                            .arg(request.mode.lanes)
                            .arg(device.device())
                            .arg(clocking.lanes.size())
                            .arg(clocking.lanes.join(QStringLiteral(", ")));
        return clocking;
    }
    const Ratio rate = plan->laneRateMbps / 1000;
    const int pcsWords = plan->pcsBits / 8;
    clocking.options =
        planClocking({device.device(), rate, clocking.lanes, plan->laneRateMbps / (10 * pcsWords),
                      request.mode.sampleRateMsps},
                     ClockingOptions);
    if (clocking.options.isEmpty()) {
        plan->errors << QStringLiteral("Clocking: no PLL of %1 makes %2 Gbps on %3 from a "
                                       "reference clock of %4 to %5 MHz that the design leaves "
                                       "free")
                            .arg(device.device(), rate.toString(),
                                 clocking.lanes.join(QStringLiteral(", ")),
                                 minRefClockMHz().toString(), maxRefClockMHz().toString());
    }
    return clocking;
}

QString dividerText(const ClockingOption &option)
{
    if (option.pll == QLatin1String("CPLL"))
        return QStringLiteral("M %1, N1 %2, N2 %3, D %4")
            .arg(option.m)
            .arg(option.n1)
            .arg(option.n2)
            .arg(option.d);
    return QStringLiteral("M %1, N %2, D %3").arg(option.m).arg(option.n1).arg(option.d);
}

QJsonObject clockingJson(const ClockingOption &option)
{
    QJsonObject dividers{{QStringLiteral("M"), option.m}, {QStringLiteral("D"), option.d}};
    if (option.pll == QLatin1String("CPLL")) {
        dividers.insert(QStringLiteral("N1"), option.n1);
        dividers.insert(QStringLiteral("N2"), option.n2);
    } else {
        dividers.insert(QStringLiteral("N"), option.n1);
    }
    QJsonObject object{{QStringLiteral("pll"), option.pll},
                       {QStringLiteral("refClockSource"), option.refSource},
                       {QStringLiteral("refClockMHz"), option.refClockMHz.toDouble()},
                       {QStringLiteral("dividers"), dividers},
                       {QStringLiteral("vcoGHz"), option.vcoGHz.toDouble()}};
    if (!option.relation.isEmpty())
        object.insert(QStringLiteral("relation"), option.relation);
    return object;
}

// The octet map of a valid plan; an invalid map otherwise.
IPJESD204B::TransportMap planTransport(const LinkPlan &plan)
{
    if (!plan.isValid() || !plan.octetsPerFrame)
        return IPJESD204B::TransportMap{};
    return IPJESD204B::transportMap(plan.mode, *plan.octetsPerFrame);
}

void printPlan(const LinkPlan &plan, const Clocking &clocking, bool json, const QJsonObject &system)
{
    QTextStream out(stdout);
    const IPJESD204B::TransportMap transport = planTransport(plan);
    if (json) {
        QJsonObject object = IPJESD204B::linkPlanToJson(plan);
        object.insert(QStringLiteral("transport"), IPJESD204B::transportMapToJson(transport));
        QJsonArray options;
        for (const ClockingOption &option : clocking.options)
            options.append(clockingJson(option));
        object.insert(QStringLiteral("clocking"), options);
        object.insert(QStringLiteral("lanes"), QJsonArray::fromStringList(clocking.lanes));
        object.insert(QStringLiteral("pcsBits"), plan.pcsBits);
        for (auto it = system.begin(); it != system.end(); ++it)
            object.insert(it.key(), it.value());
        out << QJsonDocument(object).toJson(QJsonDocument::Indented);
        return;
    }
    for (const QString &line : IPJESD204B::linkPlanReport(plan))
        out << line << '\n';
    for (const QString &note : plan.notes)
        out << note << '\n';
    if (!clocking.lanes.isEmpty())
        out << "Lanes: " << clocking.lanes.join(QStringLiteral(", ")) << '\n';
    if (!clocking.options.isEmpty())
        out << "Clocking, best first:\n";
    for (const ClockingOption &option : clocking.options) {
        out << "  " << option.pll << " from " << option.refSource << " at "
            << option.refClockMHz.toString() << " MHz";
        if (!option.relation.isEmpty())
            out << " (= " << option.relation << ')';
        out << ": " << dividerText(option) << ", VCO " << option.vcoGHz.toString() << " GHz";
        if (!option.sharedWith.isEmpty())
            out << " (shared with " << option.sharedWith << ')';
        else if (option.runningClock)
            out << " (clock running in the design)";
        out << '\n';
    }
    if (plan.isValid()) {
        if (transport.isValid())
            out << "Transport layer:\n";
        for (const QString &line : IPJESD204B::transportMapReport(transport))
            out << line << '\n';
    }
}

// The plan on the 32-bit PCS, or on the 64-bit one when the 32-bit core clock (lane rate / 40)
// would pass what the device's fabric runs.
LinkPlan planWithPcsWidth(IPJESD204B::LinkMode mode)
{
    LinkPlan plan = IPJESD204B::planLink(mode);
    const DEV::DeviceArg device = IPSERDESIP::serdes::instance()->device();
    const Ratio limit = device.isNull() ? Ratio() : fabricClockLimitMHz(device.id());
    if (!limit.isValid() || !plan.laneRateMbps.isValid() || plan.laneRateMbps / 40 <= limit)
        return plan;
    mode.pcsBits = 64;
    plan = IPJESD204B::planLink(mode);
    plan.notes << QStringLiteral("PCS width: 64-bit, since the 32-bit core clock of %1 MHz "
                                 "would pass the %2 MHz the fabric of %3 runs")
                      .arg(IPJESD204B::decimalText(plan.laneRateMbps / 40),
                           IPJESD204B::decimalText(limit), device.device());
    return plan;
}

// A file and module name from the file the set goes to, as the dialog accepts names.
QString coreName(const QString &path)
{
    const QString base = QFileInfo(path).completeBaseName();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    return identifier.match(base).hasMatch() ? base : QStringLiteral("jesd204b_link");
}

int emitSet(const CommandLine &command, const PlanRequest &request, const LinkPlan &plan,
            const Clocking &clocking)
{
    PlannedCore core;
    core.deviceId = IPSERDESIP::serdes::instance()->device().id();
    core.deviceName = IPSERDESIP::serdes::instance()->device().device();
    core.name = coreName(request.emitPath);
    core.direction = request.direction;
    core.lanes = clocking.lanes;
    core.offeredLanes = clocking.offeredLanes;
    core.laneRateGbps = plan.laneRateMbps / 1000;
    core.octetsPerFrame = *plan.octetsPerFrame;
    core.framesPerMultiframe = *plan.framesPerMultiframe;
    core.scrambling = request.mode.scrambling;
    core.pcsBits = plan.pcsBits;
    core.clocking = clocking.options.first();
    // The set and its link record land together or not at all.
    HostFiles::WriteBatch batch;
    const QString recordPath = IPJESD204B::linkRecordPath(request.emitPath);
    QString error;
    if (!writeParameterFile(request.emitPath, plannedParameterSet(core), &error, &batch))
        return command.fail(JobFailed, error);
    if (!batch.stage(HostFiles::fileTarget(recordPath),
                     IPJESD204B::linkRecordBytes(IPJESD204B::linkRecordOf(plan.mode)), &error))
        return command.fail(JobFailed,
                            QStringLiteral("%1: cannot write: %2").arg(recordPath, error));
    if (!batch.commit(&error))
        return command.fail(
            JobFailed,
            QStringLiteral("cannot write %1 and %2: %3").arg(request.emitPath, recordPath, error));
    return Success;
}

} // namespace

int runPlan(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("plan"),
        QStringLiteral("Plans a JESD204B link from a converter's mode: F, HD, K, the lane rate, "
                       "the frame clock, LMFC and SYSREF, the device clocks, every lane's ILAS "
                       "configuration and the device's reference clocks and PLLs that make the "
                       "lane rate on the lanes the dialog offers (at most ten, best first: what "
                       "the design runs, the device clock and its multiples, relations to Fs, "
                       "then round clocks). --emit-set also writes the link record SET.link.json "
                       "that ilas, check, generate and simulate read. With --design it lists "
                       "the SYSREF frequencies every JESD204B link of the design shares (each "
                       "core's link from its link record), and --skew-budget gives the release "
                       "delays (RBD) that keep the latency deterministic and the latency. A mode "
                       "that breaks a rule exits 1 with one line per rule."));
    PlanRequest request;
    int exitCode = Success;
    if (!parsePlanOptions(command, arguments, &request, &exitCode) ||
        !prepareModel(command, request, &exitCode))
        return exitCode;

    LinkPlan plan = planWithPcsWidth(request.mode);
    const Clocking clocking = planDeviceClocking(request, &plan);
    // A core planned again leaves its earlier self in the design out.
    const QString own = request.emitPath.isEmpty() ? QString()
                                                   : coreName(request.emitPath) + QLatin1Char(':') +
                                                         coreName(request.emitPath);
    const PlannedSystem system = plan.isValid() ? planSystem(request, plan, own) : PlannedSystem();
    printPlan(plan, clocking, request.json, system.json);
    for (const QString &warning : qAsConst(plan.warnings))
        QTextStream(stderr) << "warning: " << warning << '\n';
    if (!plan.isValid()) {
        for (const QString &error : qAsConst(plan.errors))
            command.fail(JobFailed, error);
        return JobFailed;
    }
    const int verdict = reportPlannedSystem(command, request, system);
    if (verdict != Success)
        return verdict;
    if (!request.emitPath.isEmpty())
        return emitSet(command, request, plan, clocking);
    return Success;
}

} // namespace HostProgram
