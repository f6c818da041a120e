#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstring>
#include <iterator>

// What Verilog-2005 accepts as a module name, shared by the host's name checks and the
// plug-ins that judge a stored module name without a dialog.
namespace IPSERDESIP {
namespace VerilogNames {

// IEEE 1364-2005 reserved words, sorted for binary search.
// clang-format off
inline constexpr const char *keywords[] = {
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

inline bool isKeyword(const QString &name)
{
    const QByteArray latin = name.toLatin1();
    return std::binary_search(std::begin(keywords), std::end(keywords), latin.constData(),
                              [](const char *a, const char *b) { return std::strcmp(a, b) < 0; });
}

inline bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

inline bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

inline bool isIdentifierChar(QChar c)
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// A simple identifier (a letter or "_", then letters, digits, "_" and "$") that is no keyword.
inline bool isModuleName(const QString &name)
{
    if (name.isEmpty() || !(isAsciiLetter(name.front()) || name.front() == QLatin1Char('_')))
        return false;
    return std::all_of(name.begin(), name.end(), isIdentifierChar) && !isKeyword(name);
}

// The module name that a file name suggests: blanks trimmed, every character that an
// identifier cannot hold turned into "_", and "_" put in front of a leading digit or "$".
inline QString moduleNameFromFileName(const QString &fileName)
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

} // namespace VerilogNames
} // namespace IPSERDESIP
