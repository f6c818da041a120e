#include "generatoroptions.h"

#include "serdesnames.h"

#include <QRegularExpression>

namespace IPSERDESIP {

OptionSet parseOptions(const QStringList &options)
{
    static const QRegularExpression laneOption(QStringLiteral("^(q(\\d)_ln([0-3]))_(\\w+)$"));
    static const QRegularExpression quadEnable(QStringLiteral("^(q\\d)_enable$"));
    OptionSet set;
    for (int i = 0; i < options.size(); ++i) {
        const QString &line = options.at(i);
        const int blank = line.indexOf(QLatin1Char(' '));
        if (blank <= 0) {
            set.errors << QStringLiteral("option line %1 \"%2\" is not \"name value\"")
                              .arg(i + 1)
                              .arg(line);
            continue;
        }
        const QString name = line.left(blank);
        const QString value = line.mid(blank + 1);
        const QRegularExpressionMatch lane = laneOption.match(name);
        if (lane.hasMatch()) {
            LaneOptions &entry = set.lanes[lane.captured(1)];
            entry.prefix = lane.captured(1);
            entry.quad = lane.captured(2).toInt();
            entry.lane = lane.captured(3).toInt();
            entry.values.insert(lane.captured(4), value);
            entry.lines << line;
            continue;
        }
        set.moduleLines << line;
        const QString source = Names::refSourceFromOption(name);
        if (!source.isEmpty()) {
            set.refClocks.insert(source, value);
            set.refClockLines.insert(source, line);
            continue;
        }
        const QRegularExpressionMatch quad = quadEnable.match(name);
        if (quad.hasMatch() && value == QLatin1String("true"))
            set.enabledQuads << quad.captured(1);
    }
    return set;
}

} // namespace IPSERDESIP
