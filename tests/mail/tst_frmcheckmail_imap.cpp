// The multi-account check window end to end with the program's own mail control against
// Dovecot: on an IMAP slot the headers listed as for POP3, ticked messages deleted on the
// server, and a message delivered while the list is shown left alone; on either protocol a
// deletion batch stopped by Cancel.

#include "checkmailfixture.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/slotsecurity.h"
#include "mail/ui/frmmailservererror.h"
#include "mail/ui/slotmailcontrol.h"
#include "support/widgetbyname.h"

#include <QLabel>
#include <QSslCertificate>
#include <QTest>
#include <QTimer>

using namespace CraftedMessages;

class tst_frmCheckMailImap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsTicksDeletesAndLeavesWhatArrivedMeanwhile();
    void cancelStopsTheDeletionsNotSentYet_data();
    void cancelStopsTheDeletionsNotSentYet();
    void aSelfSignedServerIsTrustedFromTheErrorDialog();
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

void tst_frmCheckMailImap::cancelStopsTheDeletionsNotSentYet_data()
{
    QTest::addColumn<bool>("imap");
    QTest::addColumn<int>("deleted");
    // POP3 has sent its first window of DELEs; IMAP its one UID STORE over them all.
    QTest::newRow("POP3") << false << 500;
    QTest::newRow("IMAP") << true << 1200;
}

void tst_frmCheckMailImap::cancelStopsTheDeletionsNotSentYet()
{
    QFETCH(bool, imap);
    QFETCH(int, deleted);
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    DovecotServer dovecot(DovecotServer::Options{false, false, true, {}});
    dovecot.addUser(QStringLiteral("ivy"), QStringLiteral("green leaf"));
    constexpr int kMessages = 1200;
    for (int i = 0; i < kMessages; ++i)
        dovecot.deliver(QStringLiteral("ivy"), message("m " + QByteArray::number(i)));
    QString why;
    QVERIFY2(dovecot.start(&why), qPrintable(why));

    TestContext t;
    const QString server = imap ? QStringLiteral("imap://127.0.0.1:%1").arg(dovecot.imapPort())
                                : QStringLiteral("127.0.0.1:%1").arg(dovecot.pop3Port());
    MailProgram p(t, 1, true,
        {{Keys::Domain(1), server}, {Keys::MailUserName(1), QStringLiteral("ivy")},
            {Keys::MailPassword(1), QStringLiteral("green leaf")},
            {Keys::DeleteMessageConfirmation, SettingValues::FalseText}});
    p.useRealServer();
    p.connectLine();
    auto check = p.check().mnuAllAccounts_Click();
    QTRY_VERIFY_WITH_TIMEOUT(check.isReady(), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(p.rows().size(), kMessages, 30000);
    widget<QPushButton>(p.window(), "cmdSelectMessage")->click();
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    // At once, while the first answers are still on their way: the check goes on.
    QTest::keyClick(p.window(), Qt::Key_Escape);
    QVERIFY(p.window());
    QLabel *status = widget<QLabel>(p.window(), "Label4");
    const QString told = QStringLiteral("Messages deleted: %1 of %2").arg(deleted).arg(kMessages);
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), told, 20000);
    QCOMPARE(p.rows().count(QStringLiteral("Message Deleted")), deleted);
    // Cancel now ends the check, and the QUIT makes what the server agreed to.
    widget<QPushButton>(p.window(), "cmdCancel")->click();
    QVERIFY(!p.window());
    QTRY_COMPARE_WITH_TIMEOUT(
        dovecot.messagesOf(QStringLiteral("ivy")), kMessages - deleted, 20000);
}

// The fixture's certificate is its own authority: refused, shown, trusted for the slot, and
// from then on the slot logs on.
void tst_frmCheckMailImap::aSelfSignedServerIsTrustedFromTheErrorDialog()
{
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    DovecotServer dovecot(DovecotServer::Options{true, false, true, {}});
    dovecot.addUser(QStringLiteral("ivy"), QStringLiteral("green leaf"));
    dovecot.deliver(QStringLiteral("ivy"), message("behind a certificate"));
    QString why;
    QVERIFY2(dovecot.start(&why), qPrintable(why));

    TestContext t;
    MailProgram p(t, 1, true,
        {{Keys::Domain(1), QStringLiteral("imaps://127.0.0.1:%1").arg(dovecot.imapsPort())},
            {Keys::MailUserName(1), QStringLiteral("ivy")},
            {Keys::MailPassword(1), QStringLiteral("green leaf")}});
    p.useRealServer();
    // The program's own control for a slot, which keeps the slot's trust.
    p.check().makeControl = [&t] { return std::make_unique<SlotMailControl>(t.context()); };
    p.connectLine();
    auto refused = p.check().mnuAllAccounts_Click();
    QTRY_VERIFY_WITH_TIMEOUT(refused.isReady(), 30000);
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible() && !error->cmdTrust->isVisible());
    error->cmdDetails->click();
    const QByteArray sha256 = SlotSecurity::certificateFacts(
        QSslCertificate::fromPath(dovecot.certificatePath()).value(0).toPem())
                                  .sha256;
    QVERIFY2(error->Label2->text().contains(u"SHA-256: "), qPrintable(error->Label2->text()));
    QVERIFY(error->cmdTrust->isVisible());
    error->cmdTrust->click();
    QCOMPARE(SlotSecurity::trustedCertificate(t.context().model(), 1), sha256);
    error->cmdClose->click();
    auto trusted = p.check().mnuAllAccounts_Click();
    QTRY_VERIFY_WITH_TIMEOUT(trusted.isReady(), 30000);
    QCOMPARE(p.rows().size(), 1);
}

QTEST_MAIN(tst_frmCheckMailImap)
#include "tst_frmcheckmail_imap.moc"
