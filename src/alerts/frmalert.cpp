#include "alerts/frmalert.h"

#include "alerts/soundalerts.h"
#include "alerts/soundplayer.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "ui_frmalert.h"

#include <QPushButton>
#include <QShortcut>

namespace {
const char *const fileFilter = QT_TRANSLATE_NOOP("frmAlert", "Wav (*.wav)");
} // namespace

frmAlert::frmAlert(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(context)
    , m_ui(std::make_unique<Ui::frmAlert>())
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, &frmAlert::cmdBrowse_Click);
    connect(m_ui->cmdTest, &QPushButton::clicked, this, &frmAlert::cmdTest_Click);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmAlert::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmAlert::cmdCancel_Click);
    // Escape acts as Cancel, as in any dialog.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
        &frmAlert::cmdCancel_Click);
}

// Over the window it was opened from, not where the window manager puts a new window.
void frmAlert::showOver(QWidget *owner)
{
    if (owner && !isVisible()) {
        adjustSize();
        const QRect area = owner->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

frmAlert::~frmAlert() = default;

QString frmAlert::alertText() const
{
    return m_ui->txtAlert->text();
}

void frmAlert::cmdBrowse_Click()
{
    const QString chosen = m_context.dialogs().openFileName(tr("Open"), QString(), tr(fileFilter));
    // A cancelled dialog chooses nothing: storing its empty name would wipe the sound the
    // user had chosen for every marked kind.
    if (chosen.isEmpty())
        return;
    SettingsStore &store = m_context.settings();
    for (AlertKind kind : SoundAlerts::allKinds) {
        const AlertKeys &keys = SoundAlerts::keys(kind);
        if (store.get(keys.selected) != SoundAlerts::SelectedYes)
            continue;
        store.save(keys.sound, chosen);
        m_ui->txtAlert->setText(store.get(keys.sound));
    }
}

void frmAlert::cmdTest_Click()
{
    m_context.sounds().play(m_ui->txtAlert->text());
}

void frmAlert::cmdOK_Click()
{
    for (AlertKind kind : SoundAlerts::allKinds)
        m_context.settings().save(SoundAlerts::keys(kind).selected, SoundAlerts::SelectedNo);
    close();
}

void frmAlert::cmdCancel_Click()
{
    close();
}
