#pragma once

#include "app/brisvaneapp.h"
#include "connection/linecontroller.h"
#include "connection/ui/connectiontab.h"
#include "mail/mailschedule.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/headerslist.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailtab.h"
#include "mail/ui/slotmailcontrol.h"
#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "scriptedmailcontrol.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/lumenpin.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QIcon>
#include <QImage>
#include <QTest>
#include <QTimer>

// The program after start-up with `slotCount` mail slots ("Account 1" on pop1.example.org and
// so on) whose check windows talk to a scripted server. Scheduled checking is off unless the
// test stores it before start-up.
struct MailProgram {
    static constexpr const char *kLine = "Simulated line";

    MailProgram(TestContext &t, int slotCount, bool headersOnly,
        const QList<std::pair<SettingKey, QString>> &settings = {})
        : t(t)
        , server(t.clock())
    {
        SettingsStore &store = t.settings();
        store.save(Keys::FirstTime, SettingValues::FirstTime);
        store.save(Keys::CustomizeBrisvaneReminder, SettingValues::FalseText);
        store.save(
            Keys::MessageHeadersOnly, headersOnly ? QStringLiteral("1") : QStringLiteral("0"));
        store.save(Keys::CheckMessages, QStringLiteral("0"));
        store.save(Keys::MailSlotCount, QString::number(slotCount));
        store.save(Keys::PauseBetweenAccounts, QStringLiteral("1"));
        for (int slot = 1; slot <= slotCount; ++slot) {
            store.save(Keys::AccountName(slot), QStringLiteral("Account %1").arg(slot));
            store.save(Keys::MailUserName(slot), QStringLiteral("user%1").arg(slot));
            store.save(Keys::Domain(slot), host(slot));
        }
        for (const auto &[key, value] : settings)
            store.save(key, value);
        monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), tray);
        monitor->runStartup();
        check().makeControl = [this] {
            ++server.controlsMade;
            return std::make_unique<ScriptedMailControl>(server);
        };
    }

    static QString host(int slot) { return QStringLiteral("pop%1.example.org").arg(slot); }
    void mail(int slot, const QStringList &subjects)
    {
        server.boxes[host(slot)].subjects = subjects;
    }
    void refuse(int slot) { server.boxes[host(slot)].refuseLogOn = true; }

    frmBrisvane &dialog() { return monitor->customizeDialog(); }

    LineController &line() { return monitor->app().line(); }

    MailSchedule &schedule() { return monitor->app().mailSchedule(); }
    MailCheck &check() { return monitor->app().mailCheck(); }
    frmCheckMail *window() { return check().checkWindow(); }
    void run(double seconds) { t.clock().advance(qint64(seconds * 1000)); }
    // For a real mail server: the slots get the program's own mail controls, and virtual time
    // moves with real time, twice as fast (never inside an advance already running).
    void useRealServer()
    {
        check().makeControl = [this] { return std::make_unique<SlotMailControl>(t.clock()); };
        QObject::connect(&realTime, &QTimer::timeout, &realTime, [this] {
            if (!t.clock().isAdvancing())
                t.clock().advance(10);
        });
        realTime.start(5);
    }
    void connectLine()
    {
        widget<QComboBox>(dialog().connectionTab(), "Combo1")
            ->setCurrentText(QString::fromLatin1(kLine));
        widget<QPushButton>(dialog().connectionTab(), "cmdConnect")->click();
        run(10);
        t.sounds().clear();
        // A picture no check sets, so that the one a check leaves shows.
        monitor->tray().LoadIcon(t.context().paths().resource(QStringLiteral("net10b.ico")));
    }
    // The mail schedule running with the line up, as after start-up found the line (a dial
    // starts it too, unless mail checking is disabled).
    void startSchedule() { schedule().setEnabled(true); }
    // Runs a started procedure in virtual time to its end (at most ten minutes of it).
    template <typename T> void finish(QCoro::Task<T> task)
    {
        QVERIFY(t.clock().advanceUntil([&task] { return task.isReady(); }, 600000));
    }
    // The multi-account check as the popup menu starts it, run until its starter is done
    // with the window (the first pause with mail, an error, or the end).
    void checkAllAccounts() { finish(check().mnuAllAccounts_Click()); }
    // Whether the tray shows the program folder's icon `file`.
    bool trayShows(const QString &file) const
    {
        const QImage expected = QIcon(t.context().paths().resource(file)).pixmap(16).toImage();
        return !expected.isNull()
            && monitor->tray().TrayIcon().icon().pixmap(16).toImage() == expected;
    }
    bool customizeTimersRunning() const
    {
        LineController &line = monitor->app().line();
        return line.clockTimer().enabled() && monitor->app().mailSchedule().isEnabled()
            && line.watchTimer().enabled();
    }
    bool customizeTimersStopped() const
    {
        LineController &line = monitor->app().line();
        return !line.clockTimer().enabled() && !monitor->app().mailSchedule().isEnabled()
            && !line.watchTimer().enabled();
    }
    QStringList rows()
    {
        QStringList out;
        if (frmCheckMail *w = window()) {
            for (int i = 0; i < widget<HeadersList>(w, "listMessages")->count(); ++i)
                out << widget<HeadersList>(w, "listMessages")->rows().rowText(i);
        }
        return out;
    }

    TestContext &t;
    QTimer realTime;
    ScriptedMailServer server;
    RecordingTrayService tray;
    std::unique_ptr<frmBrisvaneMonitor> monitor;
};
