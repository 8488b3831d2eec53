// The multi-account check window end to end with the program's own mail control on an IMAP
// slot, against Dovecot: the headers listed as for POP3, ticked messages deleted on the
// server, and a message delivered while the list is shown left alone.

#include "checkmailfixture.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/ui/slotmailcontrol.h"
#include "support/widgetbyname.h"

#include <QTest>
#include <QTimer>

using namespace CraftedMessages;

class tst_frmCheckMailImap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsTicksDeletesAndLeavesWhatArrivedMeanwhile();
};

void tst_frmCheckMailImap::listsTicksDeletesAndLeavesWhatArrivedMeanwhile()
{
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    DovecotServer dovecot(DovecotServer::Options{false, false, true, {}});
    dovecot.addUser(QStringLiteral("ivy"), QStringLiteral("green leaf"));
    for (const QByteArray &crafted : alicesMessages())
        dovecot.deliver(QStringLiteral("ivy"), crafted);
    QString why;
    QVERIFY2(dovecot.start(&why), qPrintable(why));

    TestContext t;
    MailProgram p(t, 1, true,
        {{Keys::Domain(1), QStringLiteral("imap://127.0.0.1:%1").arg(dovecot.imapPort())},
            {Keys::MailUserName(1), QStringLiteral("ivy")},
            {Keys::MailPassword(1), QStringLiteral("green leaf")},
            {Keys::DeleteMessageConfirmation, SettingValues::FalseText}});
    p.useRealServer();
    p.connectLine();
    // Not run to its end in virtual time: the server answers in real time.
    auto check = p.check().mnuAllAccounts_Click();
    QTRY_VERIFY_WITH_TIMEOUT(check.isReady(), 30000);
    QVERIFY(p.window());

    QStringList expected;
    for (const QString &row : alicesRows())
        expected << HeadersModel::rowText(
            row.section(u'|', 0, 0), row.section(u'|', 1, 1), row.section(u'|', 2, 2));
    QCOMPARE(p.rows(), expected);

    dovecot.deliver(QStringLiteral("ivy"), message("arrived meanwhile"));
    widget<HeadersList>(p.window(), "listMessages")->rows().setTicked(0, true);
    widget<HeadersList>(p.window(), "listMessages")->rows().setTicked(2, true);
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    QTRY_COMPARE_WITH_TIMEOUT(p.rows().count(QStringLiteral("Message Deleted")), 2, 20000);
    widget<QPushButton>(p.window(), "cmdCancel")->click();
    QTRY_COMPARE_WITH_TIMEOUT(dovecot.messagesOf(QStringLiteral("ivy")), 2, 10000);
    QCOMPARE(dovecot.subjectsOf(QStringLiteral("ivy")),
        (QStringList{QStringLiteral("=?iso-8859-2?B?r29sdw==?= plain"),
            QStringLiteral("arrived meanwhile")}));
    QVERIFY(!t.dialogs().count(QStringLiteral("message")));
}

QTEST_MAIN(tst_frmCheckMailImap)
#include "tst_frmcheckmail_imap.moc"
