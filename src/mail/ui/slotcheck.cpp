// The popup menu's per-slot checks and the single-slot window they load.

#include "connection/linecontroller.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailtab.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"
#include "shell/ui/formhelpers.h"

QCoro::Task<> MailCheck::mnuMailSlot_Click(int slot)
{
    if (slot < 1 || slot > MailTab::kSlots)
        co_return;
    m_links.context.settings().save(Keys::MailSlotChosen, QString::number(slot));
    // Slot 1 sets the index too: one left over from an earlier check of another slot would
    // name that slot in the error dialog.
    singleSlotIndex = qint16(slot - 1);
    clearForStart();
    QPointer<frmCheckMail> window = co_await loadSlotWindow();
    // Gone, closed, or replaced by a newer single-slot check: nothing left to decide here.
    if (!window || window->isUnloaded() || window != m_slotWindow)
        co_return;
    if (!settings().isOn(Keys::MessageHeadersOnly)) {
        if (window->run().errorCount() < 1) {
            if (slot >= 2)
                singleSlotIndex = 0;
        } else {
            unloadSlotWindow();
        }
        co_return;
    }
    if (window->listsNothing())
        unloadSlotWindow();
}

QCoro::Task<frmCheckMail *> MailCheck::loadSlotWindow()
{
    unloadSlotWindow();
    // Owned by the Customize dialog so that it never outlives it.
    m_slotWindow = new frmCheckMail(*this,
        std::make_unique<MailRun>(*this, makeControl(), MailRun::Kind::ChosenSlot),
        &m_links.windowParent);
    QPointer<frmCheckMail> window = m_slotWindow;
    co_await window->Form_Load();
    co_return window.data();
}

frmCheckMail *MailCheck::slotWindow() const
{
    return m_slotWindow && !m_slotWindow->isUnloaded() ? m_slotWindow.data() : nullptr;
}

void MailCheck::unloadSlotWindow()
{
    if (m_slotWindow)
        m_slotWindow->unload();
    m_slotWindow = nullptr;
}
