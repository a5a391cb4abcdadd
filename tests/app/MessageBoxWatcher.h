#pragma once
// Answers every message box the editor shows, as a user pressing OK would, and
// keeps what it showed.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <vector>

struct ShownBox {
    QString caption;
    QString text;
};

class MessageBoxWatcher {
public:
    MessageBoxWatcher()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back({box->windowTitle(), box->text()});
                box->accept();
            }
        });
        timer_.start();
    }

    std::vector<ShownBox> boxes;

private:
    QTimer timer_;
};
