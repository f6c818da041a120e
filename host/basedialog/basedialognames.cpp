#include "basedialognames.h"

#include <services/verilognames.h>

namespace IPSERDESIP {
namespace BaseDialogNames {

namespace {

using VerilogNames::isAsciiDigit;
using VerilogNames::isAsciiLetter;
using VerilogNames::isIdentifierChar;
using VerilogNames::isKeyword;

bool isForbiddenInFileName(QChar c)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    return forbidden.contains(c) || c.category() == QChar::Other_Control;
}

// Control characters are invisible in a message, so they are named by code point.
QString visible(QChar c)
{
    if (c.category() == QChar::Other_Control)
        return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return QString(c);
}

} // namespace

QStringList fileNameProblems(const QString &fileName)
{
    if (fileName.trimmed().isEmpty())
        return {QStringLiteral("The file name is empty.")};

    QStringList problems;
    if (fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        problems << QStringLiteral("The file name cannot be \".\" or \"..\".");
    if (fileName.front().isSpace() || fileName.back().isSpace())
        problems
            << QStringLiteral("The file name \"%1\" begins or ends with a blank.").arg(fileName);

    QStringList bad;
    for (const QChar c : fileName) {
        if (isForbiddenInFileName(c) && !bad.contains(visible(c)))
            bad << visible(c);
    }
    if (!bad.isEmpty())
        problems << QStringLiteral("The file name \"%1\" contains characters that are not "
                                   "allowed: %2")
                        .arg(fileName, bad.join(QLatin1Char(' ')));

    if (fileName.toUtf8().size() > 255)
        problems << QStringLiteral("The file name is longer than 255 bytes.");
    return problems;
}

QString moduleNameProblem(const QString &moduleName)
{
    if (moduleName.isEmpty())
        return QStringLiteral("The module name is empty.");
    const QChar first = moduleName.front();
    if (!isAsciiLetter(first) && first != QLatin1Char('_'))
        return QStringLiteral("The module name \"%1\" must begin with a letter or \"_\".")
            .arg(moduleName);
    for (const QChar c : moduleName) {
        if (!isIdentifierChar(c))
            return QStringLiteral("The module name \"%1\" contains \"%2\"; a Verilog identifier "
                                  "holds only letters, digits, \"_\" and \"$\".")
                .arg(moduleName, visible(c));
    }
    if (isKeyword(moduleName))
        return QStringLiteral("The module name \"%1\" is a reserved Verilog keyword.")
            .arg(moduleName);
    return {};
}

QString moduleNameFromFileName(const QString &fileName)
{
    return VerilogNames::moduleNameFromFileName(fileName);
}

} // namespace BaseDialogNames
} // namespace IPSERDESIP
