#include "table/announcer.h"

#include "table/accessibility.h"
#include "table/form1.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <algorithm>

namespace accessibility
{

namespace
{

void send(QWidget* control, QAccessible::Event what)
{
    QAccessibleEvent event(control, what);
    QAccessible::updateAccessibility(&event);
}

} // namespace

Announcer::Announcer(Form1& table) : QObject(&table), table_(table)
{
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &Announcer::announce);
}

void Announcer::announce()
{
    if (!QAccessible::isActive())
        return;
    std::vector<Heard> now;
    for (const auto& [control, spoken] : heardOnTable(table_))
        now.push_back({control, spoken.name});
    const auto in = [](const std::vector<Heard>& list, const QWidget* control) {
        return std::find_if(list.begin(), list.end(),
                            [control](const Heard& h) { return h.control == control; });
    };
    // The ones that left go first, so that the place told for each newcomer is its final one.
    for (const Heard& before : heard_) {
        if (before.control && in(now, before.control) == now.end()) {
            send(before.control, QAccessible::ObjectHide);
            send(before.control, QAccessible::ObjectDestroyed);
        }
    }
    for (const Heard& after : now) {
        const auto before = in(heard_, after.control);
        if (before == heard_.end()) {
            send(after.control, QAccessible::ObjectCreated);
            send(after.control, QAccessible::ObjectShow);
        }
        // A control back in the tree may come back with another name than the one last heard.
        if (before == heard_.end() || before->name != after.name)
            send(after.control, QAccessible::NameChanged);
    }
    heard_ = std::move(now);
}

} // namespace accessibility
