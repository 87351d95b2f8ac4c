#pragma once

// The port menu (mnucom): COM1 to COM8, the ports the system reports beyond them (USB
// adapters first), and a port typed by name. Choosing a port opens it to see that it is free;
// the choice is kept in the shared state for the next transfer.

#include <QList>
#include <QObject>
#include <QString>
#include <array>

class QAction;
class QMenu;

namespace tr640 {

class Form1;
namespace link {
class SerialLink;
struct PortOpenResult;
} // namespace link

class PortMenu : public QObject {
    Q_OBJECT
public:
    // `items` are the menu's COM1 to COM8, made by the window.
    PortMenu(Form1& window, QMenu* menu, const std::array<QAction*, 8>& items,
             link::SerialLink& port);

    // Choose port n of the menu (1..8), or a port by its system name.
    void chooseMenuPort(int number);
    void choosePortByName(const QString& name);

private:
    void refresh();
    void setChecked(QAction* item);
    QString portInUseText(int number, const QString& name, const link::PortOpenResult& r) const;
    void askForPortName();

    Form1& window_;
    QMenu* menu_;
    std::array<QAction*, 8> items_;
    link::SerialLink& port_;
    QList<QAction*> systemPortItems_;
    QAction* otherPortItem_ = nullptr;
    QAction* systemSeparator_ = nullptr;
};

} // namespace tr640
