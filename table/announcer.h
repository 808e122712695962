#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class Form1;
class QWidget;

namespace accessibility
{

// Tells screen readers what changed on the table, each time the program is about to wait: the
// controls that came into the tree and left it, and the names that changed, so that a reader
// that keeps what it heard never holds a stale table.
class Announcer : public QObject
{
public:
    explicit Announcer(Form1& table);

private:
    struct Heard {
        QPointer<QWidget> control;
        QString name;
    };

    void announce();

    const Form1& table_;
    std::vector<Heard> heard_;
};

} // namespace accessibility
