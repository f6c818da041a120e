#include <design/designfile.h>

#include "designdata.h"
#include <logging/hostlogging.h>
#include <serdes/pllplanner.h>
#include <services/inputfile.h>
#include <services/message.h>

#include <services/safefile.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace IPSERDESIP {

using namespace Names;

namespace {

bool readRoot(const QString &path, QJsonObject *root, QString *error)
{
    QByteArray contents;
    QString reason;
    if (!readInputFile(path, &contents, &reason)) {
        *error = QStringLiteral("%1: cannot read the design: %2").arg(path, reason);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(contents, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("%1: not valid JSON at offset %2: %3")
                     .arg(path)
                     .arg(parseError.offset)
                     .arg(parseError.errorString());
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("%1: a design is a JSON object").arg(path);
        return false;
    }
    *root = document.object();
    return true;
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Drops every entry of a list whose field names the instance.
void dropOwned(QJsonObject &root, const QString &key, const QString &field, const QString &name)
{
    QJsonArray kept;
    for (const QJsonValue &entry : root.value(key).toArray()) {
        if (entry.toObject().value(field).toString() != name)
            kept.append(entry);
    }
    if (root.contains(key))
        root.insert(key, kept);
}

void append(QJsonObject &root, const QString &key, const QJsonObject &entry)
{
    QJsonArray list = root.value(key).toArray();
    list.append(entry);
    root.insert(key, list);
}

// The design entries an accepted core adds: its lane lines, the PLLs it starts and its clock.
void addEntries(QJsonObject &root, const Message &report, const ReportEvaluation &evaluation,
                const serdes::Model &model)
{
    const QString owner = report.instanceName;
    static const QStringList statusWords{QString(), QStringLiteral("rx"), QStringLiteral("tx"),
                                         QStringLiteral("both")};
    QStringList startedPlls;
    QStringList clocks;
    for (const RouteClaim &claim : evaluation.claims) {
        const QString source = pllKindName(parsePll(claim.pll).kind);
        QJsonObject lane{{QStringLiteral("lane"), laneName(claim.lane.quad, claim.lane.lane)},
                         {QStringLiteral("status"), statusWords.at(claim.lane.directions)},
                         {QStringLiteral("owner"), owner}};
        if (!claim.rate.isEmpty())
            lane.insert(QStringLiteral("rate"), claim.rate);
        if (!source.isEmpty() && (claim.lane.directions & RxDirection))
            lane.insert(QStringLiteral("rxSource"), source);
        if (!source.isEmpty() && (claim.lane.directions & TxDirection))
            lane.insert(QStringLiteral("txSource"), source);
        append(root, QStringLiteral("lanes"), lane);

        const PLL *pll = model.pll(claim.pll);
        if (pll && !pll->isEnabled() && !claim.vco.isEmpty() && !startedPlls.contains(claim.pll)) {
            startedPlls << claim.pll;
            append(root, QStringLiteral("plls"),
                   QJsonObject{{QStringLiteral("pll"), claim.pll},
                               {QStringLiteral("vcoGHz"), claim.vco},
                               {QStringLiteral("refClock"), claim.refSource},
                               {QStringLiteral("owner"), owner}});
        }
        if (!claim.refSource.isEmpty() && !clocks.contains(claim.refSource)) {
            clocks << claim.refSource;
            append(root, QStringLiteral("refClocks"),
                   QJsonObject{{QStringLiteral("source"), claim.refSource},
                               {QStringLiteral("frequency"), claim.refFrequency},
                               {QStringLiteral("owner"), owner}});
        }
    }
    append(root, QStringLiteral("instances"),
           QJsonObject{{QStringLiteral("name"), owner},
                       {QStringLiteral("protocol"), report.protocolName},
                       {QStringLiteral("lanes"), QJsonArray::fromStringList(report.laneList)}});
}

// The global data keys the design records as the instance's own.
QStringList ownedKeys(const QJsonObject &root, const QString &name)
{
    QStringList keys;
    for (const QJsonValue &entry : root.value(QStringLiteral("instances")).toArray()) {
        const QJsonObject instance = entry.toObject();
        if (instance.value(QStringLiteral("name")).toString() != name)
            continue;
        for (const QJsonValue &key : instance.value(QStringLiteral("globalData")).toArray())
            keys << key.toString();
    }
    return keys;
}

bool ownedByAny(const QJsonObject &root, const QString &key)
{
    const QJsonArray instances = root.value(QStringLiteral("instances")).toArray();
    return std::any_of(instances.begin(), instances.end(), [&key](const QJsonValue &entry) {
        return entry.toObject().value(QStringLiteral("globalData")).toArray().contains(key);
    });
}

// What the core published since the design was loaded goes into the design, so the next core
// configured in it sees the same. Keys it held before and let go leave with their last owner;
// its own records under an earlier module name go with that name. Answers the published keys.
QStringList mergeGlobalData(QJsonObject &root, const QStringList &earlier,
                            const QString &earlierModule)
{
    QJsonObject data = root.value(QStringLiteral("globalData")).toObject();
    const serdes *model = serdes::instance();
    QStringList published;
    for (const QString &key : model->writtenKeys()) {
        const QJsonValue value = QJsonValue::fromVariant(model->getData(key));
        if (!value.isBool() && !value.isDouble() && !value.isString())
            continue;
        published << key;
        data.insert(key, value);
    }
    for (const QString &key : data.keys()) {
        const bool heldBefore = earlier.contains(key) || isRecordOf(key, earlierModule);
        if (heldBefore && !published.contains(key) && !ownedByAny(root, key))
            data.remove(key);
    }
    if (!data.isEmpty() || root.contains(QStringLiteral("globalData")))
        root.insert(QStringLiteral("globalData"), data);
    return published;
}

// The instance's entry remembers the keys it published, so that editing the core gives them
// back.
void recordOwnedKeys(QJsonObject &root, const QString &name, const QStringList &keys)
{
    if (keys.isEmpty())
        return;
    QJsonArray instances = root.value(QStringLiteral("instances")).toArray();
    for (int i = 0; i < instances.size(); ++i) {
        QJsonObject instance = instances.at(i).toObject();
        if (instance.value(QStringLiteral("name")).toString() != name)
            continue;
        instance.insert(QStringLiteral("globalData"), QJsonArray::fromStringList(keys));
        instances.replace(i, instance);
    }
    root.insert(QStringLiteral("instances"), instances);
}

// Puts the core's entries into the design's JSON in place of those it held before (under
// the name replacing), and checks the design that results.
bool addToRoot(const QString &path, const Message &report, const QString &replacing,
               QJsonObject &root, QString *error)
{
    QString problem;
    const QStringList earlier = ownedKeys(root, replacing);
    if (!replacing.isEmpty()) {
        for (const QString &key :
             {QStringLiteral("lanes"), QStringLiteral("plls"), QStringLiteral("refClocks")})
            dropOwned(root, key, QStringLiteral("owner"), replacing);
        dropOwned(root, QStringLiteral("instances"), QStringLiteral("name"), replacing);
    }

    DesignData design;
    if (!parseDesign(root, serdes::instance()->device(), &design, &problem)) {
        setError(error, QStringLiteral("%1: %2").arg(path, problem));
        return false;
    }
    serdes::Model model;
    applyDesign(design, model);
    const QString holder = moduleHolder(model, report.instanceName, QString());
    if (!holder.isEmpty()) {
        setError(error, QStringLiteral("%1: the design already holds a module named %2 (core "
                                       "%3); nothing was written")
                            .arg(path, moduleOfInstance(report.instanceName), holder));
        return false;
    }
    const ReportEvaluation evaluation = evaluateReport(model, report);
    if (!evaluation.problems.isEmpty()) {
        setError(error,
                 QStringLiteral("%1: %2 does not fit the design:\n%3")
                     .arg(path, report.instanceName, evaluation.problems.join(QLatin1Char('\n'))));
        return false;
    }
    addEntries(root, report, evaluation, model);
    recordOwnedKeys(root, report.instanceName,
                    mergeGlobalData(root, earlier, moduleOfInstance(replacing)));
    if (!parseDesign(root, serdes::instance()->device(), &design, &problem)) {
        setError(error,
                 QStringLiteral("%1: the updated design would be invalid: %2").arg(path, problem));
        return false;
    }
    return true;
}

} // namespace

bool DesignFile::load(const QString &path, QString *error)
{
    QJsonObject root;
    QString problem;
    if (!readRoot(path, &root, &problem)) {
        setError(error, problem);
        return false;
    }
    serdes *model = serdes::instance();
    DesignData design;
    if (!parseDesign(root, model->device(), &design, &problem)) {
        setError(error, QStringLiteral("%1: %2").arg(path, problem));
        return false;
    }
    qCDebug(Logging::lcDesign).noquote()
        << path << "read:" << design.lanes.size() << "lane entries," << design.plls.size()
        << "PLLs," << design.refClocks.size() << "reference clocks," << design.instances.size()
        << "instances," << design.globalData.size() << "global data keys";
    for (const ProtocolInstance &instance : design.instances)
        qCDebug(Logging::lcDesign).noquote() << QStringLiteral("%1 instance %2 (%3) on %4")
                                                    .arg(path, instance.name, instance.protocol,
                                                         instance.lanes.join(QStringLiteral(", ")));
    model->reset();
    applyDesign(design, model->model());
    for (auto it = design.globalData.begin(); it != design.globalData.end(); ++it)
        model->setData(it.key(), it.value());
    model->forgetWrittenKeys();
    return true;
}

bool DesignFile::addInstance(const QString &path, const Message &report, QString *error,
                             const QString &replacing, HostFiles::WriteBatch *batch)
{
    if (report.instanceName.isEmpty()) {
        setError(error, QStringLiteral("%1: the core has no instance name").arg(path));
        return false;
    }
    HostFiles::WriteBatch own;
    HostFiles::WriteBatch &writes = batch ? *batch : own;
    QJsonObject root;
    QString problem;
    if (!writes.lock(path + QStringLiteral(".lock"), LockTimeoutMs, &problem)) {
        setError(error, QStringLiteral("%1: %2").arg(path, problem));
        return false;
    }
    if (QFileInfo::exists(path) && !readRoot(path, &root, &problem)) {
        setError(error, problem);
        return false;
    }
    if (!addToRoot(path, report, replacing, root, error))
        return false;

    if (!writes.stage(HostFiles::fileTarget(path),
                      QJsonDocument(root).toJson(QJsonDocument::Indented), &problem) ||
        (!batch && !writes.commit(&problem))) {
        setError(error, QStringLiteral("%1: cannot write the design: %2").arg(path, problem));
        return false;
    }
    qCDebug(Logging::lcDesign).noquote() << path << "written with" << report.instanceName;
    serdes::instance()->forgetWrittenKeys();
    return true;
}

} // namespace IPSERDESIP
