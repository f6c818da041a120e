#include "summaryline.h"

#include <QStringList>

namespace LinkSim {

SummaryLine findSummary(const QByteArray &output)
{
    SummaryLine summary;
    const QStringList lines = QString::fromUtf8(output).split(QLatin1Char('\n'));
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        if (it->startsWith(QLatin1String("JESD204B_SIM "))) {
            summary.text = it->trimmed();
            break;
        }
    }
    const QStringList words = summary.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        const int eq = word.indexOf(QLatin1Char('='));
        if (eq > 0)
            summary.fields.insert(word.left(eq), word.mid(eq + 1));
    }
    return summary;
}

} // namespace LinkSim
