#pragma once

// Helpers for the window tests: a private preferences folder, finding controls by name, and
// answering the message boxes a command shows.

#include "i18n/ApplyLanguage.h"
#include "ui/main/Form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace tr640::test {

// A file's bytes, or "<unreadable>".
inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The message boxes shown while a command ran: what they said and what was answered.
struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Answers every message box that opens while it lives, with the button whose caption is the
// next answer (the last answer repeats), and records each box.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    const QList<SeenBox>& seen() const { return seen_; }
    int count() const { return int(seen_.size()); }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        SeenBox s{box->text(), box->windowTitle(), box->icon(), {}};
        for (QAbstractButton* b : box->buttons())
            s.buttons << b->text();
        seen_ << s;
        const QString answer =
            answers_.isEmpty()
                ? QString()
                : answers_[std::min<qsizetype>(seen_.size() - 1, answers_.size() - 1)];
        for (QAbstractButton* b : box->buttons())
            if (answer.isEmpty() || b->text() == answer) {
                b->click();
                return;
            }
        box->reject();
    }
    QStringList answers_;
    QList<SeenBox> seen_;
    QTimer timer_;
};

// A main window on a private preferences folder, optionally with a `parameter` file.
struct Window {
    QTemporaryDir dir;
    std::unique_ptr<Form1> form;

    explicit Window(const QByteArray& parameter = QByteArray(), bool writeParameter = false,
                    Form1::Options options = {}) {
        if (writeParameter) {
            QFile f(dir.filePath(QStringLiteral("parameter")));
            if (f.open(QIODevice::WriteOnly))
                f.write(parameter);
        }
        options.preferencesDirectory = dir.path();
        form = std::make_unique<Form1>(options);
    }
    Form1* operator->() const { return form.get(); }

    template <typename T = QObject> T* find(const QString& name) const {
        return qobject_cast<T*>(FindControl(form.get(), name));
    }
};

} // namespace tr640::test
