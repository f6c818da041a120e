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

// Leaves in the SERDES model's global data only what the core published (a key it set or
// changed since `found`), so that a design update keeps every other key as the design it
// re-reads under its lock holds it.
void keepOnlyPublished(const IPSERDESIP::ParameterMap &found);

} // namespace HostProgram
