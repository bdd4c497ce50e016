#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the next modal dialog of type T from the event loop of its exec():
// polls until such a dialog is the active modal widget, then calls answer,
// which must close it. A dialog that never appears, or an answer that leaves
// it open, is rejected after a few seconds so a failing test cannot hang.
template <typename T>
void AnswerNextModal(std::function<void(T*)> answer) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            answer(dialog);
            if (dialog->isVisible()) QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
            timer->deleteLater();
            timer->stop();
            return;
        }
        if (++*waited > 500) {
            if (QWidget* other = QApplication::activeModalWidget()) other->close();
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}
