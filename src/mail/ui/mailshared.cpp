#include "mail/ui/mailshared.h"

#include "alerts/desktopnotices.h"
#include "connection/linecontroller.h"
#include "mail/announcedmail.h"
#include "mail/mailtools.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"

MailShared::MailShared(Links links, QObject *parent)
    : QObject(parent)
    , m_links(links)
{ }

MailShared::~MailShared() = default;

void MailShared::clearForStart()
{
    requestDone = 0;
    accountDone = 0;
    errorCount = 0;
    m_alertsTold.clear();
}

SettingsModel &MailShared::settings() const
{
    return m_links.context.model();
}

void MailShared::setTrayIcon(const QString &fileName)
{
    m_links.tray.showIcon(fileName);
}

void MailShared::stopCustomizeTimers()
{
    m_links.line.pauseWatch();
    m_links.schedule.setEnabled(false);
}

void MailShared::restartCustomizeTimers()
{
    m_links.line.resumeWatch();
    // Switched-off mail checking keeps its schedule stopped.
    if (!settings().isOn(Keys::DisableMailChecking))
        m_links.schedule.setEnabled(true);
}

void MailShared::serverError(Failure failure, const QString &cause)
{
    const int slot = qBound(0, failure.slotIndex, MailTools::kSlots - 1) + 1;
    failure.accountName = settings().text(Keys::AccountName(slot));
    const QString password = m_links.context.passwords().known(Keys::MailPassword(slot));
    failure.cause = Passwords::masked(cause, password);
    showServerError(failure);
    m_links.context.settings().save(Keys::CheckMailUnload, SettingValues::Unchecked);
    requestDone = -1;
    ++errorCount;
    DesktopNotices::accountFailed(m_links.context, failure.accountName, cause, password);
}

void MailShared::serverAlert(const QString &account, const QString &text)
{
    const QString key = account + u'\n' + text;
    if (m_alertsTold.contains(key))
        return;
    m_alertsTold.insert(key);
    DesktopNotices::serverAlert(m_links.context, account, text);
}
