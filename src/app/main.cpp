// tr640: the programming software's window.

#include "ui/main/Form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tr640"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tr640.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tr640.Programmer"));
    tr640::Form1 window;
    window.show();
    return app.exec();
}
