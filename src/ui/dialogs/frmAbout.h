#pragma once

#include "ui/dialogs/SettingsDialog.h"

#include <QUrl>
#include <functional>

namespace tr640 {

class ClickLabel;

// The About box: title, edition, issue and version, and a link to the project's site.
class frmAbout : public SettingsDialog {
    Q_OBJECT
public:
    // Asks the desktop to open an address; the result is not used.
    using UrlOpener = std::function<void(const QUrl&)>;

    explicit frmAbout(QWidget* parent);

    // The project's site, opened by a click on the credit line.
    static QUrl ProjectSite();

    // Replaces the desktop's opener (tests record the address instead of starting a browser).
    void setUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }

private:
    UrlOpener opener_;
};

} // namespace tr640
