#include "programs/ui/programstab.h"

#include "clock/detach.h"
#include "programs/programrunner.h"
#include "settings/conversions.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/ui/formhelpers.h"
#include "ui_programstab.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QSignalBlocker>

ProgramsTab::ProgramsTab(AppContext &context, ProgramRunner &runner, QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::ProgramsTab>())
    , m_context(context)
    , m_runner(runner)
{
    m_ui->setupUi(this);
    m_runConnected = {m_ui->chkRunConnected1, m_ui->chkRunConnected2, m_ui->chkRunConnected3,
        m_ui->chkRunConnected4, m_ui->chkRunConnected5, m_ui->chkRunConnected6,
        m_ui->chkRunConnected7, m_ui->chkRunConnected8, m_ui->chkRunConnected9,
        m_ui->chkRunConnected10};
    m_runDisconnected = {m_ui->chkRunDisconnected1, m_ui->chkRunDisconnected2,
        m_ui->chkRunDisconnected3, m_ui->chkRunDisconnected4, m_ui->chkRunDisconnected5,
        m_ui->chkRunDisconnected6, m_ui->chkRunDisconnected7, m_ui->chkRunDisconnected8,
        m_ui->chkRunDisconnected9, m_ui->chkRunDisconnected10};
    for (int k = 1; k <= kSlots; ++k) {
        connect(
            runConnected(k), &QCheckBox::toggled, this, [this, k] { chkRunConnected_Click(k); });
        connect(runDisconnected(k), &QCheckBox::toggled, this,
            [this, k] { chkRunDisconnected_Click(k); });
    }
    showFlagsOf(0);
    m_ui->lstPrograms->setToolTip(tr("Click the appropriate program then click the Run "
                                     "Program button or double-click the program to "
                                     "execute"));
    connect(m_ui->chkDisableProgramsApplications, &QCheckBox::toggled, this,
        &ProgramsTab::chkDisableProgramsApplications_Click);
    connect(m_ui->lstPrograms, &QListWidget::itemSelectionChanged, this,
        &ProgramsTab::lstPrograms_Click);
    connect(m_ui->cmdRunProgram, &QPushButton::clicked, this, &ProgramsTab::cmdRunProgram_Click);
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &ProgramsTab::cmdAdd_Click);
    connect(m_ui->cmdDelete, &QPushButton::clicked, this, &ProgramsTab::cmdDelete_Click);
    connect(m_ui->lstPrograms, &QListWidget::itemDoubleClicked, this,
        &ProgramsTab::lstPrograms_DblClick);
}

ProgramsTab::~ProgramsTab() = default;

void ProgramsTab::chkRunConnected_Click(int k)
{
    m_context.settings().save(Keys::RunConnected(k), Form::checkText(runConnected(k)));
}

void ProgramsTab::chkRunDisconnected_Click(int k)
{
    m_context.settings().save(Keys::RunDisconnected(k), Form::checkText(runDisconnected(k)));
}

void ProgramsTab::load()
{
    Form::followCheck(
        m_ui->chkDisableProgramsApplications, m_context.model(), Keys::DisableProgramsApplications);
    applyProgramsSwitch();
    refreshProgramList();
}

void ProgramsTab::chkDisableProgramsApplications_Click()
{
    m_context.settings().save(
        Keys::DisableProgramsApplications, Form::checkText(m_ui->chkDisableProgramsApplications));
    applyProgramsSwitch();
}

void ProgramsTab::applyProgramsSwitch()
{
    const bool disabled = Form::checkValue(m_ui->chkDisableProgramsApplications) == 1;
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_ui->Label15, m_ui->lstPrograms, m_ui->cmdAdd, m_ui->cmdDelete, m_ui->cmdRunProgram})
        w->setVisible(!disabled);
    showFlagsOf(m_shownSlot);
}

// One pair of flag boxes at a time, the selected slot's; with no program selected, a pair
// that can be neither read nor ticked.
void ProgramsTab::showFlagsOf(int k)
{
    m_shownSlot = k;
    const bool disabled = Form::checkValue(m_ui->chkDisableProgramsApplications) == 1;
    for (int other = 1; other <= kSlots; ++other) {
        for (QCheckBox *box : {runConnected(other), runDisconnected(other)}) {
            box->setVisible(!disabled && other == qMax(1, k));
            box->setEnabled(k > 0);
        }
    }
    if (k > 0)
        return;
    for (QCheckBox *box : {runConnected(1), runDisconnected(1)}) {
        const QSignalBlocker quiet(box); // an empty look, not a stored change
        box->setChecked(false);
    }
}

// The selected slot's pair of flags comes up, loaded from the store. Row 0 always counts; a
// later empty row is a free slot and changes nothing.
void ProgramsTab::lstPrograms_Click()
{
    const SettingsStore &store = m_context.settings();
    int shown = 0;
    for (int row = 0; row < m_ui->lstPrograms->count() && row < kSlots; ++row) {
        QListWidgetItem *item = m_ui->lstPrograms->item(row);
        if (!item->isSelected() || (row > 0 && item->text().isEmpty()))
            continue;
        const int k = row + 1;
        shown = k;
        showFlagsOf(k);
        Form::loadCheck(runConnected(k), store, Keys::RunConnected(k));
        Form::loadCheck(runDisconnected(k), store, Keys::RunDisconnected(k));
    }
    if (shown == 0)
        showFlagsOf(0);
}

void ProgramsTab::refreshProgramList()
{
    const SettingsStore &store = m_context.settings();
    for (int k = 1; k <= kSlots; ++k) {
        const QString path = store.get(Keys::Program(k));
        if (m_ui->lstPrograms->count() < k)
            m_ui->lstPrograms->addItem(path);
        else
            m_ui->lstPrograms->item(k - 1)->setText(path);
    }
}

QList<int> ProgramsTab::selectedSlots() const
{
    QList<int> numbers;
    for (int row = 0; row < m_ui->lstPrograms->count() && row < kSlots; ++row) {
        const QListWidgetItem *item = m_ui->lstPrograms->item(row);
        if (item->isSelected() && !item->text().isEmpty())
            numbers.append(row + 1);
    }
    return numbers;
}

// Starts every selected program in list order; the first that fails ends the run.
void ProgramsTab::cmdRunProgram_Click()
{
    detach(m_runner.startEach(selectedSlots()));
}

QPixmap ProgramsTab::CreateIcon(const QString &path)
{
    return QFileIconProvider().icon(QFileInfo(path)).pixmap(16, 16);
}

void ProgramsTab::cmdAdd_Click()
{
    refreshProgramList();
    int row = 0;
    while (row < kSlots && !m_ui->lstPrograms->item(row)->text().isEmpty())
        ++row;
    if (row == kSlots) {
        m_context.dialogs().message(DialogService::Icon::Warning, tr("Brisvane"),
            tr("Maximum limit of programs/utilities are "
               "listed. Please remove a program/utility."));
        return;
    }
    const QString path = m_context.dialogs().openFileName(
        tr("Add Program"), QString(), tr("Programs (*);;All Files (*)"));
    // A cancelled file dialog adds nothing.
    if (path.isEmpty())
        return;
    // Only what can be started goes in: a document would fail only when the line comes up.
    const QFileInfo file(path);
    if (!file.isFile() || !file.isExecutable()) {
        m_context.dialogs().message(DialogService::Icon::Warning, tr("Brisvane"),
            tr("%1 is not a program: only files that may be run can be added.")
                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    m_ui->lstPrograms->item(row)->setText(path);
    // The menu's tool follows the stored program (ProgramMenu).
    m_context.settings().save(Keys::Program(row + 1), path);
}

// Frees the first selected slot. The row stays, emptied, so every row keeps its slot number
// and the program tools and commands that read a slot's row find the right program.
void ProgramsTab::cmdDelete_Click()
{
    for (int row = 0; row < m_ui->lstPrograms->count() && row < kSlots; ++row) {
        QListWidgetItem *item = m_ui->lstPrograms->item(row);
        if (!item->isSelected() || (row > 0 && item->text().isEmpty()))
            continue;
        const int k = row + 1;
        item->setText(QString());
        Form::setCheckValue(runConnected(k), 0);
        Form::setCheckValue(runDisconnected(k), 0);
        m_context.settings().save(Keys::Program(k), QString());
        break;
    }
}

void ProgramsTab::lstPrograms_DblClick()
{
    detach(m_runner.startEach(selectedSlots()));
}
