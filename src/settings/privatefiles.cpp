#include "settings/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr QFileDevice::Permissions kFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kFolder = kFile | QFileDevice::ExeOwner;
// Qt reports the owner's bits twice (as owner and as user).
constexpr QFileDevice::Permissions kUserBits
    = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

void restrict(const QString &path, QFileDevice::Permissions wanted)
{
    if ((QFile::permissions(path) & ~kUserBits) != wanted && !QFile::setPermissions(path, wanted))
        qWarning("Brisvane: cannot make %s private to the user", qPrintable(path));
}
} // namespace

namespace PrivateFiles {

bool makeFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    restrict(folder, kFolder);
    return true;
}

void tighten(const QString &file)
{
    if (QFileInfo::exists(file))
        restrict(file, kFile);
}

bool prepare(const QString &file)
{
    if (!makeFolder(QFileInfo(file).absolutePath()))
        return false;
    if (QFileInfo::exists(file)) {
        restrict(file, kFile);
        return true;
    }
    QFile created(file);
    return created.open(QIODevice::WriteOnly | QIODevice::NewOnly, kFile)
        || QFileInfo::exists(file);
}

} // namespace PrivateFiles
