#include "parameterrules.h"

#include "parameterkeys.h"

#include <QSet>

namespace IPJESD204B {

namespace {

constexpr int MaxShownCharacters = 60;

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool isLineOrControl(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

// What a value may not carry anywhere: a generated header, SERDES record or module option
// line would gain a line, a compiler directive or a string.
QString forbiddenCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (isLineOrControl(c))
            return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        if (c == QLatin1Char('`') || c == QLatin1Char('"'))
            return QString(c);
    }
    return {};
}

QString injectionProblem(const QString &key, const QString &value)
{
    const QString bad = forbiddenCharacter(value);
    if (bad.isEmpty())
        return {};
    return QStringLiteral("%1 is %2; allowed: a value without control characters, line breaks, "
                          "\"`\" or '\"' (it holds %3)")
        .arg(quoted(key), ParameterRules::shownValue(value), bad);
}

QString fileNameProblem(const QString &value)
{
    const bool unsafe = value.isEmpty() || value == QLatin1String(".") ||
                        value == QLatin1String("..") || value.contains(QLatin1Char('/')) ||
                        value.contains(QLatin1Char('\\')) || value.toUtf8().size() > 255 ||
                        !forbiddenCharacter(value).isEmpty();
    if (!unsafe)
        return {};
    return QStringLiteral("%1 is %2; allowed: one folder name (not empty, not \".\" or \"..\", "
                          "at most 255 bytes) without \"/\", \"\\\" or control characters")
        .arg(quoted(QString(Key::File)), ParameterRules::shownValue(value));
}

QString laneListProblem(const QStringList &lanes)
{
    const QString key = quoted(QString(Key::RecordLanes));
    if (lanes.size() > MaxLanes)
        return QStringLiteral("%1 holds %2 lanes; allowed: at most %3 distinct lanes")
            .arg(key)
            .arg(lanes.size())
            .arg(MaxLanes);
    QSet<QString> seen;
    for (const QString &lane : lanes) {
        if (seen.contains(lane))
            return QStringLiteral("%1 names %2 twice; allowed: at most %3 distinct lanes")
                .arg(key, ParameterRules::shownValue(lane))
                .arg(MaxLanes);
        seen.insert(lane);
    }
    return {};
}

} // namespace

namespace ParameterRules {

QString shownValue(const QString &value)
{
    QString shown;
    for (const QChar c : value.left(MaxShownCharacters)) {
        if (c == QLatin1Char('\n'))
            shown += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            shown += QStringLiteral("\\r");
        else if (c == QLatin1Char('\\'))
            shown += QStringLiteral("\\\\");
        else if (c == QLatin1Char('"'))
            shown += QStringLiteral("\\\"");
        else if (isLineOrControl(c))
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    if (value.size() > MaxShownCharacters)
        shown += QStringLiteral("...");
    return quoted(shown);
}

QString safetyProblem(const IPSERDESIP::ParameterMap &params)
{
    if (params.contains(Key::File)) {
        const QString problem = fileNameProblem(params.value(Key::File).toString());
        if (!problem.isEmpty())
            return problem;
    }
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
        const QVariant &value = it.value();
        const QStringList texts = value.userType() == QMetaType::QStringList
                                      ? value.toStringList()
                                      : QStringList{value.toString()};
        for (const QString &text : texts) {
            const QString problem = injectionProblem(it.key(), text);
            if (!problem.isEmpty())
                return problem;
        }
    }
    return laneListProblem(params.value(Key::RecordLanes).toStringList());
}

} // namespace ParameterRules
} // namespace IPJESD204B
