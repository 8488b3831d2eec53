#pragma once

#include "popserverfixture.h"

// A private GNU pop3d (Debian's mailutils-pop3d) for one test program: its configuration, a
// virtual-domain password file, an APOP database and Maildirs in a temporary folder, listening
// on free loopback ports for POP3 with STLS, for POP3S, and for POP3 without any TLS. Users log on
// as "name@bvane.test"; the greeting always offers APOP, which only users given an APOP secret can
// use.
class GnuPop3dServer : public PopServerFixture
{
public:
    static constexpr const char *kDomain = "bvane.test";

    // The pop3d program, or empty when it is not installed.
    static QString program();

    GnuPop3dServer();

    // Before start(). `apopSecret` empty: the user has none.
    void addUser(const QString &name, const QString &password, const QString &apopSecret = {});
    bool start(QString *why);
    static QString logOnName(const QString &name);
    quint16 plainPort() const { return m_plainPort; }

private:
    bool writeConfig(QString *why);

    QByteArray m_passwd;
    QByteArray m_apop;
    quint16 m_plainPort = 0;
};
