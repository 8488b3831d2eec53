#include "mail/pophost.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<MailEndpoint>)

class tst_PopHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forms_data();
    void forms();
};

void tst_PopHost::forms_data()
{
    using E = std::optional<MailEndpoint>;
    QTest::addColumn<QString>("text");
    QTest::addColumn<E>("endpoint");
    QTest::newRow("name") << "mail.example.com" << E(MailEndpoint{"mail.example.com", 110, false});
    QTest::newRow("spaces") << "  mail.example.com "
                            << E(MailEndpoint{"mail.example.com", 110, false});
    QTest::newRow("name:port") << "mail.example.com:2110"
                               << E(MailEndpoint{"mail.example.com", 2110, false});
    QTest::newRow("name:995") << "mail.example.com:995"
                              << E(MailEndpoint{"mail.example.com", 995, true});
    QTest::newRow("pop3") << "pop3://mail.example.com"
                          << E(MailEndpoint{"mail.example.com", 110, false});
    QTest::newRow("pop3 port") << "POP3://mail.example.com:1100/"
                               << E(MailEndpoint{"mail.example.com", 1100, false});
    QTest::newRow("pop3s") << "pop3s://mail.example.com"
                           << E(MailEndpoint{"mail.example.com", 995, true});
    QTest::newRow("pop3s port") << "pop3s://127.0.0.1:2995"
                                << E(MailEndpoint{"127.0.0.1", 2995, true});
    QTest::newRow("ipv6") << "[::1]:2110" << E(MailEndpoint{"::1", 2110, false});
    QTest::newRow("ipv6 bare") << "::1" << E(MailEndpoint{"::1", 110, false});
    QTest::newRow("pop3s ipv6") << "pop3s://[::1]" << E(MailEndpoint{"::1", 995, true});
    QTest::newRow("empty") << "" << E();
    QTest::newRow("port only") << ":110" << E();
    QTest::newRow("bad port") << "mail:0" << E();
    QTest::newRow("big port") << "mail:70000" << E();
    QTest::newRow("word port") << "mail:pop" << E();
    QTest::newRow("signed port") << "mail:+110" << E();
    QTest::newRow("imap scheme") << "imap://mail" << E();
    QTest::newRow("user in url") << "pop3://me@mail" << E();
    QTest::newRow("path") << "pop3://mail/inbox" << E();
    QTest::newRow("space inside") << "mail example" << E();
}

void tst_PopHost::forms()
{
    QFETCH(QString, text);
    QTEST(parsePopHost(text), "endpoint");
}

QTEST_GUILESS_MAIN(tst_PopHost)
#include "tst_pophost.moc"
