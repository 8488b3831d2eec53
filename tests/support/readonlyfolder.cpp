#include "support/readonlyfolder.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {
bool g_privateMounts = false;
QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

void ReadOnlyFolder::prepareProcess()
{
    if (::geteuid() != 0)
        return;
    // Mounts made from here on stay in this process and its children.
    g_privateMounts = ::unshare(CLONE_NEWNS) == 0
        && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

ReadOnlyFolder::ReadOnlyFolder(QString path)
    : m_path(std::move(path))
{
    const QByteArray native = QFile::encodeName(m_path);
    if (::geteuid() != 0) {
        m_readOnly = QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (!m_readOnly)
            m_why = QStringLiteral("its permissions could not be changed");
        return;
    }
    if (!g_privateMounts) {
        m_why = QStringLiteral("no private mount namespace for root");
        return;
    }
    m_mounted = ::mount(native.constData(), native.constData(), nullptr, MS_BIND, nullptr) == 0;
    m_readOnly = m_mounted
        && ::mount(nullptr, native.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr)
            == 0;
    if (!m_readOnly)
        m_why = QStringLiteral("read-only bind mount failed: ") + lastError();
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    else if (m_readOnly)
        QFile::setPermissions(
            m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
