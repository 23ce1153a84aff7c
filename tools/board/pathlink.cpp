#include "pathlink.h"

#include <QFile>
#include <QFileInfo>

namespace ferrox {

PathLink::PathLink(const QString &path, const QString &target)
    : m_path(path), m_target(target)
{
}

PathLink::~PathLink()
{
    remove();
}

bool PathLink::create(QString &error)
{
    const QFileInfo existing(m_path);
    if (existing.isSymLink()) {
        if (!QFile::remove(m_path)) {
            error = QStringLiteral("cannot replace the old link %1").arg(m_path);
            return false;
        }
    } else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a link; not replacing it").arg(m_path);
        return false;
    }
    QFile target(m_target);
    if (!target.link(m_path)) {
        error = QStringLiteral("cannot make %1 a link to %2 (%3)").arg(m_path, m_target, target.errorString());
        return false;
    }
    m_created = true;
    return true;
}

void PathLink::remove()
{
    if (!m_created)
        return;
    m_created = false;
    const QFileInfo link(m_path);
    if (link.isSymLink() && link.symLinkTarget() == m_target)
        QFile::remove(m_path);
}

} // namespace ferrox
