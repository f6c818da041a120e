#pragma once

#include <QString>
#include <QStringList>

namespace IPSERDESIP {
namespace BaseDialogNames {

// Why a text cannot name the output folder; empty when it can.
QStringList fileNameProblems(const QString &fileName);
// Why a text is no legal, non-reserved Verilog module name; empty when it is one.
QString moduleNameProblem(const QString &moduleName);
// The module name that a file name suggests: blanks trimmed, every character that an
// identifier cannot hold turned into "_", and "_" put in front of a leading digit or "$".
QString moduleNameFromFileName(const QString &fileName);

} // namespace BaseDialogNames
} // namespace IPSERDESIP
