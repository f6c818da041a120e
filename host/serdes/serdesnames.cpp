#include "serdesnames.h"
#include "serdesfunctions.h"

#include <QRegularExpression>

namespace IPSERDESIP {
namespace Names {

LaneRef parseLane(const QString &name)
{
    static const QRegularExpression hostForm(
        QStringLiteral("^Q(\\d)(?:_LANE|_Lane| Lane)([0-3])(?:_(RX|TX))?$"));
    static const QRegularExpression optionForm(QStringLiteral("^q(\\d)_ln([0-3])$"));
    LaneRef ref;
    QRegularExpressionMatch match = hostForm.match(name);
    if (!match.hasMatch())
        match = optionForm.match(name);
    if (!match.hasMatch())
        return ref;
    ref.quad = match.captured(1).toInt();
    ref.lane = match.captured(2).toInt();
    const QString suffix = match.lastCapturedIndex() >= 3 ? match.captured(3) : QString();
    ref.directions = suffix == QLatin1String("RX")   ? RxDirection
                     : suffix == QLatin1String("TX") ? TxDirection
                                                     : BothDirections;
    return ref;
}

QString laneName(int quad, int lane)
{
    return QStringLiteral("Q%1_LANE%2").arg(quad).arg(lane);
}

QString laneAlias(int quad, int lane)
{
    return QStringLiteral("Q%1_Lane%2").arg(quad).arg(lane);
}

QString lanePrefix(int quad, int lane)
{
    return QStringLiteral("q%1_ln%2").arg(quad).arg(lane);
}

QString laneLine(int quad, int lane, int direction)
{
    return laneName(quad, lane) +
           (direction == RxDirection ? QStringLiteral("_RX") : QStringLiteral("_TX"));
}

QString pllKindName(PllKind kind)
{
    switch (kind) {
    case PllKind::Qpll0:
        return QStringLiteral("QPLL0");
    case PllKind::Qpll1:
        return QStringLiteral("QPLL1");
    case PllKind::Cpll:
        return QStringLiteral("CPLL");
    case PllKind::None:
        break;
    }
    return {};
}

PllKind pllKindFromText(const QString &text)
{
    const QString upper = text.toUpper();
    if (upper == QLatin1String("QPLL0"))
        return PllKind::Qpll0;
    if (upper == QLatin1String("QPLL1"))
        return PllKind::Qpll1;
    if (upper == QLatin1String("CPLL"))
        return PllKind::Cpll;
    return PllKind::None;
}

PllRef parsePll(const QString &name)
{
    static const QRegularExpression form(QStringLiteral("^Q(\\d)_(?:(QPLL[01])|CPLL([0-3]))$"));
    PllRef ref;
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return ref;
    ref.quad = match.captured(1).toInt();
    if (!match.captured(2).isEmpty()) {
        ref.kind = pllKindFromText(match.captured(2));
    } else {
        ref.kind = PllKind::Cpll;
        ref.lane = match.captured(3).toInt();
    }
    return ref;
}

QString pllName(int quad, PllKind kind, int lane)
{
    if (kind == PllKind::Cpll)
        return QStringLiteral("Q%1_CPLL%2").arg(quad).arg(lane);
    return QStringLiteral("Q%1_%2").arg(quad).arg(pllKindName(kind));
}

RefRef parseRefSource(const QString &name)
{
    static const QRegularExpression form(
        QStringLiteral("^Q(\\d)[_ ](?:(REFCLK)[0-3]|(REFIN)[0-3]?)$"));
    RefRef ref;
    if (name == QLatin1String("MCLK")) {
        ref.kind = RefRef::Mclk;
        return ref;
    }
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return ref;
    ref.quad = match.captured(1).toInt();
    ref.kind = match.captured(2).isEmpty() ? RefRef::RefIn : RefRef::RefClk;
    return ref;
}

QString refSourceName(const QString &name)
{
    if (!parseRefSource(name).isValid())
        return {};
    QString serdesName = name;
    serdesName.replace(QLatin1Char(' '), QLatin1Char('_'));
    return serdesName;
}

QString refSourceFromOption(const QString &optionName)
{
    static const QRegularExpression form(
        QStringLiteral("^q(\\d)_(?:refclk([0-3])|gpio([0-3]?))_freq$"));
    if (optionName == QLatin1String("mclk_freq"))
        return QStringLiteral("MCLK");
    const QRegularExpressionMatch match = form.match(optionName);
    if (!match.hasMatch())
        return {};
    const QString quad = match.captured(1);
    if (!match.captured(2).isEmpty())
        return QStringLiteral("Q%1_REFCLK%2").arg(quad, match.captured(2));
    return QStringLiteral("Q%1_REFIN%2").arg(quad, match.captured(3));
}

} // namespace Names
} // namespace IPSERDESIP

namespace IPSERDESIP {

QString FromRefOptionToRef(const QString &displayName)
{
    QString name = displayName;
    return name.replace(QLatin1Char(' '), QLatin1Char('_'));
}

} // namespace IPSERDESIP

namespace IPSERDESIP {
namespace Names {

QString moduleOfInstance(const QString &instanceName)
{
    return instanceName.section(QLatin1Char(':'), -1);
}

bool isRecordOf(const QString &key, const QString &module)
{
    const int start = key.size() - module.size();
    return !module.isEmpty() && start > 0 && key.endsWith(module) &&
           !key.at(start - 1).isLetterOrNumber();
}

QString configuredClock(const QString &megahertz)
{
    bool ok = false;
    const double value = megahertz.toDouble(&ok);
    // The way a core writes the clock into its configuration line.
    return ok ? QStringLiteral("%1").arg(value) : megahertz;
}

} // namespace Names

int FromLaneToInt(const QStringList &lanes)
{
    // One bit per lane (quad x 4 + lane); directions and name forms do not matter.
    int bits = 0;
    for (const QString &name : lanes) {
        const Names::LaneRef lane = Names::parseLane(name);
        if (lane.isValid() && lane.index() < 31)
            bits |= 1 << lane.index();
    }
    return bits;
}

QString refsrcOptTransforSerdesName(const QString &displayName)
{
    return Names::refSourceName(displayName);
}

QString FromPllToStringOption(const QString &pll)
{
    const Names::PllRef resource = Names::parsePll(pll);
    if (resource.isValid())
        return Names::pllKindName(resource.kind);
    const Names::PllKind kind = Names::pllKindFromText(pll);
    return kind == Names::PllKind::None ? pll : Names::pllKindName(kind);
}

} // namespace IPSERDESIP
