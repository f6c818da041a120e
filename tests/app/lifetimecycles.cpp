#include "lifetimecycles.h"

#include "dialogworkload.h"

#include <baseprotocol.h>
#include <protocolpackage.h>
#include <serdes.h>
#include <services/message.h>

#include <QPluginLoader>

#include <malloc.h>

#include <memory>

namespace Lifetime {

IPSERDESIP::ParameterMap eightLaneSet()
{
    return DialogWorkload::eightLaneSet();
}

QString pluginRound(const QString &pluginFile, const IPSERDESIP::ParameterMap &params,
                    const QString &workDir)
{
    QPluginLoader loader(pluginFile);
    // QPluginLoader keeps its libraries loaded by default; without the hint unload() hands the
    // library back to the dynamic linker, as a host that unloads plug-ins would.
    loader.setLoadHints({});
    auto *package = qobject_cast<IPSERDESIP::ProtocolPackage *>(loader.instance());
    if (!package)
        return QStringLiteral("not a protocol package: ") + loader.errorString();
    package->setDirectory(pluginFile.left(pluginFile.lastIndexOf(QLatin1Char('/'))));
    QString problem;
    {
        const QList<IPSERDESIP::BaseProtocol *> offered = package->protocols();
        std::vector<std::unique_ptr<IPSERDESIP::BaseProtocol>> protocols(offered.begin(),
                                                                         offered.end());
        if (protocols.size() != 1)
            return QStringLiteral("%1 protocols offered").arg(protocols.size());
        IPSERDESIP::BaseProtocol &protocol = *protocols.front();
        IPSERDESIP::serdes::instance()->setWorkingDir(workDir);
        QStringList ini;
        QStringList reserved;
        QStringList moduleOptions;
        QString message;
        if (!protocol.generate(params, ini, reserved, moduleOptions, message, false))
            problem = QStringLiteral("generate failed");
        const std::unique_ptr<IPSERDESIP::Message> report(protocol.resources(params));
        if (!report || report->laneList.isEmpty())
            problem = QStringLiteral("no resource report");
    }
    // The host deletes the package's root object through the loader.
    if (!loader.unload())
        return QStringLiteral("unload failed: ") + loader.errorString();
    return problem;
}

bool dialogRound(const IPSERDESIP::ParameterMap &stored)
{
    if (IPSERDESIP::serdes::instance()->device().isNull())
        DialogWorkload::useTwoQuadDevice();
    return DialogWorkload::openStored(stored);
}

void bareFormsRound()
{
    DialogWorkload::buildBareForms();
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace Lifetime
