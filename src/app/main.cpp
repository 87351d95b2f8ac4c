// tr640: the programming software's window.

#include "ui/main/Form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tr640"));
    QApplication::setApplicationDisplayName(QStringLiteral("TR-640 Software"));
    tr640::Form1 window;
    window.show();
    return app.exec();
}
