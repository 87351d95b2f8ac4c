#pragma once

// Programming > "Write to several radios...": writes the editor's codeplug to one radio after
// another on the same cable, with a table of this batch and, on request, an ID of its own for
// each radio. The editor's codeplug is not changed; the bookkeeping is link::BatchLog.

#include "link/BatchLog.h"

#include <QString>
#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tr640 {

class Form1;

class BatchWindow : public QWidget {
    Q_OBJECT
public:
    // Asks for the log file's name; empty for Cancel.
    using LogChooser = std::function<QString(QWidget* owner)>;

    explicit BatchWindow(Form1& window);

    void writeNext();
    void saveLog();
    bool saveLogTo(const QString& path);
    const link::BatchLog& log() const { return log_; }
    void setLogChooser(LogChooser chooser) { chooser_ = std::move(chooser); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void onEnded();
    void startIdEdited();
    void refresh();
    int language() const;

    Form1& window_;
    link::BatchLog log_;
    LogChooser chooser_;
    bool writing_ = false;
    bool verifyAsked_ = false;
    int band_ = 0;
    QString idWritten_;
    QLabel* done_;
    QCheckBox* ownId_;
    QLineEdit* startId_;
    QLabel* nextId_;
    QTableWidget* table_;
    QPushButton* writeNext_;
};

} // namespace tr640
