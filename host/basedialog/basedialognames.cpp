#include "basedialognames.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace IPSERDESIP {
namespace BaseDialogNames {

namespace {

// IEEE 1364-2005 reserved words, sorted for binary search.
// clang-format off
const char *const verilogKeywords[] = {
    "always", "and", "assign", "automatic", "begin", "buf", "bufif0", "bufif1", "case", "casex",
    "casez", "cell", "cmos", "config", "deassign", "default", "defparam", "design", "disable",
    "edge", "else", "end", "endcase", "endconfig", "endfunction", "endgenerate", "endmodule",
    "endprimitive", "endspecify", "endtable", "endtask", "event", "for", "force", "forever", "fork",
    "function", "generate", "genvar", "highz0", "highz1", "if", "ifnone", "incdir", "include",
    "initial", "inout", "input", "instance", "integer", "join", "large", "liblist", "library",
    "localparam", "macromodule", "medium", "module", "nand", "negedge", "nmos", "nor",
    "noshowcancelled", "not", "notif0", "notif1", "or", "output", "parameter", "pmos", "posedge",
    "primitive", "pull0", "pull1", "pulldown", "pullup", "pulsestyle_ondetect",
    "pulsestyle_onevent", "rcmos", "real", "realtime", "reg", "release", "repeat", "rnmos", "rpmos",
    "rtran", "rtranif0", "rtranif1", "scalared", "showcancelled", "signed", "small", "specify",
    "specparam", "strong0", "strong1", "supply0", "supply1", "table", "task", "time", "tran",
    "tranif0", "tranif1", "tri", "tri0", "tri1", "triand", "trior", "trireg", "unsigned", "use",
    "uwire", "vectored", "wait", "wand", "weak0", "weak1", "while", "wire", "wor", "xnor", "xor",
};
// clang-format on

bool isKeyword(const QString &name)
{
    const QByteArray latin = name.toLatin1();
    return std::binary_search(std::begin(verilogKeywords), std::end(verilogKeywords),
                              latin.constData(),
                              [](const char *a, const char *b) { return std::strcmp(a, b) < 0; });
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isIdentifierChar(QChar c)
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == QLatin1Char('_') || c == QLatin1Char('$');
}

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
    QString name = fileName.trimmed();
    for (QChar &c : name) {
        if (!isIdentifierChar(c))
            c = QLatin1Char('_');
    }
    if (!name.isEmpty() && (isAsciiDigit(name.front()) || name.front() == QLatin1Char('$')))
        name.prepend(QLatin1Char('_'));
    return name;
}

} // namespace BaseDialogNames
} // namespace IPSERDESIP
