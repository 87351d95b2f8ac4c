// tr640: the programming software's window.

#include "app/MainWindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tr640"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tr640.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tr640.Programmer"));
    const std::unique_ptr<tr640::Form1> window = tr640::OpenMainWindow();
    window->show();
    return app.exec();
}
