#include "filecalls.h"

#include <services/safefile.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>

namespace HostFiles {

ScratchFolder::ScratchFolder()
{
    // Qt's temporary folder falls back to "/" when $TMPDIR is missing; a candidate here is only
    // taken when a folder can really be made in it.
    QStringList candidates;
    if (!qEnvironmentVariableIsEmpty("TMPDIR"))
        candidates << QFile::decodeName(qgetenv("TMPDIR"));
    if (!candidates.contains(QStringLiteral("/tmp")))
        candidates << QStringLiteral("/tmp");
    QStringList problems;
    for (const QString &candidate : qAsConst(candidates)) {
        QByteArray name =
            QFile::encodeName(QDir(candidate).filePath(QStringLiteral("ipcore-host-XXXXXX")));
        if (::mkdtemp(name.data())) {
            m_path = QFile::decodeName(name);
            return;
        }
        problems << QStringLiteral("%1: %2").arg(candidate, Detail::systemReason(errno));
    }
    m_error = QStringLiteral("cannot make a scratch folder in %1")
                  .arg(problems.join(QStringLiteral("; ")));
}

ScratchFolder::~ScratchFolder()
{
    if (isValid())
        QDir(m_path).removeRecursively();
}

QString ScratchFolder::filePath(const QString &name) const
{
    return QDir(m_path).filePath(name);
}

} // namespace HostFiles
