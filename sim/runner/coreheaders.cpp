#include "coreheaders.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace LinkSim {

namespace {

// Generated headers are a few hundred bytes; anything far larger is not one of them.
constexpr qint64 MaxHeaderBytes = 1 << 20;

bool intValue(const QMap<QString, QString> &defines, const QString &name, int *value)
{
    bool ok = false;
    *value = defines.value(name).toInt(&ok);
    return ok;
}

} // namespace

QMap<QString, QString> readDefines(const QString &path, QString *error)
{
    QMap<QString, QString> defines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return defines;
    }
    if (file.size() > MaxHeaderBytes) {
        *error = path + QStringLiteral(": larger than a generated header");
        return defines;
    }
    static const QRegularExpression define(QStringLiteral("^`define\\s+(\\w+)\\s*(.*)$"));
    const QStringList lines = QString::fromUtf8(file.read(MaxHeaderBytes)).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = define.match(line.trimmed());
        if (match.hasMatch())
            defines.insert(match.captured(1), match.captured(2).trimmed());
    }
    return defines;
}

bool readCoreShape(const QString &headerDir, CoreShape *shape, QString *error)
{
    const QDir dir(headerDir);
    const QString topPath = dir.filePath(QStringLiteral("top_define.vh"));
    const QString linkPath = dir.filePath(QStringLiteral("jesd204b_top_defines.vh"));
    error->clear();
    const QMap<QString, QString> top = readDefines(topPath, error);
    if (!error->isEmpty())
        return false;
    const QMap<QString, QString> link = readDefines(linkPath, error);
    if (!error->isEmpty())
        return false;

    shape->moduleName = top.value(QStringLiteral("module_name"));
    shape->tx =
        link.contains(QStringLiteral("TX_EN")) || link.contains(QStringLiteral("TX_AND_RX_EN"));
    shape->rx =
        link.contains(QStringLiteral("RX_EN")) || link.contains(QStringLiteral("TX_AND_RX_EN"));
    int f1 = 0;
    int k1 = 0;
    int scrambling = 0;
    int fixed = 0;
    if (!intValue(link, QStringLiteral("MODE"), &shape->mode))
        shape->mode = 1;
    intValue(link, QStringLiteral("INIT_SCAMEBLE"), &scrambling);
    intValue(link, QStringLiteral("FIX_EN"), &fixed);
    if (shape->moduleName.isEmpty() || !(shape->tx || shape->rx) ||
        !intValue(link, QStringLiteral("LANE"), &shape->lanes) ||
        !intValue(link, QStringLiteral("INIT_F"), &f1) ||
        !intValue(link, QStringLiteral("INIT_K"), &k1) ||
        !intValue(link, QStringLiteral("BUFFER_SIZE"), &shape->bufferSize)) {
        *error = headerDir + QStringLiteral(": the generated headers lack the module name, the "
                                            "direction, LANE, INIT_F, INIT_K or BUFFER_SIZE");
        return false;
    }
    shape->f = f1 + 1;
    shape->k = k1 + 1;
    shape->scrambling = scrambling != 0;
    shape->fixed = fixed != 0;
    return true;
}

} // namespace LinkSim
