#pragma once

#include "popserverfixture.h"

// A private Dovecot POP3 server for one test program: its own configuration, passwd-file and
// Maildirs in a temporary folder, listening on free loopback ports for POP3 (with STLS) and
// POP3S. As root it runs its login processes as dovenull and its internals as dovecot, and
// reads mail as nobody; as anyone else, all as that user.
class DovecotServer : public PopServerFixture
{
public:
    struct Options {
        bool tls = true; // STLS and the pop3s port
        bool apop = false; // offer APOP (a timestamp in the greeting)
    };

    // The dovecot program, or empty when it is not installed.
    static QString program();

    explicit DovecotServer(Options options);
    DovecotServer();

    // Before start().
    void addUser(const QString &name, const QString &password);
    // Starts and waits until the ports answer; false with the reason (and the log) otherwise.
    bool start(QString *why);

private:
    void writeConfig();

    Options m_options;
    QString m_passwd;
};
