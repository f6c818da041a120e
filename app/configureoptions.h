#pragma once

#include "commandsupport.h"

#include <parametermap.h>

#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace HostProgram {

// What `configure` was asked to do, the options cross-checked.
struct ConfigureOptions
{
    QString deviceWanted;
    QString editPath;
    QString outputPath;
    QString designPath;
    QString projectDir;
    QString snapshotDir;
    QString name;
    bool batch = false;
    bool calculate = false;
    QMessageBox::StandardButton answer = QMessageBox::No;
};

// Adds the command's options, parses and cross-checks them. False with *exitCode set (help
// printed, or bad usage reported).
bool parseConfigureOptions(CommandLine &command, const QStringList &arguments,
                           ConfigureOptions *options, int *exitCode);


} // namespace HostProgram
