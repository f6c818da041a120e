#pragma once

#include "filecalls.h"

#include <services/safefile.h>

#include <QStringList>

#include <vector>

namespace HostFiles {
namespace Detail {

// A folder the walk made, kept so that a batch that does not commit can remove it again.
struct CreatedFolder
{
    Fd parent;
    QByteArray name;
};

// Opens target.folder and walks `parts` below it without following links; missing folders are
// created (and listed in *created) when `create` is set. On success *out is the innermost folder.
bool walkFolders(const Target &target, const QStringList &parts, bool create,
                 std::vector<CreatedFolder> *created, Fd *out, QString *error);

} // namespace Detail
} // namespace HostFiles
