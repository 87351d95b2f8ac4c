#include "app/MainWindow.h"

#include "app/Preferences.h"
#include "app/WriteChecks.h"
#include "ui/main/TransferController.h"

namespace tr640 {

std::unique_ptr<Form1> OpenMainWindow(const QString& directory, Form1::Options options) {
    const QString folder = directory.isEmpty() ? DefaultPreferencesDirectory() : directory;
    options.writeChecks = LoadWriteChecks(folder);
    options.preferences = LoadPreferences(folder);
    auto window = std::make_unique<Form1>(options);
    QObject::connect(&window->transfer(), &TransferController::writeCheckSet, window.get(),
                     [folder](const WriteChecks& checks) { SaveWriteChecks(folder, checks); });
    QObject::connect(window.get(), &Form1::closing, window.get(),
                     [folder](const Preferences& p) { SavePreferences(folder, p); });
    return window;
}

} // namespace tr640
