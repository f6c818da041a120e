#include "plansystem.h"

#include "plansysref.h"

#include <decimaltext.h>
#include <linklatency.h>
#include <sysref.h>

#include <QJsonArray>
#include <QTextStream>

namespace HostProgram {

namespace {

using IPJESD204B::decimalText;

void addDesignLinks(const PlanRequest &request, const IPJESD204B::LinkPlan &plan,
                    const QString &own, QVector<SysrefLink> *links, PlannedSystem *system)
{
    const DesignLinks design = designLinks(request.designPath, own);
    *links += design.links;
    const Ratio deviceClock = plan.laneRateMbps / (10LL * plan.pcsBits / 8);
    system->lines << design.leftOut << commonSysrefLines(*links, deviceClock);
    QJsonArray linksJson;
    for (const SysrefLink &link : qAsConst(design.links))
        linksJson.append(QJsonObject{{QStringLiteral("instance"), link.name},
                                     {QStringLiteral("lmfcMHz"), link.lmfcMHz.toDouble()}});
    const IPJESD204B::CommonSysref common = IPJESD204B::commonSysref(lmfcsOf(*links), deviceClock);
    QJsonArray frequencies;
    for (const IPJESD204B::SysrefOption &option : common.options)
        frequencies.append(option.frequencyMHz.toDouble());
    QJsonObject commonJson{{QStringLiteral("MHz"), frequencies},
                           {QStringLiteral("slowestMHz"), common.slowestMHz.toDouble()}};
    if (common.breaker >= 0)
        commonJson.insert(QStringLiteral("none"), noCommonSysrefText(*links, deviceClock));
    system->json.insert(
        QStringLiteral("designLinks"),
        QJsonObject{{QStringLiteral("links"), linksJson},
                    {QStringLiteral("leftOut"), QJsonArray::fromStringList(design.leftOut)}});
    system->json.insert(QStringLiteral("commonSysref"), commonJson);
}

// A given SYSREF against every link: the fit of each, or one failure per LMFC it does not
// divide.
void checkGivenSysref(const Ratio &sysrefMHz, const QVector<SysrefLink> &links,
                      PlannedSystem *system)
{
    const auto text = [&sysrefMHz](const SysrefLink &link) {
        const QString fit = IPJESD204B::sysrefFitText(sysrefMHz, link.lmfcMHz);
        return link.name.isEmpty() ? fit : fit + QStringLiteral(" of ") + link.name;
    };
    const QVector<int> misfits = IPJESD204B::lmfcsNotDivided(sysrefMHz, lmfcsOf(links));
    for (const int misfit : misfits)
        system->failures << text(links.at(misfit));
    if (!misfits.isEmpty())
        return;
    for (const SysrefLink &link : links) {
        system->lines << QStringLiteral("SYSREF: ") + text(link);
        system->sysrefTight = system->sysrefTight ||
                              (link.lmfcMHz / sysrefMHz).toInt() < IPJESD204B::SafeSysrefDivisor;
    }
}

void addSkewBudget(const Ratio &skewBudgetNs, const IPJESD204B::LinkPlan &plan,
                   PlannedSystem *system)
{
    const IPJESD204B::LatencyLink link{*plan.octetsPerFrame, *plan.framesPerMultiframe,
                                       plan.pcsBits / 8, plan.laneRateMbps};
    const IPJESD204B::RbdWindow window = IPJESD204B::rbdWindow(link, skewBudgetNs);
    QStringList lines = IPJESD204B::skewBudgetReport(link, skewBudgetNs, window);
    if (window.recommended < 0)
        system->failures << lines.takeLast();
    system->lines << lines;
    QJsonArray safe;
    for (const int rbd : window.safe)
        safe.append(rbd);
    QJsonObject json{
        {QStringLiteral("ns"), skewBudgetNs.toDouble()},
        {QStringLiteral("skewCoreClocks"), window.skewClocks},
        {QStringLiteral("arrivalCoreClocks"), QJsonArray{window.firstArrival, window.lastArrival}},
        {QStringLiteral("safeRbd"), safe}};
    if (window.recommended >= 0) {
        const IPJESD204B::LinkLatency latency =
            IPJESD204B::linkLatency(link, window.recommended, window.lastArrival);
        json.insert(QStringLiteral("recommendedRbd"), window.recommended);
        json.insert(QStringLiteral("latency"),
                    QJsonObject{{QStringLiteral("coreClocks"), latency.coreClocks},
                                {QStringLiteral("frameClocks"), latency.frameClocks.toDouble()},
                                {QStringLiteral("ns"), latency.ns.toDouble()}});
    }
    system->json.insert(QStringLiteral("skewBudget"), json);
}

} // namespace

PlannedSystem planSystem(const PlanRequest &request, const IPJESD204B::LinkPlan &plan,
                         const QString &own)
{
    PlannedSystem system;
    QVector<SysrefLink> links{{QString(), plan.lmfcMHz}};
    if (!request.designPath.isEmpty())
        addDesignLinks(request, plan, own, &links, &system);
    if (request.sysrefMHz.isValid())
        checkGivenSysref(request.sysrefMHz, links, &system);
    if (request.skewBudgetNs.isValid() && system.failures.isEmpty())
        addSkewBudget(request.skewBudgetNs, plan, &system);
    return system;
}

int reportPlannedSystem(const CommandLine &command, const PlanRequest &request,
                        const PlannedSystem &system)
{
    if (!request.json) {
        QTextStream out(stdout);
        for (const QString &line : system.lines)
            out << printable(line) << '\n';
    }
    for (const QString &failure : system.failures)
        command.fail(JobFailed, failure);
    if (!system.failures.isEmpty())
        return JobFailed;
    if (system.sysrefTight)
        command.warn({QStringLiteral("a SYSREF as fast as the LMFC leaves no margin for its "
                                     "capture")});
    return Success;
}

} // namespace HostProgram
