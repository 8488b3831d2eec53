#include "monitor/bandmenu/bandmenu.h"

#include "monitor/bandmenu/bandnames.h"
#include "monitor/bandmenu/layoutfile.h"
#include "settings/privatefiles.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QMenu>

namespace {
// A layout of a few dozen tools with their icons is a few hundred KiB at most; anything far
// larger is not ours.
constexpr qint64 maxLayoutBytes = 16 * 1024 * 1024;
} // namespace

BandMenu::BandMenu(QObject *parent)
    : QObject(parent)
{
    applyLayout(designBandLayout());
}

BandMenu::~BandMenu()
{
    delete m_popup;
}

Band *BandMenu::band(const QString &name) const
{
    for (const auto &band : m_bands) {
        if (band->name() == name)
            return band.get();
    }
    return nullptr;
}

QList<Band *> BandMenu::bands() const
{
    QList<Band *> bands;
    for (const auto &band : m_bands)
        bands.append(band.get());
    return bands;
}

BandTool *BandMenu::tool(const QString &name) const
{
    for (const auto &tool : m_tools) {
        if (tool->name() == name)
            return tool.get();
    }
    return nullptr;
}

QList<BandTool *> BandMenu::tools() const
{
    QList<BandTool *> tools;
    for (const auto &tool : m_tools)
        tools.append(tool.get());
    return tools;
}

BandMenu::LoadResult BandMenu::loadLayout(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return LoadResult::Missing;
    PrivateFiles::tighten(path); // an older version wrote it open to others
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxLayoutBytes) {
        qWarning("Menu layout %s cannot be read; keeping the layout in force", qPrintable(path));
        return LoadResult::Corrupt;
    }
    const std::optional<BandLayout> layout = LayoutFile::decode(file.readAll());
    if (!layout) {
        qWarning("Menu layout %s is not a layout; keeping the layout in force", qPrintable(path));
        return LoadResult::Corrupt;
    }
    applyLayout(withNewDesignTools(*layout));
    return LoadResult::Loaded;
}

bool BandMenu::saveLayout(const QString &path) const
{
    return LayoutFile::write(path, layout());
}

void BandMenu::resetToDesignLayout()
{
    applyLayout(designBandLayout());
}

BandLayout BandMenu::layout() const
{
    BandLayout layout;
    for (const auto &tool : m_tools)
        layout.tools.append(tool->state());
    for (const auto &band : m_bands) {
        BandLayout::BandEntry entry{band->name(), band->caption(), {}};
        for (const BandTool *tool : band->tools())
            entry.tools.append(tool->name());
        layout.bands.append(entry);
    }
    return layout;
}

// Tools that keep their name keep their object (and so the connections made to it); the
// others go. The popup is closed first: its actions point at the old tree.
void BandMenu::applyLayout(const BandLayout &layout)
{
    Q_ASSERT(layout.problem().isEmpty());
    delete m_popup;
    std::unique_ptr<QMenu> oldIconMenu = std::move(m_iconMenu);
    m_actions.clear();
    std::vector<std::unique_ptr<BandTool>> tools;
    for (const BandTool::State &state : layout.tools) {
        auto kept = std::find_if(m_tools.begin(), m_tools.end(),
            [&state](const auto &t) { return t && t->name() == state.name; });
        if (kept != m_tools.end()) {
            tools.push_back(std::move(*kept));
            tools.back()->setState(state);
            continue;
        }
        tools.push_back(std::make_unique<BandTool>(state));
        BandTool *tool = tools.back().get();
        connect(tool, &BandTool::changed, this, [this, tool] { syncTool(tool); });
    }
    m_tools = std::move(tools);
    m_bands.clear();
    for (const BandLayout::BandEntry &entry : layout.bands) {
        QList<BandTool *> bandTools;
        for (const QString &name : entry.tools)
            bandTools.append(tool(name));
        m_bands.push_back(std::make_unique<Band>(entry.name, entry.caption, bandTools));
    }
    // The host lets go of the old menu before it goes.
    if (oldIconMenu)
        Q_EMIT iconMenuRebuilt(iconMenu(m_iconMenuBand));
}

QMenu *BandMenu::iconMenu(const QString &bandName)
{
    if (m_iconMenu && m_iconMenuBand == bandName)
        return m_iconMenu.get();
    m_iconMenu.reset();
    dropDeadActions();
    m_iconMenuBand = bandName;
    if (const Band *shown = band(bandName))
        m_iconMenu.reset(buildMenu(*shown, nullptr));
    return m_iconMenu.get();
}

void BandMenu::dropDeadActions()
{
    for (auto it = m_actions.begin(); it != m_actions.end();)
        it = it.value() ? std::next(it) : m_actions.erase(it);
}

void BandMenu::refreshBands()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        if (it.value())
            syncAction(it.value(), *it.key());
    }
}

QMenu *BandMenu::currentPopup() const
{
    return m_popup;
}

void BandMenu::popupBand(const QString &bandName, std::optional<QPoint> at)
{
    popupBand(band(bandName), at);
}

void BandMenu::popupBand(const Band *shown, std::optional<QPoint> at)
{
    if (!shown)
        return;
    delete m_popup;
    dropDeadActions();
    m_popup = buildMenu(*shown, nullptr);
    m_popup->popup(at.value_or(QCursor::pos()));
}

// Captions show as they are written, in the user's language where the design's caption has a
// translation (the layout file keeps the English): the bands have no mnemonics, and a program
// path with "&" in it must not grow one.
QString BandMenu::literalText(const QString &caption)
{
    const QByteArray source = caption.toUtf8();
    return QCoreApplication::translate("BandMenu", source.constData())
        .replace(u'&', QStringLiteral("&&"));
}

QMenu *BandMenu::buildMenu(const Band &shown, QWidget *parent)
{
    auto *menu = new QMenu(literalText(shown.caption()), parent);
    menu->setObjectName(shown.name());
    for (BandTool *tool : shown.tools()) {
        QAction *action = nullptr;
        if (const Band *sub = band(tool->opensBand())) {
            action = buildMenu(*sub, menu)->menuAction();
            menu->addAction(action);
        } else {
            action = menu->addAction(literalText(tool->caption()));
            connect(action, &QAction::triggered, this, [this, tool = QPointer<BandTool>(tool)] {
                if (tool)
                    Q_EMIT toolClick(tool);
            });
        }
        action->setObjectName(tool->name());
        syncAction(action, *tool);
        m_actions.insert(tool, action);
    }
    return menu;
}

void BandMenu::syncAction(QAction *action, const BandTool &tool) const
{
    action->setText(literalText(tool.caption()));
    action->setEnabled(tool.enabled());
    action->setVisible(tool.visible());
    // A toggle always shows its box; any other tool shows a mark only while checked.
    action->setCheckable(tool.checked() || BandNames::isToggle(tool.name()));
    action->setChecked(tool.checked());
    action->setIcon(tool.picture().isNull() ? QIcon() : QIcon(tool.picture()));
}

void BandMenu::syncTool(const BandTool *tool)
{
    for (const QPointer<QAction> &action : m_actions.values(tool)) {
        if (action)
            syncAction(action, *tool);
    }
}
