#include "tray/sni/DBusMenuExporter.h"

#include "resources/Latin1.h"

namespace vostrel {
namespace {

// The menu never changes, so its layout has one revision.
constexpr uint kRevision = 1;

// The resource marks a mnemonic with '&' ("&&" for the character itself);
// dbusmenu marks it with '_' ("__" for the character itself).
QString Label(std::string_view text)
{
    const QString source = FromLatin1(text);
    QString label;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c == QLatin1Char('&') && i + 1 < source.size()) {
            const QChar next = source[++i];
            if (next != QLatin1Char('&'))
                label += QLatin1Char('_');
            label += next;
        } else if (c == QLatin1Char('_')) {
            label += QStringLiteral("__");
        } else {
            label += c;
        }
    }
    return label;
}

} // namespace

DBusMenuExporter::DBusMenuExporter(MenuLookup menus, unsigned menuId)
    : m_menus(std::move(menus)), m_menuId(menuId)
{
}

std::span<const res::MenuItem> DBusMenuExporter::Entries() const
{
    const res::MenuTemplate* menu = m_menus ? m_menus(static_cast<int>(m_menuId & 0xFFFF)) : nullptr;
    return menu ? menu->items : std::span<const res::MenuItem>();
}

bool DBusMenuExporter::Exists(int id) const
{
    return id >= 0 && static_cast<std::size_t>(id) <= Entries().size();
}

QVariantMap DBusMenuExporter::Properties(int id, const QStringList& names) const
{
    QVariantMap properties;
    if (id == 0) {
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    } else {
        // Properties at their default values (a standard, enabled, visible
        // entry) are left out, as the protocol asks.
        const res::MenuItem& entry = Entries()[static_cast<std::size_t>(id - 1)];
        if (entry.command == 0)
            properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
        else
            properties.insert(QStringLiteral("label"), Label(entry.text));
    }
    if (!names.isEmpty()) {
        for (auto it = properties.begin(); it != properties.end();)
            it = names.contains(it.key()) ? std::next(it) : properties.erase(it);
    }
    return properties;
}

void DBusMenuExporter::RefuseId(int id)
{
    if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("The menu has no entry %1").arg(id));
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                 DBusMenuLayoutItem& layout)
{
    if (!Exists(parentId)) {
        RefuseId(parentId);
        return kRevision;
    }
    layout = {parentId, Properties(parentId, propertyNames), {}};
    // Only the menu itself has entries under it.
    if (parentId == 0 && recursionDepth != 0) {
        for (int id = 1; Exists(id); ++id)
            layout.children.append({id, Properties(id, propertyNames), {}});
    }
    return kRevision;
}

QList<DBusMenuItemProperties> DBusMenuExporter::GetGroupProperties(const QList<int>& ids,
                                                                   const QStringList& propertyNames)
{
    QList<DBusMenuItemProperties> found;
    for (const int id : ids) {
        if (Exists(id))
            found.append({id, Properties(id, propertyNames)});
    }
    return found;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString& name)
{
    if (!Exists(id)) {
        RefuseId(id);
        return {};
    }
    return QDBusVariant(Properties(id, {name}).value(name));
}

bool DBusMenuExporter::Handle(int id, const QString& eventId)
{
    if (!Exists(id))
        return false;
    if (id > 0 && eventId == QLatin1String("clicked")) {
        const res::MenuItem& entry = Entries()[static_cast<std::size_t>(id - 1)];
        if (entry.command != 0)
            emit CommandChosen(static_cast<unsigned>(entry.command));
    }
    return true; // opened, closed and hovered need nothing
}

void DBusMenuExporter::Event(int id, const QString& eventId, const QDBusVariant&, uint)
{
    if (!Handle(id, eventId))
        RefuseId(id);
}

QList<int> DBusMenuExporter::EventGroup(const QList<DBusMenuEvent>& events)
{
    QList<int> idErrors;
    for (const DBusMenuEvent& event : events) {
        if (!Handle(event.id, event.eventId))
            idErrors.append(event.id);
    }
    // Only when none of the entries exists is the whole call an error.
    if (!events.isEmpty() && idErrors.size() == events.size())
        RefuseId(idErrors.front());
    return idErrors;
}

bool DBusMenuExporter::AboutToShow(int id)
{
    if (!Exists(id))
        RefuseId(id);
    return false; // the menu is always up to date
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors)
{
    for (const int id : ids) {
        if (!Exists(id))
            idErrors.append(id);
    }
    return {};
}

} // namespace vostrel
