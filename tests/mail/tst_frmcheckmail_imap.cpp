// The multi-account check window end to end with the program's own mail control against
// Dovecot: on an IMAP slot the headers listed as for POP3, ticked messages deleted on the
// server, and a message delivered while the list is shown left alone; on either protocol a
// deletion batch stopped by Cancel; a self-signed certificate trusted from the error dialog.

#include "checkmailfixture.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/ui/frmmailservererror.h"
#include "mail/ui/slotmailcontrol.h"
#include "support/widgetbyname.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace CraftedMessages;

namespace {
const QString kIvy = QStringLiteral("ivy");

// Dovecot holding ivy's `messages` (with TLS, its self-signed certificate), and the program
// with her on slot 1 (POP3, IMAP or IMAPS), checking in real time.
struct IvysMail {
    enum Way { Pop3, Imap, Imaps };
    IvysMail(TestContext &t, const QList<QByteArray> &messages, Way way,
        const QList<std::pair<SettingKey, QString>> &more = {})
        : dovecot(DovecotServer::Options{way == Imaps, false, true, {}})
    {
        dovecot.addUser(kIvy, QStringLiteral("green leaf"));
        for (const QByteArray &message : messages)
            dovecot.deliver(kIvy, message);
        started = dovecot.start(&why);
        p = std::make_unique<MailProgram>(t, 1, true,
            QList<std::pair<SettingKey, QString>>{{Keys::Domain(1), server(way)},
                {Keys::MailUserName(1), kIvy},
                {Keys::MailPassword(1), QStringLiteral("green leaf")},
                {Keys::DeleteMessageConfirmation, SettingValues::FalseText}}
                + more);
        p->useRealServer();
        p->check().makeControl = [&t] { return std::make_unique<SlotMailControl>(t.context()); };
        p->connectLine();
    }
    QString server(Way way) const
    {
        return way == Pop3 ? QStringLiteral("127.0.0.1:%1").arg(dovecot.pop3Port())
            : way == Imap  ? QStringLiteral("imap://127.0.0.1:%1").arg(dovecot.imapPort())
                           : QStringLiteral("imaps://127.0.0.1:%1").arg(dovecot.imapsPort());
    }
    // All Accounts from the popup menu, until its starter is done.
    bool check()
    {
        auto run = p->check().mnuAllAccounts_Click();
        return QTest::qWaitFor([&run] { return run.isReady(); }, 30000);
    }

    DovecotServer dovecot;
    QString why; // Dovecot did not start
    bool started = false;
    std::unique_ptr<MailProgram> p;
};

} // namespace

class tst_frmCheckMailImap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
            QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    }
    void listsTicksDeletesAndLeavesWhatArrivedMeanwhile();
    void cancelStopsTheDeletionsNotSentYet_data();
    void cancelStopsTheDeletionsNotSentYet();
    void aSelfSignedServerIsTrustedFromTheErrorDialog();
    void readMailIsNoMailAndMarkAsReadFollows_data();
    void readMailIsNoMailAndMarkAsReadFollows();
};

void tst_frmCheckMailImap::listsTicksDeletesAndLeavesWhatArrivedMeanwhile()
{
    TestContext t;
    IvysMail ivy(t, alicesMessages(), IvysMail::Imap);
    QVERIFY2(ivy.started && ivy.check(), qPrintable(ivy.why));
    MailProgram &p = *ivy.p;
    QVERIFY(p.window());

    QStringList expected;
    for (const QString &row : alicesRows())
        expected << HeadersModel::rowText(
            row.section(u'|', 0, 0), row.section(u'|', 1, 1), row.section(u'|', 2, 2));
    QCOMPARE(p.rows(), expected);

    ivy.dovecot.deliver(kIvy, message("arrived meanwhile"));
    widget<HeadersList>(p.window(), "listMessages")->rows().setTicked(0, true);
    widget<HeadersList>(p.window(), "listMessages")->rows().setTicked(2, true);
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    QTRY_COMPARE_WITH_TIMEOUT(p.rows().count(QStringLiteral("Message Deleted")), 2, 20000);
    widget<QPushButton>(p.window(), "cmdCancel")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ivy.dovecot.messagesOf(kIvy), 2, 10000);
    QCOMPARE(ivy.dovecot.subjectsOf(kIvy),
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
    constexpr int kMessages = 1200;
    QList<QByteArray> messages;
    for (int i = 0; i < kMessages; ++i)
        messages << message("m " + QByteArray::number(i));
    TestContext t;
    IvysMail ivy(t, messages, imap ? IvysMail::Imap : IvysMail::Pop3);
    QVERIFY2(ivy.started && ivy.check(), qPrintable(ivy.why));
    MailProgram &p = *ivy.p;
    QTRY_COMPARE_WITH_TIMEOUT(p.rows().size(), kMessages, 30000);
    widget<QPushButton>(p.window(), "cmdSelectMessage")->click();
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    // At once, while the first answers are still on their way: the check goes on.
    QTest::keyClick(p.window(), Qt::Key_Escape);
    QVERIFY(p.window());
    QTRY_COMPARE_WITH_TIMEOUT(widget<QLabel>(p.window(), "Label4")->text(),
        QStringLiteral("Messages deleted: %1 of %2").arg(deleted).arg(kMessages), 20000);
    QCOMPARE(p.rows().count(QStringLiteral("Message Deleted")), deleted);
    // Cancel now ends the check, and the QUIT makes what the server agreed to.
    widget<QPushButton>(p.window(), "cmdCancel")->click();
    QVERIFY(!p.window());
    QTRY_COMPARE_WITH_TIMEOUT(ivy.dovecot.messagesOf(kIvy), kMessages - deleted, 20000);
}

// The fixture's certificate is its own authority: refused, shown, trusted for the slot, and
// from then on the slot logs on.
void tst_frmCheckMailImap::aSelfSignedServerIsTrustedFromTheErrorDialog()
{
    TestContext t;
    IvysMail ivy(t, {message("behind a certificate")}, IvysMail::Imaps);
    QVERIFY2(ivy.started && ivy.check(), qPrintable(ivy.why));
    frmMailServerError *error = ivy.p->check().serverErrorDialog();
    QVERIFY(error && error->isVisible() && !error->cmdTrust->isVisible());
    error->cmdDetails->click();
    QVERIFY2(error->Label2->text().contains(u"SHA-256: "), qPrintable(error->Label2->text()));
    error->cmdTrust->click();
    error->cmdClose->click();
    QVERIFY(ivy.check());
    QCOMPARE(ivy.p->rows().size(), 1);
}

void tst_frmCheckMailImap::readMailIsNoMailAndMarkAsReadFollows_data()
{
    QTest::addColumn<QByteArray>("readElsewhere");
    QTest::addColumn<QString>("unreadOnly");
    QTest::addColumn<int>("rows");
    QTest::newRow("all read") << QByteArray("1:3") << QStringLiteral("1") << 0;
    QTest::newRow("one unread, listed alone") << QByteArray("2:3") << QStringLiteral("1") << 1;
    QTest::newRow("one unread among all") << QByteArray("2:3") << QStringLiteral("0") << 3;
}

// Three messages, some read in another mail client before the check: the count, the window,
// the tray and the notification go by the unread; marking it read here takes them back.
void tst_frmCheckMailImap::readMailIsNoMailAndMarkAsReadFollows()
{
    QFETCH(QByteArray, readElsewhere);
    QFETCH(QString, unreadOnly);
    QFETCH(int, rows);
    TestContext t;
    IvysMail ivy(t, {message("first"), message("second"), message("third")}, IvysMail::Imap,
        {{Keys::ListUnreadOnly(1), unreadOnly}});
    QVERIFY2(ivy.started, qPrintable(ivy.why));
    QVERIFY2(ivy.dovecot.imapSession(kIvy, QStringLiteral("green leaf"),
                 {"STORE " + readElsewhere + " +FLAGS (\\Seen)"}, &ivy.why),
        qPrintable(ivy.why));
    QVERIFY(ivy.check());
    MailProgram &p = *ivy.p;
    QCOMPARE(p.rows().size(), rows);
    QCOMPARE(t.notifier().sent().size(), rows > 0 ? 1 : 0);
    QCOMPARE(p.trayShows(QStringLiteral("mail.ico")), rows > 0);
    if (rows == 0) {
        QVERIFY(!p.window());
        return;
    }
    const Notifier::Notification told = t.notifier().sent().first();
    QCOMPARE(
        told.body, QStringLiteral("Account 1: 1 message waiting\nBob <bob@example.org>: first"));
    QCOMPARE(told.actions.last().key, DesktopNotices::MarkRead);
    HeadersList *list = widget<HeadersList>(p.window(), "listMessages");
    QVERIFY(list->rows().isFresh(0));
    list->rows().setTicked(0, true);
    QTest::keyClick(p.window(), Qt::Key_K, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(ivy.dovecot.flaggedOf(kIvy, u'S'), 3, 10000);
    QTRY_VERIFY(!list->rows().isFresh(0));
    QVERIFY(!list->rows().isTicked(0));
    QCOMPARE(t.notifier().withdrawn().filter(QStringLiteral("new-mail/")), QStringList{told.tag});
    QVERIFY(!p.trayShows(QStringLiteral("mail.ico")));
}

QTEST_MAIN(tst_frmCheckMailImap)
#include "tst_frmcheckmail_imap.moc"
