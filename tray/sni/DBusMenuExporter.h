#pragma once

#include "tray/area/MenuLookup.h"
#include "tray/sni/DBusMenuTypes.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>

#include <span>

namespace vostrel {

// A menu resource as com.canonical.dbusmenu, for hosts that draw the tray
// menu themselves. The menu is entry 0; its entries are numbered from 1 in
// their order. A click on an entry gives that entry's command.
class DBusMenuExporter final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ Version CONSTANT)
    Q_PROPERTY(QString TextDirection READ TextDirection CONSTANT)
    Q_PROPERTY(QString Status READ Status CONSTANT)
    Q_PROPERTY(QStringList IconThemePath READ IconThemePath CONSTANT)

public:
    DBusMenuExporter(MenuLookup menus, unsigned menuId);

    uint Version() const { return 3; }
    QString TextDirection() const { return QStringLiteral("ltr"); }
    QString Status() const { return QStringLiteral("normal"); }
    QStringList IconThemePath() const { return {}; }

public slots:
    Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                vostrel::DBusMenuLayoutItem& layout);
    Q_SCRIPTABLE QList<vostrel::DBusMenuItemProperties> GetGroupProperties(const QList<int>& ids,
                                                                           const QStringList& propertyNames);
    Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString& name);
    Q_SCRIPTABLE void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    Q_SCRIPTABLE QList<int> EventGroup(const QList<vostrel::DBusMenuEvent>& events);
    Q_SCRIPTABLE bool AboutToShow(int id);
    Q_SCRIPTABLE QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

signals:
    // For the program, not the bus.
    void CommandChosen(unsigned command);

private:
    // The entries as they are now: the menu is looked up afresh each time.
    std::span<const res::MenuItem> Entries() const;
    bool Exists(int id) const;
    QVariantMap Properties(int id, const QStringList& names) const;
    bool Handle(int id, const QString& eventId);
    void RefuseId(int id);

    MenuLookup m_menus;
    unsigned m_menuId;
};

} // namespace vostrel
