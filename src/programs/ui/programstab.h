#pragma once

#include "programs/programrunner.h"

#include <QWidget>

#include <array>
#include <memory>

namespace Ui {
class ProgramsTab;
}

class AppContext;
class QCheckBox;
class ProgramRunner;

// The Programs tab: ten program slots with their run-when-connected and run-when-disconnected
// flags, and the switch that turns all of it off.
class ProgramsTab : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSlots = ProgramRunner::kSlots;

    ProgramsTab(AppContext &context, ProgramRunner &runner, QWidget *parent = nullptr);
    ~ProgramsTab() override;

    // Shows the settings and follows them from now on.
    void load();

    QCheckBox *runConnected(int k) const { return m_runConnected[k - 1]; }
    QCheckBox *runDisconnected(int k) const { return m_runDisconnected[k - 1]; }

    void chkRunConnected_Click(int k);
    void chkRunDisconnected_Click(int k);
    void chkDisableProgramsApplications_Click();
    void lstPrograms_Click();
    void cmdRunProgram_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void lstPrograms_DblClick();
    // The small icon the desktop shows for a program file.
    static QPixmap CreateIcon(const QString &path);
    // The slots (1 to 10) of the selected rows that hold a program.
    QList<int> selectedSlots() const;
    // Writes the ten program paths from the store into the list, by slot.
    void refreshProgramList();

private:
    void showFlagsOf(int k);
    // Switched-off programs hide the list and its flags.
    void applyProgramsSwitch();

    const std::unique_ptr<Ui::ProgramsTab> m_ui;
    AppContext &m_context;
    ProgramRunner &m_runner;
    std::array<QCheckBox *, kSlots> m_runConnected;
    std::array<QCheckBox *, kSlots> m_runDisconnected;
    int m_shownSlot = 0; // the slot whose flags show; 0: no program selected
};
