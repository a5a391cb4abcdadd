#pragma once
// Answers every message box the editor shows, as a user pressing OK would, and
// keeps what it showed and whether the wait cursor was over it.

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <vector>

struct ShownBox {
    QString caption;
    QString text;
    bool underWaitCursor = false;
};

class MessageBoxWatcher {
public:
    MessageBoxWatcher()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || box->property("answered").toBool())
                return;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            boxes.push_back({box->windowTitle(), box->text(), cursor && cursor->shape() == Qt::WaitCursor});
            box->setProperty("answered", true);
            if (answerWithEnter && boxes.size() <= kMaxBoxesAnsweredByKeys)
                PressEnterOn(box);
            else
                box->accept();
        });
        timer_.start();
    }

    // Answer with the Enter key as a user does: the press goes to the box and closes
    // it; the release goes where keyboard input goes once the box is gone.
    bool answerWithEnter = false;
    std::vector<ShownBox> boxes;

private:
    // A fault that reopens the failing mission on every release would go on for
    // ever; after this many boxes they are closed without keys.
    static constexpr std::size_t kMaxBoxesAnsweredByKeys = 6;

    static void PressEnterOn(QMessageBox* box)
    {
        QTest::keyPress(box, Qt::Key_Return);
        QTimer::singleShot(20, [] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window)
                window = QApplication::activeWindow();
            QWidget* target = window ? window->focusWidget() : nullptr;
            if (!target)
                target = window;
            if (target)
                QTest::keyRelease(target, Qt::Key_Return);
        });
    }

    QTimer timer_;
};
